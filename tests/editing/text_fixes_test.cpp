#include "editing/text_fixes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/search.h"

namespace lumetra {
namespace {

void Fill(Document& doc, const std::vector<std::string>& texts) {
  doc.BeginBulkChange();
  doc.FrameCount = static_cast<int>(texts.size());
  for (std::size_t i = 1; i <= texts.size(); ++i) doc.FrameText[i] = texts[i - 1];
  doc.EndBulkChange();
}

TEST(FixDashesInText, TreatsEveryLineOfAFrame) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"-abc", "- Abc"}, {"- abc", "- Abc"},   {"-a", "- A"},     {"--abc", "--abc"},
      {"-", "-"},        {"- 1x", "- 1x"},     {" abc", "  abc"}, {"  abc", "  abc"},
      {"-\xF6t", "- \xD6t"}, {"abc|", "abc"}, {"|x", "|x"},      {"", ""},
      {"a||-b|", "a||- B"},
  };
  // clang-format on
  for (const auto& [in, out] : cases) EXPECT_EQ(FixDashesInText(in), out) << in;
  // More lines than any fixed array would hold.
  std::string many, fixed;
  for (int i = 0; i < 60; ++i) many += "-x|", fixed += "- X|";
  EXPECT_EQ(FixDashesInText(many), fixed.substr(0, fixed.size() - 1));
}

TEST(FixSpacingInText, InsertsASpaceAfterMarksButNotInAbbreviationsNumbersOrAtTheEnd) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"ab,c.De", "ab, c. De"},
      {"S.Y.Z. abc", "S.Y.Z. abc"},
      {"Mr.xyz", "Mr.xyz"},
      {"123.456", "123.456"},
      {"wait... abc", "wait... abc"},
      {"ab, cd", "ab, cd"},
      {"10:30", "10:30"},
      {"a:b", "a: b"},
      {"Hello.|World", "Hello. |World"},
      // At the very end of a text.
      {"wait...", "wait..."},
      {"The end.", "The end."},
      {"x..y", "x.. y"},
      {"S.Y.Z.", "S.Y.Z."},
      {"a,", "a,"},
      // Tags and override blocks are no text.
      {"<c.yellow>x.y</c>", "<c.yellow>x. y</c>"},
      {"{\\t(0,500,\\fs2.5)}a,b{x", "{\\t(0,500,\\fs2.5)}a, b{x"},
  };
  // clang-format on
  for (const auto& [in, out] : cases) EXPECT_EQ(FixSpacingInText(in), out) << in;
}

TEST(ReplaceWholeWord, ReplacesWholeWordsOnlyAndKeepsTheFirstCapital) {
  struct Case {
    const char* text;
    const char* wrong;
    const char* right;
    const char* result;
    int count;
  };
  // clang-format off
  const Case cases[] = {
      {"Teh cat", "teh", "the", "The cat", 1},
      {"im here", "im", "I'm", "I'm here", 1},
      {"teh, teh's", "teh", "the", "teh, teh's", 0},
      {"(helo)", "helo", "hello", "(hello)", 1},
      {"xteh teh", "teh", "the", "xteh the", 1},
      {"wil wild|wil.", "wil", "will", "will wild|will.", 2},
      {"\"ay\" AY!", "ay", "az", "\"az\" Az!", 2},
  };
  // clang-format on
  for (const Case& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ReplaceWholeWord(text, c.wrong, c.right), c.count) << c.text;
    EXPECT_EQ(text, c.result);
  }
}

TEST(SpellCheck, SelectsTheFramesWithFaultsAndCorrectsThemUnlessOnlySelecting) {
  Document doc;
  Fill(doc, {"teh amd", "fine", "sory"});
  const Selection before{{2}, 2, 1};
  CommandResult result = SpellCheck(doc, before, EnglishCorrections(), true);
  EXPECT_EQ(result.message, "3 errors has been found!");
  EXPECT_EQ(result.selection, (Selection{{1, 3}, 2, 1}));
  EXPECT_EQ(doc.FrameText[1], "teh amd");
  EXPECT_EQ(doc.Modified, kClean);
  // Nothing focused: the first fault is.
  EXPECT_EQ(SpellCheck(doc, {}, EnglishCorrections(), true).selection, (Selection{{1, 3}, 1, 0}));

  result = SpellCheck(doc, before, EnglishCorrections(), false);
  EXPECT_EQ(result.message, "3 replace has been made!");
  EXPECT_EQ(doc.FrameText[1], "the and");
  EXPECT_EQ(doc.FrameText[3], "sorry");
  EXPECT_EQ(doc.Modified, kUnsaved);
  result = SpellCheck(doc, before, EnglishCorrections(), false);
  EXPECT_EQ(result.message, kNoErrorsFound);
  EXPECT_EQ(result.selection, (Selection{{}, 2, 1}));
  EXPECT_EQ(SpellCheck(doc, before, HungarianCorrections(), false).message, kNoErrorsFound);
}

