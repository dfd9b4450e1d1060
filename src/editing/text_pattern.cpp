#include "editing/text_pattern.h"

#include <algorithm>
#include <utility>

#include "foundation/characters.h"

namespace lumetra {

namespace {

using Instruction = TextPattern::Instruction;
using CharClass = TextPattern::CharClass;

constexpr char32_t kLineBreak = U'|';
constexpr int kMaxRepeat = 1000;
constexpr std::size_t kMaxProgram = 100'000;
// Places a search may have to come back to before it gives up as too complex.
constexpr std::size_t kMaxBacktrack = 1'000'000;

bool IsSpace(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\f' || c == U'\v' ||
         c == 0xA0 || c == kLineBreak;
}

int HexValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  return -1;
}

// The expression as a tree, before it becomes a program.
struct Node {
  enum Kind { kEmpty, kChar, kAny, kClass, kAssert, kBackref, kGroup, kConcat, kAlt, kRepeat };
  Kind kind = kEmpty;
  char32_t c = 0;
  int index = 0;         // class, group (-1: not capturing), back-reference or assertion
  int min = 0, max = 0;  // repeat; max -1 for no limit
  bool greedy = true;
  std::vector<Node> children;
};

class Parser {
 public:
  Parser(std::u32string_view pattern, std::vector<CharClass>& classes)
      : p_(pattern), classes_(classes) {}

  Node Parse() {
    Node node = Alternatives();
    if (error_.empty() && at_ < p_.size()) Fail("unmatched )");
    if (error_.empty() && max_backref_ >= groups_) {
      Fail("\\" + std::to_string(max_backref_) + " names no group");
    }
    return node;
  }
  const std::string& error() const { return error_; }
  int groups() const { return groups_; }

 private:
  bool AtEnd() const { return at_ >= p_.size(); }
  char32_t Peek(std::size_t ahead = 0) const {
    return at_ + ahead < p_.size() ? p_[at_ + ahead] : 0;
  }
  void Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
  }

  Node Alternatives() {
    Node first = Sequence();
    if (Peek() != U'|' || AtEnd()) return first;
    Node alt;
    alt.kind = Node::kAlt;
    alt.children.push_back(std::move(first));
    while (error_.empty() && !AtEnd() && Peek() == U'|') {
      ++at_;
      alt.children.push_back(Sequence());
    }
    return alt;
  }

  Node Sequence() {
    Node seq;
    seq.kind = Node::kConcat;
    while (error_.empty() && !AtEnd() && Peek() != U'|' && Peek() != U')') {
      Node atom = Atom();
      if (!error_.empty()) break;
      Quantify(atom);
      seq.children.push_back(std::move(atom));
    }
    return seq;
  }

  // A quantifier "{n}", "{n,}" or "{n,m}" at the current place; false (nothing read) when
  // the brace begins none, and it is then a literal brace.
  bool CountedRepeat(int& min, int& max) {
    std::size_t i = at_ + 1;
    auto number = [&](int& out) {
      const std::size_t begin = i;
      long long value = 0;
      while (i < p_.size() && IsDigit(p_[i])) {
        value = std::min<long long>(value * 10 + (p_[i] - U'0'), 1'000'000);
        ++i;
      }
      out = static_cast<int>(value);
      return i > begin;
    };
    if (!number(min)) return false;
    max = min;
    if (i < p_.size() && p_[i] == U',') {
      ++i;
      if (!number(max)) max = -1;
    }
    if (i >= p_.size() || p_[i] != U'}') return false;
    at_ = i + 1;
    return true;
  }

  bool QuantifierAhead() {
    const char32_t c = Peek();
    if (c == U'*' || c == U'+' || c == U'?') return true;
    if (c != U'{') return false;
    const std::size_t saved = at_;
    int min = 0, max = 0;
    const bool counted = CountedRepeat(min, max);
    at_ = saved;
    return counted;
  }

  void Quantify(Node& atom) {
    if (!QuantifierAhead()) return;
    if (atom.kind == Node::kAssert) {
      Fail("nothing to repeat");
      return;
    }
    int min = 0, max = -1;
    const char32_t c = p_[at_];
    if (c == U'{') {
      CountedRepeat(min, max);
      if (min > kMaxRepeat || max > kMaxRepeat) {
        Fail("a repeat count over " + std::to_string(kMaxRepeat));
        return;
      }
      if (max >= 0 && max < min) {
        Fail("numbers out of order in {}");
        return;
      }
    } else {
      ++at_;
      min = c == U'+' ? 1 : 0;
      max = c == U'?' ? 1 : -1;
    }
    Node repeat;
    repeat.kind = Node::kRepeat;
    repeat.min = min;
    repeat.max = max;
    if (Peek() == U'?' && !AtEnd()) {
      repeat.greedy = false;
      ++at_;
    }
    repeat.children.push_back(std::move(atom));
    atom = std::move(repeat);
    if (QuantifierAhead()) Fail("nothing to repeat");
  }

