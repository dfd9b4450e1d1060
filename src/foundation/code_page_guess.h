// The code page of a file's texts when its bytes are not UTF-8: a guess from the bytes
// themselves (by the uchardet library), limited to the pages a document can be shown in.
#pragma once

#include <optional>
#include <string_view>

#include "foundation/code_pages.h"

namespace lumetra {

// The page that the detector names for the bytes, when it is one of ours (or one whose
// characters one of ours shows the same: ISO-8859-1 is shown as Windows-1252, ISO-8859-9
// as Windows-1254); nothing when it names none of them or the bytes are plain ASCII.
// Only the lines that hold bytes above 0x7F are looked at (the time lines say nothing of
// the language), at most the first kGuessSampleBytes of them: the detector costs some 900
// instructions a byte, and every non-UTF-8 file of the test corpus gets the same guess
// from its first 2 KB of such lines as from 64 KB.
std::optional<CodePage> DetectCodePage(std::string_view bytes);
inline constexpr std::size_t kGuessSampleBytes = 2 * 1024;

// The page a document read from these bytes is shown in when they are not UTF-8: the
// detected one, Windows-1250 when there is none. An ISO-8859-2 guess is Windows-1250
// when the lines the detector looked at read the same in both pages (the Windows page can
// take typed quotation marks and dashes) or the bytes hold bytes 0x80..0x9F anywhere,
// which are no characters in ISO-8859-2.
CodePage GuessSingleByteCodePage(std::string_view bytes);

}  // namespace lumetra
