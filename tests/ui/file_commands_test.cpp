// The toolbar's file commands as a user meets them: the command-line file, the open and
// save dialogs, the unsaved-changes question, quick save and the history menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <string>

#include "session/session.h"
#include "session/unsaved_changes.h"
#include "test_support.h"
#include "ui/main_window_test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A small SubRip file in Windows-1250 with accented letters.
constexpr char kSubRip[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nJ\xF3 napot|k\xEDv\xE1nok\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nSzia!\r\n";

class FileCommandsTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    sample_ = dir_.File("sample.srt");
    WriteFile(sample_, ReadFile(std::string(LUMETRA_SAMPLES_DIR) + "/sample.srt"));
    subrip_ = dir_.File("hello.txt");
    WriteFile(subrip_, kSubRip);
  }

  QToolButton* Tool(const char* name) { return Find<QToolButton>(name); }
  void LeftClick(const char* name) { QTest::mouseClick(Tool(name), Qt::LeftButton); }
  void RightPress(const char* name) { QTest::mousePress(Tool(name), Qt::RightButton); }

  void OpenThroughDialog(const std::string& path) {
    prompts_.open_paths.push_back(path);
    LeftClick("SpeedButton1");
  }

  // Types into the editor of frame `row` and leaves it, so the document is modified.
  void EditFrame(int row, const char* text) {
    ClickRow(row);
    FocusEditor();
    Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Memo(), text);
    List()->setFocus();
    ASSERT_EQ(document().Modified, kUnsaved);
  }

  int Rows() { return List()->model()->rowCount(); }
  QString FileBox() { return Find<QLineEdit>("Edit1")->text(); }

  TempDir dir_;
  std::string sample_;
  std::string subrip_;
};

TEST_F(FileCommandsTest, OpensTheCommandLineFileWhenFirstShown) {
  Start(QString::fromStdString(sample_));
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(FileBox(), "sample.srt    (SRT2 with Info)");
  EXPECT_TRUE(Find<QLineEdit>("Edit3")->text().startsWith("Title=The Lighthouse Keeper    Author="));
  EXPECT_EQ(Label("Label7")->text(), "   (of 10)");
  EXPECT_EQ(document().Modified, kClean);
  // Only once: a second activation loads nothing again.
  document().SetText(1, "kept");
  window_->FormActivate();
  EXPECT_EQ(document().FrameText[1], "kept");
}

TEST_F(FileCommandsTest, MissingCommandLineFileIsReportedAndNothingLoads) {
  const std::string missing = dir_.File("gone.srt");
  Start(QString::fromStdString(missing));
  ASSERT_FALSE(prompts_.messages.empty());
  EXPECT_EQ(prompts_.messages.back(), std::string("File not found!\r\r") + missing);
  EXPECT_EQ(Rows(), 0);
}

TEST_F(FileCommandsTest, OpensThroughTheDialogAndShowsTheCodePagesCharacters) {
  OpenThroughDialog(subrip_);
  ASSERT_EQ(prompts_.open_dialogs_shown.size(), 1u);
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(FileBox(), "hello.txt    (Normal SRT)");
  ClickRow(0);
  EXPECT_EQ(Memo()->toPlainText(), QString::fromUtf8("Jó napot\nkívánok"));
  // A cancelled open dialog changes nothing.
  LeftClick("SpeedButton1");
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(prompts_.open_dialogs_shown.size(), 2u);
}

