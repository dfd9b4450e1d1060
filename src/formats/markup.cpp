#include "formats/markup.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "document/document.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

// The styles every family can express.
enum StyleBits : unsigned char { kItalic = 1, kBold = 2, kUnderline = 4 };
constexpr unsigned char kStyles[] = {kItalic, kBold, kUnderline};

// A text without markup: each byte with the styles it is shown in.
struct StyledText {
  std::string chars;
  std::string styles;  // one byte of StyleBits per byte of chars
  void Append(std::string_view s, unsigned char style) {
    chars.append(s);
    styles.append(s.size(), static_cast<char>(style));
  }
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view NoBreakSpace(CodePage page) {
  return page == CodePage::kUtf8 ? std::string_view("\xC2\xA0") : std::string_view("\xA0");
}

}  // namespace

std::size_t HtmlTagEnd(std::string_view text, std::size_t at, bool time_stamps) {
  if (at + 1 >= text.size()) return std::string_view::npos;
  const char c = text[at + 1];
  const bool time_stamp = time_stamps && IsAsciiDigit(c);
  if (!IsAsciiLetter(c) && c != '/' && !time_stamp) return std::string_view::npos;
  std::size_t end = at + 1;
  while (end < text.size() && text[end] != '>' && text[end] != '<' && text[end] != '|') ++end;
  if (end == text.size() || text[end] != '>') return std::string_view::npos;
  if (time_stamp && text.substr(at + 1, end - at - 1).find_first_not_of("0123456789:.") !=
                        std::string_view::npos) {
    return std::string_view::npos;
  }
  return end;
}

