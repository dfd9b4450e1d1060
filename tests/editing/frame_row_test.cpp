#include "editing/frame_row.h"

#include <gtest/gtest.h>

#include "foundation/time_value.h"

namespace lumetra {
namespace {

TEST(FrameRow, LengthColumnSplitsOffTheWholeSecondsWithoutLeadingZeros) {
  const struct {
    TimeValue start, end;
    const char* whole;
    const char* rest;
  } cases[] = {{0, 3250, "3", ".25"},
               {1000, 1500, "", ".50"},
               {0, 12340, "12", ".34"},
               {2000, 1000, "--", "neg"},
               {0, 100000, "10", "0++"}};
  for (const auto& c : cases) {
    const LengthColumn length = LengthColumnOf(c.start, c.end);
    EXPECT_EQ(length.whole, c.whole) << c.end;
    EXPECT_EQ(length.rest, c.rest) << c.end;
  }
}

}  // namespace
}  // namespace lumetra