TEST_F(FileCommandsTest, OpenedAndSavedWithoutEditsIsWrittenBackByteForByte) {
  OpenThroughDialog(subrip_);
  ClickRow(0);
  FocusEditor();
  List()->setFocus();  // leaving the editor rewrites the frame with the same text
  RightPress("SpeedButton3");
  EXPECT_EQ(ReadFile(subrip_), kSubRip);
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(FileCommandsTest, QuickSaveWritesTheEditToTheOpenedFile) {
  Start(QString::fromStdString(sample_));
  EditFrame(1, " Now.");
  RightPress("SpeedButton3");
  EXPECT_TRUE(prompts_.save_dialogs_shown.empty());
  EXPECT_NE(ReadFile(sample_).find("Light the lamp, Ada. Now."), std::string::npos);
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(FileCommandsTest, QuickSaveAfterNewHasNothingOrNoNameToSaveTo) {
  Start(QString::fromStdString(sample_));
  LeftClick("SpeedButton2");
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(FileBox(), "");
  RightPress("SpeedButton3");
  EXPECT_EQ(prompts_.messages.back(), kNothingToSave);
  ASSERT_TRUE(document().InsertFrame(1, 0, 1000, "new"));
  RightPress("SpeedButton3");
  EXPECT_EQ(prompts_.messages.back(), kNoFileName);
}

TEST_F(FileCommandsTest, SaveAsUsesTheDialogsPath) {
  OpenThroughDialog(subrip_);
  const std::string target = dir_.File("copy.srt");
  prompts_.save_paths.push_back(target);
  LeftClick("SpeedButton3");
  ASSERT_EQ(prompts_.save_dialogs_shown.size(), 1u);
  EXPECT_NE(ReadFile(target).find("[INFORMATION]"), std::string::npos);
  EXPECT_EQ(FileBox(), "copy.srt    (SRT2 with Info)");
}

TEST_F(FileCommandsTest, NewOnAModifiedDocumentFollowsTheAnswer) {
  Start(QString::fromStdString(sample_));
  EditFrame(0, "!");

  prompts_.answers.push_back(Answer::kCancel);
  LeftClick("SpeedButton2");
  EXPECT_EQ(prompts_.questions.back(), kAskSaveBeforeNew);
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(document().Modified, kPromptCancelled);

  // Yes, then a cancelled save dialog: nothing happens either.
  prompts_.answers.push_back(Answer::kYes);
  LeftClick("SpeedButton2");
  EXPECT_EQ(prompts_.save_dialogs_shown.size(), 1u);
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(document().Modified, kUnsaved);

  // Yes and a confirmed save dialog: saved, then emptied.
  const std::string saved = dir_.File("saved.srt");
  prompts_.answers.push_back(Answer::kYes);
  prompts_.save_paths.push_back(saved);
  LeftClick("SpeedButton2");
  EXPECT_NE(ReadFile(saved).find("Nobody saw it coming.!"), std::string::npos);
  EXPECT_EQ(Rows(), 0);

  Start(QString::fromStdString(sample_));
  EditFrame(0, "?");
  prompts_.answers.push_back(Answer::kNo);
  LeftClick("SpeedButton2");
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(ReadFile(sample_).find("coming.?"), std::string::npos);
}

TEST_F(FileCommandsTest, OpenOnAModifiedDocumentAsksFirst) {
  Start(QString::fromStdString(sample_));
  EditFrame(0, "!");
  prompts_.answers.push_back(Answer::kNo);
  OpenThroughDialog(subrip_);
  EXPECT_EQ(prompts_.questions.back(), kAskSaveBeforeOpen);
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(document().Modified, kClean);
}

TEST_F(FileCommandsTest, TextTypedBeforeASaveIsSaved) {
  Start(QString::fromStdString(sample_));
  ClickRow(2);
  FocusEditor();
  Memo()->moveCursor(QTextCursor::End);
  QTest::keyClicks(Memo(), " Hurry.");
  // The tool button takes no focus: the editor still has it when the save runs.
  RightPress("SpeedButton3");
  EXPECT_NE(ReadFile(sample_).find("We have until midnight. Hurry."), std::string::npos);
}

TEST_F(FileCommandsTest, ClosingWithUnsavedChangesFollowsTheAnswer) {
  Start(QString::fromStdString(sample_));
  EditFrame(0, "!");

  prompts_.answers.push_back(Answer::kCancel);
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(prompts_.questions.back(), kAskSaveBeforeExit);

  prompts_.answers.push_back(Answer::kYes);  // and the save dialog is cancelled
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());

  prompts_.answers.push_back(Answer::kNo);
  EXPECT_TRUE(window_->close());
  EXPECT_EQ(ReadFile(sample_).find("coming.!"), std::string::npos);
}

TEST_F(FileCommandsTest, ClosingAnEmptyDocumentNeverAsks) {
  document().Modified = kUnsaved;
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(prompts_.questions.empty());
}

TEST_F(FileCommandsTest, HistoryMenuOpensAnEarlierFile) {
  OpenThroughDialog(sample_);
  OpenThroughDialog(subrip_);
  RightPress("SpeedButton1");
  QMenu* menu = window_->historyMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->objectName(), "OpenPopup");
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), QString::fromStdString("1. " + subrip_));
  EXPECT_EQ(menu->actions()[1]->text(), QString::fromStdString("2. " + sample_));
  menu->actions()[1]->trigger();
  menu->hide();
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(FileBox(), "sample.srt    (SRT2 with Info)");
}

TEST_F(FileCommandsTest, SubFilesAskForTheirFrameRate) {
  const std::string sub = dir_.File("film.sub");
  WriteFile(sub, "{25}{50}First\r\n{75}{100}Second|line\r\n");
  OpenThroughDialog(sub);
  EXPECT_EQ(prompts_.sub_rate_dialogs_shown, 1);
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(document().FrameStart[1], 1000);
}

}  // namespace
}  // namespace lumetra