// A wrong word is found wherever it begins in a long text: at the start, on either side of
// every sixteenth byte, at the very end, after each byte a word may follow; and not inside
// another word or where it runs off the end.
TEST(SpellCheck, FindsAWrongWordAtEveryPlaceOfALongText) {
  Document doc;
  std::vector<std::string> texts;
  std::vector<int> with_fault;
  for (std::size_t at = 0; at <= 40; ++at) {
    for (const char* before : {" ", "|", "\"", "("}) {
      const std::string pad = at == 0 ? "" : std::string(at - 1, 'x') + before;
      texts.push_back(pad + "teh" + (at % 2 ? "" : " xx"));
      with_fault.push_back(static_cast<int>(texts.size()));
      if (at == 0) break;
    }
    texts.push_back(std::string(at + 1, 'x') + "teh");  // inside a word
    texts.push_back(std::string(at, 'x') + " te");      // the word cut short at the end
  }
  Fill(doc, texts);
  const CommandResult result = SpellCheck(doc, {}, EnglishCorrections(), true);
  EXPECT_EQ(result.selection.frames, with_fault);
}

TEST(TextFixes, WorkOnTheSelectedFramesAndMarkTheDocumentEvenWithoutChange) {
  Document doc;
  Fill(doc, {"-a", "-b", "x"});
  CommandResult result = FixDashes(doc, {{2, 3}, 3, 1});
  EXPECT_EQ(doc.FrameText[1] + doc.FrameText[2] + doc.FrameText[3], "-a- Bx");
  EXPECT_FALSE(result.reload_panel);  // the focused frame kept its text
  EXPECT_EQ(doc.Modified, kUnsaved);
  result = FixCommaDotSpacing(doc, {{3}, 3, 1});
  EXPECT_EQ(doc.FrameText[3], "x");
  doc.Modified = kClean;
  FixCommaDotSpacing(doc, {{}, 3, 1});
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_TRUE(FixDashes(doc, {{1}, 1, 1}).reload_panel);
}

TEST(SearchFrames, FindsTheNextHitOrMarksEveryHit) {
  Document doc;
  EXPECT_EQ(SearchFrames(doc, {}, "a", {}).message, kNoMatchFound);
  Fill(doc, {"Apple", "pear", "apple|pie", "plum"});
  struct Case {
    const char* needle;
    SearchOptions options;
    Selection before;
    Selection after;
    bool found;
  };
  const SearchOptions find{true, false, false}, exact{false, false, false};
  const SearchOptions mark{true, true, false}, mark_all{true, true, true};
  // clang-format off
  const Case cases[] = {
      {"apple", find, {{}, 0, 1}, {{1}, 1, 1}, true},
      {"apple", find, {{1}, 1, 1}, {{3}, 3, 3}, true},
      {"apple", find, {{3}, 3, 1}, {{3}, 3, 1}, false},  // no wrap-around
      {"plum", find, {{}, 4, 2}, {{4}, 4, 4}, true},    // the last frame examines itself
      {"Apple", exact, {{}, 1, 1}, {{}, 1, 1}, false},
      {"e|p", find, {{}, 0, 1}, {{3}, 3, 3}, true},
      {"", find, {{}, 0, 1}, {{}, 0, 1}, false},
      {"p", mark, {{2}, 4, 2}, {{4}, 4, 2}, true},      // from the focused last frame
      {"apple", mark, {{2}, 2, 2}, {{3}, 3, 2}, true},
      {"apple", mark_all, {{2}, 2, 2}, {{1, 3}, 1, 2}, true},
      {"kiwi", mark, {{2}, 2, 2}, {{}, 2, 2}, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    const CommandResult result = SearchFrames(doc, c.before, c.needle, c.options);
    EXPECT_EQ(result.selection, c.after) << c.needle;
    EXPECT_EQ(result.message, c.found ? "" : kNoMatchFound) << c.needle;
  }
}

}  // namespace
}  // namespace lumetra