namespace {

// The style of a tag of one letter, "i", "b" or "u" in either case, or 0.
unsigned char StyleOfLetter(char letter) {
  switch (LowerAscii(letter)) {
    case 'i':
      return kItalic;
    case 'b':
      return kBold;
    case 'u':
      return kUnderline;
    default:
      return 0;
  }
}

// The style a tag name ("i", "b", "u", a WebVTT "i.loud") sets, or 0.
unsigned char StyleOfTagName(std::string_view name) {
  // The name ends at a space, "." or tab: it is one letter.
  if (name.empty() || (name.size() > 1 && name[1] != ' ' && name[1] != '.' && name[1] != '\t')) {
    return 0;
  }
  return StyleOfLetter(name[0]);
}

// The end ("}") of an override block "{\...}" at `at` on its line, or npos. SubRip files
// of other programs hold them ("{\an8}" for the top of the picture).
std::size_t OverrideBlockEnd(std::string_view text, std::size_t at) {
  if (at + 1 >= text.size() || text[at] != '{' || text[at + 1] != '\\') {
    return std::string_view::npos;
  }
  const std::size_t end = text.find_first_of("}|{", at + 2);
  return end != std::string_view::npos && text[end] == '}' ? end : std::string_view::npos;
}

// The style that a tag, text[at] "<" up to text[end] ">", leaves of `style`: a closing tag
// ends the style its name sets, any other begins it.
unsigned char StyleAfterTag(std::string_view text, std::size_t at, std::size_t end,
                            unsigned char style) {
  std::string_view name = text.substr(at + 1, end - at - 1);
  const bool closing = name.starts_with('/');
  if (closing) name.remove_prefix(1);
  const unsigned char bit = StyleOfTagName(name);
  return closing ? static_cast<unsigned char>(style & ~bit) : style | bit;
}

// ReadHtmlTag of any tag.
std::size_t ReadAnyHtmlTag(std::string_view text, std::size_t at, unsigned char& style) {
  const std::size_t end = HtmlTagEnd(text, at, false);
  if (end != std::string_view::npos) style = StyleAfterTag(text, at, end, style);
  return end;
}

// At a "<" at `at` of an HTML text (no time stamps): the end (">") of the tag there, with
// `style` made what it leaves of it, or npos and `style` as it was. Most tags are "<i>" or
// "</i>", which are read here as they are (inlined where tags are read).
[[gnu::always_inline]] inline std::size_t ReadHtmlTag(std::string_view text, std::size_t at,
                                                      unsigned char& style) {
  // StyleOfLetter of each ASCII letter; kNoLetter for every other byte.
  constexpr unsigned char kNoLetter = 0x80;
  static constexpr auto kLetterStyles = [] {
    std::array<unsigned char, 256> styles{};
    for (int c = 0; c < 256; ++c) {
      const int lower = c | 0x20;
      styles[static_cast<std::size_t>(c)] =
          (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
              ? (lower == 'i' ? kItalic : lower == 'b' ? kBold : lower == 'u' ? kUnderline : 0)
              : kNoLetter;
    }
    return styles;
  }();
  const bool closing = at + 1 < text.size() && text[at + 1] == '/';
  const std::size_t letter = at + 1 + closing;
  if (letter + 1 < text.size() && text[letter + 1] == '>') {
    const unsigned char bit = kLetterStyles[static_cast<unsigned char>(text[letter])];
    if (bit != kNoLetter) {
      style = closing ? static_cast<unsigned char>(style & ~bit) : style | bit;
      return letter + 1;
    }
  }
  return ReadAnyHtmlTag(text, at, style);
}

// Tags of the HTML family (WebVTT's, with time stamps, when `webvtt`); with
// `drop_override_blocks` the override blocks of a SubRip text are markup too, and dropped.
// The text without markup goes to `out` (StyledText or SubLines) piece by piece.
template <typename Sink>
void ParseHtml(std::string_view text, bool webvtt, bool drop_override_blocks, Sink& out) {
  unsigned char style = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t lt = std::min(
        drop_override_blocks ? FindEither(text, '<', '{', i) : text.find('<', i), text.size());
    out.Append(text.substr(i, lt - i), style);
    if (lt == text.size()) break;
    if (text[lt] == '{') {
      const std::size_t close = OverrideBlockEnd(text, lt);
      if (close == std::string_view::npos) out.Append("{", style);
      i = close == std::string_view::npos ? lt + 1 : close + 1;
      continue;
    }
    const std::size_t end = HtmlTagEnd(text, lt, webvtt);
    if (end == std::string_view::npos) {
      out.Append("<", style);  // a "<" that opens no tag is text
      i = lt + 1;
      continue;
    }
    style = StyleAfterTag(text, lt, end, style);
    i = end + 1;  // every other tag is dropped
  }
}

// The digits of an override tag after its name ("i1" gives "1"); nothing when other
// characters follow the name ("iclip").
bool TagValue(std::string_view tag, std::string_view& digits) {
  digits = tag.substr(1);
  for (char c : digits) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

void ApplyOverrideBlock(std::string_view block, unsigned char& style) {
  std::size_t at = block.find('\\');
  while (at != std::string_view::npos) {
    const std::size_t next = block.find('\\', at + 1);
    const std::string_view tag =
        block.substr(at + 1, next == std::string_view::npos ? next : next - at - 1);
    at = next;
    if (tag.empty()) continue;
    if (tag[0] == 'r') {
      style = 0;  // back to the line's style
      continue;
    }
    unsigned char bit = 0;
    if (tag[0] == 'i') bit = kItalic;
    if (tag[0] == 'b') bit = kBold;
    if (tag[0] == 'u') bit = kUnderline;
    std::string_view digits;
    if (bit == 0 || !TagValue(tag, digits)) continue;
    // "\b1" and weights from 600 on are bold; "\i" alone, "\i0" and "\b400" are not.
    const long value = digits.empty() || digits.size() > 4 ? 0 : std::stol(std::string(digits));
    const bool on = value == 1 || (bit == kBold && value >= 600);
    style = on ? style | bit : static_cast<unsigned char>(style & ~bit);
  }
}

template <typename Sink>
void ParseAss(std::string_view text, CodePage page, Sink& out) {
  unsigned char style = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t at = std::min(FindEither(text, '{', '\\', i), text.size());
    out.Append(text.substr(i, at - i), style);
    if (at == text.size()) break;
    i = at + 1;
    if (text[at] == '{') {
      const std::size_t close = text.find('}', at + 1);
      if (close != std::string_view::npos) {
        ApplyOverrideBlock(text.substr(at + 1, close - at - 1), style);
        i = close + 1;
        continue;
      }
    } else if (at + 1 < text.size()) {
      const char code = text[at + 1];
      if (code == 'h' || code == 'N' || code == 'n') {
        out.Append(code == 'h' ? NoBreakSpace(page) : std::string_view("|"), style);
        i = at + 2;
        continue;
      }
    }
    out.Append(text.substr(at, 1), style);
  }
}

// A SUB code "{x:value}" at `at`: its end ("}") on the same line, or npos.
std::size_t SubCodeEnd(std::string_view text, std::size_t at) {
  if (at + 2 >= text.size() || !IsAsciiLetter(text[at + 1]) || text[at + 2] != ':') {
    return std::string_view::npos;
  }
  const std::size_t end = text.find_first_of("}|{", at + 3);
  return end != std::string_view::npos && text[end] == '}' ? end : std::string_view::npos;
}

StyledText ParseSub(std::string_view text) {
  StyledText out;
  unsigned char frame_style = 0;  // {Y:...}: every line from here on
  unsigned char line_style = 0;   // {y:...}: the rest of this line
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '|') {
      line_style = 0;
    } else if (c == '{') {
      const std::size_t end = SubCodeEnd(text, i);
      if (end != std::string_view::npos) {
        const char code = text[i + 1];
        if (code == 'y' || code == 'Y') {
          unsigned char bits = 0;
          for (char letter : text.substr(i + 3, end - i - 3)) {
            if (LowerAscii(letter) == 'i') bits |= kItalic;
            if (LowerAscii(letter) == 'b') bits |= kBold;
            if (LowerAscii(letter) == 'u') bits |= kUnderline;
          }
          (code == 'Y' ? frame_style : line_style) |= bits;
        }
        i = end;  // colours, fonts, sizes and positions are dropped
        continue;
      }
    }
    out.Append(text.substr(i, 1), frame_style | line_style);
  }
  return out;
}

