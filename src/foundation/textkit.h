// The text utility kit: small routines on 8-bit byte texts that the whole program is
// written with. Every routine takes and returns std::string holding bytes in the
// document's single-byte code page; nothing here decodes characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

// A frame's text joins its lines with "|". A "|" that is part of a line is held as this
// byte instead: readers of formats whose lines may hold a "|" (SubRip, SAMI, WebVTT, ASS)
// store it so, their writers write it back as "|", and the editor shows and types it as
// "|". SRT2 and SUB, whose line separator "|" is, write it as "|" too, where it reads back
// as a line break.
inline constexpr char kLiteralBar = '\x1F';
// The line with every kLiteralBar shown as "|", and the reverse, as the editor does.
std::string ShowLiteralBars(std::string_view line);
std::string StoreLiteralBars(std::string_view line);

// Words of the last split, 1-based like the rest of the program. A split writes entries
// 1..count and leaves the entries above the new count as earlier splits left them;
// callers that rely on such stale entries keep their own WordArray and split into it
// again. The array grows as needed, so no split ever writes past its end.
class WordArray {
 public:
  // Entry i (1-based); the empty text for an entry no split has written yet.
  const std::string& operator[](int i) const;
  // Makes entry i empty (and exist).
  void Clear(int i);
  int count() const { return count_; }

 private:
  friend void SplitInto(WordArray& words, std::string_view s, std::string_view separators,
                        std::size_t max_word_length);
  std::vector<std::string> words_;  // words_[0] is entry 1
  int count_ = 0;
};

// Splits s at every c1 or c2 into `words`. The count is the number of separators plus
// one; separators at either end and consecutive separators give empty words.
void SplitWords(WordArray& words, std::string_view s, char c1, char c2);
// The same with five separator characters.
void SplitWords5(WordArray& words, std::string_view s, char c1, char c2, char c3, char c4, char c5);
// The same, each word cut to its first 48 characters.
void SplitShortWords(WordArray& words, std::string_view s, char c1, char c2);
constexpr std::size_t ShortWordLength = 48;

std::string CharString(char c, int n);
std::string LeftStr(std::string_view s, int n);
std::string RightStr(std::string_view s, int n);
std::string DropLeft(std::string_view s, int n);
bool StartsWith(std::string_view s, std::string_view prefix);
// The position of the first `a` or `b` in `s` from `from` on, or npos: one pass, sixteen
// bytes at a time where the processor can (find_first_of looks every character up in the
// set with a call of its own).
std::size_t FindEither(std::string_view s, char a, char b, std::size_t from = 0);
std::string PadRight(std::string_view s, char c, int n);
std::string PadLeft(std::string_view s, char c, int n);
std::string TrimLeftChar(std::string_view s, char c);
std::string TrimRightChar(std::string_view s, char c);
std::string TrimChar(std::string_view s, char c);
std::string ReplaceChar(std::string_view s, char from, char to);

// Splits at the first "="; both halves trimmed of blanks. Without "=" the whole trimmed
// line is the key and the value is empty.
void SplitKeyValue(std::string_view line, std::string& key, std::string& value);

std::string IntToText(std::int64_t v);

// Converts a decimal integer (optional sign) or a hexadecimal one introduced by "$", "x",
// "X", "0x" or "0X", after leading blanks. Returns 0 and sets *conv_error when the text is
// not such an integer or does not fit in 32 bits.
std::int32_t TextToInt(std::string_view s, bool* conv_error = nullptr);

// Decimal number with optional sign, fraction and exponent, computed in extended
// precision. Never fails: for a text that is not a number it returns the digits read
// before the offending character, fraction digits unscaled, sign and exponent ignored.
double TextToFloat(std::string_view s);
// The number TextToFloat reads when it reads all of s as a number, and a double holds it
// without turning it into 0 or infinity; nothing for any other text ("2.5s", "1,5", "inf",
// "1e999", "").
std::optional<double> TextToFloatExactly(std::string_view s);

// Fixed-point text with at most six decimals, trailing zeros and point dropped.
std::string FloatToText(double x);

// Brings x into lo..hi; a negative x whose absolute value is below hi loses its sign.
std::int32_t ClampInt(std::int64_t x, std::int32_t lo, std::int32_t hi);
std::int32_t TextToIntRange(std::string_view s, std::int32_t lo, std::int32_t hi);
std::string TextToIntRangeText(std::string_view s, std::int32_t lo, std::int32_t hi);

// Byte-wise case mappings that know the accented letters of the Hungarian code page.
std::string UpperCaseHU(std::string_view s);
std::string LowerCaseHU(std::string_view s);
// The same into a buffer the caller reuses.
void LowerCaseHU(std::string_view s, std::string& out);

// ASCII letters in any case, for tags and names whatever the code page. StartsWithAnyCase
// wants its prefix in lower case.
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool StartsWithAnyCase(std::string_view s, std::string_view lower_prefix);
bool EqualsAnyCase(std::string_view a, std::string_view b);

// The directory separator of this platform.
char PathSeparator();
// dir without trailing separators, followed by exactly one separator.
std::string WithBackslash(std::string_view dir);
// Directory of a file path, ending with the separator ("/films/old/a.srt" gives
// "/films/old/"); empty when the path has no directory part.
std::string DirOfPath(std::string_view path);
// The full path of a file as the system finds it: relative paths start at the working
// directory, and the directory part is resolved by the file system (links followed, so
// "link/../x" names the file beside where the link leads, not "x"); the name part stays as
// given. When the directory does not exist, the absolute path unchanged; the path itself
// when it cannot be made absolute.
std::string FullPathOf(std::string_view path);
// The name part of a path ("/films/old/a.srt" gives "a.srt").
std::string NameOfPath(std::string_view path);
// The name without its extension ("a.srt" gives "a"; "a" gives "a").
std::string WithoutExtension(std::string_view name);

std::string BoolToText(bool b);
bool TextToBool(std::string_view s);

}  // namespace lumetra
