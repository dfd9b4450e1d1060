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
    std::optional<SaveChoice> choice = prompts.AskSavePath(save_dialog);
    if (choice) {
      choice->path = FullPathOf(choice->path);
      save_dialog.file_name = choice->path;
      doc.FileDir = DirOfPath(choice->path);
      doc.FileName = NameOfPath(choice->path);
      doc.FileBoxText = doc.FileName;
      doc.NotifyHeaderChanged();
      save(*choice);
    } else {
      doc.Modified = kUnsaved;
    }
  }
  return doc.Modified == kClean;
}

}  // namespace lumetra
