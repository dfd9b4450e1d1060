// Re-encoding a document's texts into UTF-8, for programs that read nothing else.
#pragma once

#include "document/document.h"

namespace lumetra {

// Every frame text, its extras, the format's header and every information field, taken in
// the document's code page, becomes UTF-8, and so does the code page. A document read from
// UTF-16 is written as UTF-8 with the UTF-8 mark from then on. Texts already in UTF-8 keep
// their bytes. The observers see one reset.
void ConvertTextsToUtf8(Document& doc);

}  // namespace lumetra
