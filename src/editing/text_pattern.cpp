#include "editing/text_pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 32
#include <pcre2.h>

#include <algorithm>
#include <utility>

#include "foundation/characters.h"

namespace lumetra {

static_assert(sizeof(char32_t) == sizeof(PCRE2_UCHAR));

namespace {

constexpr char32_t kLineBreak = U'|';
// Each pattern is Unicode with Unicode's classes and case; "|" as a line break reads as
// "\n", where "^" and "$" match; a frame's text may hold any code point, and a character
// that is no valid one simply matches nothing. \C could end a match inside a character.
constexpr std::uint32_t kCompileOptions =
    PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_MULTILINE | PCRE2_NEVER_BACKSLASH_C;

PCRE2_SPTR Units(std::u32string_view text) {
  static constexpr char32_t kEmpty[] = U"";
  return reinterpret_cast<PCRE2_SPTR>(text.empty() ? kEmpty : text.data());
}

std::string ErrorMessage(int code) {
  PCRE2_UCHAR buffer[256];
  if (pcre2_get_error_message(code, buffer, 256) < 0) return "error " + std::to_string(code);
  std::string message;
  for (const PCRE2_UCHAR* c = buffer; *c != 0; ++c) message += static_cast<char>(*c);
  return message;
}

struct CompileResult {
  pcre2_code* code = nullptr;
  std::string error;
};

CompileResult Compile(std::u32string_view pattern, bool ignore_case) {
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (context == nullptr) return {nullptr, "out of memory"};
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);
  int code = 0;
  PCRE2_SIZE offset = 0;
  CompileResult result;
  result.code =
      pcre2_compile(Units(pattern), pattern.size(),
                    kCompileOptions | (ignore_case ? PCRE2_CASELESS : 0u), &code, &offset, context);
  pcre2_compile_context_free(context);
  if (result.code == nullptr) {
    result.error = ErrorMessage(code) +
                   (offset == 0 ? " at the start" : " after character " + std::to_string(offset));
  }
  return result;
}

// The expression with "|" as the line break where it stands for a character: "\|", and
// "|" inside [ ] or \Q...\E. Elsewhere "|" separates alternatives.
std::u32string ExpressionOfLines(std::u32string_view p) {
  std::u32string out(p);
  bool quoted = false;  // in \Q...\E
  bool in_class = false;
  std::size_t class_start = 0;  // where a "]" would still be a member of the class
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char32_t c = out[i];
    const char32_t next = i + 1 < out.size() ? out[i + 1] : 0;
    if (quoted) {
      if (c == U'\\' && next == U'E') {
        quoted = false;
        ++i;
      } else if (c == kLineBreak) {
        out[i] = kPatternLineBreak;
      }
    } else if (c == U'\\') {
      if (next == U'Q') quoted = true;
      if (next == kLineBreak) out[i + 1] = U'n';
      ++i;
    } else if (in_class) {
      if (c == U'[' && next == U':') {
        const std::size_t end = out.find(U":]", i + 2);
        if (end != std::u32string::npos) i = end + 1;
      } else if (c == U']' && i != class_start) {
        in_class = false;
      } else if (c == kLineBreak) {
        out[i] = kPatternLineBreak;
      }
    } else if (c == U'[') {
      in_class = true;
      class_start = i + 1 < out.size() && out[i + 1] == U'^' ? i + 2 : i + 1;
    } else if (c == U'(' && next == U'?' && i + 2 < out.size() && out[i + 2] == U'#') {
      i = std::min(out.find(U')', i), out.size());  // a comment
    }
  }
  return out;
}

// A plain text as an expression that matches exactly it.
std::u32string ExpressionOfText(std::u32string_view text) {
  std::u32string out;
  for (char32_t c : text) {
    if (c == kLineBreak) {
      out += U"\\n";
      continue;
    }
    if (c < 0x80 && c > U' ' && !IsWordChar(c)) out += U'\\';
    out += c;
  }
  return out;
}

// The expression matched only where no word character stands right before or after it
// ("Mr." is a whole word before a space). Settings such as (*UCP) must stay in front;
// \E ends a \Q the expression leaves open.
std::u32string AsWholeWords(std::u32string_view p, bool comment_at_end) {
  std::size_t settings = 0;
  while (p.substr(settings, 2) == U"(*") {
    const std::size_t close = p.find(U')', settings);
    if (close == std::u32string_view::npos) break;
    settings = close + 1;
  }
  std::u32string out(p.substr(0, settings));
  out += U"(?<!\\w)(?:";
  out += p.substr(settings);
  out += comment_at_end ? U"\\E\n)(?!\\w)" : U"\\E)(?!\\w)";
  return out;
}

}  // namespace

