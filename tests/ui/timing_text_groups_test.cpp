// The "Timing" and "Text" groups and the frame-rate calculator as a user meets them: typing
// into the boxes, the buttons, the calculator, search and the spell check's message.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "editing/search.h"
#include "ui/frame_rate_dialog.h"
#include "ui/main_window_test_support.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class GroupsTest : public WindowFixture {
 protected:
  Selection Sel() { return SelectionOf(List()); }
};

TEST_F(GroupsTest, BoxesShowTheirValueAndButtonsMoveTheSelectedFramesAsOneStep) {
  Load({{10000, 12000, "a"}, {20000, 21000, "b"}});
  EXPECT_FALSE(Enabled("Button9"));  // nothing selected
  Type("Edit2", "14:08");
  EXPECT_EQ(Box("Edit2"), "848");
  EXPECT_EQ(Find("Button9")->toolTip(),
            "Increases Start/End time of the\nselected frames by 848 second");
  Type("Edit4", "1,5", Qt::Key_Tab);  // leaving a box shows its value
  EXPECT_EQ(Box("Edit4"), "1.5");

  ClickRow(1);
  Press("Button9");
  EXPECT_EQ(document().FrameStart[2], 868000);
  EXPECT_EQ(Box("Edit7") + Box("Edit8"), "014");  // the time boxes follow
  LeftClick("SpeedButton6");
  EXPECT_EQ(document().FrameStart[2], 867000);
  EXPECT_EQ(window_->session().runner().UndoName(), "Back 1 sec");
  List()->setFocus();
  Undo();
  Undo();
  EXPECT_EQ(document().FrameStart[2], 20000);
  EXPECT_EQ(Sel(), (Selection{{2}, 2, 1}));
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(GroupsTest, TheCalculatorsFactorGoesIntoTheResizeBoxUnlessCancelled) {
  QString shown;  // the calculator's factor after "Swap"
  auto run_calculator = [&](const char* button) {
    QTimer::singleShot(0, [&, button] {
      FrameRateDialog* dialog = window_->frameRateDialog();
      QTest::mouseClick(dialog->findChild<QPushButton*>("Button3"), Qt::LeftButton);
      shown = dialog->box(FrameRateCalculator::kFactor)->text();
      QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    });
    LeftClick("SpeedButton11");
  };
  run_calculator("Button1");  // Apply
  EXPECT_EQ(shown, "1.042666");
  EXPECT_EQ(Box("Edit33"), "1.042666");
  run_calculator("Button2");  // Cancel, after swapping back
  EXPECT_EQ(shown, "0.95908");
  EXPECT_EQ(Box("Edit33"), "1.042666");
  LeftClick("SpeedButton13");
  EXPECT_EQ(Box("Edit33"), "0.95908");
}

TEST_F(GroupsTest, SearchFindsTheNextFrameOrMarksEveryHitAndGivesTheListTheFocus) {
  Load({{0, 1, "apple"}, {2, 3, "pear"}, {4, 5, "Apple pie"}, {6, 7, "plum"}});
  QTest::keyClick(List(), Qt::Key_F3);
  EXPECT_TRUE(Find("Edit6")->hasFocus());
  Type("Edit6", "APPLE");
  EXPECT_EQ(Sel(), (Selection{{1}, 1, 1}));
  EXPECT_TRUE(List()->hasFocus());
  QTest::keyClick(Find("Edit6"), Qt::Key_Return);
  EXPECT_EQ(Sel().focus, 3);
  EXPECT_EQ(Memo()->toPlainText(), "Apple pie");

  EXPECT_FALSE(Enabled("CheckBox6"));
  Tick("CheckBox3");
  EXPECT_TRUE(Enabled("CheckBox6"));
  ClickRow(3);
  Type("Edit6", "p");  // marks from the focused last frame on
  EXPECT_EQ(Sel(), (Selection{{4}, 4, 1}));
  Type("Edit6", "kiwi");
  EXPECT_EQ(prompts_.messages.back(), kNoMatchFound);
  EXPECT_EQ(Text("Label6"), "0");
}

TEST_F(GroupsTest, SpellCheckSelectsTheFaultsBeforeItsMessageAndTextFixesRefreshTheEditor) {
  Load({{0, 1, "teh"}, {2, 3, "ok"}, {4, 5, "-wil"}});
  prompts_.on_message = [&](const std::string&) { EXPECT_EQ(Text("Label6"), "1"); };
  Press("Button15");
  prompts_.on_message = nullptr;
  EXPECT_EQ(prompts_.messages.back(), "1 errors has been found!");
  EXPECT_EQ(document().Modified, kClean);
  EXPECT_TRUE(Enabled("Button14"));  // the commands follow the new selection

  ClickRow(2);
  Press("Button14");
  EXPECT_EQ(Memo()->toPlainText(), "- Wil");
  EXPECT_EQ(window_->session().runner().UndoName(), "Dash fix");
}

}  // namespace
}  // namespace lumetra
