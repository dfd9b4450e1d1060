#include "foundation/textkit.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumetra {
namespace {

TEST(SplitWords, CountsSeparatorsPlusOneAndKeepsEmptyWords) {
  WordArray words;
  SplitWords(words, "{100}{200}Hi", '{', '}');
  ASSERT_EQ(words.count(), 5);
  EXPECT_EQ(words[2], "100");
  EXPECT_EQ(words[3], "");
  EXPECT_EQ(words[5], "Hi");
  SplitWords5(words, "00:00:01,000 --> 00:00:02,000", ':', ',', '.', '/', ' ');
  EXPECT_EQ(words.count(), 9);
  EXPECT_EQ(words[5], "-->");
  EXPECT_EQ(words[9], "000");
  SplitWords(words, "", 'x', 'y');
  EXPECT_EQ(words.count(), 1);
  EXPECT_EQ(words[1], "");
}

TEST(SplitWords, EntriesAboveTheNewCountKeepEarlierWords) {
  WordArray words;
  SplitWords(words, "1 2 3 4 5 6 7 8 9", ' ', ' ');
  SplitWords(words, "a", 'x', 'y');
  EXPECT_EQ(words.count(), 1);
  EXPECT_EQ(words[1], "a");
  for (int i = 2; i <= 9; ++i) EXPECT_EQ(words[i], std::to_string(i)) << i;
  EXPECT_EQ(words[10], "");  // never written
  words.Clear(5);
  EXPECT_EQ(words[5], "");
}

TEST(SplitWords, HandlesAnyNumberAndLengthOfWords) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "w|";
  WordArray words;
  SplitWords(words, many + std::string(300, 'a'), '|', '|');
  EXPECT_EQ(words.count(), 1001);
  EXPECT_EQ(words[1001], std::string(300, 'a'));
  // Short words are cut to 48 characters.
  SplitShortWords(words, std::string(60, 'd') + "/x", '/', '\\');
  EXPECT_EQ(words[1], std::string(48, 'd'));
  EXPECT_EQ(words[2], "x");
}

TEST(TextKit, PadsCutsAndTrims) {
  EXPECT_EQ(PadRight("5", '0', 3), "500");
  EXPECT_EQ(PadRight("1234", '0', 3), "123");
  EXPECT_EQ(PadLeft("7", '0', 2), "07");
  EXPECT_EQ(PadLeft("123", '0', 2), "23");
  EXPECT_EQ(PadLeft("-1", '0', 2), "-1");
  EXPECT_EQ(RightStr("0", 2), "0");
  EXPECT_EQ(DropLeft("abc", 3), "");
  EXPECT_EQ(DropLeft("abc", 5), "");
  EXPECT_EQ(TrimRightChar("a|b||", '|'), "a|b");
  EXPECT_EQ(TrimChar("   ", ' '), "");
  // No routine stops at 255 characters.
  EXPECT_EQ(TrimRightChar(std::string(300, 'x') + "  ", ' '), std::string(300, 'x'));
  EXPECT_EQ(UpperCaseHU(std::string(300, 'a')), std::string(300, 'A'));
  std::string key, value;
  SplitKeyValue(" Name = a = b ", key, value);
  EXPECT_EQ(key + "|" + value, "Name|a = b");
}

TEST(TextToInt, AcceptsDecimalAndHexadecimalWithin32Bits) {
  const struct {
    const char* text;
    std::int32_t value;
  } good[] = {{"12", 12},     {" -7", -7},           {"+15", 15},
              {"0", 0},       {"$1F", 31},           {"x10", 16},
              {"0X10", 16},   {"$FFFFFFFF", -1},     {"2147483647", INT_MAX},
              {"-2147483648", INT_MIN}};
  for (const auto& [text, value] : good) {
    bool error = true;
    EXPECT_EQ(TextToInt(text, &error), value) << text;
    EXPECT_FALSE(error) << text;
  }
  for (const char* bad : {"", "   ", "12 ", "-", "1.5", "a", "\t5", "$", "0x", "-$10",
                          "$100000000", "2147483648", "-2147483649"}) {
    bool error = false;
    EXPECT_EQ(TextToInt(bad, &error), 0) << bad;
    EXPECT_TRUE(error) << bad;
  }
}

