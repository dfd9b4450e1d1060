// The toolbar's file commands as a user meets them: the command-line file, the open and
// save dialogs, the unsaved-changes question, quick save and the history menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <string>
#include <utility>

#include "session/unsaved_changes.h"
#include "test_support.h"
#include "ui/main_window_test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// The same SubRip file with accented letters in Windows-1250 and in UTF-8.
constexpr char kWindows1250[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nJ\xF3 napot\r\nk\xEDv\xE1nok\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nSzia!\r\n";
constexpr char kUtf8[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nJ\xC3\xB3 napot\r\nk\xC3\xADv\xC3\xA1nok\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nSzia!\r\n";

class FileCommandsTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    WriteFile(subrip_, kWindows1250);
  }
  const std::string sample_ = Sample();
  const std::string subrip_ = dir_.File("hello.txt");
};

TEST_F(FileCommandsTest, OpensTheCommandLineFileOnceWhenFirstShown) {
  Start(QString::fromStdString(sample_));
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(Text("Label7"), "   (of 10)");
  EXPECT_EQ(Box("Edit1"), "sample.srt    (SRT2 with Info)");
  EXPECT_TRUE(Box("Edit3").startsWith("Title=The Lighthouse Keeper    Author="));
  document().SetText(1, "kept");
  window_->FormActivate();
  EXPECT_EQ(document().FrameText[1], "kept");
}

TEST_F(FileCommandsTest, OpenedThroughTheDialogAndSavedIsWrittenBackByteForByte) {
  for (const auto& [name, bytes] : {std::pair{"cp1250.txt", kWindows1250}, {"utf8.txt", kUtf8}}) {
    SCOPED_TRACE(name);
    const std::string path = dir_.File(name);
    WriteFile(path, bytes);
    OpenThroughDialog(path);
    EXPECT_EQ(Box("Edit1"), QString(name) + "    (Normal SRT)");
    ClickRow(0);
    EXPECT_EQ(Memo()->toPlainText(), QString::fromUtf8("Jó napot\nkívánok"));
    // Entering and leaving the editor and a time box without typing is no change.
    for (int row : {0, 1}) {
      ClickRow(row);
      FocusEditor();
      Find("Edit9")->setFocus();
      List()->setFocus();
    }
    EXPECT_EQ(document().Modified, kClean);
    QApplication::processEvents();
    EXPECT_FALSE(window_->isWindowModified());
    RightPress("SpeedButton3");
    EXPECT_EQ(ReadFile(path), bytes);
  }
}

