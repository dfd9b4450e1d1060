// What the four format modules (subrip.cpp, sub.cpp, srt2.cpp, sami.cpp) share, and their
// read and write entry points, which the format table of subtitle_io.cpp calls.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "formats/line_io.h"
#include "formats/markup.h"
#include "formats/time_layout.h"
#include "foundation/textkit.h"
#include "foundation/time_value.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumetra {

// Stores the frames a reader completes into slots 1, 2, ... of the document, up to
// MaxReadFrames; frames beyond that are counted, never stored.
class FrameSink {
 public:
  explicit FrameSink(Document& doc) : doc_(doc) {}
  // Stores a frame in the next slot and returns true, or counts it as left out and returns
  // false when the reader's share of the store is full.
  bool Add(TimeValue start, TimeValue end, std::string text, FrameExtras extras = {});
  // The same without extras, the text copied straight into its slot.
  bool AddCopy(TimeValue start, TimeValue end, std::string_view text);
  // AddCopy of the lines joined by "|" (none: the empty text), built in its slot with one
  // allocation. Inline: a reader stores most frames with it.
  bool AddJoined(TimeValue start, TimeValue end, std::span<const std::string_view> lines) {
    const int i = NextSlot(start, end);
    if (i == 0) return false;
    std::string& slot = doc_.FrameText[i];
    // The slot's string is made anew where it stands, with no other string to move from and
    // destroy; should making it fail, the slot is left an empty string.
    std::destroy_at(&slot);
    try {
      if (lines.size() <= 1) {
        std::construct_at(&slot, lines.empty() ? std::string_view() : lines[0]);
      } else {
        // The text made all "|" at once, then each line copied over its part.
        std::size_t size = lines.size() - 1;
        for (const std::string_view line : lines) size += line.size();
        char* at = std::construct_at(&slot, size, '|')->data();
        for (const std::string_view line : lines) {
          std::memcpy(at, line.data(), line.size());
          at += line.size() + 1;
        }
      }
    } catch (...) {
      std::construct_at(&slot);
      throw;
    }
    // A frame without extras, as Add stores it (a column without memory has none).
    if (doc_.FrameExtra.Allocated()) ClearExtras(i);
    return true;
  }
  // Whether the reader's share of the store is full. A reader then counts each frame it
  // meets with LeaveOut instead of building it.
  bool Full() const { return doc_.FrameCount >= MaxReadFrames; }
  void LeaveOut() { ++left_out_; }
  Document& doc() { return doc_; }
  int left_out() const { return left_out_; }

 private:
  // The next slot with its times set, or 0 (counted as left out) when the share is full.
  int NextSlot(TimeValue start, TimeValue end) {
    if (doc_.FrameCount >= MaxReadFrames) {
      ++left_out_;
      return 0;
    }
    const int i = ++doc_.FrameCount;
    doc_.FrameStart[i] = start;
    doc_.FrameEnd[i] = end;
    return i;
  }
  // Gives slot i no extras.
  void ClearExtras(int i);

  Document& doc_;
  int left_out_ = 0;
};

// Everything a reader gets: the lines after any byte-order mark, where its frames go, the
// document (for the information header) and the SUB frame rate.
struct ReadContext {
  LineReader& in;
  FrameSink& sink;
  Document& doc;
  double sub_fps;
};

void ReadSubRip(ReadContext& ctx);
// A SubRip time line that the reader reads whole: from its first character a clock time, the arrow
// " --> " between single blanks and a clock time, each "h:m:s,f" or "h:m:s.f" (parts
// perhaps negative, as times before 0 are written), then the end of the line or a blank and
// anything (players' settings). Such a line always begins a new frame, also where a text
// would go on.
bool IsSubRipTimeLine(std::string_view line);
void ReadSub(ReadContext& ctx);
void ReadSrt2(ReadContext& ctx);
void ReadSami(ReadContext& ctx);
void ReadWebVtt(ReadContext& ctx);
// ASS and SSA; the file's ScriptType or styles section tells which (doc.FileKind).
void ReadAss(ReadContext& ctx);

