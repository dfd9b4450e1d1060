// Conversions defined in 80-bit extended precision (long double on x86-64), truncated
// toward zero. Never build this with -ffast-math.
#pragma once

#include <cmath>
#include <cstdint>

namespace lumetra {

// Truncates toward zero and wraps into 32 bits the way a 32-bit store of a 64-bit
// truncation does; values that are not finite give 0.
inline std::int32_t TruncToInt32(long double x) {
  // Within 32 bits nothing wraps, and the conversion truncates toward zero by itself.
  if (x > -2147483649.0L && x < 2147483648.0L) return static_cast<std::int32_t>(x);
  if (!std::isfinite(x)) return 0;
  long double whole = std::trunc(x);
  constexpr long double kTwo32 = 4294967296.0L;
  whole = std::fmod(whole, kTwo32);  // exact; keeps the sign of x
  if (whole < 0) whole += kTwo32;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
}

// Milliseconds of a number of seconds (or any factor): trunc(1000 * seconds) computed in
// extended precision, so 0.3 s gives 299 ms.
inline std::int32_t SecondsToMs(double seconds) {
  return TruncToInt32(1000.0L * static_cast<long double>(seconds));
}

}  // namespace lumetra
