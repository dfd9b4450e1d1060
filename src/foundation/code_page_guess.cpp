#include "foundation/code_page_guess.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace lumetra {

namespace {

struct DetectorName {
  std::string_view name;  // as uchardet names it
  CodePage page;
};

constexpr std::array<DetectorName, 10> kDetectorNames = {{
    {"UTF-8", CodePage::kUtf8},
    {"WINDOWS-1250", CodePage::kWindows1250},
    {"WINDOWS-1251", CodePage::kWindows1251},
    {"WINDOWS-1252", CodePage::kWindows1252},
    {"WINDOWS-1253", CodePage::kWindows1253},
    {"WINDOWS-1254", CodePage::kWindows1254},
    {"WINDOWS-1257", CodePage::kWindows1257},
    {"ISO-8859-2", CodePage::kIso8859_2},
    // Pages whose characters 0xA0..0xFF a Windows page holds at the same bytes.
    {"ISO-8859-1", CodePage::kWindows1252},
    {"ISO-8859-9", CodePage::kWindows1254},
}};

bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

struct DetectorDeleter {
  void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

}  // namespace

std::optional<CodePage> DetectCodePage(std::string_view bytes) {
  std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
  if (!detector) return std::nullopt;
  std::size_t fed = 0;
  std::size_t start = 0;
  while (start < bytes.size() && fed < kGuessSampleBytes) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    if (std::any_of(line.begin(), line.end(), IsHigh)) {
      uchardet_handle_data(detector.get(), line.data(), line.size());
      uchardet_handle_data(detector.get(), "\n", 1);
      fed += line.size() + 1;
    }
    start = end + 1;
  }
  if (fed == 0) return std::nullopt;
  uchardet_data_end(detector.get());
  std::string name = uchardet_get_charset(detector.get());
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  for (const DetectorName& entry : kDetectorNames) {
    if (entry.name == name) return entry.page;
  }
  return std::nullopt;
}

CodePage GuessSingleByteCodePage(std::string_view bytes) {
  const std::optional<CodePage> detected = DetectCodePage(bytes);
  if (!detected) return CodePage::kWindows1250;
  if (*detected != CodePage::kIso8859_2) return *detected;
  bool reads_differently = false;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) continue;
    if (byte < 0xA0) return CodePage::kWindows1250;
    if (CharOfByte(byte, CodePage::kIso8859_2) != CharOfByte(byte, CodePage::kWindows1250)) {
      reads_differently = true;
    }
  }
  return reads_differently ? CodePage::kIso8859_2 : CodePage::kWindows1250;
}

}  // namespace lumetra