// SAMI as other programs write it (sami_tolerant.cpp), for files in which ReadSami finds
// no frame. Entities become their characters where the code page holds them.
struct TolerantSamiResult {
  std::optional<std::string> class_read;      // the class of the frames read
  std::vector<std::string> classes_left_out;  // other classes, in the order found
};
// Whether the text holds a SYNC tag, in any letter case.
bool HoldsSyncTag(std::string_view text);
TolerantSamiResult ReadSamiTolerant(std::string_view text, FrameSink& sink, CodePage page);

// A SUB file states its own frame rate when its first frame is "{1}{1}RATE" or
// "{0}{0}RATE", RATE a decimal number that the SUB frame-rate dialog accepts ("23.976").
// Reads up to the first frame and returns its RATE when it is such a line.
std::optional<std::string> SubRateOfFirstFrame(LineReader& in);

// Everything a writer gets: the document, the frame rate (SUB only), where its lines go,
// the format it writes and the texts in that format's markup.
struct WriteContext {
  const Document& doc;
  double sub_fps;
  LineWriter& lines;
  int kind;
  // A SUB file starts with a frame-rate line (see WriteOptions).
  bool sub_rate_line = false;
  // What converts the texts into the format's markup; null when they are in it.
  MarkupConverter* converter = nullptr;

  // Frame i's text in the format's markup, valid until the next call.
  std::string_view Text(int i) const {
    const std::string_view text = doc.FrameText[static_cast<std::size_t>(i)];
    return converter != nullptr ? converter->Convert(text) : text;
  }
  // The document's format header, when it is of the format written (its frames' extras are
  // then of that format too); null otherwise.
  const FormatHeader* OwnHeader() const {
    return doc.FileHeader && doc.FileHeader->kind == kind ? doc.FileHeader.get() : nullptr;
  }
};

// Writers write the frames 1..FrameCount (and any header) as lines, every line ended by
// CR LF.
void WriteSubRip(const WriteContext& ctx);
void WriteSub(const WriteContext& ctx);
void WriteSrt2(const WriteContext& ctx);
void WriteSami(const WriteContext& ctx);
void WriteWebVtt(const WriteContext& ctx);
void WriteAss(const WriteContext& ctx);  // ASS or SSA, as ctx.kind says

// Kept lines ("a\nb\n", see FormatHeader) written as lines.
void WriteKeptLines(std::string_view kept, LineWriter& lines);

// The time at which the reader starts SUB frame `frame`: trunc(frame / fps * 1000) in
// extended precision. A frame rate of 0 gives 0 ms (the quotient is not finite).
TimeValue SubFrameToMs(std::int32_t frame, double fps);

// The SUB frames of times at one rate (0 counts as 25), as the reader counts them: a time
// of 0 or more is written as the frame it falls in, the last frame that SubFrameToMs
// starts at or before it; a negative time as the negative of its opposite's frame (times
// truncate toward zero, so at 25 fps -20 ms is frame 0 and -40 ms frame -1). A time
// SubFrameToMs makes of a frame gives that frame back. The rate is taken as a decimal
// fraction (23.976 as 23976/1000) where it is one, so that most times cost an integer
// multiplication and a division (made a multiplication too), and the reader's own count
// settles the rare time that lies on a frame's edge.
class SubFrameCounter {
 public:
  explicit SubFrameCounter(double fps);
  std::int32_t FrameOf(TimeValue time) const {
    // Inline, for the times of every frame: a time of 0 or more at a forward rate that is
    // a fraction, whose first estimate (see FrameAtOrAfterZero) is right and lies away from
    // a frame's edge, has that frame; any other goes the whole way.
    if (forward_fraction_ && time >= 0) {
      const std::int64_t product = (std::int64_t{time} + 1) * numerator_;
      const auto frame = static_cast<std::int64_t>(static_cast<double>(product - 1) * reciprocal_);
      const std::int64_t beyond = product - frame * divisor_;
      if (beyond > edge_ && beyond < divisor_ - edge_) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(frame));
      }
    }
    return FrameOfAnyTime(time);
  }

 private:
  std::int32_t FrameOfAnyTime(TimeValue time) const;
  // The frame of a time of 0 or more at the positive rate rate_.
  std::int64_t FrameAtOrAfterZero(std::int64_t time) const;
  // The reader's start of a frame at rate_, without wrapping into 32 bits.
  std::int64_t StartOf(std::int64_t frame) const;

  double rate_ = 25;  // positive; a negative rate counts the frames backwards
  bool backwards_ = false;
  bool finite_ = true;
  // The rate as numerator_ / (divisor_ / 1000); divisor_ is 0 when it is no such fraction.
  std::int64_t numerator_ = 0;
  std::int64_t divisor_ = 0;
  double reciprocal_ = 0;  // 1 / divisor_
  // How near a multiple of divisor_ a product may come before the reader decides.
  std::int64_t edge_ = 0;
  // A finite rate, forward, that is such a fraction.
  bool forward_fraction_ = false;
};

