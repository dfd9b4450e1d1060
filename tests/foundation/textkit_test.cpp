#include "foundation/textkit.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumetra {
namespace {

TEST(SplitWords, CountsSeparatorsPlusOneAndKeepsEarlierWordsAboveTheCount) {
  WordArray words;
  SplitWords5(words, "00:00:01,000 --> 00:00:02,000", ':', ',', '.', '/', ' ');
  EXPECT_EQ(words.count(), 9);
  EXPECT_EQ(words[5] + words[9], "-->000");
  SplitWords(words, "{1}", '{', '}');
  EXPECT_EQ(words.count(), 3);
  EXPECT_EQ(words[1] + "|" + words[2] + "|" + words[3] + "|" + words[5], "|1||-->");  // [5] stale
  // Any number and length of words; short words are cut to 48 characters.
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "w|";
  SplitWords(words, many + std::string(300, 'a'), '|', '|');
  EXPECT_EQ(words.count(), 1001);
  EXPECT_EQ(words[1001], std::string(300, 'a'));
  SplitShortWords(words, std::string(60, 'd') + "/x", '/', '\\');
  EXPECT_EQ(words[1] + words[2], std::string(48, 'd') + "x");
}

TEST(TextToInt, AcceptsDecimalAndHexadecimalWithin32Bits) {
  const std::pair<const char*, std::int32_t> good[] = {{" -7", -7},
                                                       {"+15", 15},
                                                       {"$1F", 31},
                                                       {"x10", 16},
                                                       {"0X10", 16},
                                                       {"$FFFFFFFF", -1},
                                                       {"2147483647", INT_MAX},
                                                       {"-2147483648", INT_MIN}};
  for (const auto& [text, value] : good) {
    bool error = true;
    EXPECT_EQ(TextToInt(text, &error), value) << text;
    EXPECT_FALSE(error) << text;
  }
  for (const char* bad : {"", "12 ", "-", "1.5", "\t5", "0x", "-$10", "$100000000", "2147483648"}) {
    bool error = false;
    EXPECT_EQ(TextToInt(bad, &error), 0) << bad;
    EXPECT_TRUE(error) << bad;
  }
}

TEST(Numbers, FloatsReadAndWrittenAndIntegersClamped) {
  EXPECT_DOUBLE_EQ(TextToFloat("  23.976"), 23.976);
  EXPECT_DOUBLE_EQ(TextToFloat("+2.5e2"), 250.0);
  // Not a number: the digits read before the offending character, unscaled, unsigned.
  EXPECT_EQ(TextToFloat("25,5"), 25.0);
  EXPECT_EQ(TextToFloat("-1.5x"), 15.0);
  EXPECT_EQ(TextToFloat("nan"), 0.0);
  // Read exactly: the whole text as a number a double holds.
  EXPECT_EQ(TextToFloatExactly(" -2.5e1"), -25.0);
  EXPECT_EQ(TextToFloatExactly("0"), 0.0);
  for (const char* not_exact : {"", "2.5s", "25,5", "nan", "inf", "1e999", "1e-999", "5 ", "."}) {
    EXPECT_EQ(TextToFloatExactly(not_exact), std::nullopt) << not_exact;
  }
  EXPECT_EQ(FloatToText(100) + " " + FloatToText(-0.5) + " " + FloatToText(25 / 23.977),
            "100 -0.5 1.042666");
  // Negative numbers lose their sign when small enough.
  EXPECT_EQ(ClampInt(-5, 1, 16), 5);
  EXPECT_EQ(ClampInt(-40, 1, 16), 1);
  EXPECT_EQ(ClampInt(INT_MIN, 1, 16), 1);
  EXPECT_EQ(TextToIntRangeText("abc", 1, 16), "1");
}

TEST(CaseMapping, TablesKnowAccentedLettersAndAreNotInverse) {
  EXPECT_EQ(UpperCaseHU("abz AZ 09" + std::string(300, 'a')), "ABZ AZ 09" + std::string(300, 'A'));
  EXPECT_EQ(UpperCaseHU("\xF3\xFB\xA0\x94\xA1"), "\xD3\xEB\x8F\x99I");
  EXPECT_EQ(LowerCaseHU("\xEB\x8F\xB5\xE0\x99"), "\xFB\xA0\xA0\xA2\x94");
  // 211 is the upper case of 243, but has no lower case of its own.
  EXPECT_EQ(LowerCaseHU("\xD3"), "\xD3");
}

TEST(FindEither, FindsTheFirstOfEitherAtEveryPlaceAndLengthFromEveryStart) {
  // Texts of every length around the sixteen-byte blocks, the mark at every place and the
  // search started before, at and after it: the answer is always the one found byte by byte.
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text(size, 'x');
      if (at < size) text[at] = at % 2 == 0 ? '<' : '{';
      for (std::size_t from = 0; from <= size + 1; ++from) {
        const std::size_t want = at < size && at >= from ? at : std::string_view::npos;
        EXPECT_EQ(FindEither(text, '<', '{', from), want) << size << " " << at << " " << from;
      }
    }
  }
  // The first of two marks, also when both lie in the last sixteen bytes.
  EXPECT_EQ(FindEither("xxxxxxxxxxxxxxxxxx<x{", '{', '<'), 18u);
  EXPECT_EQ(FindEither("xxxxxxxxxxxxxxxxxx<x{", '{', '<', 19), 20u);
  // A mark before the start lies in the last sixteen bytes and is not taken.
  EXPECT_EQ(FindEither("xx<xxxxxxxxxxxxxxx{x", '{', '<', 3), 18u);
  EXPECT_EQ(FindEither("xx<xxxxxxxxxxxxxxxxx", '{', '<', 5), std::string_view::npos);
}

}  // namespace
}  // namespace lumetra
