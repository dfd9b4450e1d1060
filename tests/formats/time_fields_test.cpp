// The readers' own word splitting and number conversion of time lines must agree with the
// text kit's SplitWords5 and TextToInt, stale words included.
#include <gtest/gtest.h>

#include "formats/format_parts.h"

namespace lumetra {
namespace {

TEST(NumberOf, AgreesWithTextToInt) {
  for (const char* text : {"", "0", "00", "123456789", "1234567890", "2147483647", "2147483648",
                           "-2147483648", " 12", "12 ", "+5", "-0", "$1F", "x10", "0x10", "0X",
                           "1a", "a1", "  ", "-", "999999999", "4294967296", "07"}) {
    EXPECT_EQ(NumberOf(text), TextToInt(text)) << '"' << text << '"';
  }
}

TEST(TimeLineWords, SplitLikeSplitWords5AndKeepStaleWords) {
  const char* const lines[] = {"00:01:02,500 --> 00:01:04,000", "1 2/3",
                               "", "a.b.c.d.e.f.g.h.i.j.k.l", "x:y", "00:00:05 --> 00:00:06"};
  TimeLineWords words;
  WordArray reference;
  for (const char* line : lines) {
    words.Split(line);
    SplitWords5(reference, line, ':', ',', '/', '.', ' ');
    for (int i = 1; i <= TimeLineWords::kMaxWords; ++i) {
      EXPECT_EQ(words[i], reference[i]) << '"' << line << "\" word " << i;
    }
  }
}

TEST(TimeFromWords, FillsMillisecondsOnTheRight) {
  TimeLineWords words;
  words.Split("01:02:03,5 -->  -1:00:00,1234");
  EXPECT_EQ(TimeFromWords(words, 1), MakeTime(1, 2, 3, 500));
  // Words 6..9: "" (two blanks), "-1", "00", "00".
  EXPECT_EQ(TimeFromWords(words, 6), MakeTime(0, -1, 0, 0));
}

}  // namespace
}  // namespace lumetra
