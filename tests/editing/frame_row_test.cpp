#include "editing/frame_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/time_value.h"

namespace lumetra {
namespace {

TEST(FrameRow, HeightGrowsFifteenPixelsPerLineUpToEight) {
  EXPECT_EQ(FrameRowHeight(""), 16);
  EXPECT_EQ(FrameRowHeight("Hello"), 16);
  EXPECT_EQ(FrameRowHeight("Hello|world"), 31);
  EXPECT_EQ(FrameRowHeight("a|b|c"), 46);
  EXPECT_EQ(FrameRowHeight("1|2|3|4|5|6|7|8"), 121);
  EXPECT_EQ(FrameRowHeight("1|2|3|4|5|6|7|8|9|10"), 121);
}

TEST(FrameRow, ShowsTheFirstEightLinesOnly) {
  const std::vector<std::string> lines = ShownLines("1|2|3|4|5|6|7|8|9|10");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines.front(), "1");
  EXPECT_EQ(lines.back(), "8");
  EXPECT_EQ(ShownLines("a||b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(ShownLines(""), (std::vector<std::string>{""}));
}

TEST(FrameRow, TimeColumnSplitsHoursBoldMiddleAndHundredths) {
  const TimeColumn c = TimeColumnOf(MakeTime(0, 1, 23, 456));
  EXPECT_EQ(c.hours, "0:");
  EXPECT_EQ(c.middle, "01:23");
  EXPECT_EQ(c.rest, ".45");
}

TEST(FrameRow, TimesOfTenHoursAndMoreKeepTheirRealParts) {
  const TimeColumn c = TimeColumnOf(MakeTime(12, 34, 56, 789));
  EXPECT_EQ(c.hours, "12:");
  EXPECT_EQ(c.middle, "34:56");
  EXPECT_EQ(c.rest, ".78");
  const TimeBoxTexts boxes = TimeBoxTextsOf(MakeTime(12, 34, 56, 789));
  EXPECT_EQ(boxes, (TimeBoxTexts{"12", "34", "56", "789"}));
}

TEST(FrameRow, TimeBoxesShowOneDigitHoursAndPaddedMilliseconds) {
  EXPECT_EQ(TimeBoxTextsOf(MakeTime(0, 1, 30, 250)), (TimeBoxTexts{"0", "01", "30", "250"}));
  EXPECT_EQ(TimeBoxTextsOf(MakeTime(9, 0, 5, 7)), (TimeBoxTexts{"9", "00", "05", "007"}));
}

TEST(FrameRow, LengthColumnDropsLeadingZerosOfTheWholeSeconds) {
  EXPECT_EQ(LengthColumnOf(0, 3250).whole, "3");
  EXPECT_EQ(LengthColumnOf(0, 3250).rest, ".25");
  EXPECT_EQ(LengthColumnOf(1000, 1500).whole, "");
  EXPECT_EQ(LengthColumnOf(1000, 1500).rest, ".50");
  EXPECT_EQ(LengthColumnOf(0, 12340).whole, "12");
  EXPECT_EQ(LengthColumnOf(2000, 1000).whole, "--");
  EXPECT_EQ(LengthColumnOf(2000, 1000).rest, "neg");
  EXPECT_EQ(LengthColumnOf(0, 100000).whole, "10");
  EXPECT_EQ(LengthColumnOf(0, 100000).rest, "0++");
}

}  // namespace
}  // namespace lumetra
