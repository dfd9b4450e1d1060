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
  const std::int32_t frame =
      TruncToInt32(static_cast<long double>(time) / static_cast<long double>(ms_per_frame));
  // Reading truncates too, so a frame may read as a time that truncates to its neighbour
  // (at 25 fps frame 803 reads as 32119 ms, and 32119 / 40 is 802.975). A time that a
  // frame reads as goes back to that frame, so that frames survive a read and a write.
  if (SubFrameToMs(frame, fps) != time) {
    if (frame < INT32_MAX && SubFrameToMs(frame + 1, fps) == time) return frame + 1;
    if (frame > INT32_MIN && SubFrameToMs(frame - 1, fps) == time) return frame - 1;
  }
  return frame;
}

void TimeLineWords::Split(std::string_view line) {
  int index = 0;
  std::size_t word_start = 0;
  for (std::size_t i = 0; i < line.size() && index < kMaxWords; ++i) {
    const char c = line[i];
    if (c == ':' || c == ',' || c == '/' || c == '.' || c == ' ') {
      words_[index++] = line.substr(word_start, i - word_start);
      word_start = i + 1;
    }
  }
  if (index < kMaxWords) words_[index] = line.substr(word_start);
}

std::int32_t NumberOf(std::string_view text) {
  if (!text.empty() && text.size() <= 9) {
    std::int32_t value = 0;
    bool digits = true;
    for (char c : text) {
      if (c < '0' || c > '9') {
        digits = false;
        break;
      }
      value = value * 10 + (c - '0');
    }
    if (digits) return value;
  }
  // Most texts are no numbers at all: only blanks, a sign, a digit or a hexadecimal mark can
  // begin one.
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  const char c = text[first];
  if (!(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '$' && c != 'x' && c != 'X') {
    return 0;
  }
  return TextToInt(text);
}

TimeValue TimeFromWords(const TimeLineWords& words, int first) {
  // PadRight(word, '0', 3) without building a string.
  const std::string_view ms_word = words[first + 3];
  char ms[3] = {'0', '0', '0'};
  for (std::size_t i = 0; i < 3 && i < ms_word.size(); ++i) ms[i] = ms_word[i];
  return MakeTime(NumberOf(words[first]), NumberOf(words[first + 1]), NumberOf(words[first + 2]),
                  NumberOf(std::string_view(ms, 3)));
}

int FramesToWrite(const Document& doc) {
  const int slots = static_cast<int>(
      std::min({doc.FrameStart.size(), doc.FrameEnd.size(), doc.FrameText.size()}));
  return std::clamp(doc.FrameCount, 0, std::max(slots - 1, 0));
}

void AppendInt(std::string& out, std::int64_t v) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

void AppendClockTime(std::string& out, TimeValue v, char separator, TimeFraction fraction) {
  const TimeParts t = SplitTime(v);
  AppendPadded(out, t.h, 2);
  out += ':';
  AppendPadded(out, t.m, 2);
  out += ':';
  AppendPadded(out, t.s, 2);
  out += separator;
  if (fraction == kMilliseconds) {
    AppendPadded(out, t.ms, 3);
  } else {
    AppendPadded(out, t.ms / 10, 2);
  }
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
