// Code pages: how the bytes of a document's texts become characters. The document keeps
// bytes; the screen, the command-line tool's decoded output and a conversion to UTF-8 go
// through these tables, so they all agree.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

// The code pages a document's bytes can be shown and typed in.
enum class CodePage {
  kWindows1250,  // Central European, the default
  kUtf8,
  kWindows1251,  // Cyrillic
  kWindows1252,  // Western European
  kWindows1253,  // Greek
  kWindows1254,  // Turkish
  kWindows1257,  // Baltic
  kIso8859_2,    // Central European (ISO)
};

// Every code page, in the order a user is offered them.
const std::vector<CodePage>& AllCodePages();
// The page's name as the user sees and types it: "UTF-8", "Windows-1250", "ISO-8859-2".
std::string_view CodePageName(CodePage page);
// A name in any letter case: the names above, and "utf8", "cp1250", "1250", "latin2"
// and the like. Nothing for an unknown name.
std::optional<CodePage> CodePageOfName(std::string_view name);

// The UTF-8 form of a code point (no checks: surrogates are encoded too), written at p,
// where four bytes must be free; returns the end of what was written.
char* PutUtf8(char* p, char32_t code_point);
void AppendUtf8(std::string& out, char32_t code_point);
// The code point of the UTF-8 sequence at the start of s and its length; 0 when s does not
// begin with a valid one (overlong forms and values past U+10FFFF never are; surrogates
// are when `surrogates` is true, the way a UTF-16 file's lone surrogates are held).
int NextUtf8(std::string_view s, char32_t& code_point, bool surrogates = false);

// The character that a byte of a single-byte page stands for; U+FFFD for a byte the page
// leaves undefined above 0x9F (undefined bytes 0x80..0x9F stand for the control character
// of the same number, so they survive a decode and encode).
char32_t CharOfByte(unsigned char byte, CodePage page);

// Appends the bytes of a character in the page and returns true; false (appending
// nothing) when the page cannot hold it.
bool AppendInCodePage(std::string& out, char32_t code_point, CodePage page);

// Text in the page as UTF-8. In UTF-8 itself, every byte that does not belong to a valid
// sequence becomes U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, CodePage page);
// UTF-8 text in the page; characters the page cannot hold (and invalid UTF-8) become
// `fallback`.
std::string EncodeFromUtf8(std::string_view utf8, CodePage page, char fallback = '?');

}  // namespace lumetra
