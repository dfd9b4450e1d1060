#include "ui/file_shortcuts.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace lumetra {

void AddFileShortcuts(QWidget* window, const FileCommands& commands) {
  const std::pair<QKeySequence, const std::function<void()>*> keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_O), &commands.open},
      {QKeySequence(Qt::CTRL | Qt::Key_S), &commands.save},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &commands.save_as},
      {QKeySequence(Qt::CTRL | Qt::Key_N), &commands.create},
  };
  for (const auto& [key, command] : keys) {
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, *command);
  }
}

void AddFindShortcuts(QWidget* window, const FindCommands& commands) {
  const std::pair<QKeySequence, const std::function<void()>*> keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_F), &commands.focus_search},
      {QKeySequence(Qt::CTRL | Qt::Key_H), &commands.find_replace},
  };
  for (const auto& [key, command] : keys) {
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, *command);
  }
}

}  // namespace lumetra