struct TextPattern::Compiled {
  pcre2_code* code = nullptr;
  pcre2_match_context* limits = nullptr;
  Compiled() = default;
  Compiled(const Compiled&) = delete;
  Compiled& operator=(const Compiled&) = delete;
  ~Compiled() {
    pcre2_match_context_free(limits);
    pcre2_code_free(code);
  }
};

void SeparateLines(std::u32string& chars) {
  std::replace(chars.begin(), chars.end(), kLineBreak, kPatternLineBreak);
}

TextPattern::TextPattern(std::u32string_view pattern, const FindOptions& options)
    : options_(options) {
  if (pattern.empty()) return;
  const bool ignore_case = !options.match_case;
  const std::u32string expression =
      options.regex ? ExpressionOfLines(pattern) : ExpressionOfText(pattern);
  CompileResult compiled = Compile(expression, ignore_case);
  if (compiled.code != nullptr && options.whole_words) {
    // The expression compiled on its own: any fault of the wrapped one is the wrapping's.
    pcre2_code_free(compiled.code);
    compiled = Compile(AsWholeWords(expression, false), ignore_case);
    if (compiled.code == nullptr) compiled = Compile(AsWholeWords(expression, true), ignore_case);
  }
  if (compiled.code == nullptr) {
    error_ = std::move(compiled.error);
    return;
  }
  auto result = std::make_shared<Compiled>();
  result->code = compiled.code;
  result->limits = pcre2_match_context_create(nullptr);
  if (result->limits == nullptr) {
    error_ = "out of memory";
    return;
  }
  pcre2_set_match_limit(result->limits, kMatchLimit);
  pcre2_set_depth_limit(result->limits, kDepthLimit);
  pcre2_set_heap_limit(result->limits, kHeapLimitKib);
  std::uint32_t captures = 0;
  pcre2_pattern_info(result->code, PCRE2_INFO_CAPTURECOUNT, &captures);
  groups_ = static_cast<int>(captures) + 1;
  compiled_ = std::move(result);
}

TextPattern::Result TextPattern::Search(std::u32string_view text, std::size_t from,
                                        Match& match) const {
  if (compiled_ == nullptr || from > text.size()) return Result::kNotFound;
  std::unique_ptr<pcre2_match_data, void (*)(pcre2_match_data*)> data(
      pcre2_match_data_create_from_pattern(compiled_->code, nullptr), pcre2_match_data_free);
  if (data == nullptr) return Result::kTooComplex;
  const int rc = pcre2_match(compiled_->code, Units(text), text.size(), from, 0, data.get(),
                             compiled_->limits);
  if (rc == PCRE2_ERROR_NOMATCH) return Result::kNotFound;
  // The limits, or memory: the search cannot be finished.
  if (rc < 0) return Result::kTooComplex;
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
  const std::uint32_t pairs = pcre2_get_ovector_count(data.get());
  match.groups.assign(static_cast<std::size_t>(groups_) * 2, -1);
  for (std::size_t i = 0; i < match.groups.size() && i < 2 * std::size_t{pairs}; i += 2) {
    if (ovector[i] == PCRE2_UNSET || ovector[i + 1] == PCRE2_UNSET) continue;
    match.groups[i] = static_cast<std::int64_t>(ovector[i]);
    match.groups[i + 1] = static_cast<std::int64_t>(std::max(ovector[i], ovector[i + 1]));
  }
  match.begin = static_cast<std::size_t>(std::max<std::int64_t>(match.groups[0], 0));
  match.end = static_cast<std::size_t>(std::max<std::int64_t>(match.groups[1], 0));
  return Result::kFound;
}

std::vector<TextPattern::ReplacementPart> TextPattern::ParseReplacement(
    std::u32string_view replacement) const {
  std::vector<ReplacementPart> parts(1);
  if (!options_.regex) {
    parts[0].literal = replacement;
    return parts;
  }
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char32_t c = replacement[i];
    if (c != U'\\' || i + 1 == replacement.size()) {
      parts.back().literal += c;
      continue;
    }
    const char32_t e = replacement[++i];
    if (IsDigit(e) && e < 0x80) {
      parts.push_back({{}, static_cast<int>(e - U'0')});
      parts.push_back({});
    } else {
      parts.back().literal += e == U'n' ? kLineBreak : e == U't' ? U'\t' : e;
    }
  }
  return parts;
}

std::string TextPattern::ReplacementProblem(std::u32string_view replacement) const {
  for (const ReplacementPart& part : ParseReplacement(replacement)) {
    if (part.group >= groups_) return "\\" + std::to_string(part.group) + " names no group";
  }
  return {};
}

}  // namespace lumetra