  Node ClassNode(CharClass cls) {
    Node node;
    node.kind = Node::kClass;
    node.index = static_cast<int>(classes_.size());
    classes_.push_back(std::move(cls));
    return node;
  }

  // An escaped character or class after "\" (inside or outside brackets): true with `c`
  // set for a character, true with `cls` changed for a class escape.
  bool Escape(char32_t& c, CharClass* cls) {
    if (AtEnd()) {
      Fail("\\ at the end");
      return false;
    }
    const char32_t e = p_[at_++];
    switch (e) {
      case U'd':
        cls->digits = true;
        return true;
      case U'D':
        cls->not_digits = true;
        return true;
      case U'w':
        cls->words = true;
        return true;
      case U'W':
        cls->not_words = true;
        return true;
      case U's':
        cls->spaces = true;
        return true;
      case U'S':
        cls->not_spaces = true;
        return true;
      case U'n':
        c = kLineBreak;
        return true;
      case U't':
        c = U'\t';
        return true;
      case U'r':
        c = U'\r';
        return true;
      case U'f':
        c = U'\f';
        return true;
      case U'v':
        c = U'\v';
        return true;
      case U'x':
      case U'u': {
        const int digits = e == U'x' ? 2 : 4;
        char32_t value = 0;
        for (int i = 0; i < digits; ++i) {
          const int h = HexValue(Peek());
          if (h < 0 || AtEnd()) {
            Fail(std::string("\\") + static_cast<char>(e) + " needs " + std::to_string(digits) +
                 " hexadecimal digits");
            return false;
          }
          value = value * 16 + static_cast<char32_t>(h);
          ++at_;
        }
        c = value;
        return true;
      }
      default:
        if (e < 0x80 && (IsLetter(e) || IsDigit(e))) {
          Fail(std::string("unknown escape \\") + static_cast<char>(e));
          return false;
        }
        c = e;
        return true;
    }
  }

  Node Atom() {
    const char32_t c = p_[at_++];
    Node node;
    switch (c) {
      case U'(': {
        int index = -1;
        if (Peek() == U'?') {
          if (Peek(1) != U':') {
            Fail("only (?:...) groups are understood after (?");
            return node;
          }
          at_ += 2;
        } else {
          index = groups_++;
        }
        node.kind = Node::kGroup;
        node.index = index;
        node.children.push_back(Alternatives());
        if (error_.empty() && (AtEnd() || Peek() != U')')) Fail("missing )");
        ++at_;
        return node;
      }
      case U'[':
        return Bracket();
      case U'.':
        node.kind = Node::kAny;
        return node;
      case U'^':
      case U'$':
        node.kind = Node::kAssert;
        node.index = c == U'^' ? Instruction::kLineStart : Instruction::kLineEnd;
        return node;
      case U'*':
      case U'+':
      case U'?':
        Fail("nothing to repeat");
        return node;
      case U'\\': {
        if (Peek() == U'b' || Peek() == U'B') {
          node.kind = Node::kAssert;
          node.index = p_[at_++] == U'b' ? Instruction::kWordEdge : Instruction::kNotWordEdge;
          return node;
        }
        if (Peek() >= U'1' && Peek() <= U'9' && !AtEnd()) {
          node.kind = Node::kBackref;
          node.index = static_cast<int>(p_[at_++] - U'0');
          max_backref_ = std::max(max_backref_, node.index);
          return node;
        }
        if (Peek() == U'0' && !AtEnd()) {
          Fail("\\0 is no group of the expression");
          return node;
        }
        CharClass cls;
        char32_t literal = 0;
        const std::size_t before = at_;
        if (!Escape(literal, &cls)) return node;
        const char32_t e = p_[before];
        if (e == U'd' || e == U'D' || e == U'w' || e == U'W' || e == U's' || e == U'S') {
          return ClassNode(std::move(cls));
        }
        node.kind = Node::kChar;
        node.c = literal;
        return node;
      }
      default:
        if (c == U'{' && at_ >= 1) {
          --at_;
          if (QuantifierAhead()) {
            Fail("nothing to repeat");
            return node;
          }
          ++at_;
        }
        node.kind = Node::kChar;
        node.c = c;
        return node;
    }
  }

