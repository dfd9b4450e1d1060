#include "foundation/textkit.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>

namespace lumetra {

std::size_t FindEither(std::string_view s, char a, char b, std::size_t from) {
  const char* const p = s.data();
  const std::size_t size = s.size();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i want_a = _mm_set1_epi8(a);
  const __m128i want_b = _mm_set1_epi8(b);
  for (; i + 16 <= size; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const int found = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, want_a), _mm_cmpeq_epi8(block, want_b)));
    if (found != 0) return i + static_cast<std::size_t>(__builtin_ctz(found));
  }
  // The rest, fewer than sixteen bytes, as the last sixteen bytes of the text when those
  // begin at `from` or later: the ones before `i` among them were looked at already.
  if (i < size && size >= 16 && size - 16 >= from) {
    const std::size_t last = size - 16;
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + last));
    const int found = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, want_a), _mm_cmpeq_epi8(block, want_b)));
    return found == 0 ? std::string_view::npos
                      : last + static_cast<std::size_t>(__builtin_ctz(found));
  }
#endif
  for (; i < size; ++i) {
    if (p[i] == a || p[i] == b) return i;
  }
  return std::string_view::npos;
}

namespace {

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

std::size_t Count(int n) { return n < 0 ? 0 : static_cast<std::size_t>(n); }

constexpr std::array<unsigned char, 256> MakeCaseTable(bool upper) {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  if (upper) {
    for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 32);
    constexpr int pairs[][2] = {{129, 154}, {130, 144}, {139, 138}, {147, 153}, {148, 153},
                                {150, 154}, {160, 143}, {161, 73},  {162, 79},  {163, 85},
                                {243, 211}, {246, 214}, {250, 218}, {251, 235}, {252, 220}};
    for (const auto& p : pairs) table[p[0]] = static_cast<unsigned char>(p[1]);
  } else {
    for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
    constexpr int pairs[][2] = {{138, 139}, {143, 160}, {144, 130}, {153, 148},
                                {154, 129}, {181, 160}, {224, 162}, {235, 251}};
    for (const auto& p : pairs) table[p[0]] = static_cast<unsigned char>(p[1]);
  }
  return table;
}

constexpr auto kUpperTable = MakeCaseTable(true);
constexpr auto kLowerTable = MakeCaseTable(false);

std::string MapBytes(std::string_view s, const std::array<unsigned char, 256>& table) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

const std::string& WordArray::operator[](int i) const {
  if (i < 1 || static_cast<std::size_t>(i) > words_.size()) return EmptyText();
  return words_[static_cast<std::size_t>(i) - 1];
}

void WordArray::Clear(int i) {
  if (i < 1) return;
  if (static_cast<std::size_t>(i) > words_.size()) words_.resize(static_cast<std::size_t>(i));
  words_[static_cast<std::size_t>(i) - 1].clear();
}

void SplitInto(WordArray& words, std::string_view s, std::string_view separators,
               std::size_t max_word_length) {
  auto store = [&](std::size_t index, std::string_view word) {
    if (index >= words.words_.size()) words.words_.resize(index + 1);
    words.words_[index].assign(word.substr(0, max_word_length));
  };
  std::size_t index = 0;
  std::size_t word_start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (separators.find(s[i]) != std::string_view::npos) {
      store(index++, s.substr(word_start, i - word_start));
      word_start = i + 1;
    }
  }
  store(index, s.substr(word_start));
  words.count_ = static_cast<int>(index + 1);
}

void SplitWords(WordArray& words, std::string_view s, char c1, char c2) {
  const char separators[] = {c1, c2};
  SplitInto(words, s, std::string_view(separators, 2), std::string::npos);
}

void SplitWords5(WordArray& words, std::string_view s, char c1, char c2, char c3, char c4,
                 char c5) {
  const char separators[] = {c1, c2, c3, c4, c5};
  SplitInto(words, s, std::string_view(separators, 5), std::string::npos);
}

