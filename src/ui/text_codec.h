// The document keeps bytes; the screen shows characters. These convert between the two
// in the document's code page.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace lumetra {

QString DecodeText(std::string_view bytes, CodePage page);
// Characters the code page cannot hold become "?".
std::string EncodeText(const QString& text, CodePage page);
// Whether the code page holds every character of the text.
bool HoldsText(const QString& text, CodePage page);
// Called inside the command that stores typed text, before it is encoded: when the
// document's code page cannot hold some of its characters, the texts move to UTF-8
// (MoveTextsToUtf8), so that nothing typed becomes "?"; a save then writes the file's page
// again or asks before it writes UTF-8.
void MakeRoomForTyping(Document& doc, const QString& typed);

// The lines of a text box, one per frame-text line, and back. Going back, a line that
// still shows what old_lines held there keeps those bytes, whatever the code page can
// show; the others are encoded.
QString DecodeLines(const std::vector<std::string>& lines, CodePage page);
std::vector<std::string> EncodeLines(const QString& text, const std::vector<std::string>& old_lines,
                                     CodePage page);

}  // namespace lumetra