const char* HtmlTagName(unsigned char bit) {
  return bit == kItalic ? "i" : bit == kBold ? "b" : "u";
}

// The style of the first character after the line breaks from k on (none at the end).
unsigned char StyleAfterBreaks(const StyledText& text, std::size_t k) {
  while (k < text.chars.size() && text.chars[k] == '|') ++k;
  return k < text.chars.size() ? static_cast<unsigned char>(text.styles[k]) : 0;
}

// The style a character is written in: its own; at a line break what stays of the style
// before it into the next line, so that a style ends before the break and begins after it.
unsigned char StyleToWrite(const StyledText& text, std::size_t k, unsigned char current) {
  if (text.chars[k] != '|') return static_cast<unsigned char>(text.styles[k]);
  return static_cast<unsigned char>(current & StyleAfterBreaks(text, k + 1));
}

// Tags open as the styles begin and close as they end, innermost first.
std::string RenderHtml(const StyledText& text) {
  std::string out;
  std::vector<unsigned char> open;
  unsigned char current = 0;
  auto close_top = [&]() {
    out += "</";
    out += HtmlTagName(open.back());
    out += '>';
    current = static_cast<unsigned char>(current & ~open.back());
    open.pop_back();
  };
  for (std::size_t k = 0; k < text.chars.size(); ++k) {
    const unsigned char style = StyleToWrite(text, k, current);
    // Close down to the lowest open tag that ends here, then open what begins.
    std::size_t keep = 0;
    while (keep < open.size() && (style & open[keep])) ++keep;
    while (open.size() > keep) close_top();
    for (unsigned char bit : kStyles) {
      if ((style & bit) && !(current & bit)) {
        out += '<';
        out += HtmlTagName(bit);
        out += '>';
        open.push_back(bit);
        current |= bit;
      }
    }
    out += text.chars[k];
  }
  while (!open.empty()) close_top();
  return out;
}