void SplitShortWords(WordArray& words, std::string_view s, char c1, char c2) {
  const char separators[] = {c1, c2};
  SplitInto(words, s, std::string_view(separators, 2), ShortWordLength);
}

std::string CharString(char c, int n) { return std::string(Count(n), c); }

std::string LeftStr(std::string_view s, int n) { return std::string(s.substr(0, Count(n))); }

std::string RightStr(std::string_view s, int n) {
  const std::size_t k = Count(n);
  return std::string(k >= s.size() ? s : s.substr(s.size() - k));
}

std::string DropLeft(std::string_view s, int n) {
  const std::size_t k = Count(n);
  return k >= s.size() ? std::string() : std::string(s.substr(k));
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::string PadRight(std::string_view s, char c, int n) {
  std::string out = LeftStr(s, n);
  out.append(Count(n) - out.size(), c);
  return out;
}

std::string PadLeft(std::string_view s, char c, int n) {
  std::string out = RightStr(s, n);
  out.insert(0, Count(n) - out.size(), c);
  return out;
}

std::string TrimLeftChar(std::string_view s, char c) {
  const std::size_t first = s.find_first_not_of(c);
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string TrimRightChar(std::string_view s, char c) {
  const std::size_t last = s.find_last_not_of(c);
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string TrimChar(std::string_view s, char c) { return TrimLeftChar(TrimRightChar(s, c), c); }

std::string ReplaceChar(std::string_view s, char from, char to) {
  std::string out(s);
  std::replace(out.begin(), out.end(), from, to);
  return out;
}

std::string ShowLiteralBars(std::string_view line) { return ReplaceChar(line, kLiteralBar, '|'); }

std::string StoreLiteralBars(std::string_view line) { return ReplaceChar(line, '|', kLiteralBar); }

void SplitKeyValue(std::string_view line, std::string& key, std::string& value) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    key = TrimChar(line, ' ');
    value.clear();
    return;
  }
  key = TrimChar(line.substr(0, eq), ' ');
  value = TrimChar(line.substr(eq + 1), ' ');
}

std::string IntToText(std::int64_t v) { return std::to_string(v); }

std::int32_t TextToInt(std::string_view s, bool* conv_error) {
  auto fail = [&]() -> std::int32_t {
    if (conv_error) *conv_error = true;
    return 0;
  };
  if (conv_error) *conv_error = false;
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  if (i == s.size()) return fail();

  // Hexadecimal: "$", "x", "X", "0x" or "0X", then hex digits, at most 32 bits.
  std::size_t hex_start = std::string_view::npos;
  if (s[i] == '$' || s[i] == 'x' || s[i] == 'X') {
    hex_start = i + 1;
  } else if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex_start = i + 2;
  }
  if (hex_start != std::string_view::npos) {
    if (hex_start >= s.size()) return fail();
    std::uint64_t value = 0;
    for (std::size_t k = hex_start; k < s.size(); ++k) {
      const int d = HexDigit(s[k]);
      if (d < 0) return fail();
      value = value * 16 + static_cast<std::uint64_t>(d);
      if (value > 0xFFFFFFFFull) return fail();
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }

  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  if (i == s.size()) return fail();
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return fail();
    value = value * 10 + (s[i] - '0');
    if (value > 2147483648LL) return fail();
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return fail();
  return static_cast<std::int32_t>(value);
}

namespace {

// TextToFloat's reading of s; `complete` tells whether s was read whole as a number (and
// not, as a text that is not a number is, as the digits before the offending character).
// `rounded_away` tells a number too large or too small for a double.
double ReadFloat(std::string_view s, bool& complete, bool& rounded_away) {
  complete = false;
  rounded_away = false;
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  std::string digits;    // every mantissa digit read, for the failure result
  std::string mantissa;  // the number in the form from_chars reads
  bool bad = false;
  int digit_count = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i, ++digit_count) mantissa += s[i];
  digits = mantissa;
  if (i < s.size() && s[i] == '.') {
    mantissa += '.';
    for (++i; i < s.size() && IsDigit(s[i]); ++i, ++digit_count) {
      mantissa += s[i];
      digits += s[i];
    }
  }
  if (digit_count == 0) bad = true;
  if (!bad && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::string exponent = "e";
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exponent += s[i++];
    const std::size_t exp_digits_start = i;
    for (; i < s.size() && IsDigit(s[i]); ++i) exponent += s[i];
    if (i == exp_digits_start) bad = true;
    mantissa += exponent;
  }
  if (i < s.size()) bad = true;

  if (bad) {
    // The digits read before the offending character, as one whole number.
    long double value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return static_cast<double>(value);
  }
  double value = 0;
  const auto result = std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone on overflow and underflow.
    const std::size_t e = mantissa.find('e');
    const bool tiny = e != std::string::npos && mantissa[e + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    rounded_away = true;
  }
  complete = true;
  return negative ? -value : value;
}

}  // namespace

