#include "editing/find_replace.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "document_support.h"
#include "editing/search.h"
#include "foundation/characters.h"

namespace lumetra {
namespace {

FindOptions Regex(bool match_case = false) { return {match_case, false, true}; }
FindOptions Plain(bool match_case = false, bool whole_words = false) {
  return {match_case, whole_words, false};
}

// Every hit of one UTF-8 text replaced.
std::string ReplaceAll(const std::string& text, const std::string& find,
                       const std::string& replacement, const FindOptions& options) {
  Document doc;
  doc.Encoding = CodePage::kUtf8;
  testing::Fill(doc, {{0, 1, text}});
  const ReplacePlan plan = PlanReplaceAll(doc, {1}, MakeFindPattern(find, options), replacement);
  EXPECT_NE(plan.status, FindStatus::kTooComplex) << find;
  return plan.texts.empty() ? text : plan.texts[0].second;
}

TEST(TextPattern, RegularExpressionsMatchAndReplaceWithTheirGroups) {
  struct Case {
    const char* text;
    const char* find;
    const char* replacement;
    const char* result;
  };
  // clang-format off
  const Case cases[] = {
      {"John Smith", "(\\w+) (\\w+)", "\\2, \\1", "Smith, John"},
      {"a1b22c333", "\\d+", "#", "a#b#c#"},
      {"aaa", "a*?", "-", "-a-a-a-"},                 // lazy, empty hits between letters
      {"abc", "x*", "-", "-a-b-c-"},                  // empty hits advance and end
      {"abab", "(ab)\\1", "x", "x"},                  // back-reference in the pattern
      {"one two", "\\bt", "T", "one Two"},
      {"[x]", "[][]", "", "x"},
      {"\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91", "[\xC3\xA1-\xC5\xB1]+", "_", "_rv_zt_r_"},  // accents, any case
      {"\xC5\x90sz \xC5\x91sz", "(\\w+) (\\w+)", "\\2 \\1", "\xC5\x91sz \xC5\x90sz"},  // \w is Unicode
      {"ab", "(x)?ab", "[\\1]", "[]"},                // a group that took no part
      {"ab", "b", "\\n", "a|"},                       // \n in the replacement breaks the line
      {"((", "\\(", "\\\\\\0", "\\(\\("},
  };
  // A frame's lines as the user sees them.
  const Case lines[] = {
      {"Hello|world", "^\\w", "_", "_ello|_orld"},    // ^ at every line's start
      {"Hello|world", "o$", "0", "Hell0|world"},
      {"Hello|world", "o\\|w", "o w", "Hello world"},  // \| is the line break
      {"Hello|world", "o\\nw", "o w", "Hello world"},
      {"Hello|world", "o[|]w|\\Qo|w\\E", "-", "Hell-orld"},
      {"Hello|world", "\\s", "+", "Hello+world"},      // a line break is white space
      {"Hello|world", "l.w", "?", "Hello|world"},      // "." stays within a line
      {"a||b", "^$", "-", "a|-|b"},                    // an empty line between two
      {"a|b", "a|b", "x", "x|x"},                      // "|" alone is an alternative
  };
  // clang-format on
  for (const auto& group : {std::span<const Case>(cases), std::span<const Case>(lines)}) {
    for (const Case& c : group) {
      EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement, Regex()), c.result) << c.find;
    }
  }
}

TEST(TextPattern, CaseWholeWordsAndPlainTextsAreMatchedAsTheUserMeansThem) {
  EXPECT_EQ(ReplaceAll("Cat cat CAT", "cat", "dog", Plain()), "dog dog dog");
  EXPECT_EQ(ReplaceAll("Cat cat CAT", "cat", "dog", Plain(true)), "Cat dog CAT");
  EXPECT_EQ(ReplaceAll("cat concat cats cat.", "cat", "dog", Plain(false, true)),
            "dog concat cats dog.");
  EXPECT_EQ(ReplaceAll("a.b axb (a|b", "a.b", "!", Plain()), "! axb (a|b");  // no expression
  EXPECT_EQ(ReplaceAll("x(a|b", "(a|b", "!", Plain()), "x!");                // "|": the break
  EXPECT_EQ(ReplaceAll("x", "x", "\\1", Plain()), "\\1");                    // taken as it is
  // Non-ASCII capitals in any case, in the text and in the pattern.
  EXPECT_EQ(ReplaceAll("\xC3\x89N \xC3\xA9n", "\xC3\xA9n", "te", Plain()), "te te");
  EXPECT_EQ(ReplaceAll("\xD0\x9C\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\x98", "x", Regex()), "x\xD1\x80");
  // "ŐR őrző Őr": "őr" as a whole word in any case, and only in that case when asked.
  const std::string guard = "\xC5\x90R \xC5\x91rz\xC5\x91 \xC5\x90r";
  EXPECT_EQ(ReplaceAll(guard, "\xC5\x91r", "X", Plain(false, true)), "X \xC5\x91rz\xC5\x91 X");
  EXPECT_EQ(ReplaceAll(guard, "\xC5\x90r", "X", {true, true, true}), guard.substr(0, 11) + "X");
  // A whole word next to an accented letter is no whole word; "Mr." is one before a space.
  EXPECT_EQ(ReplaceAll("\xC3\xA1"
                       "ab ab",
                       "ab", "X", Plain(false, true)),
            "\xC3\xA1"
            "ab X");
  EXPECT_EQ(ReplaceAll("Mr. Mr.x", "Mr.", "Sir", Plain(false, true)), "Sir Mr.x");
  EXPECT_EQ(ReplaceAll("one two", "\\w+", "<\\0>", {false, true, true}), "<one> <two>");
  // Whole words keep the expression's own settings, open quotes and trailing comments.
  EXPECT_EQ(ReplaceAll("a.b xa.b", "\\Qa.b", "!", {false, true, true}), "! xa.b");
  EXPECT_EQ(ReplaceAll("ab xab", "(*UCP)(?x) a b # the word", "!", {false, true, true}), "! xab");
}

