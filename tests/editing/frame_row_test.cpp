#include "editing/frame_row.h"

#include <gtest/gtest.h>

#include <limits>

#include "foundation/time_value.h"

namespace lumetra {
namespace {

TEST(FrameRow, TimeColumnShowsTimesBeforeZeroWithAMinusInFrontOfTheHours) {
  const struct {
    TimeValue v;
    const char* hours;
    const char* middle;
    const char* rest;
  } cases[] = {{0, "0:", "00:00", ".00"},
               {-1, "-0:", "00:00", ".00"},
               {-600, "-0:", "00:00", ".60"},
               {-61500, "-0:", "01:01", ".50"},
               {-36000000, "-10:", "00:00", ".00"},
               {83000, "0:", "01:23", ".00"}};
  for (const auto& c : cases) {
    const TimeColumn column = TimeColumnOf(c.v);
    EXPECT_EQ(column.hours, c.hours) << c.v;
    EXPECT_EQ(column.middle, c.middle) << c.v;
    EXPECT_EQ(column.rest, c.rest) << c.v;
  }
  // The most negative time has no positive twin; it still gives three pieces.
  EXPECT_FALSE(TimeColumnOf(std::numeric_limits<TimeValue>::min()).hours.empty());
}

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