double TextToFloat(std::string_view s) {
  bool complete;
  bool rounded_away;
  return ReadFloat(s, complete, rounded_away);
}

std::optional<double> TextToFloatExactly(std::string_view s) {
  bool complete;
  bool rounded_away;
  const double value = ReadFloat(s, complete, rounded_away);
  if (!complete || rounded_away || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FloatToText(double x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 6);
  std::string text(buffer, result.ptr);
  text = TrimLeftChar(text, ' ');
  const std::size_t point = text.find('.');
  if (point != std::string::npos && point >= 1) text = TrimRightChar(text, '0');
  return TrimRightChar(text, '.');
}

std::int32_t ClampInt(std::int64_t x, std::int32_t lo, std::int32_t hi) {
  if (x < lo && -x < hi) x = -x;
  if (x < lo) x = lo;
  if (x > hi) x = hi;
  return static_cast<std::int32_t>(x);
}

std::int32_t TextToIntRange(std::string_view s, std::int32_t lo, std::int32_t hi) {
  return ClampInt(TextToInt(s), lo, hi);
}

std::string TextToIntRangeText(std::string_view s, std::int32_t lo, std::int32_t hi) {
  return IntToText(TextToIntRange(s, lo, hi));
}

std::string UpperCaseHU(std::string_view s) { return MapBytes(s, kUpperTable); }

std::string LowerCaseHU(std::string_view s) { return MapBytes(s, kLowerTable); }

void LowerCaseHU(std::string_view s, std::string& out) {
  out.resize(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    out[i] = static_cast<char>(kLowerTable[static_cast<unsigned char>(s[i])]);
  }
}

bool StartsWithAnyCase(std::string_view s, std::string_view lower_prefix) {
  if (s.size() < lower_prefix.size()) return false;
  for (std::size_t i = 0; i < lower_prefix.size(); ++i) {
    if (LowerAscii(s[i]) != lower_prefix[i]) return false;
  }
  return true;
}

bool EqualsAnyCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

char PathSeparator() { return static_cast<char>(std::filesystem::path::preferred_separator); }

std::string WithBackslash(std::string_view dir) {
  return TrimRightChar(dir, PathSeparator()) + PathSeparator();
}

std::string DirOfPath(std::string_view path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  if (parent.empty()) return std::string();
  return WithBackslash(parent);
}

std::string FullPathOf(std::string_view path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec || path.empty()) return std::string(path);
  // Never folded as text: "a/.." is the parent of wherever "a" leads.
  const fs::path name = absolute.filename();
  const bool name_is_a_file = !name.empty() && name != "." && name != "..";
  const fs::path resolved = fs::canonical(name_is_a_file ? absolute.parent_path() : absolute, ec);
  if (ec) return absolute.string();
  return (name_is_a_file ? resolved / name : resolved).string();
}

std::string NameOfPath(std::string_view path) {
  return std::filesystem::path(path).filename().string();
}

std::string WithoutExtension(std::string_view name) {
  return std::filesystem::path(name).stem().string();
}

std::string BoolToText(bool b) { return b ? "True" : "False"; }

bool TextToBool(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return lower != "false";
}

}  // namespace lumetra
