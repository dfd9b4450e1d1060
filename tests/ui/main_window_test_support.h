// A main window over scripted prompts, shown on the offscreen platform, with helpers to
// find its controls and to click its frame list as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "ui/main_window.h"

namespace lumetra {

struct FrameSpec {
  TimeValue start;
  TimeValue end;
  std::string text;
};

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override { Start(std::nullopt); }
  void TearDown() override {
    if (window_) {
      // Nothing may stop the window from closing at the end of a test.
      window_->session().document().Modified = kClean;
      window_->close();
      window_.reset();
    }
  }

  // Starts the editor as `lumetra [FILE]` would, and shows it.
  void Start(std::optional<QString> startup_file) {
    window_.reset();
    window_ = std::make_unique<MainWindow>(prompts_, std::move(startup_file));
    window_->CreateDialogs(prompts_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormActivate();
  }

  Document& document() { return window_->session().document(); }

  template <typename T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QLabel* Label(const char* name) { return Find<QLabel>(name); }
  QListView* List() { return Find<QListView>("ListBox1"); }
  QPlainTextEdit* Memo() { return Find<QPlainTextEdit>("memo1"); }

  // Replaces the document's frames as a read does (one reset), clean.
  void Load(const std::vector<FrameSpec>& frames) {
    Document& doc = document();
    doc.BeginBulkChange();
    doc.FrameCount = 0;
    for (const FrameSpec& f : frames) {
      ++doc.FrameCount;
      doc.FrameStart[static_cast<std::size_t>(doc.FrameCount)] = f.start;
      doc.FrameEnd[static_cast<std::size_t>(doc.FrameCount)] = f.end;
      doc.FrameText[static_cast<std::size_t>(doc.FrameCount)] = f.text;
    }
    doc.Modified = kClean;
    doc.EndBulkChange();
    QApplication::processEvents();
  }

  void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
    QListView* list = List();
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualRect(index).center());
  }

  // Types characters that have no key of their own on a plain keyboard.
  static void TypeCharacters(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
  }

  void FocusEditor() {
    Memo()->setFocus();
    QApplication::processEvents();
  }

  ScriptedPrompts prompts_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace lumetra
