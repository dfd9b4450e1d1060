#include "formats/line_io.h"

namespace lumetra {

std::string_view LineReader::ReadLine() {
  const std::size_t size = data_.size();
  if (pos_ >= size) return {};
  const char* const base = data_.data();
  std::size_t end = pos_;
  while (end < size && base[end] != '\r' && base[end] != '\n') ++end;
  const std::string_view line(base + pos_, end - pos_);
  if (end == size) {
    pos_ = size;
  } else if (base[end] == '\r' && end + 1 < size && base[end + 1] == '\n') {
    pos_ = end + 2;
  } else {
    pos_ = end + 1;
  }
  return line;
}

}  // namespace lumetra
