#include <gtest/gtest.h>
#include "text_input.h"
TEST(NumberRule, Placeholder) { EXPECT_EQ(to_single("0.5"), 0.5f); }
