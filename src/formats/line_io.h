// The one line reader and the one line writer that every format uses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// Collects lines, each ended with CR LF.
class LineWriter {
 public:
  explicit LineWriter(std::string& out) : out_(out) {}
  void Line(std::string_view text) {
    out_.append(text);
    EndLine();
  }
  // Ends a line whose text was appended to out() piece by piece.
  void EndLine() { out_.append("\r\n"); }
  std::string& out() { return out_; }

 private:
  std::string& out_;
};

}  // namespace lumetra
