#include "foundation/textkit.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumetra {
namespace {

TEST(SplitWords, CountsSeparatorsPlusOneAndKeepsEmptyWords) {
  WordArray words;
  SplitWords(words, "{100}{200}Hi", '{', '}');
  ASSERT_EQ(words.count(), 5);
  EXPECT_EQ(words[1], "");
  EXPECT_EQ(words[2], "100");
  EXPECT_EQ(words[3], "");
  EXPECT_EQ(words[4], "200");
  EXPECT_EQ(words[5], "Hi");

  SplitWords(words, "", 'x', 'y');
  EXPECT_EQ(words.count(), 1);
  EXPECT_EQ(words[1], "");
}

TEST(SplitWords, FiveSeparatorsSplitATimeLine) {
  WordArray words;
  SplitWords5(words, "00:00:01,000 --> 00:00:02,000", ':', ',', '.', '/', ' ');
  ASSERT_EQ(words.count(), 9);
  const char* expected[] = {"00", "00", "01", "000", "-->", "00", "00", "02", "000"};
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(words[i], expected[i - 1]) << i;
}

TEST(SplitWords, EntriesAboveTheNewCountKeepEarlierWords) {
  WordArray words;
  SplitWords(words, "1 2 3 4 5 6 7 8 9", ' ', ' ');
  ASSERT_EQ(words.count(), 9);
  SplitWords(words, "a", 'x', 'y');
  EXPECT_EQ(words.count(), 1);
  EXPECT_EQ(words[1], "a");
  for (int i = 2; i <= 9; ++i) EXPECT_EQ(words[i], std::to_string(i)) << i;
  EXPECT_EQ(words[10], "");  // never written
  words.Clear(5);
  EXPECT_EQ(words[5], "");
  EXPECT_EQ(words[6], "6");
}

TEST(SplitWords, HandlesAnyNumberOfWordsAndAnyLength) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "w|";
  WordArray words;
  SplitWords(words, many, '|', '|');
  EXPECT_EQ(words.count(), 1001);
  EXPECT_EQ(words[1000], "w");
  EXPECT_EQ(words[1001], "");

  const std::string long_word(300, 'a');
  SplitWords(words, long_word + "|b", '|', '|');
  EXPECT_EQ(words[1], long_word);
}

TEST(SplitShortWords, CutsEachWordTo48Characters) {
  WordArray words;
  SplitShortWords(words, std::string(60, 'd') + "/x", '/', '\\');
  ASSERT_EQ(words.count(), 2);
  EXPECT_EQ(words[1], std::string(48, 'd'));
  EXPECT_EQ(words[2], "x");
}

TEST(TextKit, PiecesAndPads) {
  EXPECT_EQ(CharString('-', 3), "---");
  EXPECT_EQ(CharString('-', 0), "");
  EXPECT_EQ(LeftStr("abc", 2), "ab");
  EXPECT_EQ(LeftStr("abc", 9), "abc");
  EXPECT_EQ(RightStr("0", 2), "0");
  EXPECT_EQ(RightStr("abc", 2), "bc");
  EXPECT_EQ(DropLeft("abc", 1), "bc");
  EXPECT_EQ(DropLeft("abc", 3), "");
  EXPECT_EQ(DropLeft("abc", 5), "");
  EXPECT_EQ(PadRight("5", '0', 3), "500");
  EXPECT_EQ(PadRight("1234", '0', 3), "123");
  EXPECT_EQ(PadLeft("7", '0', 2), "07");
  EXPECT_EQ(PadLeft("123", '0', 2), "23");
  EXPECT_EQ(PadLeft("-1", '0', 2), "-1");
  EXPECT_TRUE(StartsWith("abc", ""));
  EXPECT_TRUE(StartsWith("abc", "ab"));
  EXPECT_FALSE(StartsWith("abc", "Ab"));
  EXPECT_FALSE(StartsWith("a", "ab"));
}

TEST(TextKit, TrimsAndReplacesBeyond255Characters) {
  EXPECT_EQ(TrimRightChar("a|b||", '|'), "a|b");
  EXPECT_EQ(TrimLeftChar("[[x]", '['), "x]");
  EXPECT_EQ(TrimChar("  a b  ", ' '), "a b");
  EXPECT_EQ(TrimChar("   ", ' '), "");
  const std::string long_text = std::string(300, 'x') + "  ";
  EXPECT_EQ(TrimRightChar(long_text, ' '), std::string(300, 'x'));
  EXPECT_EQ(ReplaceChar(std::string(300, ',') , ',', '.'), std::string(300, '.'));
  EXPECT_EQ(UpperCaseHU(std::string(300, 'a')), std::string(300, 'A'));
}