// SubFrameCounter(fps).FrameOf(time).
std::int32_t SubMsToFrame(TimeValue time, double fps);

// --- Shared pieces of text ---

// True when the line holds nothing but spaces.
inline bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

// The words of time lines, split at ":", ",", "/", "." and space the way SplitWords5 splits
// them into a WordArray: a split writes words 1..count and leaves the words above its count
// as earlier splits of the same read left them. Only the first kMaxWords are kept, which is
// all a time line uses. The words point into the lines, which live as long as the read.
class TimeLineWords {
 public:
  static constexpr int kMaxWords = 9;
  void Split(std::string_view line);
  // The two times of a time line as the writers write it, SubRip's
  // "hh:mm:ss,mmm --> hh:mm:ss,mmm" or SRT2's "hh:mm:ss.cc,hh:mm:ss.cc" (digits only):
  // sets the words as Split does and gives what TimeFromWords gives of them. False, and
  // nothing changed, for any other line.
  bool SplitSubRipTimes(std::string_view line, TimeValue& start, TimeValue& end);
  // The size of the lines SplitSubRipTimes takes.
  static constexpr std::size_t kSubRipTimeLineSize = 29;
  bool SplitSrt2Times(std::string_view line, TimeValue& start, TimeValue& end);
  std::string_view operator[](int i) const {  // 1..kMaxWords
    if (!laid_out_.empty()) TakeLaidOutWords();
    return words_[i - 1];
  }

 private:
  // The words of laid_out_, a line of one of the two layouts, which are only cut out of it
  // when they are asked for (most time lines never need them).
  void TakeLaidOutWords() const;

  mutable std::string_view words_[kMaxWords];
  mutable std::string_view laid_out_;
};

static_assert(time_layout::kSubRipLayout.size() == TimeLineWords::kSubRipTimeLineSize);

// Inline: the SubRip reader reads the time line of every frame with it.
inline bool TimeLineWords::SplitSubRipTimes(std::string_view line, TimeValue& start,
                                            TimeValue& end) {
  using namespace time_layout;
  if (!HasLayout<kSubRipLayout>(line)) return false;
  // An earlier line's words that this line leaves (none here) are not needed any more.
  laid_out_ = line;
  const char* p = line.data();
  start = ClockTimeAt(p, TwoDigits(p + 9) * 10 + (p[11] - '0'));
  end = ClockTimeAt(p + 17, TwoDigits(p + 26) * 10 + (p[28] - '0'));
  return true;
}

// TextToInt, with a short cut for the plain digits that make up most time fields.
std::int32_t NumberOf(std::string_view text);

// MakeTime of four words starting at `first`: hours, minutes, seconds, and milliseconds
// filled on the right with "0" to three digits (PadRight). Words that are not numbers
// count as 0. Hours written with a minus sign ("-00:00:05,440") make the whole time
// negative, as the writers write a negative time.
TimeValue TimeFromWords(const TimeLineWords& words, int first);

// Number of frames a writer writes: FrameCount, kept within the store.
int FramesToWrite(const Document& doc);

