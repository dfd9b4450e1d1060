// The one line reader and the one line writer that every format uses.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumetra {

// Position of the first CR or LF in p[0, size), or size: one pass over the bytes, sixteen
// at a time where the processor can. With kNoteMark, `marked` is also set when the byte
// `mark` stands before that position (in the same pass, so that a reader that must know
// whether a line holds it need not look at the line again).
template <bool kNoteMark>
inline std::size_t FindLineEndNoting(const char* p, std::size_t size, char mark, bool& marked) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= size; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    if constexpr (kNoteMark) {
      int marked_bytes = _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(mark)));
      // Only the marks before the first line end count: the bits below its bit.
      if (found != 0) marked_bytes &= (found & -found) - 1;
      if (marked_bytes != 0) marked = true;
    }
    if (found != 0) return i + static_cast<std::size_t>(__builtin_ctz(found));
  }
#endif
  for (; i < size; ++i) {
    if (p[i] == '\r' || p[i] == '\n') return i;
    if (kNoteMark && p[i] == mark) marked = true;
  }
  return size;
}

// Reads lines from bytes held in memory. A line ends at CR, LF or CR LF; a final line
// without an end is still a line, and data that ends with a line end has no empty line
// after it. Reading past the last line gives empty lines.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}
  bool AtEnd() const { return pos_ >= data_.size(); }
  // Inline: the readers call it for every line.
  std::string_view ReadLine() {
    bool unused = false;
    return ReadLineNoting<false>('\n', unused);
  }
  // ReadLine that also sets `holds_mark` when the line holds the byte `mark` (and leaves it
  // as it was otherwise).
  std::string_view ReadLine(char mark, bool& holds_mark) {
    return ReadLineNoting<true>(mark, holds_mark);
  }
  // The line ReadLine would give next, without reading it.
  std::string_view PeekLine() const {
    LineReader ahead(*this);
    return ahead.ReadLine();
  }
  // The bytes from the next line on, for a reader that looks at them itself.
  std::string_view Ahead() const {
    return std::string_view(data_.data() + pos_, data_.size() - pos_);
  }
  // Reads the next line when it is the first `size` bytes of Ahead(), which the caller
  // knows to hold no line end: true when a line end or the end of the data follows them,
  // false (and nothing read) otherwise. What ReadLine would read, without looking for the
  // line end.
  bool ReadLineOfSize(std::size_t size) {
    const std::size_t end = pos_ + size;
    if (StepPastCrLf(end)) return true;
    if (end > data_.size() || (end < data_.size() && data_[end] != '\r' && data_[end] != '\n')) {
      return false;
    }
    StepPastLineEnd(end);
    return true;
  }

 private:
  template <bool kNoteMark>
  std::string_view ReadLineNoting(char mark, bool& holds_mark) {
    const std::size_t size = data_.size();
    if (pos_ >= size) return {};
    const std::size_t end =
        pos_ + FindLineEndNoting<kNoteMark>(data_.data() + pos_, size - pos_, mark, holds_mark);
    const std::string_view line(data_.data() + pos_, end - pos_);
    StepPastLineEnd(end);
    return line;
  }
  // Moves to the line after the line end at `end` (the end of the data, or CR, LF or CR LF).
  void StepPastLineEnd(std::size_t end) {
    if (StepPastCrLf(end)) return;
    const std::size_t size = data_.size();
    if (end == size) {
      pos_ = size;
    } else if (data_[end] == '\r' && end + 1 < size && data_[end + 1] == '\n') {
      pos_ = end + 2;
    } else {
      pos_ = end + 1;
    }
  }

  // Moves past a CR LF at `end`, the line end that the writers write, looked at in one
  // step; false, and nothing changed, when there is none there.
  bool StepPastCrLf(std::size_t end) {
    if (end + 2 > data_.size() || std::memcmp(data_.data() + end, "\r\n", 2) != 0) return false;
    pos_ = end + 2;
    return true;
  }

  std::string_view data_;
  std::size_t pos_ = 0;
};

// Collects lines, each ended with CR LF, in `out`. Given somewhere to put them, it hands
// them on in chunks of whole lines and fills `out` again from its start, so that a long text
// passes through the one buffer; Finish hands on the rest.
class LineWriter {
 public:
  using Put = std::function<void(std::string_view)>;
  static constexpr std::size_t kChunkBytes = 65536;

  explicit LineWriter(std::string& out, Put put = {}) : out_(out), put_(std::move(put)) {}
  void Line(std::string_view text) {
    out_.append(text);
    EndLine();
  }
  // Ends a line whose text was appended to out() piece by piece.
  void EndLine() {
    out_.append("\r\n");
    if (put_ && out_.size() >= kChunkBytes) Finish();
  }
  void Finish() {
    if (!put_ || out_.empty()) return;
    put_(out_);
    out_.clear();
  }
  std::string& out() { return out_; }

  // Lines written straight into the bytes of out(), for a writer that makes a line of many
  // short pieces: Room gives a place for the next bytes and Wrote takes them as written.
  // While it lives, out() holds room beyond what is written and nothing else may add to it;
  // when it ends, out() holds exactly what was written.
  class Direct {
   public:
    explicit Direct(LineWriter& lines) : lines_(lines), used_(lines.out_.size()) {}
    Direct(const Direct&) = delete;
    Direct& operator=(const Direct&) = delete;
    ~Direct() { lines_.out_.resize(used_); }
    // A place for at least `size` bytes after what is written.
    char* Room(std::size_t size) {
      if (lines_.out_.size() - used_ < size) Grow(size);
      return lines_.out_.data() + used_;
    }
    // The bytes up to `end` (in the last Room) are written and end with a whole line.
    void Wrote(const char* end) {
      used_ = static_cast<std::size_t>(end - lines_.out_.data());
      if (lines_.put_ && used_ >= kChunkBytes) {
        lines_.put_(std::string_view(lines_.out_.data(), used_));
        used_ = 0;
      }
    }

   private:
    // Room for `size` bytes, made in steps of a few kilobytes: a resize fills what it adds
    // with zeros, which costs little in such steps.
    void Grow(std::size_t size) {
      constexpr std::size_t kStep = 2048;
      lines_.out_.resize(std::max(used_ + size, lines_.out_.size() + kStep));
    }
    LineWriter& lines_;
    std::size_t used_;
  };

 private:
  std::string& out_;
  Put put_;
};

}  // namespace lumetra
