// A main window over scripted prompts, shown on the offscreen platform, with helpers to
// find its controls and to use its frame list and editor as a user would.
#pragma once

#include <gtest/gtest.h>

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
#include <tuple>
#include <vector>

#include "document/document.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "ui/main_window.h"

namespace lumetra {

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { Start(std::nullopt); }
  void TearDown() override {
    document().Modified = kClean;  // nothing may stop the window from closing
    window_->close();
  }

  // Starts the editor as `lumetra [FILE]` would, and shows it.
  void Start(std::optional<QString> startup_file) {
    window_.reset();
    window_ = std::make_unique<MainWindow>(prompts_, std::move(startup_file));
    window_->CreateDialogs(prompts_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormActivate();
  }

  Document& document() { return window_->session().document(); }
  template <typename T = QWidget>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* name) { return Find<QLabel>(name)->text(); }
  QString Box(const char* name) { return Find<QLineEdit>(name)->text(); }
  bool Enabled(const char* name) { return Find(name)->isEnabled(); }
  QListView* List() { return window_->frameList(); }
  QPlainTextEdit* Memo() { return Find<QPlainTextEdit>("memo1"); }
  int Rows() { return List()->model()->rowCount(); }
  void LeftClick(const char* name) { QTest::mouseClick(Find<QToolButton>(name), Qt::LeftButton); }
  void RightPress(const char* name) { QTest::mousePress(Find<QToolButton>(name), Qt::RightButton); }

  // Replaces the document's frames as a read does (one reset), clean.
  void Load(const std::vector<std::tuple<TimeValue, TimeValue, std::string>>& frames) {
    Document& doc = document();
    doc.BeginBulkChange();
    doc.FrameCount = static_cast<int>(frames.size());
    for (std::size_t i = 1; i <= frames.size(); ++i) {
      std::tie(doc.FrameStart[i], doc.FrameEnd[i], doc.FrameText[i]) = frames[i - 1];
    }
    doc.Modified = kClean;
    doc.EndBulkChange();
    window_->session().runner().ClearHistory();
    QApplication::processEvents();
  }

  // Frames "t1".."tN", frame i running i*1000 .. i*1000+500.
  void LoadFrames(int count) {
    std::vector<std::tuple<TimeValue, TimeValue, std::string>> frames;
    for (int i = 1; i <= count; ++i)
      frames.emplace_back(i * 1000, i * 1000 + 500, "t" + std::to_string(i));
    Load(frames);
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

  ScriptedPrompts prompts_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace lumetra
