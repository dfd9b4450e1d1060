#include "formats/format_parts.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "foundation/extended.h"

namespace lumetra {

bool FrameSink::Add(TimeValue start, TimeValue end, std::string text) {
  if (doc_.FrameCount >= MaxReadFrames) {
    ++left_out_;
    return false;
  }
  const int i = ++doc_.FrameCount;
  doc_.FrameStart[i] = start;
  doc_.FrameEnd[i] = end;
  doc_.FrameText[i] = std::move(text);
  return true;
}

TimeValue SubFrameToMs(std::int32_t frame, double fps) {
  // x / 0 is infinite or not a number, which truncates to 0; no need to divide.
  if (fps == 0) return 0;
  return TruncToInt32(static_cast<long double>(frame) / static_cast<long double>(fps) * 1000.0L);
}

std::int32_t SubMsToFrame(TimeValue time, double fps) {
  if (fps == 0) fps = 25;
  const double ms_per_frame = 1000.0 / fps;
  if (ms_per_frame == 0) return 0;  // an infinite rate: the quotient is not finite
  return TruncToInt32(static_cast<long double>(time) / static_cast<long double>(ms_per_frame));
}

TimeValue TimeFromWords(const WordArray& words, int first) {
  return MakeTime(TextToInt(words[first]), TextToInt(words[first + 1]),
                  TextToInt(words[first + 2]), TextToInt(PadRight(words[first + 3], '0', 3)));
}

int FramesToWrite(const Document& doc) {
  const int slots = static_cast<int>(
      std::min({doc.FrameStart.size(), doc.FrameEnd.size(), doc.FrameText.size()}));
  return std::clamp(doc.FrameCount, 0, std::max(slots - 1, 0));
}

void AppendLine(std::string& out, std::string_view text) {
  out.append(text);
  out.append("\r\n");
}

void AppendInt(std::string& out, std::int64_t v) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

void AppendPadded(std::string& out, std::int64_t v, int width) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  const auto length = static_cast<int>(result.ptr - buffer);
  if (length >= width) {
    out.append(result.ptr - width, result.ptr);
  } else {
    out.append(static_cast<std::size_t>(width - length), '0');
    out.append(buffer, result.ptr);
  }
}

void AppendReplacing(std::string& out, std::string_view text, char from, std::string_view to) {
  std::size_t start = 0;
  for (std::size_t at = text.find(from); at != std::string_view::npos;
       at = text.find(from, start)) {
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + 1;
  }
  out.append(text.substr(start));
}

}  // namespace lumetra
