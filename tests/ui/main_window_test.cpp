// The frame list and the editor under a user's clicks and keys, the information dialog
// and the window's first geometry.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "editing/editor_panel.h"
#include "session/window_geometry.h"
#include "ui/info_dialog.h"
#include "ui/main_window_test_support.h"

namespace lumetra {
namespace {

using MainWindowTest = WindowFixture;

TEST_F(MainWindowTest, SelectingFramesFillsTheEditorTimeBoxesCounterAndCommands) {
  Load({{MakeTime(12, 34, 56, 789), MakeTime(13, 0, 1, 5), "Hello|world"},
        {3000, 4000, "two"},
        {5000, 6000, "three"},
        {7000, 8000, "four"}});
  EXPECT_EQ(Text("Label7"), "   (of 4)");
  ClickRow(0);
  EXPECT_EQ(Memo()->toPlainText(), "Hello\nworld");
  EXPECT_EQ(Text("Label6"), "1");
  // Hours of two digits are shown whole.
  QStringList times;
  for (const char* box :
       {"Edit7", "Edit8", "Edit9", "Edit10", "Edit14", "Edit13", "Edit12", "Edit11"}) {
    times << Box(box);
  }
  EXPECT_EQ(times.join(' '), "12 34 56 789 13 00 01 005");
  EXPECT_TRUE(Enabled("SpeedButton5"));
  EXPECT_FALSE(Enabled("SpeedButton10"));
  EXPECT_FALSE(Find("Button4")->isVisible());

  ClickRow(2, Qt::ControlModifier);
  EXPECT_EQ(Text("Label6"), "2");
  EXPECT_EQ(Memo()->toPlainText(), kMultipleFramesMarker);
  EXPECT_EQ(Box("Edit9"), "05");  // the time boxes follow the focused frame
  EXPECT_TRUE(Enabled("SpeedButton10"));
  EXPECT_TRUE(Find("Button4")->isVisible());
  // Entering the editor empties the marker; leaving it writes nothing back.
  FocusEditor();
  EXPECT_EQ(Memo()->toPlainText(), "");
  List()->setFocus();
  EXPECT_EQ(document().Modified, kClean);

  ClickRow(3, Qt::ShiftModifier);
  EXPECT_EQ(Text("Label6"), "3");
  EXPECT_FALSE(Enabled("SpeedButton10"));
  EXPECT_TRUE(Find("Button4")->isVisible());

  // Ctrl-clicking the only selected frame leaves it focused but unselected.
  ClickRow(1);
  ClickRow(1, Qt::ControlModifier);
  EXPECT_EQ(Text("Label6"), "0");
  EXPECT_EQ(document().CurFrame, 2);
  EXPECT_EQ(Box("Edit9"), "03");
  EXPECT_EQ(Memo()->toPlainText(), "");
  EXPECT_FALSE(Enabled("SpeedButton5"));
}

TEST_F(MainWindowTest, TypedTextReachesTheFrameInItsCodePageWhenTheEditorIsLeft) {
  Load({{1000, 2000, "a\xF5|b"}, {3000, 4000, "\xFF|two"}});  // "aő" in Windows-1250
  ClickRow(0);
  FocusEditor();
  Memo()->moveCursor(QTextCursor::Start);
  Memo()->moveCursor(QTextCursor::EndOfLine);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ű"));
  QApplication::sendEvent(Memo(), &key);
  Memo()->moveCursor(QTextCursor::End);
  QTest::keyClick(Memo(), Qt::Key_Return);
  QTest::keyClicks(Memo(), "line");

  // Another window taking the keyboard for a while is no leaving.
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  QApplication::processEvents();
  QApplication::setActiveWindow(window_.get());
  QApplication::processEvents();
  EXPECT_EQ(document().FrameText[1], "a\xF5|b");
  EXPECT_EQ(document().Modified, kClean);

  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "a\xF5\xFB|b|line");
  EXPECT_EQ(document().Modified, kUnsaved);
  EXPECT_TRUE(List()->model()->index(0, 0).data().toString().endsWith("|line"));

