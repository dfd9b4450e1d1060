#include "foundation/code_page_guess.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// DetectCodePage; `sampled` (when given) receives how far into the bytes the lines it
// looked at reach.
std::optional<CodePage> Detect(std::string_view bytes, std::size_t* sampled) {
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
    uchardet_handle_data(detector.get(), line_start,
                         static_cast<std::size_t>(line_end - line_start));
    uchardet_handle_data(detector.get(), "\n", 1);
    fed += static_cast<std::size_t>(line_end - line_start) + 1;
    p = line_end;
  }
  if (sampled != nullptr) *sampled = static_cast<std::size_t>(p - begin);
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

// Whether any byte is 0x80..0x9F (no character in ISO-8859-2), eight bytes at a time.
bool HoldsC1Bytes(std::string_view bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t block;
    std::memcpy(&block, bytes.data() + i, 8);
    // A byte whose top three bits are 100 becomes 0.
    const std::uint64_t x = (block & 0xE0E0E0E0E0E0E0E0ull) ^ kHighBits;
    if (((x - kOnes) & ~x & kHighBits) != 0) return true;
  }
  for (; i < bytes.size(); ++i) {
    if ((static_cast<unsigned char>(bytes[i]) & 0xE0) == 0x80) return true;
  }
  return false;
}

}  // namespace

std::optional<CodePage> DetectCodePage(std::string_view bytes) { return Detect(bytes, nullptr); }

CodePage GuessSingleByteCodePage(std::string_view bytes) {
  std::size_t sampled = 0;
  const std::optional<CodePage> detected = Detect(bytes, &sampled);
  if (!detected) return CodePage::kWindows1250;
  if (*detected != CodePage::kIso8859_2) return *detected;
  if (HoldsC1Bytes(bytes)) return CodePage::kWindows1250;
  // The letters the two pages put at different bytes, among the lines the detector read.
  static const std::array<bool, 256> kReadsDifferently = [] {
    std::array<bool, 256> differs{};
    for (int byte = 0xA0; byte <= 0xFF; ++byte) {
      const auto b = static_cast<unsigned char>(byte);
      differs[b] = CharOfByte(b, CodePage::kIso8859_2) != CharOfByte(b, CodePage::kWindows1250);
    }
    return differs;
  }();
  bool reads_differently = false;
  for (const char c : bytes.substr(0, sampled)) {
    if (kReadsDifferently[static_cast<unsigned char>(c)]) {
      reads_differently = true;
      break;
    }
  }
  return reads_differently ? CodePage::kIso8859_2 : CodePage::kWindows1250;
}

}  // namespace lumetra
