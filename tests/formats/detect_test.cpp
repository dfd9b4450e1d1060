#include <gtest/gtest.h>

#include "formats/subtitle_io.h"

namespace lumetra {
namespace {

TEST(DetectSubtitleKind, FirstNonBlankLineNamesTheKind) {
  EXPECT_EQ(DetectSubtitleKind("1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n"), kKindSubRip);
  EXPECT_EQ(DetectSubtitleKind("12\n"), kKindSubRip);
  EXPECT_EQ(DetectSubtitleKind("{100}{200}Hi\n"), kKindSub);
  EXPECT_EQ(DetectSubtitleKind("[INFORMATION]\r\n[TITLE]x\r\n"), kKindSrt2);
  EXPECT_EQ(DetectSubtitleKind("<SAMI>\r\n"), kKindSami);
  EXPECT_EQ(DetectSubtitleKind("<sami>\r\n"), kKindSami);
}

TEST(DetectSubtitleKind, SubRipNumberedFromTwoOrFiveIsUnknown) {
  EXPECT_EQ(DetectSubtitleKind("2\n00:00:01,000 --> 00:00:02,000\nHi\n"), kKindUnknown);
  EXPECT_EQ(DetectSubtitleKind("5\n00:00:01,000 --> 00:00:02,000\nHi\n"), kKindUnknown);
  EXPECT_EQ(DetectSubtitleKind("Content-Type: text/plain\n\n{1}{1}23.976\n"), kKindUnknown);
}

TEST(DetectSubtitleKind, AZeroOrZerosAndAColonMeanSrt2) {
  EXPECT_EQ(DetectSubtitleKind("0\n00:00:00,000 --> 00:00:01,000\nHi\n"), kKindSrt2);
  EXPECT_EQ(DetectSubtitleKind("00:00:01.00,00:00:02.00\nHi\n"), kKindSrt2);
}

TEST(DetectSubtitleKind, SkipsBlankLinesSpacesAndTheByteOrderMark) {
  EXPECT_EQ(DetectSubtitleKind("\r\n   \r\n\n  {1}{2}x\n"), kKindSub);
  EXPECT_EQ(DetectSubtitleKind("\xEF\xBB\xBF" "1\r\n"), kKindSubRip);
  EXPECT_EQ(DetectSubtitleKind("\xEF\xBB\xBF{1}{2}x"), kKindSub);
  // A tab is not a space.
  EXPECT_EQ(DetectSubtitleKind("\t1\n"), kKindUnknown);
}

TEST(DetectSubtitleKind, EmptyAndUtf16FilesAreUnknown) {
  EXPECT_EQ(DetectSubtitleKind(""), kKindUnknown);
  EXPECT_EQ(DetectSubtitleKind("  \r\n\r\n"), kKindUnknown);
  const std::string utf16("\xFF\xFE" "1\0\r\0\n\0", 8);
  EXPECT_EQ(DetectSubtitleKind(utf16), kKindUnknown);
}

TEST(ByteOrderMark, OnlyAtTheVeryStart) {
  EXPECT_TRUE(HasUtf8ByteOrderMark("\xEF\xBB\xBFx"));
  EXPECT_FALSE(HasUtf8ByteOrderMark(" \xEF\xBB\xBFx"));
  EXPECT_FALSE(HasUtf8ByteOrderMark("\xEF\xBB"));
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBFx"), "x");
  EXPECT_EQ(WithoutByteOrderMark("x\xEF\xBB\xBF"), "x\xEF\xBB\xBF");
}

TEST(LooksLikeUtf8Text, NeedsValidUtf8WithNonAsciiCharacters) {
  EXPECT_FALSE(LooksLikeUtf8Text("plain ASCII"));
  EXPECT_TRUE(LooksLikeUtf8Text("\xC3\xA9t\xC3\xA9"));             // été
  EXPECT_TRUE(LooksLikeUtf8Text("\xE4\xB8\xAD \xF0\x9F\x98\x80"));  // CJK and an emoji
  EXPECT_TRUE(LooksLikeUtf8Text("\xEF\xBB\xBF" "abc"));              // a BOM is UTF-8
  EXPECT_FALSE(LooksLikeUtf8Text("Gy\xF5r"));                       // cp1250 ő
  EXPECT_FALSE(LooksLikeUtf8Text("\xC3"));                          // cut short
  EXPECT_FALSE(LooksLikeUtf8Text("\xC0\xAF"));                      // overlong
  EXPECT_FALSE(LooksLikeUtf8Text("\xED\xA0\x80"));                  // surrogate
  EXPECT_FALSE(LooksLikeUtf8Text("\xF4\x90\x80\x80"));              // above U+10FFFF
}

}  // namespace
}  // namespace lumetra
