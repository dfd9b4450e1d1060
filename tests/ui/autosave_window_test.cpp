// The window's autosaves and backups: unsaved work is kept in the state directory until it
// is saved, dropped or the window closes; a window that did not close offers its work at
// the next start.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "session/autosave.h"
#include "session/backups.h"
#include "settings/configuration.h"
#include "settings/file_history.h"
#include "ui/autosave_keeper.h"
#include "ui/main_window_test_support.h"

namespace lumetra {
namespace {

using testing::EntriesIn;
using testing::ReadFile;

class AutosaveWindowTest : public WindowFixture {
 protected:
  void SetUp() override { StartWithAutosaves(); }
  void StartWithAutosaves() { Start(std::nullopt, {}, dir_.File("state")); }
  // The names in the autosave directory, by their kind: "autosave", "info", "lock".
  std::vector<std::string> Kept() {
    QApplication::processEvents();
    std::vector<std::string> kinds;
    std::error_code ec;
    if (!std::filesystem::exists(dir_.path() / "state/autosave", ec)) return kinds;
    for (const std::string& name : EntriesIn(dir_.path() / "state/autosave")) {
      kinds.push_back(name.substr(name.rfind('.') + 1));
    }
    return kinds;
  }
  std::string AutosaveBytes() {
    for (const std::string& name : EntriesIn(dir_.path() / "state/autosave")) {
      if (name.ends_with(".autosave")) return ReadFile(dir_.File("state/autosave/" + name));
    }
    return {};
  }
  void Autosave() { window_->autosaveKeeper()->WriteIfUnsaved(); }
  // The window goes away without closing, as when the program is killed.
  void Vanish() {
    document().Modified = kClean;
    window_.reset();
  }

  const std::vector<std::string> kAll{"autosave", "info", "lock"};
  const std::vector<std::string> kLock{"lock"};
};

TEST_F(AutosaveWindowTest, UnsavedWorkIsKeptUntilItIsSavedDroppedOrTheWindowCloses) {
  const std::string sample = Sample();
  const std::string original = ReadFile(sample);
  OpenThroughDialog(sample);
  Autosave();
  EXPECT_TRUE(Kept().empty());  // nothing unsaved: nothing written, no slot taken
  EditFrame(0, "typed");
  Autosave();
  EXPECT_EQ(Kept(), kAll);
  EXPECT_NE(AutosaveBytes().find("typed"), std::string::npos);
  EXPECT_EQ(ReadFile(sample), original);

  // A save removes the autosave and keeps the file's previous version, once per run.
  RightPress("SpeedButton3");
  EXPECT_EQ(Kept(), kLock);
  const std::vector<std::string> backups = BackupsOf("sample.srt", dir_.File("state/backups"));
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(ReadFile(backups[0]), original);
  EditFrame(1, "again");
  RightPress("SpeedButton3");
  EXPECT_EQ(BackupsOf("sample.srt", dir_.File("state/backups")).size(), 1u);

  // Undone back to the saved state, New, and closing drop it too.
  EditFrame(1, "more");
  Autosave();
  EXPECT_EQ(Kept(), kAll);
  Undo();
  EXPECT_EQ(Kept(), kLock);
  EditFrame(2, "new");
  Autosave();
  prompts_.answers = {Answer::kNo};
  LeftClick("SpeedButton2");
  EXPECT_EQ(Kept(), kLock);
  Press("Button5");
  EditFrame(0, "closing");
  Autosave();
  EXPECT_EQ(Kept(), kAll);
  prompts_.answers = {Answer::kNo};
  window_->close();
  EXPECT_TRUE(Kept().empty());
}

TEST_F(AutosaveWindowTest, AWindowThatDidNotCloseOffersItsWorkAtTheNextStart) {
  OpenThroughDialog(Sample());
  EditFrame(0, "kept");
  Autosave();
  Vanish();

  prompts_.recovery_answers = {RecoveryAnswer::kLater};
  StartWithAutosaves();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_TRUE(prompts_.questions[0].starts_with(kRecoveryStart + dir_.File("sample.srt") +
                                                "\rWritten "))
      << prompts_.questions[0];
  EXPECT_EQ(document().FrameCount, 0);
  EXPECT_EQ(Kept(), kAll);  // kept for later
  Vanish();

  prompts_.recovery_answers = {RecoveryAnswer::kRecover};
  StartWithAutosaves();
  EXPECT_TRUE(document().FrameText[1].ends_with("kept")) << document().FrameText[1];
  EXPECT_EQ(document().FileName, "sample.srt");
  EXPECT_EQ(document().Modified, kUnsaved);
  EXPECT_EQ(Rows(), 10);
  QApplication::processEvents();
  EXPECT_EQ(window_->windowTitle().toStdString(), std::string("sample.srt[*] - ") + kProgramCaption);
  EXPECT_TRUE(window_->isWindowModified());
  // The work moved into this window's own autosave.
  EXPECT_EQ(Kept(), kAll);
  EXPECT_NE(AutosaveBytes().find("kept"), std::string::npos);
  Vanish();

  prompts_.recovery_answers = {RecoveryAnswer::kDiscard};
  StartWithAutosaves();
  EXPECT_EQ(document().FrameCount, 0);
  EXPECT_TRUE(Kept().empty());
}

TEST_F(AutosaveWindowTest, SettingsTurnAutosavesAndBackupsOff) {
  Configuration config;
  config.AutosaveSeconds = 0;
  config.Backups = false;
  FileHistory history;
  const std::string config_path = dir_.File("lumetra.cfg");
  ASSERT_EQ(SaveConfig(config_path, config, history), FileError::kNone);
  Start(std::nullopt, config_path, dir_.File("state"));
  EXPECT_EQ(window_->autosaveKeeper()->interval(), 0);
  const std::string sample = Sample();
  OpenThroughDialog(sample);
  EditFrame(0, "typed");
  Autosave();
  EXPECT_TRUE(Kept().empty());
  RightPress("SpeedButton3");
  EXPECT_NE(ReadFile(sample).find("typed"), std::string::npos);
  EXPECT_TRUE(BackupsOf("sample.srt", dir_.File("state/backups")).empty());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("state/backups")));
}

}  // namespace
}  // namespace lumetra
