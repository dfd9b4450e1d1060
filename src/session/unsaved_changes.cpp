#include "session/unsaved_changes.h"

#include "document/document.h"
#include "foundation/textkit.h"

namespace lumetra {

bool ResolveUnsavedChanges(Document& doc, Prompts& prompts, FileDialogState& save_dialog,
                           const std::string& question, const SaveToPath& save) {
  if (doc.Modified != kClean && doc.FrameCount < 1) doc.Modified = kClean;
  if (doc.Modified != kClean) {
    switch (prompts.AskYesNoCancel(question)) {
      case Answer::kYes:
        doc.Modified = kUnsaved;
        break;
      case Answer::kNo:
        doc.Modified = kClean;
        break;
      case Answer::kCancel:
        doc.Modified = kPromptCancelled;
        break;
    }
  }
  if (doc.Modified == kUnsaved) {
    const std::optional<std::string> path = prompts.AskSavePath(save_dialog);
    if (path) {
      const std::string full_path = FullPathOf(*path);
      save_dialog.file_name = full_path;
      doc.FileDir = DirOfPath(full_path);
      doc.FileName = NameOfPath(full_path);
      doc.FileBoxText = doc.FileName;
      doc.NotifyHeaderChanged();
      save(full_path);
    } else {
      doc.Modified = kUnsaved;
    }
  }
  return doc.Modified == kClean;
}

}  // namespace lumetra
