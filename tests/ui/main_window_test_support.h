// A main window over scripted prompts, shown on the offscreen platform, with helpers to
// find its controls and to use its frame list and editor as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "document_support.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "test_support.h"
#include "ui/main_window.h"

namespace lumetra {

template <typename T = QWidget>
T* Child(const QWidget& parent, const char* name) {
  T* widget = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}
// Clicks near a button's left end, where check boxes and radio items have their mark.
inline void Click(const QWidget& parent, const char* name) {
  auto* button = Child<QAbstractButton>(parent, name);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { Start(std::nullopt); }
  void TearDown() override {
    document().Modified = kClean;  // nothing may stop the window from closing
    window_->close();
  }

  // Starts the editor as `lumetra [FILE]` would, and shows it; with a configuration file
  // it reads that file and writes it when closed; with a state directory it keeps
  // autosaves and backups there.
  void Start(std::optional<QString> startup_file, const std::string& config_path = {},
             const std::string& state_dir = {}) {
    window_.reset();
    window_ = std::make_unique<MainWindow>(prompts_, std::move(startup_file), config_path);
    window_->EnableAutosave(state_dir);
    window_->CreateDialogs(prompts_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormActivate();
  }
  // A copy of the sample subtitle (ten frames) in the test's directory.
  std::string Sample() {
    const std::string path = dir_.File("sample.srt");
    testing::WriteFile(path, testing::ReadFile(std::string(LUMETRA_SAMPLES_DIR) + "/sample.srt"));
    return path;
  }

  Document& document() { return window_->session().document(); }
  template <typename T = QWidget>
  T* Find(const char* name) {
    return Child<T>(*window_, name);
  }
  QString Text(const char* name) { return Find<QLabel>(name)->text(); }
  QString Box(const char* name) { return Find<QLineEdit>(name)->text(); }
  bool Enabled(const char* name) { return Find(name)->isEnabled(); }
  QListView* List() { return window_->frameList(); }
  QPlainTextEdit* Memo() { return Find<QPlainTextEdit>("memo1"); }
  int Rows() { return List()->model()->rowCount(); }
  void LeftClick(const char* name) { QTest::mouseClick(Find<QToolButton>(name), Qt::LeftButton); }
  void RightPress(const char* name) { QTest::mousePress(Find<QToolButton>(name), Qt::RightButton); }
  void Tick(const char* name) { Click(*window_, name); }
  void OpenThroughDialog(const std::string& path) {
    prompts_.open_paths = {path};
    LeftClick("SpeedButton1");
  }
  // Types into a box from scratch, then presses `key` (Enter, or Tab to leave it).
  void Type(const char* box, const char* text, Qt::Key key = Qt::Key_Return) {
    QLineEdit* edit = Find<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, key);
  }
  // Keys as the focused control (or else the window) receives them.
  void Keys(QKeySequence keys) {
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : window_.get(),
                       keys);
  }
  void Undo() { Keys(QKeySequence(Qt::CTRL | Qt::Key_Z)); }
  void Redo() { Keys(QKeySequence(Qt::CTRL | Qt::Key_Y)); }

  // Replaces the document's frames as a read does (one reset): clean, with no undo steps.
  void Load(const std::vector<Frame>& frames) {
    testing::Fill(document(), frames);
    Loaded();
  }
  // Frames "t1".."tN", frame i running i*1000 .. i*1000+500.
  void LoadFrames(int count) {
    testing::Fill(document(), count);
    Loaded();
  }
  void Loaded() {
    document().Modified = kClean;
    window_->session().runner().ClearHistory();
    QApplication::processEvents();
  }
  void Press(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }

  void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
    const QModelIndex index = List()->model()->index(row, 0);
    List()->scrollTo(index);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers,
                      List()->visualRect(index).center());
  }
  void FocusEditor() {
    Memo()->setFocus();
    Memo()->moveCursor(QTextCursor::End);
  }
  // Types into the editor of one frame and leaves it, so the document is modified.
  void EditFrame(int row, const char* text) {
    ClickRow(row);
    FocusEditor();
    QTest::keyClicks(Memo(), text);
    List()->setFocus();
    ASSERT_EQ(document().Modified, kUnsaved);
  }

  testing::TempDir dir_;
  ScriptedPrompts prompts_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace lumetra
