// The code pages a document can be shown in: names, the characters of their bytes, and
// the way back.
#include "foundation/code_pages.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(CodePages, AreFoundByTheirNamesInAnyCase) {
  const std::pair<std::string_view, std::optional<CodePage>> cases[] = {
      {"UTF-8", CodePage::kUtf8},       {"windows-1251", CodePage::kWindows1251},
      {"1257", CodePage::kWindows1257}, {"Latin2", CodePage::kIso8859_2},
      {"koi8-r", std::nullopt},         {"", std::nullopt},
  };
  for (const auto& [name, page] : cases) EXPECT_EQ(CodePageOfName(name), page) << name;
  for (CodePage page : AllCodePages()) EXPECT_EQ(CodePageOfName(CodePageName(page)), page);
  EXPECT_EQ(AllCodePages().size(), 8u);
}

TEST(CodePages, DecodeTheLettersOfEachPage) {
  // Bytes whose letters tell the pages apart (the editor's tests compare every page with Qt).
  const std::tuple<CodePage, std::string_view, std::string_view> cases[] = {
      {CodePage::kWindows1250, "Gy\xF5r \x9C", "Győr ś"},
      {CodePage::kWindows1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
      {CodePage::kIso8859_2, "\xB1\xB6\xF5", "ąśő"},
      // Undefined bytes: control characters below 0xA0, U+FFFD above.
      {CodePage::kWindows1250, "\x81", "\xC2\x81"},
      {CodePage::kWindows1253, "\xAA", "\xEF\xBF\xBD"},
      // UTF-8 stays; bytes outside a valid sequence become U+FFFD.
      {CodePage::kUtf8, "\xC3\xA9\xFF\xC3", "é\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& [page, bytes, utf8] : cases) {
    EXPECT_EQ(DecodeToUtf8(bytes, page), utf8) << CodePageName(page);
  }
}

TEST(CodePages, EncodeWhatThePageHoldsAndAFallbackForTheRest) {
  EXPECT_EQ(EncodeFromUtf8("Győr Я", CodePage::kWindows1250), "Gy\xF5r ?");
  EXPECT_EQ(EncodeFromUtf8("Győr Я", CodePage::kWindows1251), "Gy?r \xDF");
  EXPECT_EQ(EncodeFromUtf8("\xC2\x81|\xFF", CodePage::kWindows1250), "\x81|?");
  EXPECT_EQ(EncodeFromUtf8("\xEF\xBF\xBD", CodePage::kWindows1253), "?");
  EXPECT_EQ(EncodeFromUtf8("é😀", CodePage::kUtf8), "é😀");
  std::string out;
  EXPECT_TRUE(AppendInCodePage(out, 0x20AC, CodePage::kWindows1252));
  EXPECT_FALSE(AppendInCodePage(out, 0x20AC, CodePage::kIso8859_2));
  EXPECT_FALSE(AppendInCodePage(out, 0xD800, CodePage::kUtf8));
  EXPECT_EQ(out, "\x80");
}

}  // namespace
}  // namespace lumetra