// Typing "Привет" into a Windows-1250 subtitle used to save six "?" without a word.
TEST_F(FileCommandsTest, TypedCharactersTheCodePageCannotHoldAreSavedInUtf8OnlyWhenAsked) {
  OpenThroughDialog(subrip_);
  ClickRow(1);
  FocusEditor();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("Привет"));
  QApplication::sendEvent(Memo(), &key);
  List()->setFocus();
  EXPECT_EQ(document().FrameText[2], "Szia!\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
  EXPECT_TRUE(List()->model()->index(1, 0).data().toString().endsWith(QString::fromUtf8("Привет")));
  EXPECT_TRUE(List()->model()->index(0, 0).data().toString().endsWith(QString::fromUtf8("Jó napot|kívánok")));
  RightPress("SpeedButton3");  // quick save, cancelled when asked
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_TRUE(prompts_.questions[0].starts_with("The code page of this subtitle, Windows-1250, "))
      << prompts_.questions[0];
  EXPECT_EQ(ReadFile(subrip_), kWindows1250);
  prompts_.confirmations = {true};
  RightPress("SpeedButton3");
  std::string utf8 = kUtf8;
  utf8.insert(utf8.find("Szia!") + 5, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
  EXPECT_EQ(ReadFile(subrip_), utf8);
}

TEST_F(FileCommandsTest, QuickSaveFromTheEditorAndSaveAs) {
  Start(QString::fromStdString(sample_));
  ClickRow(1);
  FocusEditor();
  QTest::keyClicks(Memo(), " Now.");
  // The tool button takes no focus: the editor still has it when the save runs.
  RightPress("SpeedButton3");
  EXPECT_TRUE(prompts_.save_dialogs_shown.empty());
  EXPECT_NE(ReadFile(sample_).find("Light the lamp, Ada. Now."), std::string::npos);
  EXPECT_EQ(document().Modified, kClean);
  prompts_.save_paths = {dir_.File("copy.srt")};
  LeftClick("SpeedButton3");
  EXPECT_EQ(Box("Edit1"), "copy.srt    (SRT2 with Info)");
}

TEST_F(FileCommandsTest, NewOpenAndClosingAskAboutUnsavedChanges) {
  Start(QString::fromStdString(sample_));
  EditFrame(0, "!");
  prompts_.answers = {Answer::kCancel};
  LeftClick("SpeedButton2");
  EXPECT_EQ(prompts_.questions.back(), kAskSaveBeforeNew);
  EXPECT_EQ(Rows(), 10);

  prompts_.answers = {Answer::kYes};  // and the save dialog is cancelled
  OpenThroughDialog(subrip_);
  EXPECT_EQ(prompts_.questions.back(), kAskSaveBeforeOpen);
  EXPECT_EQ(prompts_.save_dialogs_shown.size(), 1u);
  EXPECT_EQ(Rows(), 10);
  prompts_.answers = {Answer::kNo};
  OpenThroughDialog(subrip_);
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(ReadFile(sample_).find("coming.!"), std::string::npos);

  EditFrame(1, "?");
  prompts_.answers = {Answer::kCancel, Answer::kYes, Answer::kNo};
  EXPECT_FALSE(window_->close());
  EXPECT_EQ(prompts_.questions.back(), kAskSaveBeforeExit);
  EXPECT_FALSE(window_->close());  // Yes, and the save dialog is cancelled
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->close());
}

TEST_F(FileCommandsTest, KeysRunTheFileCommandsAndTheHintsSaySo) {
  EXPECT_EQ(Find("SpeedButton3")->toolTip(),
            "Save Subtitle As...  (Ctrl+Shift+S)\nrightclick: quickSave  (Ctrl+S)");
  const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window_.get(), key,
                    modifiers);
  };
  // A file without an extension: the quick save adds the format's, and the box shows it.
  const std::string bare = dir_.File("hello");
  WriteFile(bare, kWindows1250);
  prompts_.open_paths = {bare};
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Box("Edit1"), "hello    (Normal SRT)");
  ClickRow(1);
  FocusEditor();
  QTest::keyClicks(Memo(), "!");
  press(Qt::Key_S, Qt::ControlModifier);  // from the editor: what was typed is saved
  EXPECT_TRUE(prompts_.save_dialogs_shown.empty());
  EXPECT_NE(ReadFile(bare + ".txt").find("Szia!!\r\n"), std::string::npos);
  EXPECT_EQ(Box("Edit1"), "hello.txt    (Normal SRT)");

  press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(prompts_.save_dialogs_shown.size(), 1u);
  EXPECT_EQ(prompts_.save_dialogs_shown[0].file_type, 3);  // TXT  (normal srt)
  press(Qt::Key_N, Qt::ControlModifier);
  ASSERT_TRUE(document().InsertFrame(1, 0, 1000, "new"));
  press(Qt::Key_S, Qt::ControlModifier);  // no name yet: Save As, with no format preselected
  ASSERT_EQ(prompts_.save_dialogs_shown.size(), 2u);
  EXPECT_EQ(prompts_.save_dialogs_shown[1].file_type, 0);
}

TEST_F(FileCommandsTest, HistoryMenuOpensAnEarlierFile) {
  OpenThroughDialog(sample_);
  OpenThroughDialog(subrip_);
  RightPress("SpeedButton1");
  QMenu* menu = window_->historyMenu();
  // The two files, then a separator and "Open film...".
  ASSERT_EQ(menu->actions().size(), 4);
  EXPECT_EQ(menu->actions()[0]->text(), QString::fromStdString("1. " + subrip_));
  EXPECT_EQ(menu->actions()[3]->text(), "Open film...");
  menu->actions()[1]->trigger();
  menu->hide();
  EXPECT_EQ(Box("Edit1"), "sample.srt    (SRT2 with Info)");
}

}  // namespace
}  // namespace lumetra