void AppendInt(std::string& out, std::int64_t v);
// The decimal text of v (a minus in front of a negative) written at `at`, at most
// kIntChars characters; the bytes after them up to at + kIntChars may be overwritten too.
// Returns the end.
constexpr int kIntChars = 21;
// "00" "01" ... "99": two digits at a time.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
// The digits of u written at `at`; returns the end.
char* PutDigitsOf(char* at, std::uint64_t u);
// Inline: the writers write one to four for every frame, where a call would cost a good
// part of the work.
inline char* PutInt(char* at, std::int64_t v) {
  const std::uint64_t u = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  if (v < 0) *at++ = '-';
  if constexpr (std::endian::native == std::endian::little) {
    // The frame numbers and times of every file: four or eight digits with leading zeros
    // in one word, written at once after the zeros are shifted out.
    if (u < 10000) {
      const auto n = static_cast<std::uint32_t>(u);
      char four[4];
      std::memcpy(four, kDigitPairs + 2 * (n / 100), 2);
      std::memcpy(four + 2, kDigitPairs + 2 * (n % 100), 2);
      std::uint32_t word;
      std::memcpy(&word, four, 4);
      const int digits = 1 + (n >= 10) + (n >= 100) + (n >= 1000);
      word >>= 8 * (4 - digits);
      std::memcpy(at, &word, 4);
      return at + digits;
    }
    if (u < 100000000) {
      const auto n = static_cast<std::uint32_t>(u);
      const std::uint64_t high = n / 10000;
      const std::uint64_t low = n - high * 10000;
      // All eight digits at once in one word, the first in its lowest byte: the two halves
      // of four digits in its 32-bit lanes, each split into hundreds and the rest (x * 10486
      // >> 20 is x / 100 below 43699), those into tens and ones (x * 103 >> 10 is x / 10
      // below 179), and each digit made a character.
      std::uint64_t word = high | (low << 32);
      const std::uint64_t hundreds = ((word * 10486) >> 20) & 0x0000007F0000007FULL;
      word = hundreds | ((word - hundreds * 100) << 16);
      const std::uint64_t tens = ((word * 103) >> 10) & 0x000F000F000F000FULL;
      word = tens | ((word - tens * 10) << 8);
      // The leading zeros are the lowest zero bytes (three at most: n has five digits or
      // more).
      const int zero_bits = std::countr_zero(word) & ~7;
      word = (word + 0x3030303030303030ULL) >> zero_bits;
      std::memcpy(at, &word, 8);
      return at + 8 - zero_bits / 8;
    }
  }
  return PutDigitsOf(at, u);
}

#if defined(__SSE2__)
// The eight decimal digits of a in bytes 0..7 and of b in bytes 8..15 (each its value
// 0..9, leading zeros included), a and b below 10^8, made at once: each split into its
// halves of four digits (a multiplication by 2^45 / 10^4, rounded up, exact below 2^32),
// each half times 4 in four 16-bit lanes, divided there by 1000, 100, 10 and 1 in two
// multiplications that keep the high half (hence the 4), and each quotient less ten times
// the one before it.
inline __m128i EightDigitsOfTwo(std::uint32_t a, std::uint32_t b) {
  const __m128i both = _mm_set_epi64x(b, a);
  const __m128i high =
      _mm_srli_epi64(_mm_mul_epu32(both, _mm_set1_epi32(static_cast<int>(0xD1B71759u))), 45);
  const __m128i low = _mm_sub_epi32(both, _mm_mul_epu32(high, _mm_set1_epi32(10000)));
  // 16-bit lanes 0 and 1: a's halves, times 4; lanes 4 and 5: b's.
  const __m128i halves = _mm_slli_epi64(_mm_or_si128(high, _mm_slli_epi64(low, 16)), 2);
  auto digits_of = [](__m128i pair) {  // lanes 0 and 1 of pair, each four times over
    const __m128i spread = _mm_unpacklo_epi32(pair, pair);
    const __m128i scaled = _mm_mulhi_epu16(
        spread, _mm_setr_epi16(8389, 5243, 13108, -32768, 8389, 5243, 13108, -32768));
    const __m128i quotients = _mm_mulhi_epu16(
        scaled, _mm_setr_epi16(128, 2048, 8192, -32768, 128, 2048, 8192, -32768));
    return _mm_sub_epi16(quotients,
                         _mm_slli_epi64(_mm_mullo_epi16(quotients, _mm_set1_epi16(10)), 16));
  };
  return _mm_packus_epi16(digits_of(_mm_unpacklo_epi16(halves, halves)),
                          digits_of(_mm_unpackhi_epi16(halves, halves)));
}
#endif

