#include "ui/frame_keys.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QListView>
#include <QShortcut>
#include <QWidget>

#include "session/prompts.h"

namespace lumetra {

namespace {

// Presses a button of the window as a click would, when the user could click it.
bool Press(QWidget* window, const char* name) {
  auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
  if (button == nullptr || !button->isEnabled() || !button->isVisible()) return false;
  button->click();
  return true;
}

void AddKey(QWidget* owner, QKeySequence key, Qt::ShortcutContext context,
            const std::function<void()>& action) {
  auto* shortcut = new QShortcut(key, owner);
  shortcut->setContext(context);
  QObject::connect(shortcut, &QShortcut::activated, owner, action);
}

}  // namespace

std::string HintWithKey(std::string_view hint, std::string_view key) {
  const std::size_t line_end = std::min(hint.find('\r'), hint.size());
  return std::string(hint.substr(0, line_end)) + "  (" + std::string(key) + ")" +
         std::string(hint.substr(line_end));
}

void AddFrameKeys(QWidget* window, QListView* list, Prompts& prompts) {
  AddKey(list, QKeySequence(Qt::Key_Insert), Qt::WidgetShortcut,
         [window] { Press(window, "Button5"); });
  AddKey(list, QKeySequence(Qt::Key_Delete), Qt::WidgetShortcut, [window, &prompts] {
    auto* remove = window->findChild<QAbstractButton*>("Button6");
    if (remove == nullptr || !remove->isEnabled() || !remove->isVisible()) return;
    if (prompts.AskYesNoCancel(kRemoveQuestion) == Answer::kYes) remove->click();
  });
  const std::pair<QKeySequence, const char*> window_keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_A), "Button1"},
      {QKeySequence(Qt::CTRL | Qt::Key_M), "Button7"},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), "SpeedButton5"},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), "SpeedButton6"},
  };
  for (const auto& [key, button] : window_keys) {
    AddKey(window, key, Qt::WindowShortcut, [window, name = button] { Press(window, name); });
  }
}

}  // namespace lumetra
