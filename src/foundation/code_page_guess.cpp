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
  std::unique_ptr<uchardet, DetectorDeleter> detector;
  // Each line that holds a byte above 0x7F, found from that byte.
  std::size_t fed = 0;
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  const char* p = begin;
  while (fed < kGuessSampleBytes) {
    p = std::find_if(p, end, IsHigh);
    if (p == end) break;
    const char* line_start = p;
    while (line_start > begin && line_start[-1] != '\n' && line_start[-1] != '\r') --line_start;
    const char* line_end = p;
    while (line_end < end && *line_end != '\n' && *line_end != '\r') ++line_end;
    if (!detector) detector.reset(uchardet_new());
    if (!detector) return std::nullopt;
    uchardet_handle_data(detector.get(), line_start, static_cast<std::size_t>(line_end - line_start));
    uchardet_handle_data(detector.get(), "\n", 1);
    fed += static_cast<std::size_t>(line_end - line_start) + 1;
    p = line_end;
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
  // What each byte tells: 1 a byte that is no character in ISO-8859-2 (0x80..0x9F), 2 a
  // character the two pages put at different bytes.
  static const std::array<unsigned char, 256> kByteClass = [] {
    std::array<unsigned char, 256> classes{};
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      const auto b = static_cast<unsigned char>(byte);
      classes[b] = byte < 0xA0 ? 1
                   : CharOfByte(b, CodePage::kIso8859_2) != CharOfByte(b, CodePage::kWindows1250)
                       ? 2
                       : 0;
    }
    return classes;
  }();
  bool reads_differently = false;
  for (const char c : bytes) {
    const unsigned char byte_class = kByteClass[static_cast<unsigned char>(c)];
    if (byte_class == 1) return CodePage::kWindows1250;
    reads_differently = reads_differently || byte_class == 2;
  }
  return reads_differently ? CodePage::kIso8859_2 : CodePage::kWindows1250;
}

}  // namespace lumetra
