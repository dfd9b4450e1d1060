#include "editing/editor_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"

namespace lumetra {
namespace {

using Lines = std::vector<std::string>;

TEST(EditorPanel, JoinDropsTrailingEmptyLinesAndKeepsInnerOnes) {
  EXPECT_EQ(JoinEditorLines({"abc", "", ""}), "abc");
  EXPECT_EQ(JoinEditorLines({"a", "", "b"}), "a||b");
  EXPECT_EQ(JoinEditorLines({}), "");
  EXPECT_EQ(JoinEditorLines({""}), "");
  EXPECT_EQ(JoinEditorLines({"Hello", "world"}), "Hello|world");
}

TEST(EditorPanel, EditorLinesAreEveryPartOfTheText) {
  EXPECT_EQ(EditorLinesOf("Hello|world"), (Lines{"Hello", "world"}));
  EXPECT_EQ(EditorLinesOf("1|2|3|4|5|6|7|8|9|10").size(), 10u);
  EXPECT_EQ(EditorLinesOf(""), (Lines{""}));
}

TEST(EditorPanel, CommitWritesTheFrameAndMarksModifiedEvenWhenUnchanged) {
  Document doc;
  doc.FrameCount = 2;
  doc.FrameText[1] = "same";
  CommitEditorText(doc, 1, {"same"});
  EXPECT_EQ(doc.FrameText[1], "same");
  EXPECT_EQ(doc.Modified, kUnsaved);
  CommitEditorText(doc, 2, {"a", "", "b", ""});
  EXPECT_EQ(doc.FrameText[2], "a||b");
}

TEST(EditorPanel, CommitOutsideTheFramesChangesNothing) {
  Document doc;
  doc.FrameCount = 1;
  CommitEditorText(doc, 2, {"x"});
  EXPECT_EQ(doc.FrameText[2], "");
  EXPECT_EQ(doc.Modified, kClean);
}

TEST(EditorPanel, CommandStatesFollowTheSelectedCount) {
  EXPECT_EQ(CommandStatesFor(0), (SelectionCommandStates{true, false, false, false}));
  EXPECT_EQ(CommandStatesFor(1), (SelectionCommandStates{true, true, false, false}));
  EXPECT_EQ(CommandStatesFor(2), (SelectionCommandStates{false, true, true, true}));
  EXPECT_EQ(CommandStatesFor(5), (SelectionCommandStates{false, true, false, true}));
}

TEST(EditorPanel, CounterTexts) {
  EXPECT_EQ(SelectedCountText(0), "0");
  EXPECT_EQ(SelectedCountText(-1), "0");
  EXPECT_EQ(SelectedCountText(12), "12");
  EXPECT_EQ(TotalCountText(0), "   (of 0)");
  EXPECT_EQ(TotalCountText(9999), "   (of 9999)");
}

}  // namespace
}  // namespace lumetra
