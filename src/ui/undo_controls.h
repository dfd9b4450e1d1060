// Undo and redo in the main window: Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, except in a
// text box that holds typing of its own (it keeps its own undo); the frame list's context
// menu offers "Undo <name>" and "Redo <name>".
#pragma once

#include <QObject>

class QAction;
class QListView;
class QMenu;
class QWidget;

namespace lumetra {

class WindowCommands;

class UndoControls : public QObject {
  Q_OBJECT

 public:
  // Adds the keys to `window` and the context menu to `list`.
  UndoControls(WindowCommands& commands, QWidget* window, QListView* list);

  QMenu* frameListMenu() const { return menu_; }
  QAction* undoAction() const { return undo_; }
  QAction* redoAction() const { return redo_; }
  // Names the steps in the menu's items and enables them.
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Trigger(bool redo);

  WindowCommands& commands_;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QMenu* menu_ = nullptr;
};

}  // namespace lumetra
