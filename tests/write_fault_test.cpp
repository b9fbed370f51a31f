// Writes that fail, on /dev/full, which refuses every write with ENOSPC:
// the first one ends the run at once, with the write error alone on
// standard error and status 2, whichever call meets it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>

#include "text_input.h"

namespace {

const char *const ONLY_THE_WRITE_ERROR =
    "^vorn: write error: No space left on device\n$";

void output_to_full_device() {
  if (std::freopen("/dev/full", "w", stdout) == nullptr)
    std::_Exit(3);
  start_output();
}

} // namespace

// A listing of numbers alone meets the failure in put_fixed, many buffers
// before the loop ends; a block put out before its read error is told meets
// it in that flush, and the read error is then never told.
TEST(WriteFault, FirstFailingWriteEndsTheRun) {
  EXPECT_EXIT(
      {
        output_to_full_device();
        for (int i = 0; i < 100000; ++i)
          put_fixed(FLT_MAX, 2);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(2), ONLY_THE_WRITE_ERROR);
  EXPECT_EXIT(
      {
        output_to_full_device();
        put_text("Processing file G.P1\n\n");
        report_read_error("G.P1", EIO);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(2), ONLY_THE_WRITE_ERROR);
}
