// The selection and manipulation buttons, "Apply to selected frames", the time boxes and
// undo/redo as a user meets them: list rows, selection, focus and scroll position after
// every command and after Ctrl+Z / Ctrl+Y.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QScrollBar>

#include "editing/editor_panel.h"
#include "editing/frame_commands.h"
#include "ui/main_window_test_support.h"
#include "ui/undo_controls.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class EditingCommandsTest : public WindowFixture {
 protected:
  // The frame texts, the selected and focused frames and the top row, as one line.
  std::string View() {
    std::string s;
    for (int i = 1; i <= document().FrameCount; ++i) s += document().FrameText[i] + " ";
    const Selection sel = SelectionOf(List());
    s += "[";
    for (int f : sel.frames) s += std::to_string(f) + (f == sel.frames.back() ? "" : ",");
    return s + "] focus " + std::to_string(sel.focus) + " top " + std::to_string(sel.top);
  }
};

TEST_F(EditingCommandsTest, SelectionButtonsKeepTheFocusAndTheScrollPosition) {
  LoadFrames(60);
  ClickRow(40);
  List()->scrollToBottom();
  const int scrolled = List()->verticalScrollBar()->value();
  Press("Button1");
  EXPECT_EQ(Text("Label6"), "60");
  EXPECT_EQ(List()->currentIndex().row(), 40);
  EXPECT_EQ(List()->verticalScrollBar()->value(), scrolled);
  EXPECT_EQ(Memo()->toPlainText(), kMultipleFramesMarker);
  ClickRow(3, Qt::ControlModifier);
  Press("Button3");
  EXPECT_EQ(Text("Label6"), "1");
  EXPECT_EQ(Memo()->toPlainText(), "t4");  // the focused frame, now the only selected one
  Press("Button3");
  EXPECT_EQ(Text("Label6"), "59");
  List()->scrollToBottom();
  Press("Button2");
  EXPECT_EQ(Text("Label6"), "0");
  EXPECT_EQ(List()->verticalScrollBar()->value(), scrolled);
  EXPECT_FALSE(Enabled("Button6"));
}

TEST_F(EditingCommandsTest, InsertRemoveAndMergeAreUndoneAndRedoneWithTheirSelection) {
  LoadFrames(5);
  ClickRow(1);
  ClickRow(3, Qt::ControlModifier);
  Press("Button6");  // Remove frames 2 and 4
  EXPECT_EQ(View(), "t1 t3 t5 [2] focus 2 top 1");
  EXPECT_EQ(Memo()->toPlainText(), "t3");
  EXPECT_EQ(document().Modified, kUnsaved);
  List()->setFocus();
  Undo();
  EXPECT_EQ(View(), "t1 t2 t3 t4 t5 [2,4] focus 4 top 1");
  EXPECT_EQ(document().Modified, kClean);
  Redo();
  EXPECT_EQ(View(), "t1 t3 t5 [2] focus 2 top 1");

  Press("Button5");  // Insert before the focused frame
  EXPECT_EQ(View(), "t1  t3 t5 [3] focus 3 top 1");
  EXPECT_EQ(List()->model()->index(1, 0).data().toString().left(25), "0:00:01.500:00:01.5100.01");

  ClickRow(0);
  ClickRow(3, Qt::ControlModifier);
  LeftClick("SpeedButton10");  // the toolbar's merge
  EXPECT_EQ(View(), "t1|t5  t3 [1] focus 1 top 1");
  EXPECT_EQ(document().FrameEnd[1], 5500);
  EXPECT_EQ(List()->visualRect(List()->model()->index(0, 0)).height(), 31);  // two lines now
  Undo();
  EXPECT_EQ(View(), "t1  t3 t5 [1,4] focus 4 top 1");
  // The right button, which opens the list's menu, leaves the selection alone.
  QTest::mouseClick(List()->viewport(), Qt::RightButton, {},
                    List()->visualRect(List()->model()->index(1, 0)).center());
  EXPECT_EQ(View(), "t1  t3 t5 [1,4] focus 4 top 1");

  // The frame list's menu names the steps.
  UndoControls* undo = window_->undoControls();
  undo->Refresh();
  EXPECT_EQ(undo->undoAction()->text(), "Undo Insert");
  EXPECT_EQ(undo->redoAction()->text(), "Redo Merge 2 Frame");
  undo->undoAction()->trigger();
  undo->undoAction()->trigger();
  undo->undoAction()->trigger();
  undo->Refresh();
  EXPECT_FALSE(undo->undoAction()->isEnabled());
  EXPECT_EQ(undo->undoAction()->text(), "Undo");
  EXPECT_EQ(View(), "t1 t2 t3 t4 t5 [2,4] focus 4 top 1");
}

