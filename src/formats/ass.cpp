// ASS and SSA: sections of lines ("[Script Info]", the styles, "[Events]", fonts and
// graphics); in [Events] a Format line names the fields of the Dialogue lines that follow,
// each "Dialogue: field,field,...,text" with times "h:mm:ss.cc".
//
// A dialogue's fields besides its times and text are its frame's extras (its style), and
// so are the lines between the dialogue before it and this one (Comment lines and the
// like: its lead). The lines before the first dialogue and after the last are the
// document's FileHeader. The text keeps its override blocks ("{\i1}") as typed; "\N" and
// "\n" are line breaks.
#include <algorithm>
#include <string>
#include <vector>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

constexpr std::string_view kAssFields =
    "Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text";
constexpr std::string_view kSsaFields =
    "Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text";

// The header this program writes for a document that has none of the format.
constexpr std::string_view kAssHead =
    "[Script Info]\n"
    "ScriptType: v4.00+\n"
    "PlayResX: 384\n"
    "PlayResY: 288\n"
    "ScaledBorderAndShadow: yes\n"
    "\n"
    "[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,16,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,0,0,0,0,100,100,0,0,"
    "1,1,0,2,10,10,10,1\n"
    "\n"
    "[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
constexpr std::string_view kSsaHead =
    "[Script Info]\n"
    "ScriptType: v4.00\n"
    "PlayResX: 384\n"
    "PlayResY: 288\n"
    "\n"
    "[V4 Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, "
    "BackColour, Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
    "MarginV, AlphaLevel, Encoding\n"
    "Style: Default,Arial,16,16777215,255,0,0,0,0,1,1,0,2,10,10,10,0,1\n"
    "\n"
    "[Events]\n"
    "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

std::string_view TrimBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The sections and the [Events] Format line, followed line by line as a file is read or
// written: which fields a Dialogue line holds, in which order.
class EventFormat {
 public:
  explicit EventFormat(int kind) { SetFields(kind == kKindSsa ? kSsaFields : kAssFields); }

  void See(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.starts_with('[') && t.ends_with(']')) {
      in_events_ = EqualsAnyCase(t, "[events]");
    } else if (in_events_ && StartsWithAnyCase(t, "format:")) {
      SetFields(t.substr(7));
    }
  }
  // The text of a Dialogue line of [Events] after "Dialogue:" and its blanks; nothing for
  // any other line.
  std::optional<std::string_view> DialogueFields(std::string_view line) const {
    if (!in_events_) return std::nullopt;
    const std::string_view t = line.substr(std::min(line.find_first_not_of(" \t"), line.size()));
    if (!StartsWithAnyCase(t, "dialogue:")) return std::nullopt;
    return t.substr(std::min(t.find_first_not_of(' ', 9), t.size()));
  }

  int count() const { return static_cast<int>(defaults_.size()); }
  int start() const { return start_; }
  int end() const { return end_; }
  int text() const { return text_; }
  bool IsTimeOrText(int field) const { return field == start_ || field == end_ || field == text_; }
  // The number of fields besides the times and the text.
  int others() const {
    int n = 0;
    for (int field = 0; field < count(); ++field) n += IsTimeOrText(field) ? 0 : 1;
    return n;
  }
  // What a dialogue this program makes holds in a field: layer 0, not marked, the Default
  // style, margins 0, nothing else.
  std::string_view DefaultValue(int field) const {
    return defaults_[static_cast<std::size_t>(field)];
  }

 private:
  void SetFields(std::string_view names) {
    defaults_.clear();
    start_ = end_ = text_ = -1;
    std::size_t from = 0;
    for (;;) {
      const std::size_t comma = names.find(',', from);
      const std::string_view name =
          TrimBlanks(names.substr(from, comma == std::string_view::npos ? comma : comma - from));
      const int field = count();
      if (EqualsAnyCase(name, "start")) start_ = field;
      if (EqualsAnyCase(name, "end")) end_ = field;
      if (EqualsAnyCase(name, "text")) text_ = field;
      std::string_view value;
      if (EqualsAnyCase(name, "layer") || StartsWithAnyCase(name, "margin")) value = "0";
      if (EqualsAnyCase(name, "marked")) value = "Marked=0";
      if (EqualsAnyCase(name, "style")) value = "Default";
      defaults_.push_back(value);
      if (comma == std::string_view::npos) break;
      from = comma + 1;
    }
  }

  bool in_events_ = false;
  std::vector<std::string_view> defaults_;  // of literals
  int start_ = -1, end_ = -1, text_ = -1;
};

