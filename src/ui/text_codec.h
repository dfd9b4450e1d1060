// The document keeps bytes; the screen shows characters. These convert between the two
// in the document's code page.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "document/document.h"

namespace lumetra {

QString DecodeText(std::string_view bytes, CodePage page);
// Characters the code page cannot hold become "?".
std::string EncodeText(const QString& text, CodePage page);

}  // namespace lumetra
