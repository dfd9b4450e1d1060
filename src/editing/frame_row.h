// What one row of the frame list shows, split into the pieces that are painted apart:
// the start and end times (each in a regular, a bold and a regular part), the length (a
// bold whole part and a regular rest) and the first lines of the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/time_value.h"

namespace lumetra {

// A row shows at most this many lines of a frame's text.
inline constexpr int kMaxShownLines = 8;

// Number of text lines a row shows: the parts of the text between "|", at most 8.
int ShownLineCount(std::string_view text);
// Height of a row in pixels: 16 for one line, 15 per line plus 1 for more.
int FrameRowHeight(std::string_view text);

// A time of the list, "h:mm:ss.cc", as painted: the hours with their colon, then minutes,
// colon and seconds (bold), then the point and the hundredths. The parts come from the
// time itself, so times of 10 hours and more keep their minutes and seconds together. A
// time before 0 has a minus in front of its hours: "-0:" "00:00" ".60" for -600 ms.
struct TimeColumn {
  std::string hours;    // "0:"
  std::string middle;   // "01:23"
  std::string rest;     // ".45"
};
TimeColumn TimeColumnOf(TimeValue v);

// The length column: the whole seconds without leading zeros (bold) and the rest; "--neg"
// and "100++" are split the same way ("--" and "neg", "10" and "0++").
struct LengthColumn {
  std::string whole;  // "3" of "03.25"; empty for "00.50"
  std::string rest;   // ".25"
};
LengthColumn LengthColumnOf(TimeValue start, TimeValue end);

// The lines a row shows: the first ShownLineCount parts of the text.
std::vector<std::string> ShownLines(std::string_view text);

// The texts of a frame's time boxes: hour, minute and second as the list shows them, the
// milliseconds padded to three digits.
struct TimeBoxTexts {
  std::string hour;
  std::string minute;
  std::string second;
  std::string millisecond;
  bool operator==(const TimeBoxTexts&) const = default;
};
TimeBoxTexts TimeBoxTextsOf(TimeValue v);

}  // namespace lumetra
