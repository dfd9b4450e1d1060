// SUB: one line per frame, "{start frame}{end frame}text", frames counted at a rate the
// user confirms.
#include <string>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

// The three pieces of a line that begins with two brace groups, "{a}{b}c": a, b, and the
// rest of the line, c, formatting codes such as "{y:i}" included.
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
  parts.text = line.substr(close2 + 1);
  return true;
}

bool IsRateLine(const SubLine& parts) {
  if (parts.start_frame != parts.end_frame) return false;
  if (parts.start_frame != "1" && parts.start_frame != "0") return false;
  const std::string_view rate = parts.text;
  const std::size_t point = rate.find('.');
  const std::string_view whole = rate.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view("0") : rate.substr(point + 1);
  auto digits = [](std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(whole) || !digits(fraction)) return false;
  const double value = TextToFloat(rate);
  return value > 0 && value <= 50;
}

}  // namespace

std::optional<std::string> SubRateOfFirstFrame(LineReader& in) {
  SubLine parts;
  while (!in.AtEnd()) {
    if (!SplitSubLine(in.ReadLine(), parts)) continue;
    if (IsRateLine(parts)) return std::string(parts.text);
    return std::nullopt;
  }
  return std::nullopt;
}

void ReadSub(ReadContext& ctx) {
  SubLine parts;
  bool first = true;
  while (!ctx.in.AtEnd()) {
    // Lines that do not begin with two brace groups (blank ones among them) are no frames.
    const std::string_view line = ctx.in.ReadLine();
    if (!SplitSubLine(line, parts)) continue;
    if (first) {
      first = false;
      if (IsRateLine(parts)) {
        ctx.doc.SubRateLine = std::string(line);  // a setting, not a subtitle
        continue;
      }
    }
    if (ctx.sink.Full()) {
      ctx.sink.LeaveOut();  // beyond the store: counted, not built
      continue;
    }
    ctx.sink.Add(SubFrameToMs(NumberOf(parts.start_frame), ctx.sub_fps),
                 SubFrameToMs(NumberOf(parts.end_frame), ctx.sub_fps), std::string(parts.text));
  }
}

void WriteSub(const WriteContext& ctx) {
  const Document& doc = ctx.doc;
  const double sub_fps = ctx.sub_fps;
  LineWriter& lines = ctx.lines;
  std::string& out = lines.out();
  SubLine parts;
  if (SplitSubLine(doc.SubRateLine, parts)) {
    // The file's own rate line, with the rate the frames are written at.
    const double rate = sub_fps == 0 ? 25 : sub_fps;
    if (TextToFloat(parts.text) == rate) {
      lines.Line(doc.SubRateLine);
    } else {
      out += '{';
      out.append(parts.start_frame);
      out.append("}{");
      out.append(parts.end_frame);
      out += '}';
      lines.Line(FloatToText(rate));
    }
  }
  const int count = FramesToWrite(doc);
  const SubFrameCounter frames(sub_fps);
  if (doc.SubRateLine.empty()) {
    // A document that is SUB already and has no rate line stays so (its file comes back
    // byte for byte); a document that becomes SUB gets one, when asked to.
    bool rate_line = ctx.sub_rate_line && doc.FileKind != kKindSub;
    // A first frame that reads like a rate line ("{0}{0}5") would vanish when the file is
    // read again: a rate line before it keeps it a frame.
    if (!rate_line && count >= 1) {
      const std::string start = std::to_string(frames.FrameOf(doc.FrameStart[1]));
      const std::string end = std::to_string(frames.FrameOf(doc.FrameEnd[1]));
      rate_line = IsRateLine(SubLine{start, end, ctx.Text(1)});
    }
    if (rate_line) {
      out.append("{1}{1}");
      lines.Line(FloatToText(sub_fps == 0 ? 25 : sub_fps));
    }
  }
  // A text that holds none of the characters the conversion looks for stays as it is: the
  // one pass that copies it also looks for them, and only a text that holds one is
  // converted and written again.
  char first = 0;
  char second = 0;
  const bool watch = ctx.converter != nullptr && ctx.converter->StaysWithout(first, second);
  LineWriter::Direct direct(lines);
  for (int i = 1; i <= count; ++i) {
    const std::string_view text = watch ? doc.FrameText[static_cast<std::size_t>(i)] : ctx.Text(i);
    constexpr std::size_t kBraces = 2 * kIntChars + 4;
    char* line = direct.Room(kBraces + LinesJoinedChars(text, "|") + 2);
    char* at = line;
    *at++ = '{';
    at = PutIntPair(at, frames.FrameOf(doc.FrameStart[i]), "}{", frames.FrameOf(doc.FrameEnd[i]));
    *at++ = '}';
    // "|" separates the lines, and a "|" that is part of a line cannot be told from it.
    if (!watch) {
      direct.Wrote(PutLineEnd(PutLinesJoined(at, text, "|")));
      continue;
    }
    bool holds = false;
    char* const end = PutSubTextWatching(at, text, first, second, holds);
    if (!holds) {
      direct.Wrote(PutLineEnd(end));
      continue;
    }
    // Most texts that hold markup have no SUB codes: converted straight where they go.
    if (char* const converted_end = ctx.converter->PutHoldingWithoutSubCodes(at, text)) {
      direct.Wrote(PutLineEnd(converted_end));
      continue;
    }
    const std::string_view converted = ctx.converter->ConvertHolding(text);
    const auto braces = static_cast<std::size_t>(at - line);
    at = direct.Room(kBraces + LinesJoinedChars(converted, "|") + 2) + braces;
    direct.Wrote(PutLineEnd(PutLinesJoined(at, converted, "|")));
  }
}

}  // namespace lumetra
