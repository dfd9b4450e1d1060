// The time lines that the writers lay out, read for every frame: whether a line has such a
// layout, and its clock times. Inline, where a call would cost as much as the work.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "foundation/time_value.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumetra::time_layout {

// A digit where a layout has '9', the layout's own character everywhere else.
inline constexpr std::string_view kSubRipLayout = "99:99:99,999 --> 99:99:99,999";
inline constexpr std::string_view kSrt2Layout = "99:99:99.99,99:99:99.99";

// The test of 16 bytes of a line against 16 characters of a layout, made once for each
// layout: a byte fits when, with `add` added (wrapping), it is greater than `above` as a
// signed byte. The ten digits become the ten greatest, 0x76 to 0x7F, and the layout's own
// character the greatest.
struct LayoutTest {
  alignas(16) std::array<signed char, 16> add;
  alignas(16) std::array<signed char, 16> above;
};
constexpr LayoutTest MakeLayoutTest(std::string_view layout) {
  LayoutTest test{};
  for (std::size_t k = 0; k < 16; ++k) {
    const bool digit = layout[k] == '9';
    test.add[k] = static_cast<signed char>(0x7F - (digit ? '9' : layout[k]));
    test.above[k] = static_cast<signed char>(digit ? 0x7F - 10 : 0x7F - 1);
  }
  return test;
}

// Whether the line has the layout `kLayout` (16 to 32 characters): its first and its last
// 16 bytes (which overlap) each in one test.
template <const std::string_view& kLayout>
[[gnu::always_inline]] inline bool HasLayout(std::string_view line) {
  static_assert(kLayout.size() >= 16 && kLayout.size() <= 32);
  if (line.size() != kLayout.size()) return false;
#if defined(__SSE2__)
  constexpr std::size_t kLast = kLayout.size() - 16;
  static constexpr LayoutTest kFirstTest = MakeLayoutTest(kLayout);
  static constexpr LayoutTest kLastTest = MakeLayoutTest(kLayout.substr(kLast));
  auto fits = [](const char* bytes, const LayoutTest& test) {
    auto vector = [](const std::array<signed char, 16>& a) {
      return _mm_load_si128(reinterpret_cast<const __m128i*>(a.data()));
    };
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return _mm_movemask_epi8(_mm_cmpgt_epi8(_mm_add_epi8(c, vector(test.add)), vector(test.above)));
  };
  return (fits(line.data(), kFirstTest) & fits(line.data() + kLast, kLastTest)) == 0xFFFF;
#else
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (kLayout[i] == '9' ? static_cast<unsigned char>(c - '0') > 9 : c != kLayout[i]) {
      return false;
    }
  }
  return true;
#endif
}

inline std::int32_t TwoDigits(const char* at) { return (at[0] - '0') * 10 + (at[1] - '0'); }

// MakeTime of "hh:mm:ss" at `at` (digits where the layout has them) and the fraction `ms`
// (0..999): two digits a field never wrap, so the sum is made here.
[[gnu::always_inline]] inline TimeValue ClockTimeAt(const char* at, std::int32_t ms) {
  if constexpr (std::endian::native == std::endian::little) {
    // The eight bytes in one word, its first in the lowest byte: each digit's value (the
    // colons made 0), then each field's two digits, tens * 10 + ones, in the byte of its
    // first (bytes 0, 3 and 6); no byte reaches 100, so none carries into the next.
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    const std::uint64_t digits = word & 0x0F0F000F0F000F0FULL;
    const std::uint64_t fields = digits * 10 + (digits >> 8);
    const auto hours = static_cast<std::int32_t>(fields & 0xFF);
    const auto minutes = static_cast<std::int32_t>((fields >> 24) & 0xFF);
    const auto seconds = static_cast<std::int32_t>((fields >> 48) & 0xFF);
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + ms;
  }
  return ((TwoDigits(at) * 60 + TwoDigits(at + 3)) * 60 + TwoDigits(at + 6)) * 1000 + ms;
}

}  // namespace lumetra::time_layout
