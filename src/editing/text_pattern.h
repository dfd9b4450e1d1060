// The matching of Find and replace, the same in the editor and in lumetra-cli: a plain text
// or a regular expression, in any letter case or matching it, anywhere or as whole words,
// over a frame's characters. A frame's lines are joined by "|", so in a regular
// expression "^" and "$" match at the start and end of every line and "\|" matches the line
// break itself.
//
// Regular expressions: literals, ".", [classes] with ranges and "^", \d \w \s \D \W \S,
// \b \B, ^ $, (groups), (?:groups), alternatives with "|", * + ? {n} {n,} {n,m} with
// lazy forms (*? ...), back-references \1..\9, and \t \xHH \uHHHH. Every search is given a
// budget of steps: an expression that would take far longer (nested repeats such as
// "(a+)+b") stops with kTooComplex instead of freezing the program.
#pragma once

#include <cstddef>
#include <cstdint>
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

class TextPattern {
 public:
  // Steps of one search before it gives up as too complex.
  static constexpr std::int64_t kStepBudget = 2'000'000;

  // An empty pattern matches nothing.
  TextPattern() = default;
  // Compiles `pattern` (characters); a bad regular expression leaves error() saying why.
  TextPattern(std::u32string_view pattern, const FindOptions& options);

  bool ok() const { return error_.empty(); }
  // What is wrong with the expression ("missing )"); empty when it compiled.
  const std::string& error() const { return error_; }
  // Matches nothing at all (an empty pattern, or a bad expression).
  bool matches_nothing() const { return program_.empty(); }
  const FindOptions& options() const { return options_; }

  // A match: characters begin..end, and the groups' ranges (-1 for a group that did not
  // take part). Group 0 is the whole match.
  struct Match {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::vector<std::int64_t> groups;  // begin and end of group n at 2n, 2n+1
  };
  enum class Result { kFound, kNotFound, kTooComplex };
  // The first match that begins at or after `from`.
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

  struct Instruction;
  struct CharClass;

 private:
  enum class Run { kMatch, kFail, kTooComplex };
  Run RunAt(std::u32string_view text, std::size_t start, std::vector<std::int64_t>& slots,
            std::int64_t& steps) const;

  FindOptions options_;
  std::string error_;
  std::vector<Instruction> program_;
  std::vector<CharClass> classes_;
  int groups_ = 1;      // group 0 included
  int loop_slots_ = 0;  // registers of the loops' empty-iteration guards
  // A literal character every match begins with, to skip the places it is not.
  char32_t first_char_ = 0;
  // Or a class it begins with (-1: none).
  int first_class_ = -1;
};

struct TextPattern::CharClass {
  struct Range {
    char32_t first;
    char32_t last;
  };
  std::vector<Range> ranges;
  bool digits = false, not_digits = false;
  bool words = false, not_words = false;
  bool spaces = false, not_spaces = false;
  bool negated = false;
  bool Contains(char32_t c, bool ignore_case) const;
};

struct TextPattern::Instruction {
  enum Op : std::uint8_t {
    kChar,          // the character `c`
    kAny,           // any character
    kClass,         // class `x`
    kSplit,         // go on at `x`; on failure at `y`
    kJump,          // go on at `x`
    kSave,          // slot `x` := the place
    kLineStart,     // "^"
    kLineEnd,       // "$"
    kWordEdge,      // "\b"
    kNotWordEdge,   // "\B"
    kNoWordBefore,  // whole words: no word character before the place
    kNoWordAfter,   // ... and none after it
    kBackref,       // the text of group `x` again
    kMark,          // loop slot `x` := the place
    kProgress,      // fail when the place is still loop slot `x` (an empty iteration)
    kMatch,
  };
  Op op = kMatch;
  char32_t c = 0;
  int x = 0;
  int y = 0;
};

}  // namespace lumetra
