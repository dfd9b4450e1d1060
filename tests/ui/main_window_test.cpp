#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <string>

#include "document/document.h"
#include "editing/editor_panel.h"
#include "foundation/time_value.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "session/window_geometry.h"
#include "ui/info_dialog.h"
#include "ui/main_window_test_support.h"

namespace lumetra {
namespace {

class MainWindowTest : public WindowFixture {};

TEST_F(MainWindowTest, StartsEmptyWithItsCaptionsAndControls) {
  EXPECT_EQ(window_->windowTitle(), "Morvaly's Lumetra  -  v1.33 beta  (2004/10/15)");
  EXPECT_EQ(window_->objectName(), "T_Form1");
  EXPECT_EQ(window_->minimumSize(), QSize(620, 440));
  EXPECT_EQ(List()->model()->rowCount(), 0);
  EXPECT_EQ(Label("Label6")->text(), "0");
  EXPECT_EQ(Label("Label7")->text(), "   (of 0)");
  EXPECT_EQ(Label("Label5")->text().trimmed(), "Selected frames:");
  EXPECT_EQ(Label("Label1")->text(), "  Start ");
  EXPECT_EQ(Label("Label2")->text(), " End");
  EXPECT_EQ(Label("Label4")->text(), "Length");
  EXPECT_EQ(Label("Label3")->text(), "   Text");
  EXPECT_EQ(Label("Label16")->text(),
            " Hold down Ctrl to select multiple frames, use Shift to select blocks ");
  EXPECT_FALSE(Find<QPushButton>("Button4")->isVisible());
  EXPECT_TRUE(Find<QLineEdit>("Edit1")->isReadOnly());
  EXPECT_TRUE(Find<QLineEdit>("Edit3")->isReadOnly());
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(List()->palette().color(QPalette::Base), QColor(0xFE, 0xFF, 0xD7));

  auto* pages = Find<QTabWidget>("PageControl1");
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "Text");
  EXPECT_EQ(pages->tabText(1), "Timing");
  EXPECT_FALSE(pages->isTabVisible(2));
  EXPECT_EQ(pages->currentIndex(), 0);
  for (const char* group : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5",
                            "GroupBox6", "RadioGroup1", "Panel1", "Panel2", "Panel3", "Panel4"}) {
    EXPECT_NE(window_->findChild<QWidget*>(group), nullptr) << group;
  }
  EXPECT_EQ(Find<QGroupBox>("GroupBox3")->title(), "Frame Manipulation");
  EXPECT_EQ(Find<QGroupBox>("GroupBox4")->title(), "Frame Selection");
  EXPECT_EQ(Find<QGroupBox>("GroupBox5")->title(), "Timing");
  EXPECT_EQ(Find<QGroupBox>("GroupBox6")->title(), "Text");
  EXPECT_EQ(Find<QCheckBox>("CheckBox1")->text(), "Apply changes instantly");
  EXPECT_EQ(Find<QCheckBox>("CheckBox4")->text(), "Auto focus");
  EXPECT_FALSE(Find<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("CheckBox4")->isChecked());
  EXPECT_EQ(Find<QGroupBox>("RadioGroup1")->title(), "Align");
}

TEST_F(MainWindowTest, ToolButtonsAndBoxesCarryTheirHints) {
  const struct {
    const char* name;
    const char* hint;
  } hints[] = {
      {"SpeedButton1", "Load Subtitle\nrightclick: History"},
      {"SpeedButton3", "Save Subtitle As...\nrightclick: quickSave"},
      {"SpeedButton2", "Create New Subtitle"},
      {"SpeedButton4", "Switch to Mini-mode"},
      {"Edit1", "Latest Filename"},
      {"SpeedButton6", "Move frames backward by 1 sec"},
      {"SpeedButton5", "Move frames forward by 1 sec"},
      {"SpeedButton10", "Merge frames"},
      {"SpeedButton12", "Settings"},
      {"SpeedButton7", "About the program..."},
      {"SpeedButton9", "Edit subtitle Info-header (srt2)"},
      {"Edit3", "Subtitle Information"},
      {"CheckBox1", "If checked, the text in the textedit will be applied after every keypress"},
      {"CheckBox4",
       "If you select a single line in the frame list, the\nfocus jumps to this textedit box "
       "automatically"},
      {"RadioGroup1",
       "The appearance of the text in the right textedit box\n(Doesn't affect the appearance of "
       "the played subtitle)"},
      {"Button4", "Applies this text to all selected frame"},
      {"Edit7", "Hour"},
      {"Edit11", "Milisecond"},
  };
  for (const auto& h : hints) {
    QWidget* w = window_->findChild<QWidget*>(h.name);
    ASSERT_NE(w, nullptr) << h.name;
    EXPECT_EQ(w->toolTip(), QString::fromLatin1(h.hint)) << h.name;
    EXPECT_EQ(w->toolTipDuration(), 5000) << h.name;
  }
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 400);
}

