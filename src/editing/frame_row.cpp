#include "editing/frame_row.h"

#include <cstdint>
#include <limits>

#include "editing/editor_panel.h"
#include "foundation/textkit.h"

namespace lumetra {

int ShownLineCount(std::string_view text) {
  int n = 1;
  for (char c : text) {
    if (c == '|') ++n;
  }
  return n > kMaxShownLines ? kMaxShownLines : n;
}

int FrameRowHeight(std::string_view text) {
  const int n = ShownLineCount(text);
  return n == 1 ? 16 : 15 * n + 1;
}

TimeColumn TimeColumnOf(TimeValue v) {
  // A time before 0 shows as the time after 0 with a minus in front of its hours
  // ("-0:00:00.60" for -600 ms), never as digits that read like a time after 0.
  if (v < 0 && v != std::numeric_limits<TimeValue>::min()) {
    TimeColumn c = TimeColumnOf(-v);
    c.hours.insert(0, 1, '-');
    return c;
  }
  const std::string s = FrameListTime(v);
  const std::size_t colon = s.find(':');
  const std::size_t head = colon == std::string::npos ? 0 : colon + 1;
  TimeColumn c;
  c.hours = s.substr(0, head);
  c.middle = s.substr(head, 5);
  c.rest = head + 5 < s.size() ? s.substr(head + 5) : std::string();
  return c;
}

LengthColumn LengthColumnOf(TimeValue start, TimeValue end) {
  // The same 32-bit difference as the frame list line.
  const auto length = static_cast<TimeValue>(static_cast<std::uint32_t>(end) -
                                             static_cast<std::uint32_t>(start));
  const std::string s = FrameListLength(length);
  return {TrimLeftChar(LeftStr(s, 2), '0'), DropLeft(s, 2)};
}

std::vector<std::string> ShownLines(std::string_view text) {
  std::vector<std::string> lines = EditorLinesOf(text);
  if (lines.size() > static_cast<std::size_t>(kMaxShownLines)) lines.resize(kMaxShownLines);
  return lines;
}

TimeBoxTexts TimeBoxTextsOf(TimeValue v) {
  const TimeColumn c = TimeColumnOf(v);
  TimeBoxTexts t;
  t.hour = TrimRightChar(c.hours, ':');
  t.minute = LeftStr(c.middle, 2);
  t.second = DropLeft(c.middle, 3);
  t.millisecond = PadLeft(IntToText(SplitTime(v).ms), '0', 3);
  return t;
}

}  // namespace lumetra