// Splits s at its first `count - 1` commas: the last field keeps the commas after them.
std::vector<std::string_view> SplitFields(std::string_view s, int count) {
  std::vector<std::string_view> fields;
  std::size_t from = 0;
  for (int n = 1; n < count; ++n) {
    const std::size_t comma = s.find(',', from);
    if (comma == std::string_view::npos) break;
    fields.push_back(s.substr(from, comma - from));
    from = comma + 1;
  }
  fields.push_back(s.substr(from));
  return fields;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "h:mm:ss.cc" (any number of digits in each part; the fraction in hundredths, or
// milliseconds when it has three digits): its milliseconds; 0 where it cannot be read.
TimeValue ParseAssTime(std::string_view s) {
  s = TrimBlanks(s);
  std::int64_t parts[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  while (count < 3) {
    std::int64_t value = 0;
    const std::size_t digits_start = i;
    while (i < s.size() && IsDigit(s[i])) {
      if (value < 100000000) value = value * 10 + (s[i] - '0');
      ++i;
    }
    if (i == digits_start) return 0;
    parts[count++] = value;
    if (i < s.size() && s[i] == ':') {
      ++i;
      continue;
    }
    break;
  }
  std::int64_t ms = 0;
  if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
    int digits = 0;
    for (++i; i < s.size() && IsDigit(s[i]); ++i, ++digits) {
      if (digits < 3) ms = ms * 10 + (s[i] - '0');
    }
    for (int d = digits; d < 3; ++d) ms *= 10;
  }
  std::int64_t seconds = 0;
  for (int k = 0; k < count; ++k) seconds = seconds * 60 + parts[k];
  return static_cast<TimeValue>(std::min<std::int64_t>(seconds * 1000 + ms, INT32_MAX));
}

// "h:mm:ss.cc", rounded to the nearest hundredth, the format's unit; below 0 is 0.
void AppendAssTime(std::string& out, TimeValue t) {
  const std::int64_t cs = t <= 0 ? 0 : (static_cast<std::int64_t>(t) + 5) / 10;
  AppendInt(out, cs / 360000);
  const auto two = [&](std::int64_t v) {
    out += static_cast<char>('0' + v / 10);
    out += static_cast<char>('0' + v % 10);
  };
  out += ':';
  two(cs / 6000 % 60);
  out += ':';
  two(cs / 100 % 60);
  out += '.';
  two(cs % 100);
}

// The text of a Dialogue line as a frame's text: "\N" and "\n" outside override blocks are
// line breaks; a "|" stays part of its line.
std::string TextOfDialogue(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c == '{') {
      const std::size_t close = field.find('}', i + 1);
      if (close != std::string_view::npos) {
        AppendLineText(text, field.substr(i, close - i + 1));
        i = close;
        continue;
      }
    }
    if (c == '\\' && i + 1 < field.size() && (field[i + 1] == 'N' || field[i + 1] == 'n')) {
      text += '|';
      ++i;
      continue;
    }
    text += c == '|' ? kLiteralBar : c;
  }
  return text;
}

bool IsAssKind(int kind) { return kind == kKindAss || kind == kKindSsa; }

// The kind that [Script Info]'s ScriptType or the styles section names: SSA for
// "v4.00" and "[V4 Styles]", ASS for "v4.00+" and "[V4+ Styles]"; `kind` otherwise.
int KindNamedIn(std::string_view line, int kind) {
  const std::string_view t = TrimBlanks(line);
  if (StartsWithAnyCase(t, "scripttype:")) {
    const std::string_view version = TrimBlanks(t.substr(11));
    if (EqualsAnyCase(version, "v4.00+")) return kKindAss;
    if (EqualsAnyCase(version, "v4.00")) return kKindSsa;
  }
  if (EqualsAnyCase(t, "[v4+ styles]")) return kKindAss;
  if (EqualsAnyCase(t, "[v4 styles]")) return kKindSsa;
  return kind;
}

}  // namespace