  // In UTF-8 a byte may have no character: its untouched line keeps it.
  document().Encoding = CodePage::kUtf8;
  EditFrame(1, "s");
  EXPECT_EQ(document().FrameText[2], "\xFF|twos");
}

// Tab used to write a tab character into the frame's text and could not leave the box.
TEST_F(MainWindowTest, TabAndShiftTabLeaveTheEditorAndNoTabEntersTheText) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  ClickRow(0);
  FocusEditor();
  QTest::keyClicks(Memo(), "s");
  QTest::keyClick(Memo(), Qt::Key_Tab);
  EXPECT_FALSE(Memo()->hasFocus());
  EXPECT_EQ(document().FrameText[1], "ones");
  FocusEditor();
  QTest::keyClick(Memo(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_FALSE(Memo()->hasFocus());
  EXPECT_EQ(document().FrameText[1], "ones");
  // Nor with Ctrl or Alt held.
  FocusEditor();
  QTest::keyClick(Memo(), Qt::Key_Tab, Qt::ControlModifier);
  QTest::keyClick(Memo(), Qt::Key_Tab, Qt::AltModifier);
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "ones");
}

// The caption used to stay the program's, whatever the document and its state.
TEST_F(MainWindowTest, CaptionNamesTheDocumentAndMarksUnsavedWork) {
  const std::string caption = kProgramCaption;
  auto title = [&] {
    QApplication::processEvents();
    return window_->windowTitle().toStdString() + (window_->isWindowModified() ? " *" : "");
  };
  EXPECT_EQ(title(), caption);
  OpenThroughDialog(Sample());
  EXPECT_EQ(title(), "sample.srt[*] - " + caption);
  EditFrame(0, "x");
  EXPECT_EQ(title(), "sample.srt[*] - " + caption + " *");
  Undo();
  EXPECT_EQ(title(), "sample.srt[*] - " + caption);
  Redo();
  RightPress("SpeedButton3");  // quick save
  EXPECT_EQ(title(), "sample.srt[*] - " + caption);
  LeftClick("SpeedButton2");  // New
  EXPECT_EQ(title(), caption);
  Press("Button5");  // Insert: a frame without a file
  EditFrame(0, "y");
  EXPECT_EQ(title(), "Untitled[*] - " + caption + " *");
}

TEST_F(MainWindowTest, ApplyChangesInstantlyWritesEveryKeystrokeAsOneStepPerVisit) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  Tick("CheckBox1");
  ASSERT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
  ClickRow(1);
  FocusEditor();
  QTest::keyClick(Memo(), Qt::Key_S);
  EXPECT_EQ(document().FrameText[2], "twos");
  EXPECT_EQ(document().Modified, kUnsaved);
  QTest::keyClick(Memo(), Qt::Key_Return);
  QTest::keyClick(Memo(), Qt::Key_Return);
  QTest::keyClick(Memo(), Qt::Key_X);
  EXPECT_EQ(document().FrameText[2], "twos||x");
  // The row keeps its selection and focus, the editor its text, while the frame changes.
  EXPECT_EQ(List()->currentIndex().row(), 1);
  EXPECT_EQ(Text("Label6"), "1");
  EXPECT_EQ(Memo()->toPlainText(), "twos\n\nx");
  List()->setFocus();
  EXPECT_EQ(window_->session().runner().history().size(), 1);
  Undo();
  EXPECT_EQ(Memo()->toPlainText(), "two");
}

// The dialog's edits used to leave the document clean, so closing or opening another file
// lost them without a question.
TEST_F(MainWindowTest, InformationDialogStoresTheFieldsOnlyOnOkAsOneUnsavedStep) {
  Load({{1000, 3000, "Hi"}, {4000, 5500, "A|B"}});
  document().InfoComment = "a\xFFz";  // a byte with no character in UTF-8
  document().Encoding = CodePage::kUtf8;
  QStringList statistics;
  auto run = [&](const char* button, bool type = true) {
    QTimer::singleShot(0, [&, button, type] {
      InfoDialog* dialog = window_->infoDialog();
      statistics.clear();
      for (int box : {10, 11, 14}) statistics << dialog->box(box)->text();
      if (type) dialog->box(2)->setText(QString::fromUtf8("Árvíztűrő"));
      QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    });
    LeftClick("SpeedButton9");
  };
  run("Button1");  // "Mégsem"
  EXPECT_EQ(statistics.join(' '), "2 3 64 %");
  EXPECT_EQ(document().InfoAuthor, "");
  run("Button2");  // "OK"
  EXPECT_EQ(document().InfoAuthor, "\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91");
  EXPECT_EQ(document().InfoComment, "a\xFFz");
  EXPECT_EQ(Box("Edit3"), QString::fromUtf8("Author=Árvíztűrő"));
  EXPECT_EQ(document().Modified, kUnsaved);
  EXPECT_EQ(window_->session().runner().UndoName(), "Information");
  QApplication::setActiveWindow(window_.get());  // back from the dialog
  List()->setFocus();
  Undo();
  EXPECT_EQ(document().InfoAuthor, "");
  EXPECT_EQ(Box("Edit3"), "");
  EXPECT_EQ(document().Modified, kClean);
  run("Button2", false);  // "OK" without a change: nothing unsaved, no step
  EXPECT_EQ(document().Modified, kClean);
  EXPECT_FALSE(window_->session().runner().CanUndo());
}

TEST_F(MainWindowTest, FirstGeometryComesFromTheScreen) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const WindowGeometry g =
      FirstWindowGeometry(screen->geometry().width(), screen->geometry().height(),
                          screen->geometry().height() - screen->availableGeometry().height());
  EXPECT_EQ(window_->size(), QSize(g.width, g.height));
  EXPECT_EQ(prompts_.messages == std::vector<std::string>{kResolutionTooLow}, g.resolution_too_low);
}

}  // namespace
}  // namespace lumetra
