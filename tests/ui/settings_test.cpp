// The settings dialog, the configuration kept between two runs of the editor, and files
// dropped on the window, as a user meets them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
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

using testing::ReadFile;
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

template <typename T = QWidget>
T* Child(const QWidget& parent, const char* name) {
  T* widget = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// Clicks near a button's left end, where check boxes and radio items have their mark.
void Click(const QWidget& parent, const char* name) {
  QAbstractButton* button = Child<QAbstractButton>(parent, name);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

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
  EXPECT_EQ(std::vector<bool>({checked("CheckBox1"), checked("CheckBox2"), checked("CheckBox3")}),
            std::vector<bool>({false, true, false}));
  size->setFocus();
  size->selectAll();
  QTest::keyClicks(size, "20");
  QTest::keyClick(size, Qt::Key_Tab);  // leaving the box brings it into range
  EXPECT_EQ(size->text(), "16");
  Click(dialog, "CheckBox1");
  Click(dialog, "CheckBox3");
  Click(dialog, "Button1");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(config.WinPosSav && config.RemLastDir && config.AutoLoad);
  EXPECT_EQ(history.MaxHistory, 16);

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

class SettingsWindowTest : public WindowFixture {
 protected:
  // A window that reads and writes the configuration file of this test.
  std::unique_ptr<MainWindow> StartWithConfig(const std::string& config_path) {
    auto window = std::make_unique<MainWindow>(prompts_, std::nullopt, config_path);
    window->CreateDialogs(prompts_);
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->FormActivate();
    return window;
  }

  TempDir dir_;
  const std::string config_ = dir_.File("lumetra.cfg");
  const std::string sample_ = dir_.File("sample.srt");
};

TEST_F(SettingsWindowTest, ASecondRunRestoresGeometryOptionsHistoryAndTheLatestFile) {
  WriteFile(sample_, ReadFile(std::string(LUMETRA_SAMPLES_DIR) + "/sample.srt"));
  std::unique_ptr<MainWindow> first = StartWithConfig(config_);
  ASSERT_TRUE(Child(*first, "SpeedButton12")->isEnabled());
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
  QTest::mouseClick(Child<QToolButton>(*first, "SpeedButton12"), Qt::LeftButton);
  ASSERT_EQ(modal, first->settingsDialog());
  prompts_.open_paths = {sample_};
  QTest::mouseClick(Child<QToolButton>(*first, "SpeedButton1"), Qt::LeftButton);
  ASSERT_EQ(first->frameListModel()->rowCount(), 10);
  Click(*first, "RadioGroup1_Right");
  Click(*first, "CheckBox1");
  Click(*first, "CheckBox4");
  first->resize(700, 500);
  first->move(40, 30);
  // Closed as the mini-mode strip, the window still comes back as it was before.
  QTest::mouseClick(Child<QToolButton>(*first, "SpeedButton4"), Qt::LeftButton);
  ASSERT_TRUE(first->close());
  first.reset();

  std::unique_ptr<MainWindow> second = StartWithConfig(config_);
  EXPECT_EQ(second->pos(), QPoint(40, 30));
  EXPECT_EQ(second->size(), QSize(700, 500));
  EXPECT_TRUE(Child<QRadioButton>(*second, "RadioGroup1_Right")->isChecked());
  EXPECT_EQ(Child<QPlainTextEdit>(*second, "memo1")->document()->defaultTextOption().alignment(),
            Qt::AlignRight);
  EXPECT_TRUE(Child<QCheckBox>(*second, "CheckBox1")->isChecked() &&
              Child<QCheckBox>(*second, "CheckBox4")->isChecked());
  EXPECT_EQ(second->session().history().Entry(1), sample_);
  EXPECT_EQ(second->session().open_dialog().initial_dir, dir_.path().string() + "/");
  EXPECT_EQ(second->frameListModel()->rowCount(), 10);  // auto-loaded
  second->close();
}

TEST_F(SettingsWindowTest, AFailedSaveIsToldAndTheProgramStillEnds) {
  WriteFile(dir_.File("blocked"), "");
  const std::string unwritable = dir_.File("blocked/lumetra.cfg");
  std::unique_ptr<MainWindow> window = StartWithConfig(unwritable);
  prompts_.messages.clear();  // the small offscreen screen's notice
  EXPECT_TRUE(window->close());
  EXPECT_EQ(prompts_.messages, std::vector<std::string>{kConfigWriteError + unwritable});
}

TEST_F(WindowFixture, AFileDroppedOnTheWindowOpensAfterTheUnsavedChangesQuestion) {
  TempDir dir;
  const std::string sample = dir.File("sample.srt");
  WriteFile(sample, ReadFile(std::string(LUMETRA_SAMPLES_DIR) + "/sample.srt"));
  Load({{0, 1000, "one"}, {2000, 3000, "two"}});
  EditFrame(0, "x");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(sample))});
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