TEST_F(MainWindowTest, SelectingOneFrameFillsTheEditorTimeBoxesAndCounter) {
  Load({{MakeTime(0, 1, 30, 250), MakeTime(0, 1, 33, 5), "Hello|world"},
        {5000, 6000, "second"},
        {7000, 8000, "third"}});
  EXPECT_EQ(Label("Label7")->text(), "   (of 3)");
  ClickRow(0);
  EXPECT_EQ(Memo()->toPlainText(), "Hello\nworld");
  EXPECT_EQ(Memo()->textCursor().position(), 0);
  EXPECT_EQ(document().CurFrame, 1);
  EXPECT_EQ(Label("Label6")->text(), "1");
  EXPECT_EQ(Label("Label7")->text(), "   (of 3)");
  const char* boxes[8] = {"Edit7", "Edit8", "Edit9", "Edit10", "Edit14", "Edit13", "Edit12", "Edit11"};
  const char* expected[8] = {"0", "01", "30", "250", "0", "01", "33", "005"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Find<QLineEdit>(boxes[i])->text(), expected[i]) << boxes[i];
  EXPECT_FALSE(Find<QPushButton>("Button4")->isVisible());
  EXPECT_TRUE(Find<QToolButton>("SpeedButton5")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>("SpeedButton6")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("SpeedButton10")->isEnabled());
}

TEST_F(MainWindowTest, CtrlAndShiftSelectSeveralFrames) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}, {5000, 6000, "three"}, {7000, 8000, "four"}});
  ClickRow(0);
  ClickRow(2, Qt::ControlModifier);
  EXPECT_EQ(Label("Label6")->text(), "2");
  EXPECT_EQ(Memo()->toPlainText(), kMultipleFramesMarker);
  EXPECT_TRUE(Find<QPushButton>("Button4")->isVisible());
  EXPECT_TRUE(Find<QToolButton>("SpeedButton10")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>("SpeedButton5")->isEnabled());
  // The time boxes follow the focused frame.
  EXPECT_EQ(Find<QLineEdit>("Edit9")->text(), "05");

  ClickRow(3, Qt::ShiftModifier);
  EXPECT_EQ(Label("Label6")->text(), "3");
  EXPECT_FALSE(Find<QToolButton>("SpeedButton10")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("Button4")->isVisible());

  ClickRow(1);
  EXPECT_EQ(Label("Label6")->text(), "1");
  EXPECT_EQ(Memo()->toPlainText(), "two");
  EXPECT_FALSE(Find<QPushButton>("Button4")->isVisible());

  // Ctrl-clicking the only selected frame leaves it focused but unselected: its times
  // stay in the boxes, the editor is empty and the selection commands are disabled.
  ClickRow(1, Qt::ControlModifier);
  EXPECT_EQ(Label("Label6")->text(), "0");
  EXPECT_EQ(document().CurFrame, 2);
  EXPECT_EQ(Find<QLineEdit>("Edit9")->text(), "03");
  EXPECT_EQ(Memo()->toPlainText(), "");
  EXPECT_FALSE(Find<QToolButton>("SpeedButton5")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>("SpeedButton10")->isEnabled());
}

TEST_F(MainWindowTest, ADialogOverTheWindowDoesNotCountAsLeavingTheEditor) {
  Load({{1000, 2000, "one"}});
  ClickRow(0);
  FocusEditor();
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  QApplication::processEvents();
  EXPECT_FALSE(Memo()->hasFocus());
  EXPECT_EQ(document().Modified, kClean);
  QApplication::setActiveWindow(window_.get());
  QApplication::processEvents();
  EXPECT_TRUE(Memo()->hasFocus());
  List()->setFocus();
  EXPECT_EQ(document().Modified, kUnsaved);
}