  Node Bracket() {
    CharClass cls;
    if (Peek() == U'^' && !AtEnd()) {
      cls.negated = true;
      ++at_;
    }
    bool first = true;
    while (true) {
      if (AtEnd()) {
        Fail("missing ]");
        return Node{};
      }
      char32_t c = p_[at_++];
      if (c == U']' && !first) break;
      first = false;
      if (c == U'\\') {
        const std::size_t before = at_;
        if (!Escape(c, &cls)) return Node{};
        const char32_t e = p_[before];
        if (e == U'd' || e == U'D' || e == U'w' || e == U'W' || e == U's' || e == U'S') continue;
      }
      char32_t last = c;
      if (Peek() == U'-' && at_ + 1 < p_.size() && p_[at_ + 1] != U']') {
        at_ += 1;
        last = p_[at_++];
        if (last == U'\\') {
          CharClass ignored;
          const std::size_t before = at_;
          if (!Escape(last, &ignored)) return Node{};
          const char32_t e = p_[before];
          if (e == U'd' || e == U'D' || e == U'w' || e == U'W' || e == U's' || e == U'S') {
            Fail("a class cannot end a range");
            return Node{};
          }
        }
        if (last < c) {
          Fail("range out of order in [ ]");
          return Node{};
        }
      }
      cls.ranges.push_back({c, last});
    }
    return ClassNode(std::move(cls));
  }

  std::u32string_view p_;
  std::vector<CharClass>& classes_;
  std::size_t at_ = 0;
  int groups_ = 1;
  int max_backref_ = 0;
  std::string error_;
};

// Whether a node can match the empty text (a repeat of it then needs the guard against
// empty iterations).
bool CanBeEmpty(const Node& node) {
  switch (node.kind) {
    case Node::kChar:
    case Node::kAny:
    case Node::kClass:
      return false;
    case Node::kGroup:
      return CanBeEmpty(node.children[0]);
    case Node::kConcat:
      return std::all_of(node.children.begin(), node.children.end(), CanBeEmpty);
    case Node::kAlt:
      return std::any_of(node.children.begin(), node.children.end(), CanBeEmpty);
    case Node::kRepeat:
      return node.min == 0 || CanBeEmpty(node.children[0]);
    default:
      return true;
  }
}

class Compiler {
 public:
  Compiler(std::vector<Instruction>& program, bool ignore_case)
      : program_(program), ignore_case_(ignore_case) {}

  int loop_slots() const { return loop_slots_; }
  bool too_large() const { return too_large_; }

  int Emit(Instruction::Op op, int x = 0, int y = 0, char32_t c = 0) {
    if (program_.size() >= kMaxProgram) {
      too_large_ = true;
      return static_cast<int>(program_.size()) - 1;
    }
    Instruction in;
    in.op = op;
    in.x = x;
    in.y = y;
    in.c = c;
    program_.push_back(in);
    return static_cast<int>(program_.size()) - 1;
  }
  int Here() const { return static_cast<int>(program_.size()); }

  void Compile(const Node& node) {
    if (too_large_) return;
    switch (node.kind) {
      case Node::kEmpty:
        return;
      case Node::kChar:
        Emit(Instruction::kChar, 0, 0, ignore_case_ ? LowerChar(node.c) : node.c);
        return;
      case Node::kAny:
        Emit(Instruction::kAny);
        return;
      case Node::kClass:
        Emit(Instruction::kClass, node.index);
        return;
      case Node::kAssert:
        Emit(static_cast<Instruction::Op>(node.index));
        return;
      case Node::kBackref:
        Emit(Instruction::kBackref, node.index);
        return;
      case Node::kGroup:
        if (node.index >= 0) Emit(Instruction::kSave, 2 * node.index);
        Compile(node.children[0]);
        if (node.index >= 0) Emit(Instruction::kSave, 2 * node.index + 1);
        return;
      case Node::kConcat:
        for (const Node& child : node.children) Compile(child);
        return;
      case Node::kAlt: {
        std::vector<int> jumps;
        for (std::size_t i = 0; i + 1 < node.children.size(); ++i) {
          const int split = Emit(Instruction::kSplit, Here() + 1);
          Compile(node.children[i]);
          jumps.push_back(Emit(Instruction::kJump));
          Patch(split).y = Here();
        }
        Compile(node.children.back());
        for (int j : jumps) Patch(j).x = Here();
        return;
      }
      case Node::kRepeat:
        Repeat(node);
        return;
    }
  }

 private:
  Instruction& Patch(int at) {
    static Instruction spare;
    return at >= 0 && at < Here() ? program_[static_cast<std::size_t>(at)] : spare;
  }

