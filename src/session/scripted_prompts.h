// Prompts that answer from queues and record what was said: for tests and for the
// command-line tool, where nobody sits at a dialog.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "session/prompts.h"

namespace lumetra {

class ScriptedPrompts : public Prompts {
 public:
  // What the user is told and asked, in order.
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<FileDialogState> open_dialogs_shown;
  std::vector<FileDialogState> save_dialogs_shown;
  std::vector<FileDialogState> film_dialogs_shown;
  int sub_rate_dialogs_shown = 0;

  // Answers, taken from the front. An empty queue answers Cancel (questions) or cancels
  // the dialog.
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> open_paths;
  std::deque<std::optional<std::string>> save_paths;
  std::deque<std::optional<std::string>> film_paths;
  // The file type chosen with each saved path; with none queued the preselected one stays.
  std::deque<int> save_types;
  std::deque<std::optional<std::string>> texts;
  // Answers to Confirm (true: its action); with none queued, Cancel.
  std::deque<bool> confirmations;
  // The recovery dialog's answers; with none queued, Later.
  std::deque<RecoveryAnswer> recovery_answers;
  // What the user does in the SUB frame-rate dialog; with none queued, OK is pressed on the
  // current choice (and Cancel when OK is refused).
  std::deque<std::function<void(SubFrameRateModel&)>> sub_rate_actions;
  // When set, what the user does in the SUB frame-rate dialog whenever no action is queued.
  std::function<void(SubFrameRateModel&)> sub_rate_default;

  // Also called for every message, when set (the command-line tool prints them).
  std::function<void(const std::string&)> on_message;

  void ShowMessage(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& question) override;
  std::optional<std::string> AskOpenPath(const FileDialogState& state) override;
  std::optional<SaveChoice> AskSavePath(const FileDialogState& state) override;
  std::optional<std::string> AskFilmPath(const FileDialogState& state) override;
  std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                     const std::string& proposed) override;
  void RunSubFrameRateDialog(SubFrameRateModel& model) override;
  bool Confirm(const std::string& question, const std::string& action) override;
  RecoveryAnswer AskRecoverAutosave(const std::string& description) override;
};

}  // namespace lumetra