TEST_F(MainWindowTest, EnteringTheEditorWhileItShowsTheMarkerEmptiesIt) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  ASSERT_EQ(Memo()->toPlainText(), kMultipleFramesMarker);
  FocusEditor();
  EXPECT_EQ(Memo()->toPlainText(), "");
  // Leaving it with two frames selected writes nothing back.
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "one");
  EXPECT_EQ(document().FrameText[2], "two");
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(MainWindowTest, TypedTextReachesTheFrameWhenTheEditorIsLeft) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  ClickRow(0);
  FocusEditor();
  Memo()->moveCursor(QTextCursor::End);
  QTest::keyClicks(Memo(), " more");
  QTest::keyClick(Memo(), Qt::Key_Return);
  QTest::keyClicks(Memo(), "line");
  EXPECT_EQ(document().FrameText[1], "one");
  EXPECT_EQ(document().Modified, kClean);
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "one more|line");
  EXPECT_EQ(document().Modified, kUnsaved);
  EXPECT_EQ(List()->model()->index(0, 0).data().toString(), "0:00:01.000:00:02.0001.00one more|line");
}

TEST_F(MainWindowTest, ApplyChangesInstantlyWritesEveryKeystroke) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  QTest::mouseClick(Find<QCheckBox>("CheckBox1"), Qt::LeftButton, {},
                    QPoint(8, Find<QCheckBox>("CheckBox1")->height() / 2));
  ASSERT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
  ClickRow(1);
  FocusEditor();
  Memo()->moveCursor(QTextCursor::End);
  QTest::keyClick(Memo(), Qt::Key_S);
  EXPECT_EQ(document().FrameText[2], "twos");
  QTest::keyClick(Memo(), Qt::Key_Return);
  QTest::keyClick(Memo(), Qt::Key_Return);
  EXPECT_EQ(document().FrameText[2], "twos");  // trailing empty lines vanish
  QTest::keyClick(Memo(), Qt::Key_X);
  EXPECT_EQ(document().FrameText[2], "twos||x");
  EXPECT_EQ(document().Modified, kUnsaved);
  // The row keeps its selection and focus while it is rewritten.
  EXPECT_EQ(List()->currentIndex().row(), 1);
  EXPECT_EQ(Label("Label6")->text(), "1");
  EXPECT_EQ(Memo()->toPlainText(), "twos\n\nx");
}

TEST_F(MainWindowTest, LeavingTheEditorMarksTheDocumentModifiedEvenWithoutChanges) {
  Load({{1000, 2000, "same"}});
  ClickRow(0);
  FocusEditor();
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "same");
  EXPECT_EQ(document().Modified, kUnsaved);
}

TEST_F(MainWindowTest, TypedCharactersAreStoredInTheDocumentsCodePage) {
  Load({{1000, 2000, "a\xF5"}});  // "aő" in Windows-1250
  document().Encoding = CodePage::kWindows1250;
  ClickRow(0);
  EXPECT_EQ(Memo()->toPlainText(), QString::fromUtf8("aő"));
  FocusEditor();
  Memo()->moveCursor(QTextCursor::End);
  TypeCharacters(Memo(), QString::fromUtf8("ű"));
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "a\xF5\xFB");
}

TEST_F(MainWindowTest, UntouchedLinesKeepBytesTheCodePageCannotShow) {
  Load({{1000, 2000, "a\x81|b"}});
  document().Encoding = CodePage::kWindows1250;
  ClickRow(0);
  FocusEditor();
  Memo()->moveCursor(QTextCursor::End);
  QTest::keyClicks(Memo(), "c");
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "a\x81|bc");
}

TEST_F(MainWindowTest, AutoFocusDoubleClickAndF3MoveTheFocus) {
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  ClickRow(0);
  EXPECT_FALSE(Memo()->hasFocus());
  QTest::keyClick(List(), Qt::Key_F3);
  EXPECT_TRUE(Find<QLineEdit>("Edit6")->hasFocus());

  const QPoint row0 = List()->visualRect(List()->model()->index(0, 0)).center();
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, row0);
  EXPECT_TRUE(Memo()->hasFocus());

  auto* auto_focus = Find<QCheckBox>("CheckBox4");
  QTest::mouseClick(auto_focus, Qt::LeftButton, {}, QPoint(8, auto_focus->height() / 2));
  ASSERT_TRUE(auto_focus->isChecked());
  List()->setFocus();
  ClickRow(1);
  EXPECT_TRUE(Memo()->hasFocus());
  EXPECT_EQ(Memo()->toPlainText(), "two");
}