TEST(TextKit, SplitKeyValueTrimsBothHalves) {
  std::string key, value;
  SplitKeyValue(" Name = a = b ", key, value);
  EXPECT_EQ(key, "Name");
  EXPECT_EQ(value, "a = b");
  SplitKeyValue("  alone ", key, value);
  EXPECT_EQ(key, "alone");
  EXPECT_EQ(value, "");
}

TEST(TextToInt, DecimalWithBlanksAndSigns) {
  bool error = true;
  EXPECT_EQ(TextToInt("12", &error), 12);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt(" -7", &error), -7);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("+15", &error), 15);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("0", &error), 0);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("007", &error), 7);
  EXPECT_FALSE(error);
  for (const char* bad : {"", "   ", "12 ", "1 2", "-", "+", "1.5", "a", "--1", "\t5"}) {
    EXPECT_EQ(TextToInt(bad, &error), 0) << bad;
    EXPECT_TRUE(error) << bad;
  }
}

TEST(TextToInt, HexadecimalForms) {
  bool error = true;
  EXPECT_EQ(TextToInt("$1F", &error), 31);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("x10", &error), 16);
  EXPECT_EQ(TextToInt("X10", &error), 16);
  EXPECT_EQ(TextToInt("0x10", &error), 16);
  EXPECT_EQ(TextToInt("  0Xff", &error), 255);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("$FFFFFFFF", &error), -1);
  EXPECT_FALSE(error);
  for (const char* bad : {"$", "0x", "x", "$G", "$100000000", "-$10", "0x1 "}) {
    EXPECT_EQ(TextToInt(bad, &error), 0) << bad;
    EXPECT_TRUE(error) << bad;
  }
}

TEST(TextToInt, RejectsValuesBeyond32Bits) {
  bool error = true;
  EXPECT_EQ(TextToInt("2147483647", &error), INT_MAX);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("-2147483648", &error), INT_MIN);
  EXPECT_FALSE(error);
  EXPECT_EQ(TextToInt("2147483648", &error), 0);
  EXPECT_TRUE(error);
  EXPECT_EQ(TextToInt("-2147483649", &error), 0);
  EXPECT_TRUE(error);
  EXPECT_EQ(TextToInt("99999999999999999999999", &error), 0);
  EXPECT_TRUE(error);
}

TEST(TextToFloat, ReadsNumbers) {
  EXPECT_DOUBLE_EQ(TextToFloat("25"), 25.0);
  EXPECT_DOUBLE_EQ(TextToFloat("  23.976"), 23.976);
  EXPECT_DOUBLE_EQ(TextToFloat("-0.5"), -0.5);
  EXPECT_DOUBLE_EQ(TextToFloat("+2.5e2"), 250.0);
  EXPECT_DOUBLE_EQ(TextToFloat("1E-1"), 0.1);
  EXPECT_DOUBLE_EQ(TextToFloat("5."), 5.0);
  EXPECT_DOUBLE_EQ(TextToFloat(".5"), 0.5);
}

TEST(TextToFloat, TextThatIsNotANumberGivesItsDigitsRead) {
  EXPECT_EQ(TextToFloat("25,5"), 25.0);
  EXPECT_EQ(TextToFloat("1.5x"), 15.0);
  EXPECT_EQ(TextToFloat("-3a"), 3.0);
  EXPECT_EQ(TextToFloat(""), 0.0);
  EXPECT_EQ(TextToFloat("abc"), 0.0);
  EXPECT_EQ(TextToFloat("."), 0.0);
  EXPECT_EQ(TextToFloat("25 "), 25.0);
  EXPECT_EQ(TextToFloat("2e"), 2.0);
  EXPECT_EQ(TextToFloat("nan"), 0.0);
}

