// Numbered SubRip: an entry number, a time line "hh:mm:ss,mmm --> hh:mm:ss,mmm", text
// lines, a blank line.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

// A blank line ends an entry. A line of a text that is empty or holds only spaces is
// written with this after its spaces: players show it as the empty line it is, and the
// reader takes it away again.
constexpr std::string_view kBlankLineMark = "<i></i>";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsDigits(std::string_view line) {
  if (line.empty()) return false;
  for (const char c : line) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// A time line: it holds the arrow, or (an arrow broken by a blank) it begins with a clock
// time "h:m:s", perhaps negative.
bool IsTimeLine(std::string_view line) {
  // Number lines, the most common lines asked about, hold digits alone.
  if (!line.empty() && IsDigit(line.back()) && line.size() <= 5 &&
      std::all_of(line.begin(), line.end(), IsDigit)) {
    return false;
  }
  std::size_t k = 0;
  while (k < line.size() && (IsDigit(line[k]) || line[k] == ' ')) ++k;
  if (k == line.size()) return false;
  if (line.find("-->") != std::string_view::npos) return true;
  std::size_t i = line.find_first_not_of(' ');
  if (i == std::string_view::npos) return false;
  if (line[i] == '-') ++i;
  for (int field = 0; field < 2; ++field) {
    const std::size_t digits_start = i;
    while (i < line.size() && IsDigit(line[i])) ++i;
    if (i == digits_start || i >= line.size() || line[i] != ':') return false;
    ++i;
  }
  return i < line.size() && IsDigit(line[i]);
}

// A text line written with kBlankLineMark: the blank line it stands for.
bool IsMarkedBlankLine(std::string_view line) {
  return line.ends_with(kBlankLineMark) &&
         IsBlankLine(line.substr(0, line.size() - kBlankLineMark.size()));
}

// Moves `i` past a clock time "h:m:s,f" (or "h:m:s.f"); each part is digits, perhaps
// after a minus as negative times are written. False when there is none at `i`.
bool SkipClockTime(std::string_view line, std::size_t& i) {
  for (int part = 0; part < 4; ++part) {
    if (i < line.size() && line[i] == '-') ++i;
    const std::size_t digits_start = i;
    while (i < line.size() && IsDigit(line[i])) ++i;
    if (i == digits_start) return false;
    if (part == 3) return true;
    if (i >= line.size()) return false;
    const char c = line[i++];
    if (part < 2 ? c != ':' : c != ',' && c != '.') return false;
  }
  return true;
}

std::size_t SkipBlanks(std::string_view line, std::size_t i) {
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return i;
}

// A line that stands where an entry's number stands: digits, perhaps with a suffix of
// letters ("40th"), between blanks.
bool StandsWhereANumberStands(std::string_view line) {
  std::size_t i = SkipBlanks(line, 0);
  const std::size_t digits_start = i;
  while (i < line.size() && IsDigit(line[i])) ++i;
  if (i == digits_start) return false;
  while (i < line.size() &&
         ((line[i] >= 'a' && line[i] <= 'z') || (line[i] >= 'A' && line[i] <= 'Z'))) {
    ++i;
  }
  return SkipBlanks(line, i) == line.size();
}

// How an entry's text ends: at a blank line or the end of the file, or at the next entry's
// time line when the text runs into it (files without blank lines between entries).
struct TextEnd {
  std::string_view next_time_line;  // empty when the text ended otherwise
};

// Whether `line`, read in an entry's text, begins the next entry: a time line does, and so
// does a line where a number stands with a time line after it (then that time line is read
// too). Sets the next entry's time line.
bool BeginsNextEntry(std::string_view line, bool after_text, LineReader& in, TextEnd& end) {
  // Most text lines begin with neither a digit, a minus nor a blank.
  if (line.empty() || !(IsDigit(line[0]) || line[0] == '-' || line[0] == ' ' || line[0] == '\t')) {
    return false;
  }
  if (IsSubRipTimeLine(line)) {
    end.next_time_line = line;
    return true;
  }
  if (!StandsWhereANumberStands(line)) return false;
  const std::string_view next = in.PeekLine();
  // Before a time line whose arrow a blank broke, only a number other than 0 after some
  // text counts.
  if (IsSubRipTimeLine(next) || (after_text && NumberOf(line) != 0 && IsTimeLine(next))) {
    end.next_time_line = in.ReadLine();
    return true;
  }
  return false;
}

// Reads an entry's text lines up to where the entry ends, joined and followed by "|" when
// `keep` is set; the lines of an entry without a time line are read the same way and
// dropped. `first` is a line already read, when not null. Sets `result` to the text: a text
// of one line as it stands needs no copy and is that line itself, any other is built in
// `text`.
TextEnd ReadText(LineReader& in, const std::string_view* first, bool keep, std::string& text,
                 std::string_view& result) {
  TextEnd end;
  text.clear();
  bool any_text = false;
  std::size_t kept = 0;  // the text up to its last marked blank line stays
  // The first line kept, not yet copied into `text` (it holds no "|").
  std::string_view only_line;
  bool only = false;
  std::string_view line;
  do {
    if (first != nullptr) {
      line = *first;
      first = nullptr;
    } else {
      line = in.ReadLine();
    }
    if (BeginsNextEntry(line, any_text, in, end)) break;
    const bool blank = IsBlankLine(line);
    const bool marked = IsMarkedBlankLine(line);
    if (!blank || marked) {
      any_text = true;
      if (keep) {
        if (!marked && !only && text.empty() &&
            std::memchr(line.data(), '|', line.size()) == nullptr) {
          only_line = line;
          only = true;
          continue;
        }
        if (only) {
          text.append(only_line);
          text += '|';
          only = false;
        }
        if (marked) {
          AppendLineText(text, line.substr(0, line.size() - kBlankLineMark.size()));
          kept = text.size();
        } else {
          AppendLineText(text, line);
        }
        text += '|';
      }
    }
    if (blank) break;
  } while (!in.AtEnd());
  if (only) {
    result = only_line;
    return end;
  }
  const std::size_t last = text.find_last_not_of('|');
  text.resize(std::max(kept, last == std::string::npos ? 0 : last + 1));
  result = text;
  return end;
}

// A text line that ReadText reads the same wherever it stands in a text, and that neither
// begins the next entry nor ends the text: it begins with no digit, blank or tab, and with
// no minus before a digit (BeginsNextEntry takes only a time line or a number there); it is
// not kBlankLineMark alone (IsMarkedBlankLine: the only marked line without a blank at its
// start), and not blank. The caller checks that it holds no "|".
bool IsPlainTextLine(std::string_view line) {
  if (line.empty()) return false;
  const char c = line[0];
  if (IsDigit(c) || c == ' ' || c == '\t') return false;
  if (c == '-' && line.size() > 1 && IsDigit(line[1])) return false;
  return line != kBlankLineMark;
}

// The number of digits at the start of `bytes`. Eight bytes are looked at in one word
// where they can be: a byte is a digit when its high half is 3 and its low half below 10.
std::size_t LeadingDigits(std::string_view bytes) {
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= bytes.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, 8);
      constexpr std::uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0ULL;
      constexpr std::uint64_t kLowHalves = 0x0F0F0F0F0F0F0F0FULL;
      // Bits in each byte that is no digit: a high half other than 3, or a low half that
      // reaches 16 when 6 is added (no sum carries into the next byte).
      const std::uint64_t not_digit = ((word & kHighHalves) ^ 0x3030303030303030ULL) |
                                      (((word & kLowHalves) + 0x0606060606060606ULL) & kHighHalves);
      if (not_digit != 0) return i + static_cast<std::size_t>(std::countr_zero(not_digit)) / 8;
    }
  }
  while (i < bytes.size() && IsDigit(bytes[i])) ++i;
  return i;
}

