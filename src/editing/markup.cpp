#include "editing/markup.h"

#include <algorithm>

#include "foundation/characters.h"

namespace lumetra {

namespace {

// Markup never runs across a line break or on for ever.
constexpr std::size_t kLongestMarkup = 256;

std::size_t ClosedAt(std::u32string_view chars, std::size_t at, char32_t close, char32_t open) {
  const std::size_t end = std::min(chars.size(), at + kLongestMarkup);
  for (std::size_t i = at + 1; i < end; ++i) {
    if (chars[i] == close) return i + 1 - at;
    if (chars[i] == open || chars[i] == U'|') return 0;
  }
  return 0;
}

}  // namespace

std::size_t MarkupLength(std::u32string_view chars, std::size_t at) {
  if (at + 1 >= chars.size()) return 0;
  const char32_t c = chars[at];
  if (c == U'<') {
    std::size_t name = at + 1;
    if (name < chars.size() && chars[name] == U'/') ++name;
    if (name >= chars.size() || !IsLetter(chars[name]) || chars[name] > 0x7F) return 0;
    return ClosedAt(chars, at, U'>', U'<');
  }
  if (c == U'{' && at + 2 < chars.size()) {
    const char32_t first = chars[at + 1];
    const bool override_block = first == U'\\';
    const bool control_code = first < 0x80 && IsLetter(first) && chars[at + 2] == U':';
    if (override_block || control_code) return ClosedAt(chars, at, U'}', U'{');
  }
  return 0;
}

}  // namespace lumetra