std::string RenderAss(const StyledText& text, CodePage page) {
  std::string out;
  unsigned char current = 0;
  auto switch_to = [&](unsigned char style) {
    if (style == current) return;
    out += '{';
    for (unsigned char bit : kStyles) {
      if ((style & bit) == (current & bit)) continue;
      out += '\\';
      out += HtmlTagName(bit);
      out += (style & bit) ? '1' : '0';
    }
    out += '}';
    current = style;
  };
  const std::string_view nbsp = NoBreakSpace(page);
  for (std::size_t k = 0; k < text.chars.size(); ++k) {
    switch_to(StyleToWrite(text, k, current));
    if (std::string_view(text.chars).substr(k, nbsp.size()) == nbsp) {
      out += "\\h";
      k += nbsp.size() - 1;
      continue;
    }
    out += text.chars[k];
  }
  switch_to(0);
  return out;
}

// Appends the SUB code that sets `style` ("{y:i,b}"), or nothing for no style.
void AppendSubCode(std::string& out, char code, unsigned char style) {
  if (style == 0) return;
  char buffer[16] = {'{', code, ':'};
  std::size_t size = 3;
  for (unsigned char bit : kStyles) {
    if (!(style & bit)) continue;
    if (size > 3) buffer[size++] = ',';
    buffer[size++] = *HtmlTagName(bit);
  }
  buffer[size++] = '}';
  out.append(buffer, size);
}

// A text without markup on its way to SUB: its characters, and for each line the styles
// that all its characters but spaces share. SUB styles whole lines ({y:i}) or the whole
// frame ({Y:i}); a style that covers only part of a line cannot be held and is dropped.
class SubLines {
 public:
  void Clear() {
    chars_.clear();
    lines_.clear();
    style_ = kAllStyles;
    has_text_ = false;
  }
  void Append(std::string_view s, unsigned char style) {
    const std::size_t base = chars_.size();
    chars_.append(s);
    std::size_t from = 0;
    for (;;) {
      const std::size_t bar = std::min(s.find('|', from), s.size());
      // Most pieces begin with what is not a space.
      std::size_t k = from;
      while (k < bar && s[k] == ' ') ++k;
      if (k < bar) {
        style_ &= style;
        has_text_ = true;
      }
      if (bar == s.size()) return;
      EndLine(base + bar);
      from = bar + 1;
    }
  }
  // Appends the text with its lines' styles in SUB codes.
  void Render(std::string& out) {
    EndLine(chars_.size());
    unsigned char frame_style = kAllStyles;
    bool any_text = false;
    for (const Line& line : lines_) {
      if (!line.has_text) continue;
      frame_style &= line.style;
      any_text = true;
    }
    if (!any_text) frame_style = 0;
    out.reserve(out.size() + chars_.size() + 16 * (lines_.size() + 1));
    AppendSubCode(out, 'Y', frame_style);
    std::size_t from = 0;
    for (std::size_t n = 0; n < lines_.size(); ++n) {
      if (n > 0) out += '|';
      const Line& line = lines_[n];
      AppendSubCode(out, 'y', static_cast<unsigned char>(line.style & ~frame_style));
      out.append(chars_, from, line.end - from);
      from = line.end + 1;
    }
  }

 private:
  static constexpr unsigned char kAllStyles = kItalic | kBold | kUnderline;
  struct Line {
    std::size_t end;  // of its characters in chars_ (its "|" or the end)
    unsigned char style;
    bool has_text;  // more than spaces
  };
  void EndLine(std::size_t end) {
    lines_.push_back({end, has_text_ ? style_ : static_cast<unsigned char>(0), has_text_});
    style_ = kAllStyles;
    has_text_ = false;
  }

  std::string chars_;
  std::vector<Line> lines_;
  unsigned char style_ = kAllStyles;  // of the line being read
  bool has_text_ = false;
};

