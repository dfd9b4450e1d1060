// The settings dialog, the configuration kept between two runs of the editor, and files
// dropped on the window, as a user meets them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTextOption>
#include <QTimer>
#include <QUrl>
#include <string>
#include <vector>

#include "session/unsaved_changes.h"
#include "settings/configuration.h"
#include "settings/file_association.h"
#include "test_support.h"
#include "ui/frame_list_model.h"
#include "ui/main_window_test_support.h"
#include "ui/settings_dialog.h"

namespace lumetra {
namespace {

using testing::TempDir;
using testing::WriteFile;

// An association that records the programs it was asked for and always fails.
struct FailingAssociation : FileAssociation {
  explicit FailingAssociation(std::vector<std::string>& calls) : calls(calls) {}
  std::string Associate(const std::string& executable) override {
    calls.push_back(executable);
    return "refused";
  }
  std::vector<std::string>& calls;
};

TEST(SettingsDialog, OkAppliesTheControlsAndCancelKeepsTheSettingsButNotTheHistory) {
  ScriptedPrompts prompts;
  std::vector<std::string> calls;
  SettingsDialog dialog(prompts, std::make_unique<FailingAssociation>(calls),
                        "/opt/lumetra/lumetra");
  Configuration config;
  FileHistory history;
  history.UpdateHistory("/s/a.srt");
  auto* size = Child<QLineEdit>(dialog, "Edit1");
  auto checked = [&](const char* name) { return Child<QCheckBox>(dialog, name)->isChecked(); };

  dialog.Open(config, history);
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(size->text(), "8");
  EXPECT_EQ(std::vector<bool>({checked("CheckBox1"), checked("CheckBox2"), checked("CheckBox3"),
                               checked("WriteSubFpsBox")}),
            std::vector<bool>({false, true, false, true}));
  size->setFocus();
  size->selectAll();
  QTest::keyClicks(size, "20");
  QTest::keyClick(size, Qt::Key_Tab);  // leaving the box brings it into range
  EXPECT_EQ(size->text(), "16");
  EXPECT_TRUE(checked("AutoOpenFilmBox"));
  Click(dialog, "CheckBox1");
  Click(dialog, "CheckBox3");
  // Autosaves every minute and backups at first; a day at most.
  auto* autosave = Child<QLineEdit>(dialog, "Edit2");
  EXPECT_EQ(autosave->text(), "60");
  EXPECT_TRUE(checked("CheckBox4"));
  autosave->setFocus();
  autosave->selectAll();
  QTest::keyClicks(autosave, "999999");
  QTest::keyClick(autosave, Qt::Key_Tab);
  EXPECT_EQ(autosave->text(), "86400");
  Click(dialog, "CheckBox4");
  Click(dialog, "AutoOpenFilmBox");
  Click(dialog, "WriteSubFpsBox");
  Click(dialog, "Button1");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(config.WinPosSav && config.RemLastDir && config.AutoLoad);
  EXPECT_FALSE(config.AutoOpenFilm);
  EXPECT_FALSE(config.WriteSubFrameRate);
  EXPECT_EQ(history.MaxHistory, 16);
  EXPECT_EQ(config.AutosaveSeconds, 86400);
  EXPECT_FALSE(config.Backups);

  dialog.Open(config, history);
  Click(dialog, "CheckBox1");
  size->setText("3");
  Click(dialog, "Button3");  // clears at once
  Click(dialog, "Button4");
  EXPECT_EQ(calls, std::vector<std::string>{"/opt/lumetra/lumetra"});
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"refused"});
  Click(dialog, "Button2");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(config.WinPosSav);
  EXPECT_EQ(history.MaxHistory, 16);
  EXPECT_TRUE(history.MenuItems().empty());
  dialog.Open(config, history);  // the cancelled boxes do not come back
  EXPECT_TRUE(checked("CheckBox1"));
  EXPECT_EQ(size->text(), "16");
}

using SettingsWindowTest = WindowFixture;

TEST_F(SettingsWindowTest, ASecondRunRestoresGeometryOptionsHistoryAndTheLatestFile) {
  const std::string config = dir_.File("lumetra.cfg");
  const std::string sample = Sample();
  Start(std::nullopt, config);
  ASSERT_TRUE(Enabled("SpeedButton12"));
  QWidget* modal = nullptr;
  // As soon as the dialog shows, modally: tick two options and press "OK".
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    poll.stop();
    Click(*modal, "CheckBox1");  // save the window's position and size
    Click(*modal, "CheckBox3");  // auto-load the latest subtitle
    Click(*modal, "Button1");
  });
  poll.start(10);
  LeftClick("SpeedButton12");
  ASSERT_EQ(modal, window_->settingsDialog());
  OpenThroughDialog(sample);
  ASSERT_EQ(Rows(), 10);
  Tick("RadioGroup1_Right");
  Tick("CheckBox1");
  Tick("CheckBox4");
  // The film panel (hidden without a film): beside the list, and "Follow film".
  Find<QToolButton>("FilmPlace")->click();
  Find<QCheckBox>("FilmFollow")->setChecked(true);
  window_->resize(700, 500);
  window_->move(40, 30);
  // Closed as the mini-mode strip, the window still comes back as it was before.
  LeftClick("SpeedButton4");
  ASSERT_TRUE(window_->close());

  Start(std::nullopt, config);
  EXPECT_EQ(window_->pos(), QPoint(40, 30));
  EXPECT_EQ(window_->size(), QSize(700, 500));
  EXPECT_TRUE(Find<QRadioButton>("RadioGroup1_Right")->isChecked());
  EXPECT_EQ(Memo()->document()->defaultTextOption().alignment(), Qt::AlignRight);
  EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked() &&
              Find<QCheckBox>("CheckBox4")->isChecked());
  EXPECT_EQ(window_->filmSplitter()->orientation(), Qt::Horizontal);
  EXPECT_TRUE(Find<QCheckBox>("FilmFollow")->isChecked());
  EXPECT_EQ(window_->session().history().Entry(1), sample);
  EXPECT_EQ(window_->session().open_dialog().initial_dir, dir_.path().string() + "/");
  EXPECT_EQ(Rows(), 10);  // auto-loaded
}

TEST_F(SettingsWindowTest, AFailedSaveIsToldAndTheProgramStillEnds) {
  WriteFile(dir_.File("blocked"), "");
  const std::string unwritable = dir_.File("blocked/lumetra.cfg");
  Start(std::nullopt, unwritable);
  prompts_.messages.clear();  // the small offscreen screen's notice
  EXPECT_TRUE(window_->close());
  // With the system's reason.
  EXPECT_EQ(prompts_.messages,
            std::vector<std::string>{kConfigWriteError + unwritable + "\rNot a directory"});
}

TEST_F(SettingsWindowTest, AFileDroppedOnTheWindowOpensAfterTheUnsavedChangesQuestion) {
  Load({{0, 1000, "one"}, {2000, 3000, "two"}});
  EditFrame(0, "x");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Sample()))});
  // Dropped on the editor, which would otherwise insert the name as text.
  QWidget* target = Memo()->viewport();
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  prompts_.answers = {Answer::kNo};
  QApplication::sendEvent(target, &drop);
  QApplication::processEvents();
  EXPECT_EQ(prompts_.questions, std::vector<std::string>{kAskSaveBeforeOpen});
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(Box("Edit1"), "sample.srt    (SRT2 with Info)");
}

}  // namespace
}  // namespace lumetra
