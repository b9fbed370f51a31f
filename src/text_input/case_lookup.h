// Upper case for planet file names, and how a planet file is found and
// opened by its name, also on a file system that tells case apart.
#ifndef VORN_CASE_LOOKUP_H
#define VORN_CASE_LOOKUP_H

// Upper-cases the ASCII letters a to z of `text` in place; every other
// byte stays as it is. On Windows the second byte of a double-byte
// character of the active code page is left alone too: in Shift-JIS it may
// be any byte from 0x40 to 0xFC, 'a' to 'z' among them, and changing it
// would name some other folder. In UTF-8 (Linux) a byte below 0x80 is
// always a character of its own, so there every a to z is a letter.
void upper_case_ascii(char *text);
#ifdef _WIN32
// The same in the given code page; upper_case_ascii uses the active one
// (CP_ACP). Tests call this, since they can't choose the active code page.
void upper_case_ascii_in_code_page(char *text, unsigned code_page);
#endif

// Opens the planet file `name`, the upper-cased name that the game's own
// files have, for reading, and returns its handle, or -1 when nothing
// opens. Only a regular file (or a link to one) opens: a directory, a FIFO
// or a device never does, so that a planet name can never block the
// program or make it read without end. Windows finds a name whatever its
// case on disk. Elsewhere these spellings are tried in turn:
//   1. `name` as it is;
//   2. `typed_name`, the same name in the case the user typed it (null
//      when there is none);
//   3. a walk from component to component that ignores ASCII case: in each
//      directory the component as typed comes first, then every other entry
//      that differs from it only in case, in byte order; a spelling that
//      leads nowhere further down sends the walk back to the next spelling
//      of the component before, until the whole path opens as a regular
//      file.
// A directory that can't be listed is passed through by the typed
// spelling alone. The search goes on to the next spelling while the name
// leads to no regular file: nothing there, a directory, a FIFO, a device,
// or a way there that fails (a directory that can't be entered, a loop of
// links, a link whose target has a name too long). A regular file that is
// there but can't be opened (no access to it, no descriptor left) ends it:
// that is the file asked for, and it is passed over like a missing one.
// The caller keeps both names shorter than 256 bytes, as report_file_name
// does: the walk copies the path and its components into fixed buffers
// sized for that, without a check.
int look_up_report_file(const char *name, const char *typed_name);

#endif