// HTML markup into SUB as the general conversion gives it, for a text of at most 128 bytes
// whose SUB holds no codes (no line keeps a style in all its characters but spaces): then
// it is the text without its tags and override blocks. `at` holds the text as
// PutLinesJoined(at, text, "|") wrote it (each kLiteralBar a "|"), with 16 bytes after it
// that may be read and overwritten; the pieces between the tags and blocks are moved up
// over it from a copy. Returns the end, or null for any other text.
char* PutHtmlAsSubWithoutCodes(char* at, std::string_view text) {
  constexpr std::size_t kMaxChars = 128;
  const std::size_t size = text.size();
  if (size > kMaxChars) return nullptr;
  // The written bytes, with whole blocks of sixteen after them, and a bit for each "<",
  // "{" and "|" in them (literal bars among them), 64 a word, and one for the end, so that
  // the search for the next always finds one.
  alignas(16) char copy[kMaxChars + 32];
  std::uint64_t low_marks = 0;
  std::uint64_t high_marks = 0;
#if defined(__SSE2__)
  std::size_t k = 0;
  for (; k < size; k += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + k));
    _mm_store_si128(reinterpret_cast<__m128i*>(copy + k), block);
    const auto bits = static_cast<std::uint16_t>(_mm_movemask_epi8(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('<')),
                                  _mm_cmpeq_epi8(block, _mm_set1_epi8('{'))),
                     _mm_cmpeq_epi8(block, _mm_set1_epi8('|')))));
    (k < 64 ? low_marks : high_marks) |= std::uint64_t{bits} << (k % 64);
  }
  _mm_store_si128(reinterpret_cast<__m128i*>(copy + k), _mm_setzero_si128());
#else
  std::memcpy(copy, at, size + 16);
  for (std::size_t k = 0; k < size; ++k) {
    if (at[k] == '<' || at[k] == '{' || at[k] == '|') {
      (k < 64 ? low_marks : high_marks) |= std::uint64_t{1} << (k % 64);
    }
  }
#endif
  if (size < kMaxChars) {
    std::uint64_t& marks = size < 64 ? low_marks : high_marks;
    const std::uint64_t end_bit = std::uint64_t{1} << (size % 64);
    marks = (marks & (end_bit - 1)) | end_bit;
  }
  // The first mark from `from` on.
  auto next_mark = [low_marks, high_marks, size](std::size_t from) -> std::size_t {
    if (from < 64) {
      if (const std::uint64_t low = low_marks >> from) return from + std::countr_zero(low);
      from = 64;
    }
    if (from >= kMaxChars) return size;  // (a text of kMaxChars has no end bit)
    const std::uint64_t high = high_marks >> (from - 64);
    return high != 0 ? from + std::countr_zero(high) : size;
  };

  // The styles that the characters but spaces of the line read share, and kNoTextYet while
  // it has none: a piece with more than spaces takes the bit away with the styles it lacks.
  // The line keeps a style throughout (and has a code) when this is 1 to 7 at its end; 0
  // is a line that can be held no more, whose pieces need no look.
  constexpr unsigned char kNoTextYet = 8;
  constexpr unsigned char kLineStart = kItalic | kBold | kUnderline | kNoTextYet;
  unsigned char style = 0;
  unsigned char line = kLineStart;
  auto keeps_style = [&line] { return line != 0 && line < kNoTextYet; };
  char* out = at;
  std::size_t from = 0;  // the piece up to the next mark
  for (;;) {
    const std::size_t mark = next_mark(from);
    if (line != 0) {
      std::size_t first = from;  // most pieces begin with what is no space
      while (first < mark && copy[first] == ' ') ++first;
      if (first < mark) line &= style;
    }
    for (std::size_t k = from; k < mark; k += 16) std::memcpy(out + (k - from), copy + k, 16);
    out += mark - from;
    if (mark == size) break;
    from = mark + 1;
    const char c = text[mark];
    if (c == '|') {
      if (keeps_style()) return nullptr;
      line = kLineStart;
      *out++ = '|';
      continue;
    }
    const std::size_t end = c == '<'   ? ReadHtmlTag(text, mark, style)
                            : c == '{' ? OverrideBlockEnd(text, mark)
                                       : std::string_view::npos;
    if (end == std::string_view::npos) {
      // A kLiteralBar, or a "{" or "<" that opens no block or tag, is text.
      *out++ = copy[mark];
      line &= style;
      continue;
    }
    from = end + 1;  // blocks and every other tag are dropped
  }
  return keeps_style() ? nullptr : out;
}