TEST(FloatToText, DropsTrailingZerosAndPoint) {
  EXPECT_EQ(FloatToText(25), "25");
  EXPECT_EQ(FloatToText(23.976), "23.976");
  EXPECT_EQ(FloatToText(29.97), "29.97");
  EXPECT_EQ(FloatToText(0.5), "0.5");
  EXPECT_EQ(FloatToText(100), "100");
  EXPECT_EQ(FloatToText(-0.5), "-0.5");
  EXPECT_EQ(FloatToText(0), "0");
  EXPECT_EQ(FloatToText(23.977 / 25), "0.95908");
  EXPECT_EQ(FloatToText(25 / 23.977), "1.042666");
  EXPECT_EQ(FloatToText(1e20), "100000000000000000000");
}

TEST(ClampInt, NegativeNumbersLoseTheirSignWhenSmallEnough) {
  EXPECT_EQ(ClampInt(-5, 1, 16), 5);
  EXPECT_EQ(ClampInt(0, 1, 16), 1);
  EXPECT_EQ(ClampInt(-40, 1, 16), 1);
  EXPECT_EQ(ClampInt(99, 1, 16), 16);
  EXPECT_EQ(ClampInt(7, 1, 16), 7);
  EXPECT_EQ(ClampInt(INT_MIN, 1, 16), 1);
  EXPECT_EQ(TextToIntRange("-3", 1, 16), 3);
  EXPECT_EQ(TextToIntRangeText("abc", 1, 16), "1");
}

TEST(CaseMapping, UpperTableMapsAsciiAndAccentedLetters) {
  EXPECT_EQ(UpperCaseHU("abz AZ 09"), "ABZ AZ 09");
  const int table[][2] = {{129, 154}, {130, 144}, {139, 138}, {147, 153}, {148, 153},
                          {150, 154}, {160, 143}, {161, 73},  {162, 79},  {163, 85},
                          {243, 211}, {246, 214}, {250, 218}, {251, 235}, {252, 220}};
  for (const auto& [in, out] : table) {
    EXPECT_EQ(static_cast<unsigned char>(UpperCaseHU(std::string(1, static_cast<char>(in)))[0]),
              out)
        << in;
  }
  // Everything else passes unchanged.
  int unchanged = 0;
  for (int c = 0; c < 256; ++c) {
    if (UpperCaseHU(std::string(1, static_cast<char>(c)))[0] == static_cast<char>(c)) ++unchanged;
  }
  EXPECT_EQ(unchanged, 256 - 26 - 15);
}

TEST(CaseMapping, LowerTableIsNotTheInverseOfTheUpperTable) {
  EXPECT_EQ(LowerCaseHU("SRT Abc"), "srt abc");
  const int table[][2] = {{138, 139}, {143, 160}, {144, 130}, {153, 148},
                          {154, 129}, {181, 160}, {224, 162}, {235, 251}};
  for (const auto& [in, out] : table) {
    EXPECT_EQ(static_cast<unsigned char>(LowerCaseHU(std::string(1, static_cast<char>(in)))[0]),
              out)
        << in;
  }
  // 211 (upper case of 243) has no lower-case entry.
  EXPECT_EQ(LowerCaseHU("\xD3"), "\xD3");
}

TEST(Paths, FollowThePlatformRules) {
  EXPECT_EQ(DirOfPath("/films/old/a.srt"), "/films/old/");
  EXPECT_EQ(DirOfPath("/a.srt"), "/");
  EXPECT_EQ(DirOfPath("a.srt"), "");
  const std::string long_dir = "/" + std::string(80, 'd') + "/";
  EXPECT_EQ(DirOfPath(long_dir + "x.srt"), long_dir);
  EXPECT_EQ(NameOfPath("/films/old/a.srt"), "a.srt");
  EXPECT_EQ(NameOfPath("a.srt"), "a.srt");
  EXPECT_EQ(WithoutExtension("movie.srt"), "movie");
  EXPECT_EQ(WithoutExtension("movie"), "movie");
  EXPECT_EQ(WithoutExtension("a.b.sub"), "a.b");
  EXPECT_EQ(WithBackslash("/dir//"), "/dir/");
  EXPECT_EQ(WithBackslash("/dir"), "/dir/");
}

TEST(TextKit, BooleanTexts) {
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
  EXPECT_FALSE(TextToBool("FALSE"));
  EXPECT_FALSE(TextToBool("False"));
  EXPECT_TRUE(TextToBool("no"));
  EXPECT_TRUE(TextToBool(""));
  EXPECT_TRUE(TextToBool(" false"));
}

}  // namespace
}  // namespace lumetra