TEST(TextPattern, BadExpressionsSayWhatIsWrongAndWhere) {
  const std::pair<const char*, const char*> cases[] = {
      {"(ab", "missing closing parenthesis after character 3"},
      {"*a", "quantifier does not follow a repeatable item at the start"},
      {"x{3,1}", "numbers out of order in {} quantifier after character 5"},
      {"a\\", "\\ at end of pattern after character 2"},
      {"(a)\\2", "reference to non-existent subpattern after character 4"},
      {"a\\C", "using \\C is disabled by the application after character 3"},
  };
  for (const auto& [pattern, problem] : cases) {
    for (bool whole_words : {false, true}) {
      const TextPattern p = MakeFindPattern(pattern, {false, whole_words, true});
      EXPECT_FALSE(p.ok()) << pattern;
      EXPECT_EQ(PatternProblem(p), std::string(kBadExpression) + problem) << pattern;
      EXPECT_TRUE(p.matches_nothing());
    }
  }
  // The same texts are plain texts without regex.
  EXPECT_TRUE(MakeFindPattern("(ab", Plain()).ok());
  EXPECT_EQ(ReplaceAll("a\\C", "a\\C", "ok", Plain()), "ok");
}

TEST(TextPattern, AnExpressionThatWouldRunForeverStopsAsTooComplex) {
  Document doc;
  testing::Fill(doc, {{0, 1, "fine"}, {0, 1, std::string(40, 'a') + "!"}});
  const TextPattern nested = MakeFindPattern("^(a+)+$", Regex());
  EXPECT_EQ(CountHits(doc, {1, 2}, nested).status, FindStatus::kTooComplex);
  EXPECT_EQ(CountHits(doc, {1, 2}, nested).frame, 2);
  const ReplacePlan plan = PlanReplaceAll(doc, {1, 2}, nested, "x");
  EXPECT_EQ(plan.status, FindStatus::kTooComplex);
  EXPECT_TRUE(plan.texts.empty());
  // A repeat of something empty ends, and a frame of the longest text a replacement makes
  // is searched within the limits.
  EXPECT_EQ(ReplaceAll("ab", "(a*)*b", "x", Regex()), "x");
  testing::Fill(doc, {{0, 1, std::string(kMaxReplacedText, 'a')}});
  EXPECT_EQ(CountHits(doc, {1}, MakeFindPattern("(a|b)*", Regex())).hits, 2);
}

TEST(FindReplace, AReplacementNeverGrowsATextPastItsLimit) {
  Document doc;
  testing::Fill(doc, {{0, 1, "short"}, {0, 1, std::string(100, 'e')}});
  const TextPattern e = MakeFindPattern("e", Plain());
  // 100 times 1001 bytes: over the limit, and nothing is replaced anywhere.
  ReplacePlan plan = PlanReplaceAll(doc, {1, 2}, e, std::string(1001, 'e'));
  EXPECT_EQ(plan.status, FindStatus::kTooLong);
  EXPECT_EQ(plan.frame, 2);
  EXPECT_TRUE(plan.texts.empty());
  // Exactly at the limit it is done.
  plan = PlanReplaceAll(doc, {2}, e, std::string(kMaxReplacedText / 100, 'x'));
  EXPECT_EQ(plan.status, FindStatus::kFound);
  EXPECT_EQ(plan.texts[0].second.size(), kMaxReplacedText);
  // One Replace at a time is held to it too.
  doc.SetText(2, std::string(kMaxReplacedText, 'e'));
  FindReplaceModel model;
  model.SetFind("e");
  model.SetReplacement("ee");
  Selection s = model.FindNext(doc, Selection{}).selection;
  EXPECT_EQ(model.Replace(doc, s).message, std::string(kTooLong) + "2");
  EXPECT_EQ(doc.FrameText[2].size(), kMaxReplacedText);
}

