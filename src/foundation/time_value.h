// Times of a subtitle: signed 32-bit counts of milliseconds from the start of the film.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumetra {

using TimeValue = std::int32_t;

// h * 3600000 + m * 60000 + s * 1000 + ms in 32-bit signed arithmetic (wrapping, no
// range checks: 0 h 90 m gives 5400000).
TimeValue MakeTime(std::int32_t h, std::int32_t m, std::int32_t s, std::int32_t ms);

// The parts of a time; every division truncates toward zero, so every non-zero part of a
// negative time is negative (-1500 gives 0, 0, -1, -500).
struct TimeParts {
  std::int32_t h = 0;
  std::int32_t m = 0;
  std::int32_t s = 0;
  std::int32_t ms = 0;
  bool operator==(const TimeParts&) const = default;
};
TimeParts SplitTime(TimeValue v);

// The 25-character prefix and text of a frame list line: start "h:mm:ss.cc", end in the
// same form, length "ss.cc" (or "--neg" / "100++"), then the text unchanged. An hour of 10
// or more makes its time text one character longer.
std::string FrameListLine(TimeValue start, TimeValue end, std::string_view text);

// The time text "h:mm:ss.cc" of a frame list line (hundredths truncated).
std::string FrameListTime(TimeValue v);
// The length text of a frame list line, always five characters.
std::string FrameListLength(TimeValue length);

}  // namespace lumetra