// PutInt(at, a), the two characters `between`, then PutInt of b ("12}{345"); the bytes up to
// 2 * kIntChars + 2 after `at` may be overwritten. Inline: the SUB writer writes the two
// frame numbers of every frame so, both at once where they lie in 0..99999999.
inline char* PutIntPair(char* at, std::int32_t a, const char* between, std::int32_t b) {
#if defined(__SSE2__)
  constexpr std::uint32_t kEightDigits = 100000000;
  if (static_cast<std::uint32_t>(a) < kEightDigits && static_cast<std::uint32_t>(b) < kEightDigits) {
    const __m128i chars = _mm_add_epi8(EightDigitsOfTwo(static_cast<std::uint32_t>(a),
                                                        static_cast<std::uint32_t>(b)),
                                       _mm_set1_epi8('0'));
    alignas(16) char digits[24];
    _mm_store_si128(reinterpret_cast<__m128i*>(digits), chars);
    // Each number's leading zeros are left out, all but its last digit at most.
    const auto zeros =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chars, _mm_set1_epi8('0'))));
    const int skip_a = std::countr_zero(~zeros | 0x80u);
    const int skip_b = std::countr_zero((~zeros >> 8) | 0x80u);
    std::memcpy(at, digits + skip_a, 8);
    at += 8 - skip_a;
    std::memcpy(at, between, 2);
    std::memcpy(at + 2, digits + 8 + skip_b, 8);
    return at + 2 + 8 - skip_b;
  }
#endif
  at = PutInt(at, a);
  std::memcpy(at, between, 2);
  return PutInt(at + 2, b);
}

// CR LF at `at`; returns the end.
inline char* PutLineEnd(char* at) {
  at[0] = '\r';
  at[1] = '\n';
  return at + 2;
}
// "hh:mm:ss" (each part at least two digits; hours of 100 and more keep every digit), the
// separator, then the milliseconds to three digits or the truncated hundredths to two,
// written at `at`; a negative time is its length with a minus sign in front
// ("-00:00:05,440"), so that the reader gives back the same time. At most
// kClockTimeChars characters. Returns the end.
enum TimeFraction { kMilliseconds, kHundredths };
constexpr int kClockTimeChars = 14;
// "?000" "?001" ... "?999": three digits after a place for a separator, four bytes each.
inline constexpr auto kThreeDigitsTable = [] {
  std::array<char, 4000> table{};
  for (int n = 0; n < 1000; ++n) {
    table[4 * n + 1] = static_cast<char>('0' + n / 100);
    table[4 * n + 2] = static_cast<char>('0' + n / 10 % 10);
    table[4 * n + 3] = static_cast<char>('0' + n % 10);
  }
  return table;
}();
// Hours of 100 and more, then ":mm:ss" from the "hh:mm:ss" of `digits`. Returns the end.
char* PutClockTimeOfLongHours(char* at, std::uint32_t hours, const char* digits);
// Inline: the writers write two for every frame, where a call would cost a good part of
// the work.
inline char* PutClockTime(char* at, TimeValue v, char separator, TimeFraction fraction) {
  auto u = static_cast<std::uint32_t>(v);
  if (v < 0) u = 0u - u;  // the length of the time, INT32_MIN's too
  // A negative time that shows as zero (-5 ms in hundredths) is written as zero.
  if (v < 0 && (fraction == kMilliseconds ? u : u / 10) != 0) *at++ = '-';
  const std::uint32_t seconds = u / 1000;
  const std::uint32_t ms = u - seconds * 1000;
  const std::uint32_t hours = seconds / 3600;
  const std::uint32_t in_hour = seconds - hours * 3600;
  const std::uint32_t minutes = in_hour / 60;
  // "hh:mm:ss" in one word, its first character in the lowest byte: hours, minutes and
  // seconds (each below 100) in lanes that start at bytes 0, 3 and 6, each split into tens
  // (x * 103 >> 10 is x / 10 below 179) and ones, which go one byte up; then the digits
  // made characters and the colons put between. Hours of 100 and more are written apart.
  const std::uint64_t lanes = (hours < 100 ? hours : 0) | std::uint64_t{minutes} << 24 |
                              std::uint64_t{in_hour - minutes * 60} << 48;
  const std::uint64_t tens = ((lanes * 103) >> 10) & 0x000F00000F00000FULL;
  const std::uint64_t clock =
      (tens | (lanes - tens * 10) << 8) + 0x30303A30303A3030ULL;  // "00:00:00"
  char digits[8];
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(digits, &clock, 8);
  } else {
    for (int k = 0; k < 8; ++k) digits[k] = static_cast<char>(clock >> (8 * k));
  }
  if (hours < 100) {
    std::memcpy(at, digits, 8);
    at += 8;
  } else {
    at = PutClockTimeOfLongHours(at, hours, digits);
  }
  // The separator and the milliseconds' three digits; hundredths are their first two.
  std::memcpy(at, kThreeDigitsTable.data() + 4 * ms, 4);
  at[0] = separator;
  return at + (fraction == kHundredths ? 3 : 4);
}

