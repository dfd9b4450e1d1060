#include "formats/format_parts.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/extended.h"

namespace lumetra {

bool FrameSink::Add(TimeValue start, TimeValue end, std::string text, FrameExtras extras) {
  if (doc_.FrameCount >= MaxReadFrames) {
    ++left_out_;
    return false;
  }
  const int i = ++doc_.FrameCount;
  doc_.FrameStart[i] = start;
  doc_.FrameEnd[i] = end;
  doc_.FrameText[i] = std::move(text);
  doc_.FrameExtra[static_cast<std::size_t>(i)] = std::move(extras);
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

namespace {

#if defined(__SSE2__)
// Of 16 bytes of a line, those that fit the pattern: digits where the pattern has '9', the
// pattern's own character everywhere else (a '9' is a digit in both).
int FittingBytes(const char* line, const char* pattern) {
  const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line));
  const __m128i want = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
  const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)),
                                      _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
  const __m128i digit_wanted = _mm_cmpeq_epi8(want, _mm_set1_epi8('9'));
  return _mm_movemask_epi8(
      _mm_or_si128(_mm_cmpeq_epi8(c, want), _mm_and_si128(digit, digit_wanted)));
}
#endif

// Whether the line has the layout of `pattern` (16 to 32 characters): a digit where it has
// '9', its own character everywhere else.
bool HasLayout(std::string_view line, std::string_view pattern) {
  if (line.size() != pattern.size()) return false;
#if defined(__SSE2__)
  // The first and the last 16 bytes, which overlap.
  const std::size_t last = line.size() - 16;
  return FittingBytes(line.data(), pattern.data()) == 0xFFFF &&
         FittingBytes(line.data() + last, pattern.data() + last) == 0xFFFF;
#else
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (pattern[i] == '9' ? static_cast<unsigned char>(c - '0') > 9 : c != pattern[i]) {
      return false;
    }
  }
  return true;
#endif
}

std::int32_t TwoDigits(const char* at) { return (at[0] - '0') * 10 + (at[1] - '0'); }

// MakeTime of "hh:mm:ss" at `at` and the fraction `ms`.
TimeValue ClockTimeAt(const char* at, std::int32_t ms) {
  return MakeTime(TwoDigits(at), TwoDigits(at + 3), TwoDigits(at + 6), ms);
}

}  // namespace

bool TimeLineWords::SplitSubRipTimes(std::string_view line, TimeValue& start, TimeValue& end) {
  if (!HasLayout(line, "99:99:99,999 --> 99:99:99,999")) return false;
  // Word 5 is the arrow.
  constexpr std::size_t kWordStart[kMaxWords] = {0, 3, 6, 9, 13, 17, 20, 23, 26};
  constexpr std::size_t kWordSize[kMaxWords] = {2, 2, 2, 3, 3, 2, 2, 2, 3};
  const char* p = line.data();
  for (int i = 0; i < kMaxWords; ++i) words_[i] = std::string_view(p + kWordStart[i], kWordSize[i]);
  start = ClockTimeAt(p, TwoDigits(p + 9) * 10 + (p[11] - '0'));
  end = ClockTimeAt(p + 17, TwoDigits(p + 26) * 10 + (p[28] - '0'));
  return true;
}

bool TimeLineWords::SplitSrt2Times(std::string_view line, TimeValue& start, TimeValue& end) {
  if (!HasLayout(line, "99:99:99.99,99:99:99.99")) return false;
  // Eight words: the ninth stays as it was.
  constexpr std::size_t kWordStart[] = {0, 3, 6, 9, 12, 15, 18, 21};
  const char* p = line.data();
  for (int i = 0; i < 8; ++i) words_[i] = std::string_view(p + kWordStart[i], 2);
  // The hundredths filled on the right to milliseconds.
  start = ClockTimeAt(p, TwoDigits(p + 9) * 10);
  end = ClockTimeAt(p + 12, TwoDigits(p + 21) * 10);
  return true;
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
  const std::string_view hours_word = words[first];
  const bool negative =
      hours_word.size() > 1 && hours_word[0] == '-' && hours_word[1] >= '0' && hours_word[1] <= '9';
  // 32-bit arithmetic that wraps, like MakeTime's.
  auto negated = [](std::int32_t v) {
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v));
  };
  const std::int32_t hours = NumberOf(hours_word);
  const TimeValue time = MakeTime(negative ? negated(hours) : hours, NumberOf(words[first + 1]),
                                  NumberOf(words[first + 2]), NumberOf(std::string_view(ms, 3)));
  return negative ? negated(time) : time;
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

namespace {

// "00" "01" ... "99": two digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* PutTwoDigits(char* at, std::int32_t v) {
  std::memcpy(at, kDigitPairs + 2 * v, 2);
  return at + 2;
}

}  // namespace

char* PutClockTime(char* at, TimeValue v, char separator, TimeFraction fraction) {
  auto u = static_cast<std::uint32_t>(v);
  if (v < 0) u = 0u - u;  // the length of the time, INT32_MIN's too
  // A negative time that shows as zero (-5 ms in hundredths) is written as zero.
  if (v < 0 && (fraction == kMilliseconds ? u : u / 10) != 0) *at++ = '-';
  const std::uint32_t ms = u % 1000;
  const std::uint32_t seconds = u / 1000;
  const std::uint32_t hours = seconds / 3600;
  if (hours < 100) {
    at = PutTwoDigits(at, static_cast<std::int32_t>(hours));
  } else {
    at = std::to_chars(at, at + 4, hours).ptr;  // at most 596
  }
  *at++ = ':';
  at = PutTwoDigits(at, static_cast<std::int32_t>(seconds / 60 % 60));
  *at++ = ':';
  at = PutTwoDigits(at, static_cast<std::int32_t>(seconds % 60));
  *at++ = separator;
  at = PutTwoDigits(at, static_cast<std::int32_t>(ms / 10));
  if (fraction == kMilliseconds) *at++ = static_cast<char>('0' + ms % 10);
  return at;
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

void WriteKeptLines(std::string_view kept, LineWriter& lines) {
  LineReader in(kept);
  while (!in.AtEnd()) lines.Line(in.ReadLine());
}

void AppendLinesJoined(std::string& out, std::string_view text, std::string_view separator) {
  constexpr char kStops[] = {'|', kLiteralBar, '\0'};
  std::size_t start = 0;
  for (std::size_t at = text.find_first_of(kStops); at != std::string_view::npos;
       at = text.find_first_of(kStops, start)) {
    out.append(text.substr(start, at - start));
    if (text[at] == '|') {
      out.append(separator);
    } else {
      out += '|';
    }
    start = at + 1;
  }
  out.append(text.substr(start));
}

}  // namespace lumetra