TEST(TextToFloat, NumbersAndTextsThatAreNot) {
  EXPECT_DOUBLE_EQ(TextToFloat("  23.976"), 23.976);
  EXPECT_DOUBLE_EQ(TextToFloat("-0.5"), -0.5);
  EXPECT_DOUBLE_EQ(TextToFloat("+2.5e2"), 250.0);
  EXPECT_DOUBLE_EQ(TextToFloat(".5"), 0.5);
  // Not a number: the digits read before the offending character, unscaled, unsigned.
  EXPECT_EQ(TextToFloat("25,5"), 25.0);
  EXPECT_EQ(TextToFloat("1.5x"), 15.0);
  EXPECT_EQ(TextToFloat("-3a"), 3.0);
  EXPECT_EQ(TextToFloat(""), 0.0);
  EXPECT_EQ(TextToFloat("nan"), 0.0);
}

TEST(FloatToText, DropsTrailingZerosAndPoint) {
  EXPECT_EQ(FloatToText(25), "25");
  EXPECT_EQ(FloatToText(23.976), "23.976");
  EXPECT_EQ(FloatToText(0.5), "0.5");
  EXPECT_EQ(FloatToText(100), "100");
  EXPECT_EQ(FloatToText(-0.5), "-0.5");
  EXPECT_EQ(FloatToText(25 / 23.977), "1.042666");
}

TEST(ClampInt, NegativeNumbersLoseTheirSignWhenSmallEnough) {
  EXPECT_EQ(ClampInt(-5, 1, 16), 5);
  EXPECT_EQ(ClampInt(0, 1, 16), 1);
  EXPECT_EQ(ClampInt(-40, 1, 16), 1);
  EXPECT_EQ(ClampInt(99, 1, 16), 16);
  EXPECT_EQ(ClampInt(INT_MIN, 1, 16), 1);
  EXPECT_EQ(TextToIntRangeText("abc", 1, 16), "1");
}

TEST(CaseMapping, TablesKnowAccentedLettersAndAreNotInverse) {
  EXPECT_EQ(UpperCaseHU("abz AZ 09"), "ABZ AZ 09");
  EXPECT_EQ(LowerCaseHU("SRT Abc"), "srt abc");
  // a few entries of each table: o-acute, u-double-acute, a-acute and their partners
  EXPECT_EQ(UpperCaseHU("\xF3\xFB\xA0\x94\xA1"), "\xD3\xEB\x8F\x99I");
  EXPECT_EQ(LowerCaseHU("\xEB\x8F\xB5\xE0\x99"), "\xFB\xA0\xA0\xA2\x94");
  // 211 is the upper case of 243, but has no lower case of its own.
  EXPECT_EQ(LowerCaseHU("\xD3"), "\xD3");
}

TEST(Paths, FollowThePlatformRules) {
  EXPECT_EQ(DirOfPath("/films/old/a.srt"), "/films/old/");
  EXPECT_EQ(DirOfPath("/a.srt"), "/");
  EXPECT_EQ(DirOfPath("a.srt"), "");
  const std::string long_dir = "/" + std::string(80, 'd') + "/";
  EXPECT_EQ(DirOfPath(long_dir + "x.srt"), long_dir);
  EXPECT_EQ(NameOfPath("/films/old/a.srt"), "a.srt");
  EXPECT_EQ(WithoutExtension("a.b.sub"), "a.b");
  EXPECT_EQ(WithBackslash("/dir//"), "/dir/");
  EXPECT_EQ(WithBackslash("/dir"), "/dir/");
  EXPECT_FALSE(TextToBool("FALSE"));
  EXPECT_TRUE(TextToBool("no"));
}

}  // namespace
}  // namespace lumetra
