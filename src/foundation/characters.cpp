#include "foundation/characters.h"

namespace lumetra {

namespace {

// A block where upper- and lower-case letters alternate: the upper one at the even code
// point (or at the odd one when upper_odd).
struct PairedBlock {
  char32_t first;
  char32_t last;
  bool upper_odd;
};
constexpr PairedBlock kPairedBlocks[] = {
    {0x0100, 0x012F, false}, {0x0132, 0x0137, false}, {0x0139, 0x0148, true},
    {0x014A, 0x0177, false}, {0x0179, 0x017E, true},  {0x0200, 0x0233, false},
    {0x0460, 0x0481, false}, {0x048A, 0x04BF, false}, {0x1E00, 0x1E95, false},
    {0x1EA0, 0x1EFF, false},
};

const PairedBlock* PairedBlockOf(char32_t c) {
  for (const PairedBlock& b : kPairedBlocks) {
    if (c >= b.first && c <= b.last) return &b;
  }
  return nullptr;
}

bool PairedUpper(const PairedBlock& b, char32_t c) { return ((c & 1) != 0) == b.upper_odd; }

// Upper-case letters that map to the lower-case letter `offset` above them.
struct ShiftedRange {
  char32_t first;
  char32_t last;
  char32_t offset;
};
constexpr ShiftedRange kShifted[] = {
    {U'A', U'Z', 32},     {0x00C0, 0x00D6, 32}, {0x00D8, 0x00DE, 32}, {0x0391, 0x03A1, 32},
    {0x03A3, 0x03AB, 32}, {0x0388, 0x038A, 37}, {0x0410, 0x042F, 32}, {0x0400, 0x040F, 80},
};

// Single pairs outside the rules above.
struct SinglePair {
  char32_t upper;
  char32_t lower;
};
constexpr SinglePair kSinglePairs[] = {
    {0x0178, 0x00FF}, {0x0386, 0x03AC}, {0x038C, 0x03CC}, {0x038E, 0x03CD},
    {0x038F, 0x03CE}, {0x0130, U'i'},   {U'I', 0x0131},
};

// Lower-case letters without an upper-case form of their own here.
bool IsCaselessLower(char32_t c) {
  return c == 0x00DF || c == 0x00B5 || c == 0x0138 || c == 0x0149 || c == 0x017F || c == 0x0390 ||
         c == 0x03B0 || c == 0x03C2;
}

}  // namespace

void DecodeWithOffsets(std::string_view bytes, CodePage page, DecodedText& out) {
  out.chars.clear();
  out.offsets.clear();
  out.chars.reserve(bytes.size());
  out.offsets.reserve(bytes.size() + 1);
  std::size_t at = 0;
  while (at < bytes.size()) {
    out.offsets.push_back(static_cast<std::uint32_t>(at));
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if (byte < 0x80) {
      out.chars.push_back(byte);
      ++at;
    } else if (page != CodePage::kUtf8) {
      out.chars.push_back(CharOfByte(byte, page));
      ++at;
    } else {
      char32_t c = 0;
      const int length = NextUtf8(bytes.substr(at), c);
      out.chars.push_back(length > 0 ? c : U'\uFFFD');
      at += length > 0 ? static_cast<std::size_t>(length) : 1;
    }
  }
  out.offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
}

DecodedText DecodeWithOffsets(std::string_view bytes, CodePage page) {
  DecodedText out;
  DecodeWithOffsets(bytes, page, out);
  return out;
}

std::u32string Utf8ToChars(std::string_view utf8) {
  return DecodeWithOffsets(utf8, CodePage::kUtf8).chars;
}

std::string CharsToUtf8(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t c : chars) AppendUtf8(out, c);
  return out;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsLetter(char32_t c) {
  if (c < 0x80) return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
  if (c < 0x0100)
    return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
  if (c < 0x0250) return true;  // Latin Extended-A and -B
  if (c >= 0x0370 && c <= 0x03FF) {
    return c != 0x0375 && c != 0x037E && c != 0x0384 && c != 0x0385 && c != 0x0387;
  }
  if (c >= 0x0400 && c <= 0x052F) return c < 0x0482 || c > 0x0489;
  return (c >= 0x0531 && c <= 0x0587) ||  // Armenian
         (c >= 0x05D0 && c <= 0x05EA) ||  // Hebrew
         (c >= 0x0620 && c <= 0x064A) ||  // Arabic
         (c >= 0x1E00 && c <= 0x1FFF) ||  // Latin Extended Additional, Greek Extended
         (c >= 0x3040 && c <= 0x30FF) ||  // Hiragana, Katakana
         (c >= 0x4E00 && c <= 0x9FFF) ||  // CJK ideographs
         (c >= 0xAC00 && c <= 0xD7A3);    // Hangul
}

bool IsWordChar(char32_t c) { return IsLetter(c) || IsDigit(c) || c == U'_'; }

bool IsUpperLetter(char32_t c) { return LowerChar(c) != c; }

bool IsLowerLetter(char32_t c) { return UpperChar(c) != c || IsCaselessLower(c); }

char32_t LowerChar(char32_t c) {
  if (c < 0x80) return c >= U'A' && c <= U'Z' ? c + 32 : c;
  for (const ShiftedRange& r : kShifted) {
    if (c >= r.first && c <= r.last) return c + r.offset;
  }
  if (const PairedBlock* b = PairedBlockOf(c)) {
    if (PairedUpper(*b, c) && c + 1 <= b->last) return c + 1;
    return c;
  }
  for (const SinglePair& p : kSinglePairs) {
    if (c == p.upper && p.upper != U'I') return p.lower;
  }
  return c;
}

char32_t UpperChar(char32_t c) {
  if (c < 0x80) return c >= U'a' && c <= U'z' ? c - 32 : c;
  if (c == 0x03C2) return 0x03A3;  // final sigma
  for (const ShiftedRange& r : kShifted) {
    if (c >= r.first + r.offset && c <= r.last + r.offset) return c - r.offset;
  }
  if (const PairedBlock* b = PairedBlockOf(c)) {
    if (!PairedUpper(*b, c) && c >= b->first + 1) return c - 1;
    return c;
  }
  for (const SinglePair& p : kSinglePairs) {
    if (c == p.lower && p.lower != U'i') return p.upper;
  }
  return c;
}

}  // namespace lumetra
