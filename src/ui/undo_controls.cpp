#include "ui/undo_controls.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "session/session.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

QString StepCaption(const char* verb, const std::string& name) {
  // An ampersand in a caption marks the accelerator; a name shows its own as they are.
  QString caption = QString::fromLatin1(verb);
  if (!name.empty()) caption += ' ' + QString::fromStdString(name).replace('&', "&&");
  return caption;
}

}  // namespace

UndoControls::UndoControls(WindowCommands& commands, QWidget* window, QListView* list)
    : QObject(window), commands_(commands) {
  // The keys work whether or not there is something to undo; the menu items say.
  auto* undo_key = new QAction(window);
  undo_key->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  auto* redo_key = new QAction(window);
  redo_key->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  for (QAction* key : {undo_key, redo_key}) {
    key->setShortcutContext(Qt::WindowShortcut);
    window->addAction(key);
  }
  connect(undo_key, &QAction::triggered, this, [this] { Trigger(false); });
  connect(redo_key, &QAction::triggered, this, [this] { Trigger(true); });

  undo_ = new QAction("Undo", window);
  undo_->setObjectName("UndoItem");
  redo_ = new QAction("Redo", window);
  redo_->setObjectName("RedoItem");
  connect(undo_, &QAction::triggered, &commands, &WindowCommands::Undo);
  connect(redo_, &QAction::triggered, &commands, &WindowCommands::Redo);

  menu_ = new QMenu(window);
  menu_->setObjectName("FrameListMenu");
  menu_->addAction(undo_);
  menu_->addAction(redo_);
  connect(menu_, &QMenu::aboutToShow, this, &UndoControls::Refresh);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  // The right button opens the menu and leaves the selection alone.
  list->viewport()->installEventFilter(this);
  connect(list, &QWidget::customContextMenuRequested, this,
          [this, list](const QPoint& pos) { menu_->popup(list->viewport()->mapToGlobal(pos)); });
}

bool UndoControls::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::MouseButtonPress ||
                     event->type() == QEvent::MouseButtonRelease ||
                     event->type() == QEvent::MouseButtonDblClick;
  if (press && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) return true;
  return QObject::eventFilter(watched, event);
}

void UndoControls::Refresh() {
  const CommandRunner& runner = commands_.session().runner();
  undo_->setText(StepCaption("Undo", runner.UndoName()));
  redo_->setText(StepCaption("Redo", runner.RedoName()));
  undo_->setEnabled(runner.CanUndo());
  redo_->setEnabled(runner.CanRedo());
}

void UndoControls::Trigger(bool redo) {
  // A text box that takes typing undoes its own typing.
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus); line != nullptr && !line->isReadOnly()) {
    redo ? line->redo() : line->undo();
    return;
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(focus); text != nullptr && !text->isReadOnly()) {
    redo ? text->redo() : text->undo();
    return;
  }
  redo ? commands_.Redo() : commands_.Undo();
}

}  // namespace lumetra
