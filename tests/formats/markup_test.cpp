// Italics, bold and underline go from one family's markup into another's; what the target
// cannot hold is dropped, never left as markup in the text.
#include "formats/markup.h"

#include <gtest/gtest.h>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using namespace testing;

TEST(Markup, StylesGoFromOneFamilyToAnother) {
  struct Case {
    Markup from;
    std::string_view text;
    Markup to;
    std::string_view expected;
  };
  constexpr Markup kHtml = Markup::kHtml, kVtt = Markup::kWebVtt, kAss = Markup::kAss,
                   kSub = Markup::kSub;
  const Case cases[] = {
      {kHtml, "<i>Hello</i>|world", kAss, "{\\i1}Hello{\\i0}|world"},
      {kHtml, "<I>a <b>b</b></i> <font color=red>c</font> 1<2", kAss,
       "{\\i1}a {\\b1}b{\\i0\\b0} c 1<2"},
      {kAss, "{\\an8}{\\i1}Hello{\\i0}\\h{\\pos(1,2)}x{\\b700\\u1}y{\\r}z", kHtml,
       "<i>Hello</i>\xA0x<b><u>y</u></b>z"},
      {kAss, "{\\i1\\iclip(1,2,3,4)}a{\\i}b\\Nc", kVtt, "<i>a</i>b|c"},
      {kVtt, "<v Bob>Hi <c.yellow><i.loud>there</i></c></v><00:01.000>!", kHtml,
       "Hi <i>there</i>!"},
      // SUB: {y:...} holds for its line, {Y:...} for the whole frame.
      {kSub, "{y:i}Italic line|second", kHtml, "<i>Italic line</i>|second"},
      {kSub, "{Y:i}{c:$0000FF}A|{y:b,u}B", kAss, "{\\i1}A|{\\b1\\u1}B{\\i0\\b0\\u0}"},
      {kSub, "{y:i} {odd}|{x", kHtml, "<i> {odd}</i>|{x"},
      {kHtml, "<i>A</i>|B", kSub, "{y:i}A|B"},
      {kHtml, "<i>A|B</i>", kSub, "{Y:i}A|B"},
      {kAss, "{\\i1}{\\b1}A|B|  ", kSub, "{Y:i,b}A|B|  "},
      {kHtml, "a <i>b</i>", kSub, "a b"},  // a style inside a line cannot be held
      {kVtt, "<i>same</i> &", kVtt, "<i>same</i> &"},
      // A SubRip text's override blocks are ASS's and go nowhere else; braces that make
      // none are text.
      {kHtml, "{\\an8}<i>Top</i>", kAss, "{\\an8}{\\i1}Top{\\i0}"},
      {kHtml, "{\\an8}<i>Top</i> {x} {\\|b}", kVtt, "<i>Top</i> {x} {\\|b}"},
      {kHtml, "{\\an8}<i>Top</i>", kSub, "{Y:i}Top"},
      {kHtml, "{\\an8}Top", kSub, "Top"},
      {kHtml, "<b\tx>A</b>|<i.c>B</i>|<ib>C</ib>", kSub, "{y:b}A|{y:i}B|C"},
      {kHtml, "<i>A<|B</i>", kSub, "{Y:i}A<|B"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertMarkup(c.text, c.from, c.to, CodePage::kWindows1250), c.expected) << c.text;
  }
  std::string appended = "kept";
  EXPECT_TRUE(
      AppendConvertedMarkup(appended, "<i>A</i>", Markup::kHtml, Markup::kSub, CodePage::kUtf8));
  EXPECT_FALSE(AppendConvertedMarkup(appended, "A", Markup::kHtml, Markup::kSub, CodePage::kUtf8));
  EXPECT_EQ(appended, "kept{Y:i}A");
  EXPECT_EQ(ConvertMarkup("a\\hb", Markup::kAss, Markup::kHtml, CodePage::kUtf8),
            "a\xC2\xA0"
            "b");
  EXPECT_EQ(ConvertMarkup("a\xC2\xA0"
                          "b",
                          Markup::kHtml, Markup::kAss, CodePage::kUtf8),
            "a\\hb");
}

