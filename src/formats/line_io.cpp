#include "formats/line_io.h"

#include <algorithm>
#include <cstring>

namespace lumetra {

namespace {

// Position of the first c at or after `from`, or npos.
std::size_t Find(std::string_view data, char c, std::size_t from) {
  if (from >= data.size()) return std::string_view::npos;
  const void* found = std::memchr(data.data() + from, c, data.size() - from);
  return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data.data())
               : std::string_view::npos;
}

}  // namespace

std::string_view LineReader::ReadLine() {
  const std::size_t size = data_.size();
  if (pos_ >= size) return {};
  if (!searched_ || (next_cr_ != std::string_view::npos && next_cr_ < pos_)) {
    next_cr_ = Find(data_, '\r', pos_);
  }
  if (!searched_ || (next_lf_ != std::string_view::npos && next_lf_ < pos_)) {
    next_lf_ = Find(data_, '\n', pos_);
  }
  searched_ = true;
  const std::size_t end = std::min({next_cr_, next_lf_, size});
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
