// Characters of the texts as the search, the spell check and the quality checks see them:
// a frame's bytes decoded in the document's code page with the place of every character
// kept, and the letter, case and word rules of the alphabets the code pages hold (Latin,
// Greek, Cyrillic).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/code_pages.h"

namespace lumetra {

// A text's characters with the byte offset where each begins; offsets has one entry more
// than chars, the end of the text.
struct DecodedText {
  std::u32string chars;
  std::vector<std::uint32_t> offsets;
};
// Decodes the bytes in the page; in UTF-8 a byte that begins no valid sequence is one
// U+FFFD of its own, so every byte belongs to exactly one character.
DecodedText DecodeWithOffsets(std::string_view bytes, CodePage page);
void DecodeWithOffsets(std::string_view bytes, CodePage page, DecodedText& out);

std::u32string Utf8ToChars(std::string_view utf8);
std::string CharsToUtf8(std::u32string_view chars);

bool IsLetter(char32_t c);
bool IsDigit(char32_t c);
// Letters, digits and "_".
bool IsWordChar(char32_t c);
bool IsUpperLetter(char32_t c);
bool IsLowerLetter(char32_t c);
// The lower-case form of a letter; any other character as it is.
char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);

}  // namespace lumetra
