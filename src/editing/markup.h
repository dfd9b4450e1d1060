// Markup inside frame texts: what the quality checks do not count and the spell check does
// not read. HTML-like tags ("<i>", "</font>", "<font color=#FF0000>"), override blocks
// ("{\i1}", "{\an8}") and control codes ("{y:i}", "{c:$0000FF}").
#pragma once

#include <cstddef>
#include <string_view>

namespace lumetra {

// The length of the markup that begins at `at`; 0 when none begins there (a "<" or "{"
// that opens no markup is an ordinary character).
std::size_t MarkupLength(std::u32string_view chars, std::size_t at);

}  // namespace lumetra
