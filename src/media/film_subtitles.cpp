#include "media/film_subtitles.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "foundation/code_pages.h"

namespace lumetra {

namespace {

void AppendTime(std::string& out, TimeValue ms) {
  char text[32];
  const TimeParts p = SplitTime(ms);
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", p.h, p.m, p.s, p.ms);
  out += text;
}

}  // namespace

std::string FilmSubtitleText(const Document& doc) {
  std::string out;
  int number = 0;
  for (int i = 1; i <= doc.FrameCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const TimeValue start = std::max<TimeValue>(doc.FrameStart[k], 0);
    const TimeValue end = doc.FrameEnd[k];
    if (end <= start) continue;
    out += std::to_string(++number) + "\n";
    AppendTime(out, start);
    out += " --> ";
    AppendTime(out, end);
    out += "\n";
    const std::string text = DecodeToUtf8(doc.FrameText[k], doc.Encoding);
    std::string_view rest = text;
    while (true) {
      const std::size_t bar = rest.find('|');
      std::string line(rest.substr(0, bar));
      // A line break inside a line would end the entry early.
      std::replace_if(
          line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
      out += line.find_first_not_of(" \t") == std::string::npos ? "\u00A0" : line;
      out += "\n";
      if (bar == std::string_view::npos) break;
      rest.remove_prefix(bar + 1);
    }
    out += "\n";
  }
  return out;
}

}  // namespace lumetra
