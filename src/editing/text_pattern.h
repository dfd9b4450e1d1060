// The matching of Find and replace, the same in the editor and in lumetra-cli: a plain text
// or a Perl-compatible regular expression (PCRE2), in any letter case or matching it,
// anywhere or as whole words, over a frame's characters (Unicode code points, whatever the
// document's code page; letters, case and \w \b are Unicode's).
//
// A pattern reads a frame's lines as the user sees them: the "|" that joins them is a line
// break (SeparateLines), so "^" and "$" match at the start and end of every line, "."
// stays within a line, \s and \n match the break, and "\|" (or "|" inside [ ]) is the
// break too. Every search has limits on its work and memory: an expression that would take
// far longer (nested repeats such as "^(a+)+$") stops with kTooComplex instead of freezing
// the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

struct FindOptions {
  bool match_case = false;
  bool whole_words = false;
  bool regex = false;
  bool operator==(const FindOptions&) const = default;
};

// What a pattern reads as a line break.
inline constexpr char32_t kPatternLineBreak = U'\n';
// A frame's characters as a pattern reads them: every "|" becomes kPatternLineBreak (one
// character for one, so places stay the same).
void SeparateLines(std::u32string& chars);

class TextPattern {
 public:
  // Backtracking steps, nesting depth and memory (KiB) of one search before it gives up as
  // too complex.
  static constexpr std::uint32_t kMatchLimit = 1'000'000;
  static constexpr std::uint32_t kDepthLimit = 1'000'000;
  static constexpr std::uint32_t kHeapLimitKib = 64 * 1024;

  // An empty pattern matches nothing.
  TextPattern() = default;
  // Compiles `pattern` (characters); a bad regular expression leaves error() saying why.
  TextPattern(std::u32string_view pattern, const FindOptions& options);

  bool ok() const { return error_.empty(); }
  // What is wrong with the expression and where ("missing closing parenthesis after
  // character 3"); empty when it compiled.
  const std::string& error() const { return error_; }
  // Matches nothing at all (an empty pattern, or a bad expression).
  bool matches_nothing() const { return compiled_ == nullptr; }
  const FindOptions& options() const { return options_; }

  // A match: characters begin..end, and the groups' ranges (-1 for a group that did not
  // take part). Group 0 is the whole match.
  struct Match {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::vector<std::int64_t> groups;  // begin and end of group n at 2n, 2n+1
  };
  enum class Result { kFound, kNotFound, kTooComplex };
  // The first match that begins at or after `from` in `text` (lines separated by
  // SeparateLines); what stands before `from` still counts for "^", \b and whole words.
  Result Search(std::u32string_view text, std::size_t from, Match& match) const;

  // A replacement text in parts: in a regular expression \0..\9 stand for the groups'
  // texts, \n for a line break ("|"), \t for a tab and "\\" for a backslash (any other
  // escaped character stands for itself); otherwise the replacement is taken as it is.
  struct ReplacementPart {
    std::u32string literal;
    int group = -1;  // >= 0: the text of this group instead
  };
  std::vector<ReplacementPart> ParseReplacement(std::u32string_view replacement) const;
  // What is wrong with a replacement (a group the expression does not have), or empty.
  std::string ReplacementProblem(std::u32string_view replacement) const;

 private:
  struct Compiled;

  FindOptions options_;
  std::string error_;
  std::shared_ptr<const Compiled> compiled_;  // shared by copies; matching never changes it
  int groups_ = 1;                            // group 0 included
};

}  // namespace lumetra
