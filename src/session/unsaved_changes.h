// The prompt that guards unsaved work before New, Open, opening from the history and
// exit: one protocol on the document's Modified flag.
#pragma once

#include <functional>
#include <string>

#include "session/prompts.h"

namespace lumetra {

class Document;

inline constexpr char kAskSaveBeforeOpen[] =
    "The subtitle has been modified.\rDo you want to save it?";
inline constexpr char kAskSaveBeforeNew[] =
    "There are unsaved subtitle informations.\rDo you want to save it?";
inline constexpr char kAskSaveBeforeExit[] =
    "There are unsaved subtitle informations.\rDo you want to save it before exit?";

// Writes the document to the path chosen in the save dialog; a save that succeeds clears
// Modified.
using SaveToPath = std::function<void(const SaveChoice& choice)>;

// An empty document is never saved on request. Otherwise, when Modified is set, asks the
// question: Yes shows the save dialog and saves to the chosen path (a cancelled dialog
// leaves Modified 1), No clears Modified, Cancel sets it to 2. Returns whether the command
// may go on, which is exactly when Modified is 0 afterwards.
bool ResolveUnsavedChanges(Document& doc, Prompts& prompts, FileDialogState& save_dialog,
                           const std::string& question, const SaveToPath& save);

}  // namespace lumetra