  // Where a split goes first: into the body for a greedy repeat, past it for a lazy one.
  void PointSplit(int split, int body, int exit, bool greedy) {
    Patch(split).x = greedy ? body : exit;
    Patch(split).y = greedy ? exit : body;
  }

  void Repeat(const Node& node) {
    const Node& body = node.children[0];
    for (int i = 0; i < node.min && !too_large_; ++i) Compile(body);
    if (node.max < 0) {
      const bool guarded = CanBeEmpty(body);
      const int slot = guarded ? loop_slots_++ : 0;
      const int split = Emit(Instruction::kSplit);
      if (guarded) Emit(Instruction::kMark, slot);
      Compile(body);
      if (guarded) Emit(Instruction::kProgress, slot);
      Emit(Instruction::kJump, split);
      PointSplit(split, split + 1, Here(), node.greedy);
      return;
    }
    std::vector<int> splits;
    for (int i = node.min; i < node.max && !too_large_; ++i) {
      splits.push_back(Emit(Instruction::kSplit));
      Compile(body);
    }
    for (int split : splits) PointSplit(split, split + 1, Here(), node.greedy);
  }

  std::vector<Instruction>& program_;
  bool ignore_case_;
  int loop_slots_ = 0;
  bool too_large_ = false;
};

}  // namespace

bool CharClass::Contains(char32_t c, bool ignore_case) const {
  auto test = [&](char32_t x) {
    for (const Range& r : ranges) {
      if (x >= r.first && x <= r.last) return true;
    }
    return (digits && IsDigit(x)) || (not_digits && !IsDigit(x)) || (words && IsWordChar(x)) ||
           (not_words && !IsWordChar(x)) || (spaces && IsSpace(x)) || (not_spaces && !IsSpace(x));
  };
  bool in = test(c);
  if (!in && ignore_case) in = test(LowerChar(c)) || test(UpperChar(c));
  return in != negated;
}

TextPattern::TextPattern(std::u32string_view pattern, const FindOptions& options)
    : options_(options) {
  if (pattern.empty()) return;
  const bool ignore_case = !options.match_case;
  Node root;
  if (options.regex) {
    Parser parser(pattern, classes_);
    root = parser.Parse();
    if (!parser.error().empty()) {
      error_ = parser.error();
      classes_.clear();
      return;
    }
    groups_ = parser.groups();
  } else {
    root.kind = Node::kConcat;
    for (char32_t c : pattern) {
      Node literal;
      literal.kind = Node::kChar;
      literal.c = c;
      root.children.push_back(literal);
    }
  }
  Compiler compiler(program_, ignore_case);
  if (options.whole_words) compiler.Emit(Instruction::kNoWordBefore);
  compiler.Emit(Instruction::kSave, 0);
  compiler.Compile(root);
  compiler.Emit(Instruction::kSave, 1);
  if (options.whole_words) compiler.Emit(Instruction::kNoWordAfter);
  compiler.Emit(Instruction::kMatch);
  if (compiler.too_large()) {
    error_ = "the expression is too large";
    program_.clear();
    classes_.clear();
    return;
  }
  loop_slots_ = compiler.loop_slots();
  // The first instruction that reads a character, when it is one given character.
  for (const Instruction& in : program_) {
    if (in.op == Instruction::kSave || in.op == Instruction::kNoWordBefore) continue;
    if (in.op == Instruction::kChar) first_char_ = in.c;
    if (in.op == Instruction::kClass) first_class_ = in.x;
    break;
  }
}