TEST_F(EditingCommandsTest, InsertStartsAnEmptyDocumentAndARefusedMergeSaysWhy) {
  Press("Button5");
  EXPECT_EQ(View(), " [] focus 1 top 1");
  EXPECT_EQ(Box("Edit13"), "01");  // the time boxes show the new frame's 0..60000 ms

  Load({{0, 1, "1|2|3|4|5"}, {2, 3, "6|7|8|9"}});
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  Press("Button7");
  EXPECT_EQ(prompts_.messages.back(), kCantMerge);
  EXPECT_EQ(Rows(), 2);
}

TEST_F(EditingCommandsTest, ApplyToSelectedFramesAndTypingAreUndoneAsOneStepEach) {
  LoadFrames(4);
  ClickRow(0);
  ClickRow(2, Qt::ShiftModifier);
  ASSERT_TRUE(Find("Button4")->isVisible());
  FocusEditor();
  QTest::keyClicks(Memo(), "same");
  Press("Button4");
  EXPECT_EQ(View(), "same same same t4 [1,2,3] focus 3 top 1");
  // Ctrl+Z in the editor undoes its own typing, not a frame.
  ClickRow(3);
  FocusEditor();
  QTest::keyClicks(Memo(), "x");
  Undo();
  EXPECT_EQ(Memo()->toPlainText(), "t4");
  QTest::keyClicks(Memo(), "yz");
  List()->setFocus();
  EXPECT_EQ(document().FrameText[4], "t4yz");
  Undo();
  EXPECT_EQ(View(), "same same same t4 [4] focus 4 top 1");
  Undo();
  EXPECT_EQ(View(), "t1 t2 t3 t4 [1,2,3] focus 3 top 1");
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(EditingCommandsTest, TimeBoxesWriteTheFocusedFrameAndStepOnBothButtons) {
  LoadFrames(3);
  ClickRow(1);
  QLineEdit* second = Find<QLineEdit>("Edit9");
  second->setFocus();
  second->selectAll();
  QTest::keyClicks(second, "75");
  List()->setFocus();  // leaving the box: 75 seconds are no second, the part becomes 0
  EXPECT_EQ(document().FrameStart[2], 0);
  EXPECT_EQ(Box("Edit9"), "00");
  Press("Button20");
  EXPECT_EQ(document().FrameStart[2], 1000);
  QTest::mousePress(Find<QPushButton>("Button20"), Qt::RightButton);
  EXPECT_EQ(document().FrameStart[2], 11000);
  EXPECT_EQ(Box("Edit9"), "11");
  List()->setFocus();
  Undo();
  Undo();
  EXPECT_EQ(document().FrameStart[2], 0);
  Undo();
  EXPECT_EQ(document().FrameStart[2], 2000);
  EXPECT_EQ(Box("Edit9"), "02");
}

TEST_F(EditingCommandsTest, ANewDocumentStartsAtItsTopWithEmptyTimeBoxes) {
  LoadFrames(200);
  ClickRow(199);
  EXPECT_EQ(Box("Edit9"), "20");  // frame 200 starts at 200 s = 3:20
  List()->scrollToBottom();
  LoadFrames(50);
  EXPECT_EQ(List()->verticalScrollBar()->value(), 0);
  EXPECT_EQ(Box("Edit8") + Box("Edit9") + Box("Edit10"), "0000000");
  LeftClick("SpeedButton2");
  EXPECT_EQ(Box("Edit14") + Box("Edit11"), "0000");
}

}  // namespace
}  // namespace lumetra
