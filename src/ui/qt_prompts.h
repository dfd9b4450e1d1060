// Prompts shown as real dialogs: message boxes, the Yes/No/Cancel question, the open and
// save dialogs, the input box and the SUB frame-rate dialog.
#pragma once

#include <QString>
#include <QStringList>

#include "session/prompts.h"

class QWidget;

namespace lumetra {

class SubFrameRateDialog;

// The film dialog's filter.
inline constexpr char kFilmFilter[] =
    "Films  (mkv, mp4, avi, webm, mov, m4v, mpg, ts)|*.mkv;*.mp4;*.avi;*.webm;*.mov;*.m4v;*.mpg;"
    "*.ts;*.MKV;*.MP4;*.AVI;*.WEBM;*.MOV;*.M4V;*.MPG;*.TS|All file  (*.*)|*.*";
// The open dialog's filter as the program states it: description and pattern pairs
// separated by "|". The save dialog's is SaveDialogFilter(), one name filter per file type.
inline constexpr char kOpenFilter[] =
    "Subtitles  (txt, sub, srt, smi, vtt, ass, ssa)|*.txt;*.sub;*.srt;*.smi;*.vtt;*.ass;*.ssa|"
    "All file  (*.*)|*.*";

// A "description|patterns|..." filter as Qt name filters: "description (p1 p2)". The
// pattern "*.*", which means every file, becomes "*".
QStringList QtNameFilters(const QString& filter);
// The index of a chosen name filter, given in full or by its description only (as a file
// dialog that hides the patterns gives it, with its runs of blanks made single); -1 for
// none.
int IndexOfNameFilter(const QStringList& name_filters, const QString& chosen);
// The extension a name filter saves with ("srt" of "... (*.srt)"); empty for none.
QString SuffixOfNameFilter(const QString& name_filter);
// "\r" in a program text is a line break.
QString DisplayText(const std::string& text);

class QtPrompts : public Prompts {
 public:
  // Dialogs open over parent; both may be set later, when the windows exist.
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void SetSubFrameRateDialog(SubFrameRateDialog* dialog) { sub_dialog_ = dialog; }

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

 private:
  QWidget* parent_ = nullptr;
  SubFrameRateDialog* sub_dialog_ = nullptr;
};

}  // namespace lumetra