TEST_F(MainWindowTest, AlignGroupAlignsTheEditorText) {
  auto alignment = [this] { return Memo()->document()->defaultTextOption().alignment(); };
  EXPECT_TRUE(Find<QRadioButton>("RadioGroup1_Center")->isChecked());
  EXPECT_EQ(alignment(), Qt::AlignHCenter);
  QTest::mouseClick(Find<QRadioButton>("RadioGroup1_Left"), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(alignment(), Qt::AlignLeft);
  QTest::mouseClick(Find<QRadioButton>("RadioGroup1_Right"), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(alignment(), Qt::AlignRight);
}

TEST_F(MainWindowTest, TimeBoxesOfLongTimesShowTheirRealParts) {
  Load({{MakeTime(12, 34, 56, 789), MakeTime(13, 0, 1, 2), "late"}});
  ClickRow(0);
  EXPECT_EQ(Find<QLineEdit>("Edit7")->text(), "12");
  EXPECT_EQ(Find<QLineEdit>("Edit8")->text(), "34");
  EXPECT_EQ(Find<QLineEdit>("Edit9")->text(), "56");
  EXPECT_EQ(Find<QLineEdit>("Edit10")->text(), "789");
  EXPECT_EQ(Find<QLineEdit>("Edit14")->text(), "13");
  EXPECT_EQ(Find<QLineEdit>("Edit13")->text(), "00");
  EXPECT_EQ(Find<QLineEdit>("Edit12")->text(), "01");
  EXPECT_EQ(Find<QLineEdit>("Edit11")->text(), "002");
}

TEST_F(MainWindowTest, FrameListAndEditorGrowWithTheWindowWhileCommandsKeepTheirWidth) {
  window_->resize(780, 612);
  QApplication::processEvents();
  const QSize list_before = List()->size();
  const int memo_before = Memo()->width();
  const int column_before = Find<QGroupBox>("GroupBox4")->width();
  const int editor_height_before = Find<QGroupBox>("GroupBox2")->height();
  window_->resize(1000, 750);
  QApplication::processEvents();
  EXPECT_EQ(List()->width() - list_before.width(), 220);
  EXPECT_EQ(List()->height() - list_before.height(), 138);
  EXPECT_EQ(Memo()->width() - memo_before, 220);
  EXPECT_EQ(Find<QGroupBox>("GroupBox4")->width(), column_before);
  EXPECT_EQ(Find<QGroupBox>("GroupBox2")->height(), editor_height_before);
  // "Apply to selected frames" stays at the editor's right edge.
  Load({{1000, 2000, "one"}, {3000, 4000, "two"}});
  ClickRow(0);
  ClickRow(1, Qt::ControlModifier);
  auto* apply = Find<QPushButton>("Button4");
  const QPoint apply_right = apply->mapTo(window_.get(), QPoint(apply->width(), 0));
  const QPoint memo_right = Memo()->mapTo(window_.get(), QPoint(Memo()->width(), 0));
  EXPECT_EQ(apply_right.x(), memo_right.x());
}

TEST_F(MainWindowTest, InformationDialogShowsStatisticsAndRebuildsTheSummary) {
  Load({{1000, 3000, "Hi"}, {4000, 5500, "A|B"}});
  QString total_lines;
  QTimer::singleShot(0, [&] {
    InfoDialog* dialog = window_->infoDialog();
    total_lines = dialog->box(11)->text();
    dialog->box(1)->setText("Movie");
    dialog->box(3)->setText("DVD");
    QTest::mouseClick(dialog->findChild<QPushButton*>("Button2"), Qt::LeftButton);
  });
  QTest::mouseClick(Find<QToolButton>("SpeedButton9"), Qt::LeftButton);
  EXPECT_EQ(total_lines, "3");
  EXPECT_EQ(document().InfoTitle, "Movie");
  EXPECT_EQ(Find<QLineEdit>("Edit3")->text(), "Title=Movie    Source=DVD");
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(MainWindowTest, AboutNamesTheProgramAndItsVersion) {
  prompts_.messages.clear();
  QTest::mouseClick(Find<QToolButton>("SpeedButton7"), Qt::LeftButton);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_NE(prompts_.messages[0].find("Lumetra 1.33"), std::string::npos);
}

TEST_F(MainWindowTest, FirstGeometryComesFromTheScreen) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const int taskbar = screen->geometry().height() - screen->availableGeometry().height();
  const WindowGeometry g =
      FirstWindowGeometry(screen->geometry().width(), screen->geometry().height(), taskbar);
  // The offscreen screen is 800 pixels wide: too narrow for the whole window.
  const bool too_narrow = screen->geometry().width() < 801;
  EXPECT_EQ(!prompts_.messages.empty() && prompts_.messages[0] == kResolutionTooLow, too_narrow);
  Start(std::nullopt);
  EXPECT_EQ(window_->width(), g.width);
  EXPECT_EQ(window_->height(), g.height);
}

}  // namespace
}  // namespace lumetra
