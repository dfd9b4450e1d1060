// The one way a user command changes the document: the runner runs it under a name,
// records what it changed as one undo step, and tells the user what the command has to
// say. Undo and redo go back and forth over the recorded steps.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "document/document.h"
#include "editing/selection.h"
#include "session/prompts.h"
#include "session/undo_history.h"

namespace lumetra {

class ChangeRecorder;

class CommandRunner {
 public:
  // A command changes the document only through its primitive edits and sets Modified
  // itself, as its own rules say.
  using Command = std::function<CommandResult(Document&)>;

  // The document and the prompts are not owned and must outlive the runner.
  CommandRunner(Document& doc, Prompts& prompts);
  ~CommandRunner();
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  // Runs `command` named `name` ("Remove", "Merge 2 Frame", "Later") on the selection
  // `before`. What it changed (frames, header) becomes one undo step with the selection
  // before and after; a command that changes nothing records no step. A command with the
  // same non-empty `coalesce_key` as the step recorded just before (nothing undone, redone
  // or saved in between) is folded into that step. The command's message is shown after.
  // A command that changes nothing leaves Modified as it was, whatever the command set.
  CommandResult Run(const std::string& name, const Selection& before, const Command& command,
                    const std::string& coalesce_key = {});

  // Whether the last Run changed the document (and so recorded or extended a step).
  bool LastRunChanged() const { return last_run_changed_; }

  bool CanUndo() const { return history_.NextUndo() != nullptr; }
  bool CanRedo() const { return history_.NextRedo() != nullptr; }
  // The name of the step that Undo (Redo) would undo (redo); empty when there is none.
  std::string UndoName() const;
  std::string RedoName() const;
  // Takes back the last step: frames and header as they were before it; Modified is clear
  // exactly when that is the saved state. Returns the selection as it was before the step,
  // or nothing when there was nothing to undo.
  std::optional<Selection> Undo();
  // Does the undone step again; returns the selection as it was after it.
  std::optional<Selection> Redo();

  // A new document (New, Open, an entry of the file history): no steps, and the document
  // as it is counts as saved.
  void ClearHistory() { history_.Clear(); }
  // The document as it is was saved.
  void MarkSaved() { history_.MarkSaved(); }

  UndoHistory& history() { return history_; }
  const UndoHistory& history() const { return history_; }

 private:
  Document& doc_;
  Prompts& prompts_;
  UndoHistory history_;
  std::unique_ptr<ChangeRecorder> recorder_;
  bool running_ = false;
  bool last_run_changed_ = false;
};

}  // namespace lumetra
