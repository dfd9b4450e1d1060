// The main window's caption: the document in front of the program's caption, with Qt's
// "[*]" mark where the window shows that there is unsaved work.
#pragma once

#include <string>

#include "document/document.h"

namespace lumetra {

// "movie.srt[*] - Morvaly's Lumetra  -  v1.33 beta  (2004/10/15)": the file's name (without
// its directory); "Untitled" for frames that have no file yet; the program caption alone
// for an empty document without a file.
std::string WindowCaption(const Document& doc);

// Whether the caption marks unsaved work: the document is modified and has a frame (an
// empty document is never saved on request, so it has nothing unsaved).
bool ShowsUnsavedWork(const Document& doc);

}  // namespace lumetra
