// Text input with numbers and output: the layer under the command line and
// the scanner. One header per concern, in src/text_input/:
//   line_reader   planet files opened by name and read as text, line by line
//   case_lookup   upper-cased names, and finding them where case counts
//   number_rule   to_single: text to a single-precision value
//   fixed_format  format_fixed: 0 to 9 decimals, the same everywhere
//   output        standard output, and the write and read errors
// (big_number, the exact arithmetic under the number rule and the printer,
// is used only inside the unit.)
#ifndef VORN_TEXT_INPUT_H
#define VORN_TEXT_INPUT_H

#include "text_input/case_lookup.h"
#include "text_input/fixed_format.h"
#include "text_input/line_reader.h"
#include "text_input/number_rule.h"
#include "text_input/output.h"

#endif
