// Numbered SubRip: an entry number, a time line "hh:mm:ss,mmm --> hh:mm:ss,mmm", text
// lines, a blank line.
#include <algorithm>
#include <cstring>
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

// A blank line ends an entry. A line of a text that is empty or holds only spaces is
// written with this after its spaces: players show it as the empty line it is, and the
// reader takes it away again.
constexpr std::string_view kBlankLineMark = "<i></i>";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A time line: it holds the arrow, or (an arrow broken by a blank) it begins with a clock
// time "h:m:s", perhaps negative.
bool IsTimeLine(std::string_view line) {
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

}  // namespace

void ReadSubRip(ReadContext& ctx) {
  LineReader& in = ctx.in;
  // Time lines with fewer words than nine take the missing ones from the previous one.
  TimeLineWords words;
  bool number_line_read = false;  // the previous entry's text loop met this entry's number
  std::string text;
  while (!in.AtEnd()) {
    std::string_view time_line;
    if (!number_line_read) {
      // The number line: the first line that is not blank; its content is ignored. A time
      // line there is the time line of an entry without a number.
      std::string_view line;
      do {
        line = in.ReadLine();
      } while (IsBlankLine(line) && !in.AtEnd());
      if (IsTimeLine(line)) time_line = line;
    }
    number_line_read = false;

    if (time_line.empty()) {
      time_line = in.ReadLine();
      while (IsBlankLine(time_line) && !in.AtEnd()) time_line = in.ReadLine();
    }
    // The file ended before this entry's time line: the entry is not a frame.
    if (IsBlankLine(time_line)) break;

    // A frame beyond the store is read through but not built.
    const bool build = !ctx.sink.Full();
    TimeValue start = 0;
    TimeValue end = 0;
    if (build && !words.SplitSubRipTimes(time_line, start, end)) {
      words.Split(time_line);
      start = TimeFromWords(words, 1);
      end = TimeFromWords(words, 6);
    }

    text.clear();
    bool any_text = false;
    std::size_t kept = 0;  // the text up to its last marked blank line stays
    std::string_view line;
    do {
      line = in.ReadLine();
      // A non-zero number after some text, with a time line after it, is the next entry's
      // number line (in files without blank lines between entries).
      if (any_text && NumberOf(line) != 0 && IsTimeLine(in.PeekLine())) {
        number_line_read = true;
        line = {};
      }
      if (IsMarkedBlankLine(line)) {
        any_text = true;
        if (build) {
          AppendLineText(text, line.substr(0, line.size() - kBlankLineMark.size()));
          kept = text.size();
          text += '|';
        }
      } else if (!IsBlankLine(line)) {
        any_text = true;
        if (build) {
          AppendLineText(text, line);
          text += '|';
        }
      }
    } while (!IsBlankLine(line) && !in.AtEnd());
    if (!build) {
      ctx.sink.LeaveOut();
      continue;
    }
    const std::size_t last = text.find_last_not_of('|');
    text.resize(std::max(kept, last == std::string::npos ? 0 : last + 1));
    ctx.sink.Add(start, end, text);
  }
}

void WriteSubRip(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  LineWriter& lines = ctx.lines;
  std::string& out = lines.out();
  const int count = FramesToWrite(doc);
  for (int i = 1; i <= count; ++i) {
    AppendInt(out, i);
    lines.EndLine();
    char time_line[2 * kClockTimeChars + 8];
    char* end = PutClockTime(time_line, doc.FrameStart[i], ',', kMilliseconds);
    std::memcpy(end, " --> ", 5);
    end = PutClockTime(end + 5, doc.FrameEnd[i], ',', kMilliseconds);
    out.append(time_line, end);
    lines.EndLine();
    // Each line of the text on a line of its own; an empty text is one empty line.
    const std::string_view text = ctx.Text(i);
    std::size_t from = 0;
    for (;;) {
      const std::size_t bar = text.find('|', from);
      const std::string_view part =
          text.substr(from, bar == std::string_view::npos ? std::string_view::npos : bar - from);
      AppendReplacing(out, part, kLiteralBar, "|");
      if (!text.empty() && IsBlankLine(part)) out.append(kBlankLineMark);
      lines.EndLine();
      if (bar == std::string_view::npos) break;
      from = bar + 1;
    }
    if (i != count) lines.Line("");
  }
}

}  // namespace lumetra
