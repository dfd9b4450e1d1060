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

// The lines of a text box, one per frame-text line, and back. Going back, a line that
// still shows what old_lines held there keeps those bytes, whatever the code page can
// show; the others are encoded.
QString DecodeLines(const std::vector<std::string>& lines, CodePage page);
std::vector<std::string> EncodeLines(const QString& text, const std::vector<std::string>& old_lines,
                                     CodePage page);

}  // namespace lumetra