// An entry laid out as the writers write it, which most entries are: a number line of
// digits, a time line that SplitSubRipTimes takes, at most kMostPlainLines text lines of
// IsPlainTextLine without "|", then an empty line or the end of the data. Reads it and
// stores its frame in one pass, the text copied once; false, with nothing read, for any
// other entry. The general path reads such an entry the same: the number line is no time
// line, ReadText keeps each line as it stands and joins them with "|", and the empty line
// (or the end) ends the text.
constexpr int kMostPlainLines = 4;
bool ReadWrittenEntry(LineReader& in, TimeLineWords& words, FrameSink& sink) {
  LineReader ahead(in);
  const std::size_t digits = LeadingDigits(ahead.Ahead());
  if (digits == 0 || !ahead.ReadLineOfSize(digits)) return false;
  // The time line, of the writers' size (its bytes hold no line end when they fit it).
  const std::string_view time_line = ahead.Ahead().substr(0, TimeLineWords::kSubRipTimeLineSize);
  if (!ahead.ReadLineOfSize(TimeLineWords::kSubRipTimeLineSize)) return false;
  std::string_view lines[kMostPlainLines];
  std::size_t count = 0;
  while (!ahead.AtEnd()) {
    if (ahead.ReadLineOfSize(0)) break;  // the empty line
    bool holds_bar = false;
    const std::string_view line = ahead.ReadLine('|', holds_bar);
    if (holds_bar || count == kMostPlainLines || !IsPlainTextLine(line)) return false;
    lines[count++] = line;
  }
  // The time line is read after the text (reading its bytes before would keep them aside
  // through the text's reading).
  TimeValue start = 0;
  TimeValue end = 0;
  // (A line that sets the words here gives the general path the same words.)
  if (!words.SplitSubRipTimes(time_line, start, end)) return false;
  in = ahead;
  sink.AddJoined(start, end, std::span<const std::string_view>(lines, count));
  return true;
}

}  // namespace

