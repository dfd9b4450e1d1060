#include "editing/editor_panel.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "foundation/textkit.h"

namespace lumetra {
namespace {

TEST(EditorPanel, EditorLinesGoBackIntoTheirFrameWithoutTrailingEmptyLines) {
  EXPECT_EQ(EditorLinesOf("1|2|3|4|5|6|7|8|9|10").size(), 10u);  // all of them, not only 8
  Document doc;
  doc.FrameCount = 2;
  doc.FrameText[1] = "same";
  CommitEditorText(doc, 3, {"x"});
  EXPECT_EQ(doc.Modified, kClean);
  CommitEditorText(doc, 1, {"same"});  // even unchanged text marks the document modified
  EXPECT_EQ(doc.Modified, kUnsaved);
  CommitEditorText(doc, 2, {"a", "", "b", "", ""});
  EXPECT_EQ(doc.FrameText[2], "a||b");
  CommitEditorText(doc, 2, {""});
  EXPECT_EQ(doc.FrameText[2], "");
}

TEST(EditorPanel, ABarInsideALineIsShownAndTypedAsABar) {
  EXPECT_EQ(EditorLinesOf("Left \x1F Right|x"), (std::vector<std::string>{"Left | Right", "x"}));
  EXPECT_EQ(JoinEditorLines({"a|b", "c"}), std::string("a") + kLiteralBar + "b|c");
}

}  // namespace
}  // namespace lumetra
