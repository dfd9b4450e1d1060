#include "formats/line_io.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumetra {

namespace {

// Position of the first CR or LF in p[0, size), or size: one pass over the bytes, sixteen
// at a time where the processor can.
std::size_t FindLineEnd(const char* p, std::size_t size) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= size; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    if (found != 0) return i + static_cast<std::size_t>(__builtin_ctz(found));
  }
#endif
  for (; i < size; ++i) {
    if (p[i] == '\r' || p[i] == '\n') return i;
  }
  return size;
}

}  // namespace

std::string_view LineReader::ReadLine() {
  const std::size_t size = data_.size();
  if (pos_ >= size) return {};
  const std::size_t end = pos_ + FindLineEnd(data_.data() + pos_, size - pos_);
  const std::string_view line = data_.substr(pos_, end - pos_);
  if (end == size) {
    pos_ = size;
  } else if (data_[end] == '\r' && end + 1 < size && data_[end + 1] == '\n') {
    pos_ = end + 2;
  } else {
    pos_ = end + 1;
  }
  return line;
}

}  // namespace lumetra
