// UTF-16 files. The readers and writers work on 8-bit lines, so a file that begins with a
// UTF-16 byte-order mark is decoded into UTF-8 where reading starts and encoded back, with
// its mark, where writing ends.
#pragma once

#include <string>
#include <string_view>

namespace lumetra {

enum class TextForm {
  kBytes,    // 8-bit text, read and written as it is
  kUtf16Le,  // UTF-16, little endian, with its mark FF FE
  kUtf16Be,  // UTF-16, big endian, with its mark FE FF
};

// The form of a file from its first bytes.
TextForm TextFormOf(std::string_view file);

// The text of a UTF-16 file without its mark, as UTF-8. A surrogate without its partner
// becomes the three-byte sequence of its own value, so that it comes back unchanged on
// encoding; an odd last byte becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view file, TextForm form);

// UTF-8 text as a UTF-16 file of that form, mark first (kBytes: the text as it is). The
// three-byte sequences of lone surrogates give those surrogates; bytes that are not UTF-8
// give U+FFFD.
std::string Utf8ToUtf16(std::string_view text, TextForm form);

// The text of a file as the readers take it: a UTF-16 file decoded into UTF-8 (held
// here), any other file as it is.
class FileText {
 public:
  explicit FileText(std::string_view file);
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;
  std::string_view text() const { return text_; }
  TextForm form() const { return form_; }

 private:
  TextForm form_;
  std::string decoded_;
  std::string_view text_;
};

}  // namespace lumetra