TextPattern::Run TextPattern::RunAt(std::u32string_view text, std::size_t start,
                                    std::vector<std::int64_t>& slots, std::int64_t& steps) const {
  struct Entry {
    int pc;  // -1: a slot to restore
    int slot;
    std::int64_t value;  // the place to go on from, or the slot's old value
  };
  thread_local std::vector<Entry> backtrack;
  std::vector<Entry>& stack = backtrack;  // one look-up of the thread's own stack
  stack.clear();
  std::fill(slots.begin(), slots.end(), -1);
  const bool ignore_case = !options_.match_case;
  const auto n = static_cast<std::int64_t>(text.size());
  const std::size_t loop_base = static_cast<std::size_t>(groups_) * 2;
  auto at = [&](std::int64_t i) { return text[static_cast<std::size_t>(i)]; };
  auto word_at = [&](std::int64_t i) { return i >= 0 && i < n && IsWordChar(at(i)); };
  auto same = [&](char32_t a, char32_t b) {
    return a == b || (ignore_case && LowerChar(a) == LowerChar(b));
  };
  auto set = [&](std::size_t slot, std::int64_t value) {
    stack.push_back({-1, static_cast<int>(slot), slots[slot]});
    slots[slot] = value;
  };

  int pc = 0;
  auto sp = static_cast<std::int64_t>(start);
  while (true) {
    if (++steps > kStepBudget || stack.size() > kMaxBacktrack) return Run::kTooComplex;
    const Instruction& in = program_[static_cast<std::size_t>(pc)];
    bool ok = true;
    switch (in.op) {
      case Instruction::kChar:
        ok = sp < n && (ignore_case ? LowerChar(at(sp)) == in.c : at(sp) == in.c);
        break;
      case Instruction::kAny:
        ok = sp < n && at(sp) != kLineBreak;
        break;
      case Instruction::kClass:
        ok = sp < n && classes_[static_cast<std::size_t>(in.x)].Contains(at(sp), ignore_case);
        break;
      case Instruction::kSplit:
        stack.push_back({in.y, 0, sp});
        pc = in.x;
        continue;
      case Instruction::kJump:
        pc = in.x;
        continue;
      case Instruction::kSave:
        set(static_cast<std::size_t>(in.x), sp);
        break;
      case Instruction::kMark:
        set(loop_base + static_cast<std::size_t>(in.x), sp);
        break;
      case Instruction::kProgress:
        ok = slots[loop_base + static_cast<std::size_t>(in.x)] != sp;
        break;
      case Instruction::kLineStart:
        ok = sp == 0 || at(sp - 1) == kLineBreak;
        break;
      case Instruction::kLineEnd:
        ok = sp == n || at(sp) == kLineBreak;
        break;
      case Instruction::kWordEdge:
        ok = word_at(sp - 1) != word_at(sp);
        break;
      case Instruction::kNotWordEdge:
        ok = word_at(sp - 1) == word_at(sp);
        break;
      case Instruction::kNoWordBefore:
        ok = !word_at(sp - 1);
        break;
      case Instruction::kNoWordAfter:
        ok = !word_at(sp);
        break;
      case Instruction::kBackref: {
        const std::int64_t b = slots[2 * static_cast<std::size_t>(in.x)];
        const std::int64_t e = slots[2 * static_cast<std::size_t>(in.x) + 1];
        // A group that took no part matches the empty text.
        const std::int64_t length = b >= 0 && e >= b ? e - b : 0;
        ok = sp + length <= n;
        for (std::int64_t i = 0; ok && i < length; ++i) ok = same(at(b + i), at(sp + i));
        if (!ok) break;
        sp += length;
        ++pc;
        continue;
      }
      case Instruction::kMatch:
        return Run::kMatch;
    }
    if (ok) {
      if (in.op == Instruction::kChar || in.op == Instruction::kAny ||
          in.op == Instruction::kClass) {
        ++sp;
      }
      ++pc;
      continue;
    }
    // Back to the last place with another way to go, undoing the slots set since.
    bool resumed = false;
    while (!stack.empty()) {
      const Entry e = stack.back();
      stack.pop_back();
      if (e.pc < 0) {
        slots[static_cast<std::size_t>(e.slot)] = e.value;
      } else {
        pc = e.pc;
        sp = e.value;
        resumed = true;
        break;
      }
    }
    if (!resumed) return Run::kFail;
  }
}

TextPattern::Result TextPattern::Search(std::u32string_view text, std::size_t from,
                                        Match& match) const {
  if (program_.empty()) return Result::kNotFound;
  std::vector<std::int64_t> slots(static_cast<std::size_t>(groups_) * 2 +
                                  static_cast<std::size_t>(loop_slots_));
  std::int64_t steps = 0;
  const bool ignore_case = !options_.match_case;
  for (std::size_t start = from; start <= text.size(); ++start) {
    if (first_char_ != 0) {
      // Straight to the next place that holds the first character.
      while (start < text.size() &&
             (ignore_case ? LowerChar(text[start]) : text[start]) != first_char_) {
        ++start;
      }
      if (start >= text.size()) break;
    } else if (first_class_ >= 0) {
      const CharClass& first = classes_[static_cast<std::size_t>(first_class_)];
      while (start < text.size() && !first.Contains(text[start], ignore_case)) ++start;
      if (start >= text.size()) break;
    }
    const Run run = RunAt(text, start, slots, steps);
    if (run == Run::kTooComplex) return Result::kTooComplex;
    if (run == Run::kMatch) {
      match.begin = static_cast<std::size_t>(slots[0]);
      match.end = static_cast<std::size_t>(slots[1]);
      match.groups.assign(slots.begin(), slots.begin() + groups_ * 2);
      return Result::kFound;
    }
  }
  return Result::kNotFound;
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
    if (IsDigit(e)) {
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
