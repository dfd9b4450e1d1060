// The one line reader and the one line writer that every format uses.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace lumetra {

// Reads lines from bytes held in memory. A line ends at CR, LF or CR LF; a final line
// without an end is still a line, and data that ends with a line end has no empty line
// after it. Reading past the last line gives empty lines.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}
  bool AtEnd() const { return pos_ >= data_.size(); }
  std::string_view ReadLine();
  // The line ReadLine would give next, without reading it.
  std::string_view PeekLine() const {
    LineReader ahead(*this);
    return ahead.ReadLine();
  }

 private:
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

 private:
  std::string& out_;
  Put put_;
};

}  // namespace lumetra
