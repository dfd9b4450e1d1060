// SRT2: a header of bracketed information tags, then entries of a time line
// "hh:mm:ss.cc,hh:mm:ss.cc" and one text line with "[br]" line breaks.
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

constexpr std::string_view kDefaultFontLine = "[COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial";

// A header line that begins with "[": "[KEY]value".
void ReadHeaderLine(std::string_view line, Document& doc) {
  const std::string tag = TrimLeftChar(line, '[');
  const std::size_t close = tag.find(']');
  if (close == std::string::npos) return;  // an empty key names no field
  const std::string key = LowerCaseHU(std::string_view(tag).substr(0, close));
  const std::string value = tag.substr(close + 1);
  if (key == "title") {
    doc.InfoTitle = value;
  } else if (key == "author") {
    doc.InfoAuthor = value;
  } else if (key == "source") {
    doc.InfoSource = value;
  } else if (key == "prg") {
    doc.InfoPrg = value;
  } else if (key == "filepath") {
    doc.InfoFilepath = value;
  } else if (key == "delay") {
    doc.InfoDelay = value;
  } else if (key == "cd track") {
    doc.InfoCdTrack = value;
  } else if (key == "comment") {
    doc.InfoComment = value;
  } else if (key == "colf" || key == "style" || key == "size" || key == "font") {
    doc.InfoFontLine = std::string(line);
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The first time line ends the header: a line that begins with "0", or with the hours of
// a time of ten hours or more ("12:00:00.00,...", "123:..."), which a written file has
// when its first frame starts that late; either may follow the minus sign of a negative
// time ("-00:00:01.50,...").
bool IsFirstTimeLine(std::string_view line) {
  if (line.starts_with('-')) line.remove_prefix(1);
  if (line.starts_with('0')) return true;
  std::size_t digits = 0;
  while (digits < line.size() && IsDigit(line[digits])) ++digits;
  return digits >= 2 && digits < line.size() && line[digits] == ':';
}

std::string ReplaceLineBreakTags(std::string_view text) {
  constexpr std::string_view kTag = "[br]";
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t at = text.find(kTag); at != std::string_view::npos;
       at = text.find(kTag, start)) {
    out.append(text.substr(start, at - start));
    out += '|';
    start = at + kTag.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace

void ReadSrt2(ReadContext& ctx) {
  LineReader& in = ctx.in;
  // The header ends at the first time line. A file without one has no frames.
  std::string_view time_line;
  bool found = false;
  while (!in.AtEnd()) {
    time_line = in.ReadLine();
    if (IsFirstTimeLine(time_line)) {
      found = true;
      break;
    }
    if (time_line.starts_with('[')) ReadHeaderLine(time_line, ctx.doc);
  }
  if (!found) return;

  // Time lines with fewer words than eight take the missing ones from the previous one.
  TimeLineWords words;
  while (!in.AtEnd()) {
    if (ctx.sink.Full()) {
      // Beyond the store: counted, not built.
      ctx.sink.LeaveOut();
      in.ReadLine();
    } else {
      TimeValue start;
      TimeValue end;
      if (!words.SplitSrt2Times(time_line, start, end)) {
        words.Split(time_line);
        start = TimeFromWords(words, 1);
        end = TimeFromWords(words, 5);
      }
      ctx.sink.Add(start, end, ReplaceLineBreakTags(in.ReadLine()));
    }
    if (!in.AtEnd()) {
      in.ReadLine();  // the blank line between entries
      if (!in.AtEnd()) time_line = in.ReadLine();
    }
  }
}

void WriteSrt2(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  LineWriter& lines = ctx.lines;
  std::string& out = lines.out();
  const std::string_view fixed[][2] = {
      {"[TITLE]", doc.InfoTitle},       {"[AUTHOR]", doc.InfoAuthor},
      {"[SOURCE]", doc.InfoSource},     {"[PRG]", doc.InfoPrg},
      {"[FILEPATH]", doc.InfoFilepath}, {"[DELAY]", doc.InfoDelay},
      {"[CD TRACK]", doc.InfoCdTrack},  {"[COMMENT]", doc.InfoComment},
  };
  lines.Line("[INFORMATION]");
  for (const auto& [tag, value] : fixed) {
    out.append(tag);
    lines.Line(value);
  }
  lines.Line("[END INFORMATION]");
  lines.Line("[SUBTITLE]");
  lines.Line(doc.InfoFontLine.empty() ? kDefaultFontLine : doc.InfoFontLine);

  const int count = FramesToWrite(doc);
  LineWriter::Direct direct(lines);
  for (int i = 1; i <= count; ++i) {
    const std::string_view text = ctx.Text(i);
    char* at = direct.Room(2 + 2 * kClockTimeChars + 3 + LinesJoinedChars(text, "[br]") + 2);
    // The blank line after the entry before and the time line.
    if (i > 1) at = PutLineEnd(at);
    at = PutClockTime(at, doc.FrameStart[i], '.', kHundredths);
    *at = ',';
    at = PutLineEnd(PutClockTime(at + 1, doc.FrameEnd[i], '.', kHundredths));
    direct.Wrote(PutLineEnd(PutLinesJoined(at, text, "[br]")));
  }
}

}  // namespace lumetra
