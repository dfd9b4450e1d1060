// SAMI: HTML-like lines; a frame starts at "<SYNC Start=ms><P>text" and ends at the next
// "<SYNC Start=ms><P><br>". The lines of a frame are joined by "<br>".
#include <cstring>
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

// Length of the line-break tag ("<br>", "<br/>" or "<br />", in any letter case) at the
// start of s, or 0.
std::size_t LineBreakTagAt(std::string_view s) {
  for (std::string_view tag : {"<br>", "<br/>", "<br />"}) {
    if (StartsWithAnyCase(s, tag)) return tag.size();
  }
  return 0;
}

std::string TextOfStartLine(std::string_view rest) {
  std::string text;
  text.reserve(rest.size());
  std::size_t copied = 0;  // rest[0, copied) is in text
  std::size_t at = rest.find('<');
  while (at != std::string_view::npos) {
    const std::size_t tag = LineBreakTagAt(rest.substr(at));
    if (tag != 0) {
      AppendLineText(text, rest.substr(copied, at - copied));
      text += '|';
      copied = at + tag;
    }
    at = rest.find('<', tag != 0 ? copied : at + 1);
  }
  AppendLineText(text, rest.substr(copied));
  const std::size_t kept = text.find_last_not_of('\t');
  text.resize(kept == std::string::npos ? 0 : kept + 1);
  return text;
}

// Frames as the SYNC lines start and end them.
class SamiFrames {
 public:
  explicit SamiFrames(ReadContext& ctx) : ctx_(ctx) {}

  void Line(std::string_view line) {
    // The line split at "<" and ">": word 2 is the first tag, word 4 the second one, and
    // everything after the fourth separator follows the second tag.
    std::size_t separators[4];
    int count = 0;
    for (std::size_t i = 0; i < line.size() && count < 4; ++i) {
      if (line[i] == '<' || line[i] == '>') separators[count++] = i;
    }
    if (count == 0) return;  // no first tag, no time
    const std::string_view first_tag =
        count == 1 ? line.substr(separators[0] + 1)
                   : line.substr(separators[0] + 1, separators[1] - separators[0] - 1);
    const std::size_t equals = first_tag.find('=');
    if (equals == std::string_view::npos) return;
    // Times before 0 are kept: the writer writes them as they are ("Start=-1500").
    const TimeValue time = NumberOf(first_tag.substr(equals + 1));

    if (count < 4) return;  // no complete second tag
    const std::string_view second_tag =
        line.substr(separators[2] + 1, separators[3] - separators[2] - 1);
    if (second_tag.size() != 1 || LowerAscii(second_tag[0]) != 'p') return;

    const std::string_view rest = line.substr(separators[3] + 1);
    const std::size_t last = rest.find_last_not_of('\t');
    const std::string_view trimmed = rest.substr(0, last == std::string_view::npos ? 0 : last + 1);
    if (!trimmed.empty() && LineBreakTagAt(trimmed) == trimmed.size()) {
      // An end line: the end of the current frame (slot 0 before any frame started), unless
      // that frame was beyond the store and left out.
      if (current_stored_) ctx_.doc.FrameEnd[ctx_.doc.FrameCount] = time;
      return;
    }
    if (ctx_.sink.Full()) {
      ctx_.sink.LeaveOut();  // beyond the store: counted, not built
      current_stored_ = false;
      return;
    }
    current_stored_ = ctx_.sink.Add(time, 0, TextOfStartLine(rest));
  }

 private:
  ReadContext& ctx_;
  bool current_stored_ = true;
};

}  // namespace

void ReadSami(ReadContext& ctx) {
  LineReader& in = ctx.in;
  std::string_view line;
  bool found = false;
  while (!in.AtEnd()) {
    line = in.ReadLine();
    if (StartsWithAnyCase(line, "<sync start")) {
      found = true;
      break;
    }
  }
  if (!found) return;

  SamiFrames frames(ctx);
  // Every line from the first SYNC line on, the last line of the file included.
  for (;;) {
    frames.Line(line);
    if (in.AtEnd()) break;
    line = in.ReadLine();
  }
}

void WriteSami(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  LineWriter& lines = ctx.lines;
  static constexpr std::string_view kHeader[] = {
      "<SAMI>",
      "<HEAD>",
      "<STYLE TYPE=\"Text/css\"><!--",
      "P {margin-left: 10pt; margin-right: 10pt; font-size: 14pt;",
      "text-align: center; font-family: tahoma, arial, sans-serif;",
      "font-weight: bold; color: white; background-color: black;}",
      ".SUBTTL {Name: 'Subtitles'; SAMIType: CC;}",
      "-->",
      "</STYLE>",
      "</HEAD>",
      "<BODY>",
      "<SYNC Start=0><P Class=SUBTTL><br>",
  };
  for (std::string_view line : kHeader) lines.Line(line);
  const int count = FramesToWrite(doc);
  constexpr std::string_view kSync = "<SYNC Start=";
  constexpr std::string_view kStart = "><P>";
  constexpr std::string_view kEnd = "><P><br>\r\n";
  {
    LineWriter::Direct direct(lines);
    for (int i = 1; i <= count; ++i) {
      const std::string_view text = ctx.Text(i);
      char* at = direct.Room(2 * (kSync.size() + kIntChars) + kStart.size() +
                             LinesJoinedChars(text, "<br>") + 2 + kEnd.size());
      // The start line, then the end line.
      std::memcpy(at, kSync.data(), kSync.size());
      at = PutInt(at + kSync.size(), doc.FrameStart[i]);
      std::memcpy(at, kStart.data(), kStart.size());
      at = PutLineEnd(PutLinesJoined(at + kStart.size(), text, "<br>"));
      std::memcpy(at, kSync.data(), kSync.size());
      at = PutInt(at + kSync.size(), doc.FrameEnd[i]);
      std::memcpy(at, kEnd.data(), kEnd.size());
      direct.Wrote(at + kEnd.size());
    }
  }
  lines.Line("</BODY>");
  lines.Line("</SAMI>");
}

}  // namespace lumetra
