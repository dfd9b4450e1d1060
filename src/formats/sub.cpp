// SUB: one line per frame, "{start frame}{end frame}text", frames counted at a rate the
// user confirms.
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

// The three pieces of a line that begins with two brace groups, "{a}{b}c": a, b, and c up
// to the next brace (or the end of the line).
struct SubLine {
  std::string_view start_frame;
  std::string_view end_frame;
  std::string_view text;
};

bool SplitSubLine(std::string_view line, SubLine& parts) {
  constexpr std::string_view kBraces = "{}";
  if (!line.starts_with('{')) return false;
  const std::size_t close1 = line.find_first_of(kBraces, 1);
  if (close1 == std::string_view::npos || line[close1] != '}') return false;
  if (close1 + 1 >= line.size() || line[close1 + 1] != '{') return false;
  const std::size_t close2 = line.find_first_of(kBraces, close1 + 2);
  if (close2 == std::string_view::npos || line[close2] != '}') return false;
  parts.start_frame = line.substr(1, close1 - 1);
  parts.end_frame = line.substr(close1 + 2, close2 - close1 - 2);
  const std::size_t next = line.find_first_of(kBraces, close2 + 1);
  parts.text = line.substr(close2 + 1, next == std::string_view::npos ? next : next - close2 - 1);
  return true;
}

}  // namespace

void ReadSub(ReadContext& ctx) {
  SubLine parts;
  while (!ctx.in.AtEnd()) {
    // Lines that do not begin with two brace groups (blank ones among them) are no frames.
    if (!SplitSubLine(ctx.in.ReadLine(), parts)) continue;
    ctx.sink.Add(SubFrameToMs(NumberOf(parts.start_frame), ctx.sub_fps),
                 SubFrameToMs(NumberOf(parts.end_frame), ctx.sub_fps), std::string(parts.text));
  }
}

void WriteSub(const Document& doc, double sub_fps, std::string& out) {
  LineWriter lines(out);
  const int count = FramesToWrite(doc);
  for (int i = 1; i <= count; ++i) {
    out += '{';
    AppendInt(out, SubMsToFrame(doc.FrameStart[i], sub_fps));
    out.append("}{");
    AppendInt(out, SubMsToFrame(doc.FrameEnd[i], sub_fps));
    out += '}';
    lines.Line(doc.FrameText[i]);
  }
}

}  // namespace lumetra
