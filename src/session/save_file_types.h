// The file types of the save dialog: the format each one writes and the extension it gives
// a name typed without one. The type a save uses decides its format where the name's
// extension is the type's own; otherwise the extension decides, as it always did.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace lumetra {

struct SaveFileType {
  std::string_view description;  // as the dialog lists it
  std::string_view ext;
  int kind;  // FileKinds
};

// In the order the dialog lists them; the first is the one for a document of no format.
std::span<const SaveFileType> SaveFileTypes();

// The dialog's filter: a "description|*.ext" pair per type, joined by "|".
std::string SaveDialogFilter();

// The type the dialog preselects for a document: the one of its own format (kind), and for
// SubRip the one of its name's extension, "srt" or else "txt".
int SaveFileTypeFor(int kind, std::string_view file_name);

// The format (FileKinds) in which a path chosen with a file type is written: the type's
// when the path's extension is the type's, else the one the extension names (unknown
// when it names none).
int KindOfSaveChoice(std::string_view path, int file_type);

}  // namespace lumetra