void ReadAss(ReadContext& ctx) {
  LineReader& in = ctx.in;
  int kind = IsAssKind(ctx.doc.FileKind) ? ctx.doc.FileKind : kKindAss;
  bool kind_named = false;
  auto header = std::make_shared<FormatHeader>();
  EventFormat format(kind);
  std::string pending;  // the lines since the last dialogue
  bool any_dialogue = false;
  while (!in.AtEnd()) {
    const std::string_view line = in.ReadLine();
    const std::optional<std::string_view> dialogue = format.DialogueFields(line);
    if (!dialogue) {
      if (!kind_named && kind != KindNamedIn(line, kind)) {
        kind = KindNamedIn(line, kind);
        kind_named = true;
      }
      format.See(line);
      std::string& to = any_dialogue ? pending : header->head;
      to.append(line);
      to += '\n';
      continue;
    }
    any_dialogue = true;
    if (ctx.sink.Full()) {
      ctx.sink.LeaveOut();  // beyond the store: counted, not kept
      pending.clear();
      continue;
    }
    const std::vector<std::string_view> fields = SplitFields(*dialogue, format.count());
    const auto field = [&](int index) {
      return index >= 0 && index < static_cast<int>(fields.size())
                 ? fields[static_cast<std::size_t>(index)]
                 : std::string_view();
    };
    FrameExtras extras;
    bool first = true;
    for (int n = 0; n < static_cast<int>(fields.size()); ++n) {
      if (format.IsTimeOrText(n)) continue;
      if (!first) extras.style += ',';
      first = false;
      extras.style.append(fields[static_cast<std::size_t>(n)]);
    }
    extras.lead = std::move(pending);
    pending.clear();
    ctx.sink.Add(ParseAssTime(field(format.start())), ParseAssTime(field(format.end())),
                 TextOfDialogue(field(format.text())), std::move(extras));
  }
  header->kind = kind;
  header->tail = std::move(pending);
  ctx.doc.FileKind = kind;
  ctx.doc.FileHeader = std::move(header);
}

void WriteAss(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  LineWriter& lines = ctx.lines;
  std::string& out = lines.out();
  const FormatHeader* own = ctx.OwnHeader();
  EventFormat format(ctx.kind);
  auto write_kept = [&](std::string_view kept) {
    LineReader in(kept);
    while (!in.AtEnd()) {
      const std::string_view line = in.ReadLine();
      format.See(line);
      lines.Line(line);
    }
  };
  write_kept(own ? std::string_view(own->head) : ctx.kind == kKindSsa ? kSsaHead : kAssHead);
  const int count = FramesToWrite(doc);
  std::vector<std::string_view> style;
  for (int i = 1; i <= count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (own) write_kept(doc.FrameExtra[k].lead);
    // A frame without a style of the file (a document of another format, a frame inserted
    // into an empty one) gets the fields of a new dialogue.
    const std::string_view kept_style = own ? std::string_view(doc.FrameExtra[k].style) : "";
    style.clear();
    if (!kept_style.empty()) style = SplitFields(kept_style, std::max(format.others(), 1));
    out.append("Dialogue: ");
    std::size_t next_style = 0;
    for (int n = 0; n < format.count(); ++n) {
      if (n > 0) out += ',';
      if (n == format.start()) {
        AppendAssTime(out, doc.FrameStart[k]);
      } else if (n == format.end()) {
        AppendAssTime(out, doc.FrameEnd[k]);
      } else if (n == format.text()) {
        // Lines joined by "\N"; a "|" inside a line is written as it is.
        AppendLinesJoined(out, ctx.Text(i), "\\N");
      } else if (style.empty()) {
        out.append(format.DefaultValue(n));
      } else if (next_style < style.size()) {
        out.append(style[next_style++]);
      }
    }
    lines.EndLine();
  }
  if (own) write_kept(own->tail);
}

}  // namespace lumetra
