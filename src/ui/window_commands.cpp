#include "ui/window_commands.h"

#include <QItemSelectionModel>
#include <QListView>
#include <algorithm>

#include "session/session.h"

namespace lumetra {

namespace {

// The frame shown in the list's top row; 0 for an empty list.
int TopFrame(const QListView* list) {
  const QModelIndex top = list->indexAt(QPoint(1, 1));
  return top.isValid() ? top.row() + 1 : 0;
}

// While the document changes, the list's own selection signals are not the user's: the
// command puts the selection where it belongs when it ends.
class Applying {
 public:
  explicit Applying(bool& flag) : flag_(flag) { flag_ = true; }
  ~Applying() { flag_ = false; }
  Applying(const Applying&) = delete;
  Applying& operator=(const Applying&) = delete;

 private:
  bool& flag_;
};

}  // namespace

Selection SelectionOf(const QListView* list) {
  Selection s;
  const QItemSelectionModel* model = list->selectionModel();
  for (const QItemSelectionRange& range : model->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) s.frames.push_back(row + 1);
  }
  std::sort(s.frames.begin(), s.frames.end());
  s.frames.erase(std::unique(s.frames.begin(), s.frames.end()), s.frames.end());
  const QModelIndex current = model->currentIndex();
  s.focus = current.isValid() ? current.row() + 1 : 0;
  s.top = TopFrame(list);
  return s;
}

void ApplySelection(QListView* list, const Selection& selection) {
  QAbstractItemModel* model = list->model();
  const int rows = model->rowCount();
  QItemSelection items;
  for (std::size_t i = 0; i < selection.frames.size();) {
    // One range per run of neighbouring frames.
    std::size_t j = i;
    while (j + 1 < selection.frames.size() && selection.frames[j + 1] == selection.frames[j] + 1)
      ++j;
    const int first = selection.frames[i];
    const int last = std::min(selection.frames[j], rows);
    if (first >= 1 && first <= last)
      items.select(model->index(first - 1, 0), model->index(last - 1, 0));
    i = j + 1;
  }
  QItemSelectionModel* selection_model = list->selectionModel();
  selection_model->select(items, QItemSelectionModel::ClearAndSelect);
  if (selection.focus >= 1 && selection.focus <= rows) {
    selection_model->setCurrentIndex(model->index(selection.focus - 1, 0),
                                     QItemSelectionModel::NoUpdate);
  } else {
    selection_model->clearCurrentIndex();
  }
  if (selection.top >= 1 && selection.top <= rows && selection.top != TopFrame(list)) {
    list->scrollTo(model->index(selection.top - 1, 0), QAbstractItemView::PositionAtTop);
  }
}

WindowCommands::WindowCommands(Session& session, QListView* list, QObject* parent)
    : QObject(parent), session_(session), list_(list) {}

void WindowCommands::Run(const std::string& name, const Command& command, bool auto_focus,
                         const std::string& coalesce_key) {
  emit aboutToRun();
  const Selection before = SelectionOf(list_);
  CommandResult result;
  {
    Applying applying(applying_);
    result = session_.runner().Run(
        name, before, [&](Document& doc) { return command(doc, before); }, coalesce_key);
  }
  Finish(result.selection, result.reload_panel, auto_focus, session_.runner().LastRunChanged());
}

void WindowCommands::Select(const SelectionCommand& command) {
  emit aboutToRun();
  const Selection before = SelectionOf(list_);
  Finish(command(session_.document(), before), true, true, false);
}

void WindowCommands::Undo() {
  emit aboutToRun();
  std::optional<Selection> selection;
  {
    Applying applying(applying_);
    selection = session_.runner().Undo();
  }
  if (selection) Finish(*selection, true, false, true);
}

void WindowCommands::Redo() {
  emit aboutToRun();
  std::optional<Selection> selection;
  {
    Applying applying(applying_);
    selection = session_.runner().Redo();
  }
  if (selection) Finish(*selection, true, false, true);
}

int WindowCommands::SelectedCount() const {
  return static_cast<int>(list_->selectionModel()->selectedRows().size());
}

int WindowCommands::FocusedFrame() const {
  const QModelIndex current = list_->selectionModel()->currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void WindowCommands::Finish(const Selection& selection, bool reload_panel, bool auto_focus,
                            bool changed) {
  const int focus_before = FocusedFrame();
  applying_ = true;
  ApplySelection(list_, selection);
  applying_ = false;
  // A command that moves the focus shows where it went.
  if (selection.focus != focus_before && selection.focus >= 1 &&
      selection.focus <= list_->model()->rowCount()) {
    list_->scrollTo(list_->model()->index(selection.focus - 1, 0));
  }
  if (reload_panel) {
    emit panelReloadRequested(auto_focus);
  } else {
    emit countRefreshRequested(changed);
  }
}

}  // namespace lumetra
