// The window driven by the keyboard alone: the way Tab goes, the keys of the frame
// commands, where the keyboard is after a command, and a file worked on without a mouse.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeyEvent>

#include "ui/frame_keys.h"
#include "ui/main_window_test_support.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class KeyboardTest : public WindowFixture {
 protected:
  QString FocusName() {
    QWidget* w = QApplication::focusWidget();
    return w == nullptr ? "none" : w->objectName();
  }
  // Keys where the keyboard is.
  void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }
  // Presses Tab until the named control has the keyboard; false when it never comes.
  bool TabTo(const char* name) {
    for (int i = 0; i < 80 && FocusName() != name; ++i) Key(Qt::Key_Tab);
    return FocusName() == name;
  }
  std::string Texts() {
    std::string s;
    for (int i = 1; i <= document().FrameCount; ++i) s += document().FrameText[i] + " ";
    return s;
  }
};

TEST_F(KeyboardTest, TabGoesFromTheListThroughTheEditorAndDownTheCommandGroups) {
  LoadFrames(3);
  ClickRow(0);
  QStringList stops;
  for (int i = 0; i < 60; ++i) {
    Key(Qt::Key_Tab);
    if (FocusName() == "ListBox1") break;
    stops << FocusName();
  }
  ASSERT_EQ(FocusName(), "ListBox1");  // round the window and back to the list
  // In the order of the screen, each group once; the read-only boxes are no stops.
  const QStringList landmarks = {"Edit7", "memo1",  "Button1",     "Button5",
                                 "Edit2", "Edit33", "Edit6",       "CodePageBox"};
  qsizetype at = -1;
  for (const QString& name : landmarks) {
    const qsizetype found = stops.indexOf(name);
    EXPECT_GT(found, at) << name.toStdString() << " in " << stops.join(" ").toStdString();
    at = found;
  }
  EXPECT_FALSE(stops.contains("Edit1") || stops.contains("Edit3"));
  // Tab leaves the editor without writing a tab into the frame.
  EXPECT_EQ(document().FrameText[1], "t1");
  // Shift+Tab goes back the same way.
  Key(Qt::Key_Backtab);
  EXPECT_NE(FocusName(), "ListBox1");
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "ListBox1");
}

TEST_F(KeyboardTest, FrameCommandsHaveKeysThatTheirHintsName) {
  LoadFrames(4);
  ClickRow(1);
  // Ins inserts before the focused frame.
  Key(Qt::Key_Insert);
  EXPECT_EQ(Texts(), "t1  t2 t3 t4 ");
  // Del asks first; No keeps the frames.
  prompts_.answers = {Answer::kNo, Answer::kYes};
  ClickRow(1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(prompts_.questions, std::vector<std::string>{kRemoveQuestion});
  EXPECT_EQ(Texts(), "t1  t2 t3 t4 ");
  Key(Qt::Key_Delete);
  EXPECT_EQ(Texts(), "t1 t2 t3 t4 ");
  // Ctrl+M merges two frames; with one selected it does nothing.
  Key(Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(document().FrameCount, 4);
  ClickRow(2, Qt::ControlModifier);
  Key(Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(Texts(), "t1 t2|t3 t4 ");
  // In a text box the keys are the box's own.
  FocusEditor();
  Key(Qt::Key_Delete);
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Text("Label6"), "1");

  for (const auto& [name, key] : std::vector<std::pair<const char*, const char*>>{
           {"Button1", kSelectAllKey},
           {"Button5", kInsertKey},
           {"Button6", kRemoveKey},
           {"Button7", kMergeKey},
           {"SpeedButton10", kMergeKey},
           {"SpeedButton5", kLaterSecondKey},
           {"SpeedButton6", kEarlierSecondKey},
           {"Edit6", kSearchKey}}) {
    EXPECT_TRUE(Find(name)->toolTip().contains(QString("(%1)").arg(key))) << name;
  }
}

TEST_F(KeyboardTest, AfterACommandTheKeyboardStaysInTheFrameList) {
  LoadFrames(4);
  ClickRow(2);
  Press("Button6");  // Remove, with the mouse
  EXPECT_EQ(FocusName(), "ListBox1");
  QTest::keyClicks(QApplication::focusWidget(), "5");
  EXPECT_EQ(Box("Edit2"), "1");  // the Offset box did not take the key
  // From the keyboard: a button that the command disables hands the keyboard to the list.
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  ASSERT_TRUE(TabTo("Button7"));
  Key(Qt::Key_Space);
  EXPECT_EQ(document().FrameCount, 2);
  EXPECT_FALSE(Enabled("Button7"));
  EXPECT_EQ(FocusName(), "ListBox1");
}

// Open, select all, shift by one second: no mouse.
TEST_F(KeyboardTest, AFileIsOpenedSelectedAndShiftedWithoutAMouse) {
  prompts_.open_paths = {Sample()};
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(Rows(), 10);
  EXPECT_EQ(FocusName(), "ListBox1");
  // The list has the keyboard, but no frame is focused of its own accord, also when the
  // window comes back to the front (a search starts from the top).
  QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(List(), &activated);
  EXPECT_EQ(SelectionOf(List()).focus, 0);
  const TimeValue first = document().FrameStart[1];
  const TimeValue last = document().FrameStart[10];
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Text("Label6"), "10");
  // The timing commands follow the selection although no frame was clicked.
  EXPECT_TRUE(Enabled("Button9") && Enabled("SpeedButton5") && Enabled("Button6"));
  Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(document().FrameStart[1], first + 1000);
  // And through the Offset group's "+", reached by Tab.
  ASSERT_TRUE(TabTo("Button9"));
  Key(Qt::Key_Space);
  EXPECT_EQ(document().FrameStart[10], last + 2000);
  EXPECT_EQ(Text("Label6"), "10");
}

}  // namespace
}  // namespace lumetra
