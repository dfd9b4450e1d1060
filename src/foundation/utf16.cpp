#include "foundation/utf16.h"

#include "foundation/code_pages.h"

namespace lumetra {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char16_t UnitAt(std::string_view file, std::size_t i, TextForm form) {
  const auto first = static_cast<unsigned char>(file[i]);
  const auto second = static_cast<unsigned char>(file[i + 1]);
  return form == TextForm::kUtf16Le ? static_cast<char16_t>(first | (second << 8))
                                    : static_cast<char16_t>((first << 8) | second);
}

}  // namespace

TextForm TextFormOf(std::string_view file) {
  if (file.starts_with("\xFF\xFE")) return TextForm::kUtf16Le;
  if (file.starts_with("\xFE\xFF")) return TextForm::kUtf16Be;
  return TextForm::kBytes;
}

std::string Utf16ToUtf8(std::string_view file, TextForm form) {
  if (form == TextForm::kBytes) return std::string(file);
  const std::size_t units_end = file.size() - file.size() % 2;
  // At most three bytes for each unit (a pair of four bytes is two units); the text is
  // written in place and cut to its length at the end.
  std::string out(units_end / 2 * 3 + 3, '\0');
  char* p = out.data();
  auto put = [&p](char32_t cp) { p = PutUtf8(p, cp); };
  for (std::size_t i = 2; i < units_end; i += 2) {
    const char16_t unit = UnitAt(file, i, form);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 2 < units_end) {
      const char16_t next = UnitAt(file, i + 2, form);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        put(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (next - 0xDC00));
        i += 2;
        continue;
      }
    }
    put(unit);  // a lone surrogate keeps its own value
  }
  if (units_end < file.size() && file.size() > 2) put(kReplacement);
  out.resize(static_cast<std::size_t>(p - out.data()));
  return out;
}

std::string Utf8ToUtf16(std::string_view text, TextForm form) {
  if (form == TextForm::kBytes) return std::string(text);
  // At most two bytes of output for each byte of input, and the mark; written in place.
  std::string out(2 * text.size() + 2, '\0');
  char* p = out.data();
  const bool little = form == TextForm::kUtf16Le;
  auto put = [&p, little](char16_t unit) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    *p++ = little ? low : high;
    *p++ = little ? high : low;
  };
  put(0xFEFF);
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      put(c);
      ++i;
      continue;
    }
    char32_t cp;
    const int length = NextUtf8(text.substr(i), cp, /*surrogates=*/true);
    if (length == 0) {
      cp = kReplacement;
      i += 1;
    } else {
      i += static_cast<std::size_t>(length);
    }
    if (cp >= 0x10000) {
      put(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      put(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return out;
}

FileText::FileText(std::string_view file) : form_(TextFormOf(file)) {
  if (form_ == TextForm::kBytes) {
    text_ = file;
  } else {
    decoded_ = Utf16ToUtf8(file, form_);
    text_ = decoded_;
  }
}

}  // namespace lumetra
