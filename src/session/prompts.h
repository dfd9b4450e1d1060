// Everything that asks or tells the user. The editor shows real dialogs; tests and the
// command-line tool answer from a script.
#pragma once

#include <optional>
#include <string>

namespace lumetra {

class SubFrameRateModel;

enum class Answer { kYes, kNo, kCancel };

// The recovery dialog's answers: open the autosave, delete it, or keep it for later.
enum class RecoveryAnswer { kRecover, kDiscard, kLater };

// What a file dialog starts with: its directory and its file name, and for the save
// dialog the file type preselected (an index of SaveFileTypes()).
struct FileDialogState {
  std::string initial_dir;
  std::string file_name;
  int file_type = 0;
};

// What the user chose in the save dialog: the path and the file type.
struct SaveChoice {
  std::string path;
  int file_type = 0;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message box with OK. "\r" in the text is a line break.
  virtual void ShowMessage(const std::string& text) = 0;
  // A confirmation box with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(const std::string& question) = 0;
  // The open and save dialogs: the chosen full path (and the save dialog's file type), or
  // nothing when cancelled.
  virtual std::optional<std::string> AskOpenPath(const FileDialogState& state) = 0;
  virtual std::optional<SaveChoice> AskSavePath(const FileDialogState& state) = 0;
  // The open dialog of films (the films of the film panel, and every file).
  virtual std::optional<std::string> AskFilmPath(const FileDialogState& state) = 0;
  // An input box with a caption, a prompt and a proposed value; nothing when cancelled.
  virtual std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                             const std::string& proposed) = 0;
  // Shows the SUB frame-rate dialog modally over its model; the model holds the outcome.
  virtual void RunSubFrameRateDialog(SubFrameRateModel& model) = 0;
  // A question with one way forward, the button `action` ("Save in UTF-8"), and Cancel;
  // true for `action`. Prompts that cannot ask cancel.
  virtual bool Confirm(const std::string& question, const std::string& action) {
    (void)question, (void)action;
    return false;
  }
  // The recovery dialog of an autosave left by an editor that did not close normally, with
  // "Recover", "Discard" and "Later". Prompts that cannot show it keep the autosave.
  virtual RecoveryAnswer AskRecoverAutosave(const std::string& description) {
    (void)description;
    return RecoveryAnswer::kLater;
  }
};

}  // namespace lumetra
