// Standard output, and the two failures that the run reports on standard
// error: output that can't be written and a planet file that can't be read.
#ifndef VORN_OUTPUT_H
#define VORN_OUTPUT_H

// Text is written as data, never as a format. On Windows standard output is
// a text stream, so each line feed goes out as a carriage return and a line
// feed.
//
// A listing cut short must never pass for a whole one: at the first write
// that fails (a full disk, a closed standard output), the run stops at once
// with "vorn: write error: <reason>" on standard error and exit status 2.
// A pipe whose reader has gone fails a write the same way only where SIGPIPE
// is ignored; where it has its default action, the signal ends the process
// in that write, before any message.
void start_output();
void put_text(const char *text);
void put_fixed(float value, int decimals);

// A planet file that failed while it was read: prints "vorn: <name>: read
// error: <reason>" on standard error (`error` is the errno value) and makes
// the run end with status 2. The caller goes on with the next file.
void report_read_error(const char *name, int error);

// Writes out what is still buffered and yields the exit status of a run
// that got this far: 2 when a read error was reported, else 0.
int finish_output();

#endif
