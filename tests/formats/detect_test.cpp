// What a file's bytes say about it: its kind, and whether its text is UTF-8.
#include <vector>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

TEST(DetectSubtitleKind, FromTheFirstNonBlankLine) {
  const std::pair<std::string_view, int> cases[] = {
      {"1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n", kKindSubRip},
      {"12\n", kKindSubRip},
      {"{100}{200}Hi\n", kKindSub},
      {"[INFORMATION]\r\n[TITLE]x\r\n", kKindSrt2},
      {"<sami>\r\n", kKindSami},
      // Numbered from 2 or 5, or behind a downloader's header: unknown.
      {"2\n00:00:01,000 --> 00:00:02,000\nHi\n", kKindUnknown},
      {"5\n", kKindUnknown},
      {"Content-Type: text/plain\n\n{1}{1}23.976\n", kKindUnknown},
      // SubRip numbered from 0 or without numbers; other lines starting with "0" are SRT2.
      {"0\n00:00:00,000 --> 00:00:01,000\nHi\n", kKindSubRip},
      {"00:00:06,500 --> 00:00:09,000\nHi\n", kKindSubRip},
      {"  --> 00:00:09,000\nHi\n", kKindSubRip},
      {"00:00:01.00,00:00:02.00\nHi\n", kKindSrt2},
      {"007\n", kKindSrt2},
      {"<!-- comment -->\n<SAMI>\n", kKindSami},
      {"{1}{2}a --> b\n", kKindSub},
      {"[INFORMATION] -->\n", kKindSrt2},
      // Blank lines, spaces and the byte-order mark are skipped; a tab is no space.
      {"\r\n   \r\n\n  {1}{2}x\n", kKindSub},
      {"\xEF\xBB\xBF{1}{2}x", kKindSub},
      {"\t1\n", kKindUnknown},
      {"", kKindUnknown},
      {"  \r\n\r\n", kKindUnknown},
      // UTF-16, either way round, by its mark.
      {std::string_view("\xFF\xFE"
                        "1\0\r\0\n\0",
                        8),
       kKindSubRip},
      {std::string_view("\xFE\xFF\0 \0{", 6), kKindSub},
  };
  for (const auto& [data, kind] : cases) EXPECT_EQ(DetectSubtitleKind(data), kind) << data;
}

TEST(LooksLikeUtf8Text, NeedsValidUtf8WithNonAsciiCharacters) {
  const std::pair<std::string_view, bool> cases[] = {
      {"plain ASCII", false},
      {"\xC3\xA9t\xC3\xA9", true},
      {"\xE4\xB8\xAD \xF0\x9F\x98\x80", true},  // CJK and an emoji
      {"Gy\xF5r", false},                       // cp1250
      {"12345678\xC3", false},                  // cut short after an ASCII block
      {"\xC0\xAF", false},                      // overlong
      {"\xED\xA0\x80", false},                  // surrogate
      {"\xF4\x90\x80\x80", false},              // above U+10FFFF
  };
  for (const auto& [data, utf8] : cases) EXPECT_EQ(LooksLikeUtf8Text(data), utf8) << data;
  // Runs of ASCII that end exactly where the bytes end (no terminator after them).
  for (std::size_t size : {8u, 32u, 64u, 72u}) {
    std::vector<char> bytes(size, 'a');
    EXPECT_FALSE(LooksLikeUtf8Text({bytes.data(), bytes.size()})) << size;
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(size / 2), {'\xC3', '\xA9'});
    EXPECT_TRUE(LooksLikeUtf8Text({bytes.data(), bytes.size()})) << size;
  }
}

}  // namespace
}  // namespace lumetra
