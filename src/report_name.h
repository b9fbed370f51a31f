// The names of a game's planet files, built from the command line. Part
// of the command line and file loop (main.cpp), in a file of its own only
// so that the unit tests can call it without main().
#ifndef VORN_REPORT_NAME_H
#define VORN_REPORT_NAME_H

#include <cstddef>

// A name holds at most NAME_BUFFER_SIZE - 1 bytes and a zero byte.
constexpr std::size_t NAME_BUFFER_SIZE = 256;

// Builds the name of planet file `number` (1 to 16) of `game`:
// "<game>.p<number>" as the user spelled the game into `typed_name`, and the
// same in upper case into `name`, as the game names its files (only ASCII
// letters change, the directory part too; see upper_case_ascii). Both hold
// NAME_BUFFER_SIZE bytes. Returns false when the name would not fit: a
// shortened name could open some other file, so such a name is never built.
bool report_file_name(char *name, char *typed_name, const char *game,
                      int number);

#endif
