#include "editing/frame_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_support.h"

namespace lumetra {
namespace {

using testing::Fill;

std::string Texts(const Document& doc) {
  std::string all;
  for (int i = 1; i <= doc.FrameCount; ++i) all += (i > 1 ? " " : "") + doc.FrameText[i];
  return all;
}

TEST(ApplyTextToSelected, StoresTheEditorLinesButNeverTheMarker) {
  Document doc;
  Fill(doc, 4);
  ApplyTextToSelected(doc, Selection{{2}, 2, 1}, {"x"});
  EXPECT_EQ(doc.Modified, kClean);  // one frame: the editor writes it back itself

  const Selection three{{1, 2, 4}, 4, 1};
  const CommandResult result = ApplyTextToSelected(doc, three, {"A", "", "B", "", ""});
  EXPECT_EQ(Texts(doc), "A||B A||B t3 A||B");
  EXPECT_EQ(result.selection, three);
  EXPECT_FALSE(result.reload_panel);
  EXPECT_EQ(doc.Modified, kUnsaved);
  ApplyTextToSelected(doc, three, {"< Multiple frames are selected >"});
  EXPECT_EQ(Texts(doc), "  t3 ");
}

TEST(InsertFrame, PutsAnEmptyFrameBeforeTheFocusedOneOrAtTheEnd) {
  struct Case {
    const char* name;
    Selection before;
    int at;
    TimeValue start;
    Selection after;
  };
  const Case cases[] = {
      {"first", {{1}, 1, 1}, 1, 0, {{2}, 2, 1}},
      {"middle", {{}, 3, 1}, 3, 2501, {{4}, 4, 1}},
      {"middle, other selection moves", {{4}, 3, 1}, 3, 2501, {{4, 5}, 4, 1}},
      {"no focused frame: after the last", {{}, 0, 1}, 5, 4501, {{}, 5, 1}},
  };
  for (const Case& c : cases) {
    Document doc;
    Fill(doc, 4);
    const CommandResult result = InsertFrame(doc, c.before);
    EXPECT_EQ(doc.FrameCount, 5) << c.name;
    EXPECT_EQ(doc.FrameStart[c.at], c.start) << c.name;
    EXPECT_EQ(doc.FrameEnd[c.at], c.start + 10) << c.name;
    EXPECT_EQ(doc.FrameText[c.at], "") << c.name;
    EXPECT_EQ(result.selection, c.after) << c.name;
    EXPECT_EQ(doc.Modified, kUnsaved) << c.name;
  }
}

TEST(InsertFrame, StartsAnEmptyDocumentAndRefusesAFullStore) {
  Document doc;
  CommandResult result = InsertFrame(doc, Selection{});
  EXPECT_EQ(doc.FrameCount, 1);
  EXPECT_EQ(doc.FrameAt(1), (Frame{0, 60000, ""}));
  EXPECT_EQ(result.selection, (Selection{{}, 1, 1}));  // focused, not selected
  EXPECT_EQ(doc.Modified, kClean);

  Fill(doc, MaxFrames);
  result = InsertFrame(doc, Selection{{5}, 5, 1});
  EXPECT_EQ(result.message, kCantInsert);
  EXPECT_EQ(doc.FrameCount, MaxFrames);
  EXPECT_EQ(doc.FrameText[5] + doc.FrameText[MaxFrames], "t5t10000");
  EXPECT_EQ(result.selection, (Selection{{5}, 5, 1}));
}

TEST(RemoveFrames, SelectsTheFrameThatFollowedTheFirstRemovedOneOrEmptiesTheDocument) {
  struct Case {
    int count;
    std::vector<int> removed;
    std::string left;
    int selected;
  };
  const Case cases[] = {
      {5, {2, 4}, "t1 t3 t5", 2},
      {5, {2}, "t1 t3 t4 t5", 2},
      {4, {4}, "t1 t2 t3", 3},
      {5, {3, 4, 5}, "t1 t2", 2},
  };
  for (const Case& c : cases) {
    Document doc;
    Fill(doc, c.count);
    const CommandResult result = RemoveFrames(doc, Selection{c.removed, c.removed.back(), 3});
    EXPECT_EQ(Texts(doc), c.left);
    EXPECT_EQ(result.selection, (Selection{{c.selected}, c.selected, std::min(3, doc.FrameCount)}));
    EXPECT_TRUE(result.reload_panel);
    EXPECT_EQ(doc.Modified, kUnsaved);
  }
  // Removing every frame leaves an empty, clean document without its header.
  Document doc;
  Fill(doc, 3);
  doc.InfoTitle = "T";
  EXPECT_EQ(RemoveFrames(doc, Selection{{1, 2, 3}, 1, 1}).selection, Selection{});
  EXPECT_EQ(doc.FrameCount, 0);
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(doc.InfoTitle, "");
}

TEST(MergeTwoFrames, JoinsTheSecondIntoTheFirstUpToEightLines) {
  Document doc;
  Fill(doc, 6);
  doc.SetTimes(2, 1000, 2000);
  doc.SetText(2, "a|b");
  doc.SetTimes(5, 7000, 9000);
  doc.SetText(5, "c");
  const CommandResult result = MergeTwoFrames(doc, Selection{{2, 5}, 5, 1});
  EXPECT_EQ(doc.FrameAt(2), (Frame{1000, 9000, "a|b|c"}));
  EXPECT_EQ(Texts(doc), "t1 a|b|c t3 t4 t6");
  EXPECT_EQ(result.selection, (Selection{{2}, 2, 1}));

  doc.SetText(1, "1|2|3|4");
  doc.SetText(3, "5|6|7|8");
  doc.SetText(4, "9|10|11|12|13");
  doc.Modified = kClean;
  const CommandResult refused = MergeTwoFrames(doc, Selection{{3, 4}, 3, 1});
  EXPECT_EQ(refused.message, kCantMerge);
  EXPECT_EQ(doc.FrameCount, 5);
  EXPECT_EQ(doc.Modified, kUnsaved);  // a refused merge marks the document all the same
  MergeTwoFrames(doc, Selection{{1, 3}, 3, 1});
  EXPECT_EQ(doc.FrameText[1], "1|2|3|4|5|6|7|8");
}

}  // namespace
}  // namespace lumetra
