#include "editing/quality_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_support.h"

namespace lumetra {
namespace {

// The findings of frame 1 of a document of the given frames, as "rule: detail" lines.
std::vector<std::string> FindingsOfFirst(const std::vector<Frame>& frames,
                                         const CheckLimits& limits = {}) {
  Document doc;
  doc.Encoding = CodePage::kUtf8;
  testing::Fill(doc, frames);
  std::vector<Finding> found;
  CheckFrame(doc, 1, limits, found);
  std::vector<std::string> lines;
  for (const Finding& f : found) lines.push_back(std::string(RuleName(f.rule)) + ": " + f.detail);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(QualityChecks, TimingRulesHoldAtTheirLimitsAndBreakJustPast) {
  const std::string ok = "Fine.";
  EXPECT_EQ(FindingsOfFirst({{0, 1000, ok}, {1080, 3000, ok}}), Lines{});  // gap of 80
  EXPECT_EQ(FindingsOfFirst({{0, 1000, ok}, {1079, 3000, ok}}),
            Lines{"gap: 79 ms before frame 2 (at least 80)"});
  EXPECT_EQ(FindingsOfFirst({{0, 1000, ok}, {1000, 3000, ok}}),
            Lines{"gap: 0 ms before frame 2 (at least 80)"});
  EXPECT_EQ(FindingsOfFirst({{0, 1001, ok}, {1000, 3000, ok}}),
            Lines{"overlap: overlaps frame 2 by 1 ms"});
  EXPECT_EQ(FindingsOfFirst({{0, 700, ok}}), Lines{});
  EXPECT_EQ(FindingsOfFirst({{0, 699, ok}}), Lines{"short: lasts 699 ms (at least 700)"});
  EXPECT_EQ(FindingsOfFirst({{0, 7000, ok}}), Lines{});
  EXPECT_EQ(FindingsOfFirst({{0, 7001, ok}}), Lines{"long: lasts 7001 ms (at most 7000)"});
  EXPECT_EQ(FindingsOfFirst({{500, 400, ok}}), Lines{"short: lasts -100 ms (at least 700)"});
  // A limit of 0 turns its rule off; the last frame has no gap to keep.
  EXPECT_EQ(FindingsOfFirst({{0, 100, ok}, {100, 900, ok}}, {0, 0, 0, 0, 0, 0}), Lines{});
}

TEST(QualityChecks, TextRulesCountCharactersWithoutMarkupAndLineBreaks) {
  // 17 characters a second: 34 characters in 2000 ms pass, 35 do not.
  const std::string chars34 = "<i>" + std::string(17, 'a') + "</i>|{\\an8}" + std::string(17, 'b');
  EXPECT_EQ(FindingsOfFirst({{0, 2000, chars34}}), Lines{});
  EXPECT_EQ(FindingsOfFirst({{0, 2000, chars34 + "c"}}),
            Lines{"cps: 35 characters in 2000 ms: 17.50 per second (at most 17)"});
  EXPECT_EQ(FindingsOfFirst({{0, 2001, chars34 + "c"}}),
            Lines{"cps: 35 characters in 2001 ms: 17.50 per second (at most 17)"});
  // Accented letters are one character each.
  const std::string line42 = "<b>" + std::string(40, 'x') + "\xC3\xA9\xC3\xA9</b>";
  EXPECT_EQ(FindingsOfFirst({{0, 5000, "a|" + line42}}), Lines{});
  EXPECT_EQ(FindingsOfFirst({{0, 5000, "a|" + line42 + "!"}}),
            Lines{"line: line 2 has 43 characters (at most 42)"});
  EXPECT_EQ(FindingsOfFirst({{0, 3000, "a|b"}}), Lines{});
  EXPECT_EQ(FindingsOfFirst({{0, 3000, "a|b|c"}}), Lines{"lines: 3 lines (at most 2)"});
  EXPECT_EQ(FindingsOfFirst({{0, 3000, " <i> </i>"}}), Lines{"empty: no text"});
  // Braces and angle brackets that open no markup are text.
  EXPECT_EQ(MeasureText("{laughs} a<b", CodePage::kUtf8).characters, 12);
}

TEST(QualityChecks, FixEndsAnOverlappingFrameTheLeastGapBeforeTheNextOrAsTheHangoutRepairDoes) {
  Document doc;
  testing::Fill(
      doc,
      {{0, 2000, "a"}, {1500, 3000, "b"}, {3020, 5000, "c"}, {3030, 6000, "d"}, {7000, 8000, "e"}});
  const std::vector<Finding> found = CheckDocument(doc, {});
  std::vector<Finding> overlaps;
  for (const Finding& f : found) {
    if (HasFix(f.rule)) overlaps.push_back(f);
  }
  ASSERT_EQ(overlaps.size(), 2u);                    // frames 1 and 3
  overlaps.push_back({2, CheckRule::kOverlap, ""});  // no longer holds: left alone
  const Selection s{{5}, 5, 1};
  EXPECT_EQ(FixFindings(doc, s, overlaps, CheckLimits{}).selection, s);
  EXPECT_EQ(doc.FrameEnd[1], 1420);  // the least gap, 80 ms: the fix leaves no gap finding
  EXPECT_EQ(doc.FrameEnd[2], 3000);
  EXPECT_EQ(doc.FrameEnd[3], 3021);  // 80 ms before 3030 would end before its start
  EXPECT_EQ(CheckDocument(doc, CheckLimits{}).front().rule, CheckRule::kShortGap);  // frame 2's
  // Without a least gap one frame (40 ms) is left.
  doc.SetTimes(1, 0, 2000);
  FixFindings(doc, s, {{1, CheckRule::kOverlap, ""}}, CheckLimits{0, 700, 7000, 17, 42, 2});
  EXPECT_EQ(doc.FrameEnd[1], 1460);
  EXPECT_EQ(doc.Modified, kUnsaved);
  EXPECT_EQ(FixName(1), "Fix overlap");
  EXPECT_EQ(FixName(3), "Fix 3 overlaps");
}

}  // namespace
}  // namespace lumetra
