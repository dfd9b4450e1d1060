#include "foundation/time_value.h"

#include <gtest/gtest.h>

#include <climits>

#include "foundation/extended.h"

namespace lumetra {
namespace {

TEST(TimeValue, MakeAndSplit) {
  EXPECT_EQ(MakeTime(1, 2, 3, 45), 3723045);
  EXPECT_EQ(MakeTime(0, 90, 0, 0), 5400000);
  EXPECT_EQ(SplitTime(3723045), (TimeParts{1, 2, 3, 45}));
  EXPECT_EQ(SplitTime(36000000), (TimeParts{10, 0, 0, 0}));
  // Negative times have negative parts.
  EXPECT_EQ(SplitTime(-1500), (TimeParts{0, 0, -1, -500}));
  EXPECT_EQ(SplitTime(-3723045), (TimeParts{-1, -2, -3, -45}));
  const TimeParts lowest = SplitTime(INT_MIN);
  EXPECT_EQ(MakeTime(lowest.h, lowest.m, lowest.s, lowest.ms), INT_MIN);
}

TEST(FrameListLine, LaysOutTimesLengthAndText) {
  EXPECT_EQ(FrameListLine(0, 2500, "Hello|World"), "0:00:00.000:00:02.5002.50Hello|World");
  EXPECT_EQ(FrameListLine(3723045, 3725045, "Hi"), "1:02:03.041:02:05.0402.00Hi");
  EXPECT_EQ(FrameListLine(5000, 4999, "x"), "0:00:05.000:00:04.99--negx");
  EXPECT_EQ(FrameListLength(99999) + FrameListLength(100000), "99.99100++");
  EXPECT_EQ(FrameListTime(-1500), "0:00:-1.50");
  EXPECT_EQ(FrameListTime(MakeTime(123, 4, 5, 670)), "23:04:05.67");
  // Hours of 10 and more make each time text one character longer.
  EXPECT_EQ(FrameListLine(MakeTime(10, 0, 0, 0), MakeTime(10, 0, 1, 0), "a"),
            "10:00:00.0010:00:01.0001.00a");
  // The length of two far-apart times wraps like any 32-bit difference.
  const std::string wide = FrameListLine(INT_MIN, INT_MAX, "");
  EXPECT_EQ(wide.substr(wide.size() - 5), "--neg");
}

TEST(ExtendedPrecision, TruncatesProductsTowardZero) {
  EXPECT_EQ(SecondsToMs(0.3), 299);
  EXPECT_EQ(SecondsToMs(-0.3), -299);
  EXPECT_EQ(TruncToInt32(4294967296.0L + 5), 5);
  EXPECT_EQ(TruncToInt32(2147483648.0L), INT_MIN);
  EXPECT_EQ(TruncToInt32(1.0L / 0.0L), 0);
  // At the edges of 32 bits: truncated first, wrapped only beyond.
  EXPECT_EQ(TruncToInt32(2147483647.9L), INT_MAX);
  EXPECT_EQ(TruncToInt32(-2147483648.9L), INT_MIN);
  EXPECT_EQ(TruncToInt32(-2147483649.0L), INT_MAX);
  EXPECT_EQ(TruncToInt32(0.0L / 0.0L), 0);
}

}  // namespace
}  // namespace lumetra