// HTML into SUB of texts of many lines and of long lines: whole-frame and whole-line
// styles hold however many lines and characters there are.
TEST(Markup, HtmlIntoSubHoldsStylesOfManyLinesAndLongTexts) {
  for (int lines = 14; lines <= 18; ++lines) {
    std::string text = "<i>a</i>";
    std::string styled = "{Y:i}a";
    std::string mixed = "<b>a</b>";
    std::string mixed_sub = "{y:b}a";
    for (int n = 1; n < lines; ++n) {
      text += "|<i>a</i>";
      styled += "|a";
      mixed += n % 2 ? "| <i>b</i> c" : "|<b>a</b>";
      mixed_sub += n % 2 ? "| b c" : "|{y:b}a";
    }
    EXPECT_EQ(ConvertMarkup(text, Markup::kHtml, Markup::kSub, CodePage::kUtf8), styled) << lines;
    EXPECT_EQ(ConvertMarkup(mixed, Markup::kHtml, Markup::kSub, CodePage::kUtf8), mixed_sub)
        << lines;
  }
  for (std::size_t size = 1020; size <= 1030; ++size) {
    const std::string text = "<u>" + std::string(size - 7, 'x') + "</u>";
    EXPECT_EQ(ConvertMarkup(text, Markup::kHtml, Markup::kSub, CodePage::kUtf8),
              "{Y:u}" + std::string(size - 7, 'x'))
        << size;
  }
}

// Texts made of the pieces markup is made of: sixteen empty lines more add nothing to
// the conversion but their bars.
TEST(Markup, HtmlIntoSubOfATextWithEmptyLinesAfterItAddsOnlyTheirBars) {
  constexpr std::string_view kPieces[] = {"<i>", "</i>", "<b>", "</B>", "<u x>",   "<i.c>",
                                          "<",   ">",    "{",   "}",    "{\\an8}", "|",
                                          " ",   "x",    "yz",  "</",   "<1>",     "\t"};
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const std::string bars(16, '|');
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    const std::uint32_t pieces = next() % 24;
    for (std::uint32_t k = 0; k < pieces; ++k) text += kPieces[next() % std::size(kPieces)];
    const std::string converted = ConvertMarkup(text, Markup::kHtml, Markup::kSub, CodePage::kUtf8);
    ASSERT_EQ(ConvertMarkup(text + bars, Markup::kHtml, Markup::kSub, CodePage::kUtf8),
              converted + bars)
        << text;
  }
}

// A saved file holds its own markup, whichever format the texts were read from.
TEST(Markup, SavingInAnotherFamilyConvertsEveryText) {
  const auto subrip = Read("1\n00:00:01,000 --> 00:00:02,000\n<i>Hi</i>\nthere\n", kKindSubRip);
  const std::string ass = Write(*subrip.doc, kKindAss);
  EXPECT_NE(ass.find(",,{\\i1}Hi{\\i0}\\Nthere\r\n"), std::string::npos);
  EXPECT_EQ(Write(*subrip.doc, kKindSub), "{25}{50}{y:i}Hi|there\r\n");
  const auto back = Read(ass, kKindAss);
  EXPECT_EQ(Write(*back.doc, kKindSubRip), Write(*subrip.doc, kKindSubRip));
  // Each frame gets its own converted text, an empty one too; the others stay as they are.
  const auto frames = Read(
      "1\n00:00:01,000 --> 00:00:02,000\n<i></i>\n\n"
      "2\n00:00:03,000 --> 00:00:04,000\nplain\n\n"
      "3\n00:00:05,000 --> 00:00:06,000\n<b>x</b>\n<u>y</u>\n",
      kKindSubRip);
  EXPECT_EQ(Write(*frames.doc, kKindSub),
            "{25}{50}\r\n{75}{100}plain\r\n{125}{150}{y:b}x|{y:u}y\r\n");
  // Texts of the same family keep every byte.
  EXPECT_NE(Write(*subrip.doc, kKindSami).find("<i>Hi</i><br>there"), std::string::npos);
}

}  // namespace
}  // namespace lumetra
