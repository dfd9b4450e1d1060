// The document as the player draws it on the picture: SubRip text in UTF-8.
#pragma once

#include <string>

#include "document/document.h"

namespace lumetra {

// Every frame that is shown for some time (its end after its start and after 0) as a
// SubRip entry, its texts decoded from the document's code page. A frame that starts
// before 0 starts at 0; an empty line of a frame is kept as a no-break space, which ends
// no entry.
std::string FilmSubtitleText(const Document& doc);

}  // namespace lumetra