// The characters that are markup in `from` or that `to` writes as markup (the same one
// twice where there is one).
void MarkupMarks(Markup from, Markup to, char& first, char& second) {
  // A SubRip text's override blocks are ASS's own.
  first = from == Markup::kAss ? '{' : from == Markup::kSub ? '{' : '<';
  second = from == Markup::kAss ? '\\' : from == Markup::kHtml && to != Markup::kAss ? '{' : first;
}

// Whether a text holds nothing that is markup in `from` or that `to` writes as markup:
// then it is the same text in both.
bool IsPlainIn(std::string_view text, Markup from, Markup to, CodePage page) {
  char first;
  char second;
  MarkupMarks(from, to, first, second);
  if (FindEither(text, first, second) != std::string_view::npos) return false;
  return to != Markup::kAss || text.find(NoBreakSpace(page)) == std::string_view::npos;
}

}  // namespace

Markup MarkupOfKind(int kind) {
  switch (kind) {
    case kKindSub:
      return Markup::kSub;
    case kKindWebVtt:
      return Markup::kWebVtt;
    case kKindAss:
    case kKindSsa:
      return Markup::kAss;
    default:
      return Markup::kHtml;
  }
}

bool ConvertsMarkup(std::string_view text, Markup from, Markup to, CodePage page) {
  return from != to && !IsPlainIn(text, from, to, page);
}

namespace {

// AppendConvertedMarkup of a text that ConvertsMarkup.
void AppendConverted(std::string& out, std::string_view text, Markup from, Markup to,
                     CodePage page) {
  if (to == Markup::kSub) {
    // In one pass into buffers that every text reuses.
    thread_local SubLines lines;
    lines.Clear();
    if (from == Markup::kAss) {
      ParseAss(text, page, lines);
    } else {
      ParseHtml(text, from == Markup::kWebVtt, from == Markup::kHtml, lines);
    }
    lines.Render(out);
    return;
  }
  StyledText plain;
  switch (from) {
    case Markup::kHtml:
    case Markup::kWebVtt:
      plain.chars.reserve(text.size());
      plain.styles.reserve(text.size());
      ParseHtml(text, from == Markup::kWebVtt, from == Markup::kHtml && to != Markup::kAss, plain);
      break;
    case Markup::kAss:
      ParseAss(text, page, plain);
      break;
    case Markup::kSub:
      plain = ParseSub(text);
      break;
  }
  std::string rendered = to == Markup::kAss ? RenderAss(plain, page) : RenderHtml(plain);
  if (out.empty()) {
    out = std::move(rendered);
  } else {
    out += rendered;
  }
}

}  // namespace

bool AppendConvertedMarkup(std::string& out, std::string_view text, Markup from, Markup to,
                           CodePage page) {
  if (!ConvertsMarkup(text, from, to, page)) return false;
  AppendConverted(out, text, from, to, page);
  return true;
}

MarkupConverter::MarkupConverter(Markup from, Markup to, CodePage page)
    : from_(from), to_(to), page_(page) {}

std::string_view MarkupConverter::Convert(std::string_view text) {
  converted_.clear();
  if (!AppendConvertedMarkup(converted_, text, from_, to_, page_)) return text;
  return converted_;
}

std::string_view MarkupConverter::ConvertHolding(std::string_view text) {
  converted_.clear();
  AppendConverted(converted_, text, from_, to_, page_);
  return converted_;
}

char* MarkupConverter::PutHoldingWithoutSubCodes(char* at, std::string_view text) const {
  if (from_ != Markup::kHtml || to_ != Markup::kSub) return nullptr;
  return PutHtmlAsSubWithoutCodes(at, text);
}

bool MarkupConverter::StaysWithout(char& first, char& second) const {
  if (from_ == to_ || to_ == Markup::kAss) return false;
  MarkupMarks(from_, to_, first, second);
  return true;
}

std::string ConvertMarkup(std::string_view text, Markup from, Markup to, CodePage page) {
  std::string out;
  if (!AppendConvertedMarkup(out, text, from, to, page)) return std::string(text);
  return out;
}

}  // namespace lumetra