bool IsSubRipTimeLine(std::string_view line) {
  std::size_t i = 0;
  // Most lines are text: a time line begins with a digit or a minus.
  if (line.empty() || !(IsDigit(line[0]) || line[0] == '-')) return false;
  if (!SkipClockTime(line, i)) return false;
  if (line.substr(i, 5) != " --> ") return false;
  i += 5;
  if (!SkipClockTime(line, i)) return false;
  // Players' settings may follow the end time.
  return i == line.size() || line[i] == ' ' || line[i] == '\t';
}

void ReadSubRip(ReadContext& ctx) {
  LineReader& in = ctx.in;
  // Time lines with fewer words than nine take the missing ones from the previous one.
  TimeLineWords words;
  std::string_view next_time_line;  // the previous entry's text ran into this entry's
  std::string text;
  std::string_view kept_text;  // the text read: `text`, or a line of the input
  while (!next_time_line.empty() || !in.AtEnd()) {
    if (next_time_line.empty() && !ctx.sink.Full() && ReadWrittenEntry(in, words, ctx.sink)) {
      continue;
    }
    std::string_view time_line = next_time_line;
    next_time_line = {};
    if (time_line.empty()) {
      // The number line: the first line that is not blank; its content is ignored. A time
      // line there is the time line of an entry without a number.
      std::string_view line;
      do {
        line = in.ReadLine();
      } while (IsBlankLine(line) && !in.AtEnd());
      // Most number lines are digits alone, which no time line is.
      if (!IsDigits(line) && IsTimeLine(line)) {
        time_line = line;
      } else {
        time_line = in.ReadLine();
        while (IsBlankLine(time_line) && !in.AtEnd()) time_line = in.ReadLine();
      }
      // The file ended before this entry's time line: the entry is not a frame.
      if (IsBlankLine(time_line)) break;
    }

    // A frame beyond the store is read through but not built.
    const bool build = !ctx.sink.Full();
    TimeValue start = 0;
    TimeValue end = 0;
    // Most time lines are laid out as the writers write them.
    if (!(build && words.SplitSubRipTimes(time_line, start, end))) {
      if (!IsTimeLine(time_line)) {
        // Text without a time line of its own belongs to no frame: it is dropped, and the
        // times of no other frame are taken for it.
        next_time_line = ReadText(in, &time_line, false, text, kept_text).next_time_line;
        continue;
      }
      if (build) {
        words.Split(time_line);
        start = TimeFromWords(words, 1);
        end = TimeFromWords(words, 6);
      }
    }
    next_time_line = ReadText(in, nullptr, build, text, kept_text).next_time_line;
    if (!build) {
      ctx.sink.LeaveOut();
      continue;
    }
    ctx.sink.AddCopy(start, end, kept_text);
  }
}

namespace {

// The most bytes PutTextLines writes for `text`: each character a line at most, each line
// with a mark and a line end.
std::size_t TextLinesChars(std::string_view text) {
  return text.size() + (text.size() + 1) * (kBlankLineMark.size() + 2) + kLinePartsSlack;
}

// An entry's text written at `at`, each of its lines on a line of its own (kLiteralBar a
// "|" again, a blank line marked); an empty text is one empty line. Returns the end.
char* PutTextLines(char* at, std::string_view text) {
  std::size_t line_from = 0;  // where the line being written starts in the text
  auto end_line = [&](char* end, std::size_t line_end) {
    // Most lines begin with what is not a space, and are no blank line.
    const std::string_view line = text.substr(line_from, line_end - line_from);
    if (!text.empty() && (line.empty() || line[0] == ' ') && IsBlankLine(line)) {
      std::memcpy(end, kBlankLineMark.data(), kBlankLineMark.size());
      end += kBlankLineMark.size();
    }
    line_from = line_end + 1;
    return PutLineEnd(end);
  };
  return end_line(PutLineParts(at, text, end_line), text.size());
}

}  // namespace

void WriteSubRip(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  LineWriter::Direct out(ctx.lines);
  const int count = FramesToWrite(doc);
  for (int i = 1; i <= count; ++i) {
    const std::string_view text = ctx.Text(i);
    char* at = out.Room(2 + kIntChars + 2 + 2 * kClockTimeChars + 5 + 2 + TextLinesChars(text));
    // The blank line after the entry before, the number and the time line.
    if (i > 1) at = PutLineEnd(at);
    at = PutLineEnd(PutInt(at, i));
    at = PutClockTime(at, doc.FrameStart[i], ',', kMilliseconds);
    std::memcpy(at, " --> ", 5);
    at = PutLineEnd(PutClockTime(at + 5, doc.FrameEnd[i], ',', kMilliseconds));
    out.Wrote(PutTextLines(at, text));
  }
}

}  // namespace lumetra