// Appends text with every occurrence of `from` replaced by `to`.
void AppendReplacing(std::string& out, std::string_view text, char from, std::string_view to);
// Appends a line of a file to a frame text, each "|" in it held as kLiteralBar.
inline void AppendLineText(std::string& out, std::string_view line) {
  AppendReplacing(out, line, '|', std::string_view(&kLiteralBar, 1));
}
// Appends the lines of a frame text as a file's line: its line separators become `separator`,
// each kLiteralBar a "|" again.
void AppendLinesJoined(std::string& out, std::string_view text, std::string_view separator);

// How many bytes after its end PutLineParts may overwrite.
constexpr std::size_t kLinePartsSlack = 16;

// A frame text's lines written at `at`, each kLiteralBar in them a "|" again; at each line
// separator ("|", at index `bar` of the text) put_break(at, bar) writes at least one byte
// and returns their end. Returns the end. The bytes up to kLinePartsSlack after it may be
// overwritten too. Sixteen bytes at a time where the processor can: each block is copied
// as it is, then its first bar (if any) is handled and the next block starts after it.
template <typename PutBreak>
char* PutLineParts(char* at, std::string_view text, PutBreak put_break) {
  const char* const p = text.data();
  const std::size_t size = text.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  std::size_t copied_from = 0;  // the bytes from here on were copied as they are
  // The block of sixteen bytes at `from`, of which the bytes `back` up to `valid` count,
  // text[i] the first of them: stored as it is (its first `back` bytes where they were
  // copied already), then its first bar (if any) is handled. Bytes stored beyond the first
  // bar are written again after it; stored beyond a whole block, they stay within what
  // its bytes become (each at least one byte).
  auto step = [&](const char* from, std::size_t back, std::size_t valid) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    auto found = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('|')),
                                       _mm_cmpeq_epi8(block, _mm_set1_epi8(kLiteralBar)))));
    found = (found >> back << back) & ((1u << valid) - 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at - back), block);
    if (found == 0) {
      at += valid - back;
      i += valid - back;
      return;
    }
    const auto k = static_cast<std::size_t>(__builtin_ctz(found)) - back;
    at += k;
    i += k;
    if (p[i] == kLiteralBar) {
      *at++ = '|';
    } else {
      at = put_break(at, i);
    }
    copied_from = ++i;
  };
  while (i + 16 <= size) step(p + i, 0, 16);
  // The last bytes as the last sixteen of the text, when those before them were copied as
  // they are.
  if (i < size && size >= 16 && size - 16 >= copied_from) step(p + size - 16, i - (size - 16), 16);
  if (i < size) {
    // The rest from a copy that has a whole block after each of them.
    char last[32] = {};
    const std::size_t base = i;
    std::memcpy(last, p + base, size - base);
    while (i < size) step(last + (i - base), 0, size - i);
  }