TEST(FindReplace, TheBytesOfOtherCodePagesAreMatchedAsTheirCharactersAndKeptOutsideHits) {
  Document doc;  // Windows-1250
  testing::Fill(doc, {{0, 1, "\xC1rv\xEDz \x81|\xE1rv\xEDz"}});
  const TextPattern pattern = MakeFindPattern("\xC3\xA1rv\xC3\xADz", Plain());
  EXPECT_EQ(CountHits(doc, {1}, pattern).hits, 2);
  const ReplacePlan plan = PlanReplaceAll(doc, {1}, pattern, "t\xC5\xB1z");  // "tűz"
  ASSERT_EQ(plan.texts.size(), 1u);
  EXPECT_EQ(plan.texts[0].second, "t\xFBz \x81|t\xFBz");
  // A group's bytes are copied as they are.
  const ReplacePlan swap =
      PlanReplaceAll(doc, {1}, MakeFindPattern("(\\w+) (.)", Regex()), "\\2\\1");
  EXPECT_EQ(swap.texts[0].second, "\x81\xC1rv\xEDz|\xE1rv\xEDz");
}

class FindReplaceModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_.Encoding = CodePage::kUtf8;
    testing::Fill(doc_, {{0, 1, "a cat"}, {0, 1, "dog"}, {0, 1, "cat cat"}, {0, 1, "bird"}});
  }
  Document doc_;
  FindReplaceModel model_;
};

TEST_F(FindReplaceModelTest, FindNextWalksTheHitsAndGoesRoundOnce) {
  model_.SetFind("cat");
  EXPECT_EQ(model_.Status(doc_), "3 hits");
  std::vector<TextHit> hits;
  Selection s{{2}, 2, 1};
  for (int i = 0; i < 4; ++i) {
    const CommandResult r = model_.FindNext(doc_, s);
    s = r.selection;
    hits.push_back(*model_.current());
  }
  EXPECT_EQ(hits, (std::vector<TextHit>{{3, 0, 3}, {3, 4, 7}, {1, 2, 5}, {3, 0, 3}}));
  EXPECT_EQ(s, (Selection{{3}, 3, 1}));
  // In the selected frames only the focus moves, and frames outside are not searched.
  model_.SetSelectedOnly(true, Selection{{1, 2}, 2, 1});
  EXPECT_EQ(model_.Status(doc_), "1 hit");
  EXPECT_EQ(model_.FindNext(doc_, Selection{{1, 2}, 2, 1}).selection, (Selection{{1, 2}, 1, 1}));
  model_.SetFind("cow");
  const CommandResult none = model_.FindNext(doc_, s);
  EXPECT_EQ(none.message, kNoMatchFound);
  EXPECT_EQ(none.selection, s);
  EXPECT_EQ(model_.Status(doc_), kNoMatchFound);
}

TEST_F(FindReplaceModelTest, ReplaceChangesTheShownHitThenShowsTheNext) {
  model_.SetFind("cat");
  model_.SetReplacement("lion");
  Selection s{{}, 0, 1};
  s = model_.Replace(doc_, s).selection;  // nothing shown yet: finds the first
  EXPECT_EQ(doc_.FrameText[1], "a cat");
  EXPECT_EQ(doc_.Modified, kClean);
  const CommandResult r = model_.Replace(doc_, s);
  EXPECT_EQ(doc_.FrameText[1], "a lion");
  EXPECT_EQ(doc_.Modified, kUnsaved);
  EXPECT_EQ(*model_.current(), (TextHit{3, 0, 3}));
  EXPECT_TRUE(r.reload_panel);
  // A hit that is no longer there is not replaced: the next one is found instead.
  doc_.SetText(3, "xcat cat");
  EXPECT_EQ(model_.Replace(doc_, r.selection).selection.focus, 3);
  EXPECT_EQ(doc_.FrameText[3], "xcat cat");
  EXPECT_EQ(*model_.current(), (TextHit{3, 1, 4}));
}

TEST_F(FindReplaceModelTest, ReplaceAllIsWorkedOutFirstAndNamedAfterItsCount) {
  model_.SetOptions(Regex());
  model_.SetFind("c(a)t");
  model_.SetReplacement("\\2");
  EXPECT_FALSE(model_.CanReplace());
  EXPECT_EQ(model_.Status(doc_), std::string(kBadReplacement) + "\\2 names no group");
  model_.SetReplacement("b\\1t");
  const ReplacePlan plan = model_.PlanAll(doc_);
  EXPECT_EQ(plan.count, 3);
  EXPECT_EQ(ReplaceAllName(plan.count), "Replace 3");
  EXPECT_EQ(doc_.FrameText[3], "cat cat");  // nothing changed yet
  const CommandResult r = ApplyReplacePlan(doc_, Selection{{3}, 3, 1}, plan);
  EXPECT_EQ(doc_.FrameText[1], "a bat");
  EXPECT_EQ(doc_.FrameText[3], "bat bat");
  EXPECT_TRUE(r.reload_panel);
  model_.SetFind("(");
  EXPECT_EQ(model_.Status(doc_),
            std::string(kBadExpression) + "missing closing parenthesis after character 1");
  EXPECT_EQ(model_.PlanAll(doc_).count, 0);
}

}  // namespace
}  // namespace lumetra
