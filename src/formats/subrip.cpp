// Numbered SubRip: an entry number, a time line "hh:mm:ss,mmm --> hh:mm:ss,mmm", text
// lines, a blank line.
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

void ReadSubRip(ReadContext& ctx) {
  LineReader& in = ctx.in;
  // Time lines with fewer words than nine take the missing ones from the previous one.
  TimeLineWords words;
  bool number_line_read = false;  // the previous entry's text loop met this entry's number
  std::string text;
  while (!in.AtEnd()) {
    if (!number_line_read) {
      // The number line: the first line that is not blank; its content is ignored.
      std::string_view line;
      do {
        line = in.ReadLine();
      } while (IsBlankLine(line) && !in.AtEnd());
    }
    number_line_read = false;

    std::string_view time_line = in.ReadLine();
    while (IsBlankLine(time_line) && !in.AtEnd()) time_line = in.ReadLine();
    // The file ended before this entry's time line: the entry is not a frame.
    if (IsBlankLine(time_line)) break;

    words.Split(time_line);
    const TimeValue start = TimeFromWords(words, 1);
    const TimeValue end = TimeFromWords(words, 6);

    text.clear();
    std::string_view line;
    do {
      line = in.ReadLine();
      // A non-zero number after some text is the next entry's number line.
      if (!text.empty() && NumberOf(line) != 0) {
        number_line_read = true;
        line = {};
      }
      if (!IsBlankLine(line)) {
        text.append(line);
        text += '|';
      }
    } while (!IsBlankLine(line) && !in.AtEnd());
    const std::size_t kept = text.find_last_not_of('|');
    text.resize(kept == std::string::npos ? 0 : kept + 1);
    ctx.sink.Add(start, end, text);
  }
}

void WriteSubRip(const Document& doc, double /*sub_fps*/, std::string& out) {
  LineWriter lines(out);
  const int count = FramesToWrite(doc);
  for (int i = 1; i <= count; ++i) {
    AppendInt(out, i);
    lines.EndLine();
    AppendClockTime(out, doc.FrameStart[i], ',', kMilliseconds);
    out.append(" --> ");
    AppendClockTime(out, doc.FrameEnd[i], ',', kMilliseconds);
    lines.EndLine();
    lines.Line(doc.FrameText[i]);
    if (i != count) lines.Line("");
  }
}

}  // namespace lumetra
