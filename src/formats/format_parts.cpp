#include "formats/format_parts.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/extended.h"

namespace lumetra {

bool FrameSink::Add(TimeValue start, TimeValue end, std::string text, FrameExtras extras) {
  const int i = NextSlot(start, end);
  if (i == 0) return false;
  doc_.FrameText[i] = std::move(text);
  doc_.FrameExtra.Set(static_cast<std::size_t>(i), std::move(extras));
  return true;
}

bool FrameSink::AddCopy(TimeValue start, TimeValue end, std::string_view text) {
  return AddJoined(start, end, std::span(&text, 1));
}

void FrameSink::ClearExtras(int i) {
  const auto k = static_cast<std::size_t>(i);
  if (!doc_.FrameExtra[k].empty()) doc_.FrameExtra.Mutable(k) = FrameExtras();
}

TimeValue SubFrameToMs(std::int32_t frame, double fps) {
  // x / 0 is infinite or not a number, which truncates to 0; no need to divide.
  if (fps == 0) return 0;
  return TruncToInt32(static_cast<long double>(frame) / static_cast<long double>(fps) * 1000.0L);
}

SubFrameCounter::SubFrameCounter(double fps) {
  if (fps == 0) fps = 25;
  finite_ = std::isfinite(fps);
  backwards_ = fps < 0;
  rate_ = std::fabs(fps);
  if (!finite_ || rate_ > 1000) return;  // frames shorter than a millisecond: no fraction
  // The shortest decimal fraction that is the rate as a double.
  for (std::int64_t denominator = 1; denominator <= 1000000; denominator *= 10) {
    const double numerator = std::round(rate_ * static_cast<double>(denominator));
    if (numerator >= 1 && numerator / static_cast<double>(denominator) == rate_) {
      numerator_ = static_cast<std::int64_t>(numerator);
      divisor_ = 1000 * denominator;
      reciprocal_ = 1.0 / static_cast<double>(divisor_);
      // The fraction and the double differ by less than a 2^-53rd of the rate, and the
      // reader's extended precision by far less: a product this far from a multiple of the
      // divisor lies on the same side of a frame's edge for the reader too.
      edge_ = divisor_ >> 20;
      forward_fraction_ = !backwards_;
      return;
    }
  }
}

namespace {

// x truncated toward zero, held within 64 bits (rates near 0 put frames past them).
std::int64_t TruncToInt64(long double x) {
  constexpr long double kLimit = 9223372036854775807.0L;  // 2^63
  if (!(x > -kLimit)) return INT64_MIN;
  if (!(x < kLimit)) return INT64_MAX;
  return static_cast<std::int64_t>(x);
}

}  // namespace

std::int64_t SubFrameCounter::StartOf(std::int64_t frame) const {
  return TruncToInt64(static_cast<long double>(frame) / static_cast<long double>(rate_) * 1000.0L);
}

std::int64_t SubFrameCounter::FrameAtOrAfterZero(std::int64_t time) const {
  // Frame f starts at or before `time` while f * 1000 / rate < time + 1.
  if (divisor_ != 0) {
    const std::int64_t product = (time + 1) * numerator_;
    // (product - 1) / divisor_ by a multiplication, which may miss by one either way.
    std::int64_t frame = static_cast<std::int64_t>(static_cast<double>(product - 1) * reciprocal_);
    std::int64_t beyond = product - frame * divisor_;  // made 1..divisor_
    while (beyond <= 0) {
      --frame;
      beyond += divisor_;
    }
    while (beyond > divisor_) {
      ++frame;
      beyond -= divisor_;
    }
    if (beyond > edge_ && divisor_ - beyond > edge_) return frame;
    // Frame `next` starts at time + 1 or a hair before: the reader's count decides.
    const std::int64_t next = beyond > edge_ ? frame + 1 : frame;
    return StartOf(next) <= time ? next : next - 1;
  }
  // Any other rate: an estimate, then the reader's count on either side of it.
  // (Held within the 32 bits a frame is kept in, so that the steps cannot wrap.)
  const std::int64_t after =
      TruncToInt64(std::ceil(static_cast<long double>(time + 1) * rate_ / 1000.0L));
  std::int64_t frame = std::clamp<std::int64_t>(after, INT32_MIN, std::int64_t{INT32_MAX} + 1) - 1;
  for (int step = 0; step < 64 && StartOf(frame + 1) <= time; ++step) ++frame;
  for (int step = 0; step < 64 && frame > 0 && StartOf(frame) > time; ++step) --frame;
  return std::max<std::int64_t>(frame, 0);
}

std::int32_t SubFrameCounter::FrameOfAnyTime(TimeValue time) const {
  if (!finite_) return 0;  // an infinite rate: every frame starts at once
  const std::int64_t magnitude = time < 0 ? -static_cast<std::int64_t>(time) : time;
  std::int64_t frame = FrameAtOrAfterZero(magnitude);
  if ((time < 0) != backwards_) frame = -frame;
  // Kept in 32 bits the way a 32-bit store keeps it.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(frame));
}

std::int32_t SubMsToFrame(TimeValue time, double fps) { return SubFrameCounter(fps).FrameOf(time); }

void TimeLineWords::Split(std::string_view line) {
  if (!laid_out_.empty()) TakeLaidOutWords();
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

void TimeLineWords::TakeLaidOutWords() const {
  const char* p = laid_out_.data();
  if (laid_out_.size() == time_layout::kSubRipLayout.size()) {
    // Word 5 is the arrow.
    constexpr std::size_t kWordStart[kMaxWords] = {0, 3, 6, 9, 13, 17, 20, 23, 26};
    constexpr std::size_t kWordSize[kMaxWords] = {2, 2, 2, 3, 3, 2, 2, 2, 3};
    for (int i = 0; i < kMaxWords; ++i)
      words_[i] = std::string_view(p + kWordStart[i], kWordSize[i]);
  } else {
    // Eight words: the ninth stays as it was.
    constexpr std::size_t kWordStart[] = {0, 3, 6, 9, 12, 15, 18, 21};
    for (int i = 0; i < 8; ++i) words_[i] = std::string_view(p + kWordStart[i], 2);
  }
  laid_out_ = {};
}

bool TimeLineWords::SplitSrt2Times(std::string_view line, TimeValue& start, TimeValue& end) {
  using namespace time_layout;
  if (!HasLayout<kSrt2Layout>(line)) return false;
  // The ninth word stays as an earlier line left it (a line of this layout leaves it).
  if (laid_out_.size() == kSubRipLayout.size()) TakeLaidOutWords();
  laid_out_ = line;
  const char* p = line.data();
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

namespace {

// The number of decimal digits of u, 1 for 0.
int DigitCount(std::uint64_t u) {
  for (int count = 0;; count += 4, u /= 10000) {
    if (u < 10) return count + 1;
    if (u < 100) return count + 2;
    if (u < 1000) return count + 3;
    if (u < 10000) return count + 4;
  }
}

// The digits of u, two at a time from the right, ending just before `end`.
template <typename Unsigned>
void PutDigitsBefore(char* end, Unsigned u) {
  while (u >= 100) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (u % 100), 2);
    u /= 100;
  }
  if (u >= 10) {
    std::memcpy(end - 2, kDigitPairs + 2 * u, 2);
  } else {
    end[-1] = static_cast<char>('0' + u);
  }
}

}  // namespace

char* PutDigitsOf(char* at, std::uint64_t u) {
  char* const end = at + DigitCount(u);
  PutDigitsBefore(end, u);
  return end;
}

void AppendInt(std::string& out, std::int64_t v) {
  char buffer[kIntChars];
  out.append(buffer, PutInt(buffer, v));
}

char* PutClockTimeOfLongHours(char* at, std::uint32_t hours, const char* digits) {
  at = std::to_chars(at, at + 4, hours).ptr;  // at most 596
  std::memcpy(at, digits + 2, 6);
  return at + 6;
}

void AppendReplacing(std::string& out, std::string_view text, char from, std::string_view to) {
  std::size_t at = text.find(from);
  // Most texts hold no such character: one append.
  if (at == std::string_view::npos) {
    out.append(text);
    return;
  }
  std::size_t start = 0;
  for (; at != std::string_view::npos;
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
  const std::size_t from = out.size();
  out.resize(from + LinesJoinedChars(text, separator));
  out.resize(
      static_cast<std::size_t>(PutLinesJoined(out.data() + from, text, separator) - out.data()));
}

char* PutLinesJoined(char* at, std::string_view text, std::string_view separator) {
  // Line separators that stay as they are (SUB's): only a kLiteralBar changes.
  if (separator == "|") {
    bool unused;
    return PutLiteralBarsAsBars<false>(at, text, 0, 0, unused);
  }
  if (separator.size() == 4) {  // SRT2's and SAMI's: copied at once
    return PutLineParts(at, text, [&](char* end, std::size_t) {
      std::memcpy(end, separator.data(), 4);
      return end + 4;
    });
  }
  return PutLineParts(at, text, [&](char* end, std::size_t) {
    std::memcpy(end, separator.data(), separator.size());
    return end + separator.size();
  });
}

}  // namespace lumetra