#else
  for (; i < size; ++i) {
    if (p[i] == '|') {
      at = put_break(at, i);
    } else {
      *at++ = p[i] == kLiteralBar ? '|' : p[i];
    }
  }
#endif
  return at;
}

// The bytes AppendLinesJoined appends (with a separator that is not empty), written at
// `at`: at most LinesJoinedChars(text, separator) bytes are written. Returns the end.
char* PutLinesJoined(char* at, std::string_view text, std::string_view separator);

#if defined(__SSE2__)
// The n (below 16) bytes at p in the low bytes of a block, zeros after them; read in at
// most four loads, which overlap rather than reach beyond the bytes.
inline __m128i LoadShort(const char* p, std::size_t n) {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  if (n >= 8) {
    std::memcpy(&low, p, 8);
    if (n > 8) {
      // The last eight bytes, those that `low` holds shifted out.
      std::memcpy(&high, p + n - 8, 8);
      high >>= 8 * (16 - n);
    }
  } else if (n >= 4) {
    std::uint32_t first;
    std::uint32_t last;
    std::memcpy(&first, p, 4);
    std::memcpy(&last, p + n - 4, 4);
    low = first | std::uint64_t{last} << 8 * (n - 4);  // the bytes both hold are the same
  } else if (n > 0) {
    auto byte = [p](std::size_t k) { return std::uint64_t{static_cast<unsigned char>(p[k])}; };
    low = byte(0) | byte(n / 2) << 8 * (n / 2) | byte(n - 1) << 8 * (n - 1);
  }
  return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
}
#endif

// The text written at `at` with each kLiteralBar made a "|" (the same number of bytes),
// sixteen bytes at a time where the processor can; with kWatch also whether it holds
// `first` or `second`.
template <bool kWatch>
inline char* PutLiteralBarsAsBars(char* at, std::string_view text, char first, char second, bool& holds) {
  const char* const p = text.data();
  const std::size_t size = text.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  __m128i marks = _mm_setzero_si128();
  auto put_block = [&](std::size_t k, const __m128i block) {
    const __m128i literal = _mm_cmpeq_epi8(block, _mm_set1_epi8(kLiteralBar));
    // x ^ (kLiteralBar ^ '|') is '|' where x is kLiteralBar.
    const __m128i changed =
        _mm_xor_si128(block, _mm_and_si128(literal, _mm_set1_epi8(kLiteralBar ^ '|')));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + k), changed);
    if constexpr (kWatch) {
      marks = _mm_or_si128(marks, _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(first)),
                                               _mm_cmpeq_epi8(block, _mm_set1_epi8(second))));
    }
  };
  auto load = [p](std::size_t k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k)); };
  for (; i + 16 <= size; i += 16) put_block(i, load(i));
  if (i < size) {
    // The rest as the last sixteen bytes, written again the same where they overlap; a text
    // of fewer is one block with zeros after it, written whole (callers leave room for
    // kLinePartsSlack bytes after the text).
    put_block(size >= 16 ? size - 16 : 0, size >= 16 ? load(size - 16) : LoadShort(p, size));
    i = size;
  }
  if constexpr (kWatch) holds = _mm_movemask_epi8(marks) != 0;
#else
  if constexpr (kWatch) holds = false;
#endif
  for (; i < size; ++i) {
    const char c = p[i];
    at[i] = c == kLiteralBar ? '|' : c;
    if constexpr (kWatch) holds = holds || c == first || c == second;
  }
  return at + size;
}

// PutLinesJoined(at, text, "|"), setting `holds` to whether the text holds `first` or
// `second` (neither a zero byte), in the same pass over it. Inline: the SUB writer writes
// every text with it, and the two characters stay the same.
inline char* PutSubTextWatching(char* at, std::string_view text, char first, char second,
                                bool& holds) {
  return PutLiteralBarsAsBars<true>(at, text, first, second, holds);
}
inline std::size_t LinesJoinedChars(std::string_view text, std::string_view separator) {
  return text.size() * std::max<std::size_t>(separator.size(), 1) + kLinePartsSlack;
}

}  // namespace lumetra
