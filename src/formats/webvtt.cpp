// WebVTT: a "WEBVTT" line and its header, then blocks separated by empty lines: cues (an
// optional identifier, "start --> end settings", the lines of the text) and NOTE, STYLE and
// REGION blocks. Always UTF-8.
//
// A cue's identifier and settings are its frame's extras, and so are the blocks between the
// cue before it and this one (its lead). The lines before the first cue and after the last
// are the document's FileHeader. Tags (<i>, <c.yellow>, <v Bob>) stay in the text as
// written; entities become their characters.
#include <string>

#include "formats/format_parts.h"
#include "formats/markup.h"

namespace lumetra {

namespace {

constexpr std::string_view kArrow = "-->";
// A cue ends at an empty line: an empty line of a text is written as this, which reads
// back as the empty line (the same as in SubRip).
constexpr std::string_view kEmptyLineMark = "<i></i>";

bool HasArrow(std::string_view line) { return line.find(kArrow) != std::string_view::npos; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "NOTE", "STYLE" or "REGION" alone or followed by a blank: a block that is no cue.
bool StartsOtherBlock(std::string_view line) {
  for (std::string_view word : {"NOTE", "STYLE", "REGION"}) {
    if (line.starts_with(word) &&
        (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t')) {
      return true;
    }
  }
  return false;
}

// A time "hh:mm:ss.ttt" or "mm:ss.ttt" (hours of any length, a comma for the point too) at
// the start of s: its milliseconds, and in `used` its length; nothing when there is none.
std::optional<TimeValue> ParseTime(std::string_view s, std::size_t& used) {
  std::int64_t fields[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  for (;;) {
    const std::size_t digits_start = i;
    std::int64_t value = 0;
    while (i < s.size() && IsDigit(s[i])) {
      if (value < 100000000) value = value * 10 + (s[i] - '0');
      ++i;
    }
    if (i == digits_start || count == 3) return std::nullopt;
    fields[count++] = value;
    if (i < s.size() && s[i] == ':') {
      ++i;
      continue;
    }
    break;
  }
  if (count < 2 || i >= s.size() || (s[i] != '.' && s[i] != ',')) return std::nullopt;
  ++i;
  std::int64_t ms = 0;
  int digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    if (digits < 3) ms = ms * 10 + (s[i] - '0');
    ++digits;
    ++i;
  }
  if (digits == 0) return std::nullopt;
  for (int d = digits; d < 3; ++d) ms *= 10;
  const std::int64_t hours = count == 3 ? fields[0] : 0;
  const std::int64_t total =
      ((hours * 60 + fields[count - 2]) * 60 + fields[count - 1]) * 1000 + ms;
  used = i;
  return static_cast<TimeValue>(std::min<std::int64_t>(total, INT32_MAX));
}

std::size_t SkipBlanks(std::string_view s, std::size_t i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return i;
}

// "start --> end settings": the two times (0 where they cannot be read) and the settings
// with the blanks before them, as written.
void ParseTimingLine(std::string_view line, TimeValue& start, TimeValue& end,
                     std::string_view& settings) {
  start = 0;
  end = 0;
  settings = {};
  std::size_t used = 0;
  std::size_t i = SkipBlanks(line, 0);
  if (const auto t = ParseTime(line.substr(i), used)) {
    start = *t;
    i += used;
  }
  const std::size_t arrow = line.find(kArrow, i);
  if (arrow == std::string_view::npos) return;
  i = SkipBlanks(line, arrow + kArrow.size());
  if (const auto t = ParseTime(line.substr(i), used)) {
    end = *t;
    settings = line.substr(i + used);
  }
}

void AppendKept(std::string& out, char32_t code_point) {
  if (code_point == '|') {
    out += kLiteralBar;
  } else {
    AppendUtf8(out, code_point);
  }
}

// The character an entity ("&amp;", "&#233;") at the start of s stands for, and its length;
// nothing for anything else (an entity of a control character among them).
std::optional<char32_t> Entity(std::string_view s, std::size_t& length) {
  static constexpr std::pair<std::string_view, char32_t> kNamed[] = {
      {"&amp;", '&'},    {"&lt;", '<'},     {"&gt;", '>'},   {"&nbsp;", 0xA0},
      {"&lrm;", 0x200E}, {"&rlm;", 0x200F}, {"&quot;", '"'}, {"&apos;", '\''},
  };
  for (const auto& [name, code_point] : kNamed) {
    if (s.starts_with(name)) {
      length = name.size();
      return code_point;
    }
  }
  if (!s.starts_with("&#")) return std::nullopt;
  const bool hex = s.size() > 2 && (s[2] == 'x' || s[2] == 'X');
  std::size_t i = hex ? 3 : 2;
  const std::size_t digits_start = i;
  std::uint32_t value = 0;
  for (; i < s.size() && i - digits_start < 8; ++i) {
    const char c = s[i];
    int digit;
    if (IsDigit(c)) {
      digit = c - '0';
    } else if (hex && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f') {
      digit = LowerAscii(c) - 'a' + 10;
    } else {
      break;
    }
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  if (i == digits_start || i >= s.size() || s[i] != ';') return std::nullopt;
  if (value < 0x20 || (value >= 0x7F && value < 0xA0) || (value >= 0xD800 && value < 0xE000) ||
      value > 0x10FFFF) {
    return std::nullopt;
  }
  length = i + 1;
  return static_cast<char32_t>(value);
}

// A line of a cue's text into the frame's text: entities outside tags become characters,
// a "|" stays part of the line.
void AppendTextLine(std::string& text, std::string_view file_line) {
  if (file_line == kEmptyLineMark) return;
  // Tags are found as the writer finds them, in the line as it is held.
  const bool bars = file_line.find('|') != std::string_view::npos;
  const std::string held = bars ? StoreLiteralBars(file_line) : std::string();
  const std::string_view line = bars ? std::string_view(held) : file_line;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '<') {
      const std::size_t end = HtmlTagEnd(line, i, true);
      if (end != std::string_view::npos) {
        text.append(line.substr(i, end - i + 1));
        i = end;
        continue;
      }
    }
    if (c == '&') {
      std::size_t length = 0;
      if (const auto code_point = Entity(line.substr(i), length)) {
        AppendKept(text, *code_point);
        i += length - 1;
        continue;
      }
    }
    text += c;
  }
}

// A line of a frame's text (UTF-8) as a line of a cue: tags as they are; a "<" that starts
// no tag (or a tag that holds "-->"), an "&" that would read as an entity and the ">" of
// "-->" as entities. Everything else stays as it is, which programs that know no entities
// read best.
void AppendCueLine(std::string& out, std::string_view line) {
  if (line.empty()) {
    out.append(kEmptyLineMark);
    return;
  }
  // A line that is the empty line's mark itself keeps its text.
  const bool mark = line == kEmptyLineMark;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    std::size_t length = 0;
    if (c == '<') {
      std::size_t end = mark && i == 0 ? std::string_view::npos : HtmlTagEnd(line, i, true);
      // A "tag" that holds an arrow ("<a --> b>") would make the line a timing line.
      if (end != std::string_view::npos && line.substr(i, end - i + 1).find(kArrow) != line.npos) {
        end = std::string_view::npos;
      }
      if (end != std::string_view::npos) {
        AppendReplacing(out, line.substr(i, end - i + 1), kLiteralBar, "|");
        i = end;
      } else {
        out.append("&lt;");
      }
    } else if (c == '&' && Entity(line.substr(i), length)) {
      out.append("&amp;");
    } else if (c == '>' && line.substr(0, i).ends_with("--")) {
      out.append("&gt;");
    } else {
      out += c == kLiteralBar ? '|' : c;
    }
  }
}

// "hh:mm:ss.ttt", the hours with as many digits as they need; below 0 is 0, which the
// format cannot go below.
void AppendTime(std::string& out, TimeValue t) {
  const auto v = static_cast<std::uint32_t>(t < 0 ? 0 : t);
  const std::uint32_t hours = v / 3600000;
  if (hours < 10) out += '0';
  AppendInt(out, hours);
  char rest[10] = {':', 0, 0, ':', 0, 0, '.', 0, 0, 0};
  const std::uint32_t minutes = v / 60000 % 60;
  const std::uint32_t seconds = v / 1000 % 60;
  const std::uint32_t ms = v % 1000;
  rest[1] = static_cast<char>('0' + minutes / 10);
  rest[2] = static_cast<char>('0' + minutes % 10);
  rest[4] = static_cast<char>('0' + seconds / 10);
  rest[5] = static_cast<char>('0' + seconds % 10);
  rest[7] = static_cast<char>('0' + ms / 100);
  rest[8] = static_cast<char>('0' + ms / 10 % 10);
  rest[9] = static_cast<char>('0' + ms % 10);
  out.append(rest, sizeof rest);
}

// Whether the last line of kept lines ("a\n\n") is empty, as a block must end.
bool EndsWithEmptyLine(std::string_view kept) { return kept == "\n" || kept.ends_with("\n\n"); }

bool BeginsWithSignature(std::string_view head) {
  LineReader in(head);
  while (!in.AtEnd()) {
    const std::string_view line = in.ReadLine();
    if (!IsBlankLine(line)) return TrimLeftChar(line, ' ').starts_with("WEBVTT");
  }
  return false;
}

}  // namespace

void ReadWebVtt(ReadContext& ctx) {
  LineReader& in = ctx.in;
  auto header = std::make_shared<FormatHeader>();
  header->kind = kKindWebVtt;
  std::string pending;  // the lines since the last cue
  bool any_cue = false;
  auto keep = [&](std::string_view line) {
    std::string& to = any_cue ? pending : header->head;
    to.append(line);
    to += '\n';
  };
  auto next_is_block_line = [&]() {
    if (in.AtEnd()) return false;
    const std::string_view next = in.PeekLine();
    return !next.empty() && !HasArrow(next);
  };

  // The "WEBVTT" line and the header lines after it, up to the first empty line.
  while (!in.AtEnd() && IsBlankLine(in.PeekLine())) keep(in.ReadLine());
  if (!in.AtEnd() && TrimLeftChar(in.PeekLine(), ' ').starts_with("WEBVTT")) {
    keep(in.ReadLine());
    while (next_is_block_line()) keep(in.ReadLine());
  }

  std::string text;
  while (!in.AtEnd()) {
    const std::string_view line = in.ReadLine();
    std::string_view identifier;
    std::string_view timing;
    if (HasArrow(line)) {
      timing = line;
    } else if (!line.empty() && !StartsOtherBlock(line) && !in.AtEnd() && HasArrow(in.PeekLine())) {
      identifier = line;
      timing = in.ReadLine();
    }
    if (timing.empty()) {
      // An empty line, a NOTE, STYLE or REGION block, or lines that make no cue.
      keep(line);
      if (!line.empty()) {
        while (next_is_block_line()) keep(in.ReadLine());
      }
      continue;
    }

    FrameExtras extras;
    extras.identifier = identifier;
    TimeValue start;
    TimeValue end;
    std::string_view settings;
    ParseTimingLine(timing, start, end, settings);
    extras.style = settings;
    text.clear();
    for (bool first = true; next_is_block_line(); first = false) {
      if (!first) text += '|';
      AppendTextLine(text, in.ReadLine());
    }
    // The empty line that ended the cue before is the one every cue has before it.
    if (pending.starts_with('\n')) pending.erase(0, 1);
    extras.lead = std::move(pending);
    pending.clear();
    any_cue = true;
    if (ctx.sink.Full()) {
      ctx.sink.LeaveOut();  // beyond the store: counted, not kept
      continue;
    }
    ctx.sink.Add(start, end, text, std::move(extras));
  }
  header->tail = std::move(pending);
  ctx.doc.FileHeader = std::move(header);
}

void WriteWebVtt(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  LineWriter& lines = ctx.lines;
  std::string& out = lines.out();
  const FormatHeader* own = ctx.OwnHeader();
  // Texts in another code page become UTF-8.
  const bool utf8 = doc.Encoding == CodePage::kUtf8;
  auto in_utf8 = [&](std::string_view bytes) {
    return utf8 ? std::string(bytes) : DecodeToUtf8(bytes, doc.Encoding);
  };

  std::string head = own ? in_utf8(own->head) : std::string();
  if (!BeginsWithSignature(head)) head.insert(0, "WEBVTT\n\n");
  WriteKeptLines(head, lines);
  const int count = FramesToWrite(doc);
  if (count > 0 && !EndsWithEmptyLine(head)) lines.Line("");
  std::string text;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) lines.Line("");
    const FrameExtras* extras = own ? &doc.FrameExtra[static_cast<std::size_t>(i)] : nullptr;
    if (extras && !extras->lead.empty()) {
      const std::string lead = in_utf8(extras->lead);
      WriteKeptLines(lead, lines);
      if (!EndsWithEmptyLine(lead)) lines.Line("");
    }
    if (extras && !extras->identifier.empty()) lines.Line(in_utf8(extras->identifier));
    AppendTime(out, doc.FrameStart[static_cast<std::size_t>(i)]);
    out.append(" --> ");
    AppendTime(out, doc.FrameEnd[static_cast<std::size_t>(i)]);
    if (extras) out.append(in_utf8(extras->style));
    lines.EndLine();
    text = in_utf8(ctx.Text(i));
    if (text.empty()) continue;
    std::size_t from = 0;
    for (;;) {
      const std::size_t bar = text.find('|', from);
      AppendCueLine(out, std::string_view(text).substr(
                             from, bar == std::string::npos ? std::string::npos : bar - from));
      lines.EndLine();
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
  }
  if (own && !own->tail.empty()) {
    const std::string tail = in_utf8(own->tail);
    if (count > 0 && !tail.starts_with('\n')) lines.Line("");
    WriteKeptLines(tail, lines);
  }
}

}  // namespace lumetra
