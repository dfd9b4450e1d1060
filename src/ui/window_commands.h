// The window's side of the command runner: it takes the frame list's selection as a
// snapshot, runs a command through the session's runner (or a selection command, which
// changes no frame), puts the selection, the focused row and the top row where the
// command says, and tells the window what to refresh. The command groups, the editor, the
// time boxes and the undo keys all go through it.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "document/document.h"
#include "editing/selection.h"

class QListView;

namespace lumetra {

class Session;

// The selection of a frame list as a snapshot, and back.
Selection SelectionOf(const QListView* list);
void ApplySelection(QListView* list, const Selection& selection);

class WindowCommands : public QObject {
  Q_OBJECT

 public:
  using Command = std::function<CommandResult(Document&, const Selection&)>;
  using SelectionCommand = std::function<Selection(const Document&, const Selection&)>;

  WindowCommands(Session& session, QListView* list, QObject* parent = nullptr);

  Session& session() { return session_; }
  QListView* list() const { return list_; }
  Selection CurrentSelection() const { return SelectionOf(list_); }

  // Runs a command that may change the document, as one undo step named `name`.
  // `auto_focus` false keeps the keyboard focus where it is when the panel is reloaded.
  void Run(const std::string& name, const Command& command, bool auto_focus = true,
           const std::string& coalesce_key = {});
  // Runs a command that changes only the selection; the panel is reloaded.
  void Select(const SelectionCommand& command);
  void Undo();
  void Redo();
  // Before a command that works out what it will do ahead of running: text typed into the
  // editor reaches its frame first.
  void PrepareToRun() { emit aboutToRun(); }

  // The number of selected frames and the focused frame (0 for none), cheaply.
  int SelectedCount() const;
  int FocusedFrame() const;

  // True while a command puts the selection back: the list's own selection signals are
  // then not the user's.
  bool applying() const { return applying_; }

 signals:
  // Before a command: text typed into the editor reaches its frame first.
  void aboutToRun();
  // After a command: reload the editor panel from the focused frame (with or without
  // moving the focus into the editor), or only refresh the counter and the time boxes.
  void panelReloadRequested(bool auto_focus);
  void countRefreshRequested(bool frames_changed);

 private:
  void Finish(const Selection& selection, bool reload_panel, bool auto_focus, bool changed);

  Session& session_;
  QListView* list_;
  bool applying_ = false;
};

}  // namespace lumetra
