#include "foundation/time_value.h"

#include "foundation/textkit.h"

namespace lumetra {

TimeValue MakeTime(std::int32_t h, std::int32_t m, std::int32_t s, std::int32_t ms) {
  // Unsigned arithmetic wraps like the 32-bit signed arithmetic of the format's origin.
  const std::uint32_t total = static_cast<std::uint32_t>(h) * 3600000u +
                              static_cast<std::uint32_t>(m) * 60000u +
                              static_cast<std::uint32_t>(s) * 1000u + static_cast<std::uint32_t>(ms);
  return static_cast<TimeValue>(total);
}

TimeParts SplitTime(TimeValue v) {
  TimeParts parts;
  parts.h = v / 3600000;
  const std::int32_t r = v - parts.h * 3600000;
  parts.m = r / 60000;
  const std::int32_t r2 = r - parts.m * 60000;
  parts.s = r2 / 1000;
  parts.ms = r2 - parts.s * 1000;
  return parts;
}

std::string FrameListTime(TimeValue v) {
  const TimeParts t = SplitTime(v);
  std::string text = RightStr(IntToText(t.h), 2);
  text += ':';
  text += PadLeft(IntToText(t.m), '0', 2);
  text += ':';
  text += PadLeft(IntToText(t.s), '0', 2);
  text += '.';
  text += LeftStr(PadLeft(IntToText(t.ms), '0', 3), 2);
  return text;
}

std::string FrameListLength(TimeValue length) {
  if (length < 0) return "--neg";
  if (length > 99999) return "100++";
  return PadLeft(IntToText(length / 1000), '0', 2) + "." +
         LeftStr(PadLeft(IntToText(length % 1000), '0', 3), 2);
}

std::string FrameListLine(TimeValue start, TimeValue end, std::string_view text) {
  // The length is a 32-bit difference, like every other time computation.
  const TimeValue length =
      static_cast<TimeValue>(static_cast<std::uint32_t>(end) - static_cast<std::uint32_t>(start));
  std::string line = FrameListTime(start);
  line += FrameListTime(end);
  line += FrameListLength(length);
  line += text;
  return line;
}

}  // namespace lumetra
