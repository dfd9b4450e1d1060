#include "editing/text_fixes.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr Correction kEnglish[] = {
    {"teh", "the"},    {"thw", "the"},  {"amd", "and"}, {"ans", "and"},    {"im", "I'm"},
    {"sory", "sorry"}, {"wil", "will"}, {"tow", "two"}, {"helo", "hello"}, {"bey", "bye"},
};

constexpr Correction kHungarian[] = {
    {"egz", "egy"},    {"eyg", "egy"},    {"ay", "az"},     {"ayt", "azt"},
    {"azal", "azzal"}, {"ezel", "ezzel"}, {"hogz", "hogy"}, {"hoyg", "hogy"},
    {"helo", "hello"}, {"vagz", "vagy"},  {"megz", "megy"},
};

// Two letters before a dot or comma that make it an abbreviation ("Mr.xyz").
constexpr std::array<std::string_view, 5> kSpacingExceptions = {"mr", "dr", "ms", "jr", "st"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char UpperChar(char c) { return UpperCaseHU(std::string_view(&c, 1))[0]; }

// A line of a frame after the three dash rules.
void FixDashLine(std::string& line) {
  if (line.size() >= 2 && line[0] == '-' && line[1] != ' ' && line[1] != '-') line.insert(1, " ");
  if (line.size() > 2 && line[0] == '-' && line[1] == ' ') line[2] = UpperChar(line[2]);
  if (line.size() > 2 && line[0] == ' ' && line[1] != ' ') line.insert(0, " ");
}

bool BeginsWord(const std::string& text, std::size_t at) {
  if (at == 0) return true;
  const char c = text[at - 1];
  return c == ' ' || c == '"' || c == '(' || c == '|';
}

bool EndsWord(const std::string& text, std::size_t end) {
  if (end == text.size()) return true;
  const char c = text[end];
  return c == ' ' || c == '!' || c == '"' || c == ')' || c == '.' || c == '?' || c == '|';
}

// The command frame of the dash fix and the spacing.
template <typename Fix>
CommandResult FixSelectedTexts(Document& doc, const Selection& selection, Fix fix) {
  if (selection.count() == 0) return CommandResult{selection, false, {}};
  doc.Modified = kUnsaved;
  bool focused_changed = false;
  CommandResult result = ForEachSelectedFrame(selection, [&](int frame) {
    if (frame < 1 || frame > doc.FrameCount) return;
    const std::string& old = doc.FrameText[static_cast<std::size_t>(frame)];
    std::string text = fix(old);
    if (text == old) return;
    doc.SetText(frame, std::move(text));
    focused_changed = focused_changed || frame == selection.focus;
  });
  result.reload_panel = focused_changed;
  return result;
}

}  // namespace

std::span<const Correction> EnglishCorrections() { return kEnglish; }
std::span<const Correction> HungarianCorrections() { return kHungarian; }

std::string FixDashesInText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 8);
  std::size_t from = 0;
  while (true) {
    const std::size_t bar = text.find('|', from);
    std::string line(text.substr(from, bar == std::string_view::npos ? bar : bar - from));
    FixDashLine(line);
    result += line;
    result += '|';
    if (bar == std::string_view::npos) break;
    from = bar + 1;
  }
  return TrimRightChar(result, '|');
}

namespace {

// The end of the markup that starts at `at`: an override block "{...}" or a tag such as
// "<c.yellow>" on its line; npos where none starts.
std::size_t MarkupEnd(std::string_view s, std::size_t at) {
  if (s[at] == '{') return s.find('}', at + 1);
  if (s[at] != '<' || at + 1 >= s.size()) return std::string_view::npos;
  const char next = s[at + 1];
  if (!(next == '/' || (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))) {
    return std::string_view::npos;
  }
  const std::size_t end = s.find_first_of("<>|", at + 1);
  return end != std::string_view::npos && s[end] == '>' ? end : std::string_view::npos;
}

}  // namespace

std::string FixSpacingInText(std::string_view text) {
  std::string s(text);
  // Nothing follows the last character, so a mark there never gets a space.
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    const char c = s[i];
    // Tags and override blocks ("<c.yellow>", "{\pos(1,2)}") stay as they are.
    if (c == '{' || c == '<') {
      const std::size_t end = MarkupEnd(s, i);
      if (end != std::string_view::npos) i = end;
      continue;
    }
    if (c != ',' && c != '.' && c != ':') continue;
    if (c == '.') {
      // A dot with another dot among the (up to three) characters after it.
      const std::string_view after = std::string_view(s).substr(i + 1, 3);
      if (after.find('.') != std::string_view::npos) continue;
    }
    const char before[2] = {i >= 2 ? s[i - 2] : ' ', i >= 1 ? s[i - 1] : ' '};
    const std::string pair = LowerCaseHU(std::string_view(before, 2));
    bool abbreviation = false;
    for (std::string_view e : kSpacingExceptions) abbreviation = abbreviation || pair == e;
    if (abbreviation) continue;
    if (i >= 1 && IsDigit(s[i - 1]) && IsDigit(s[i + 1])) continue;
    if (s[i + 1] == ' ' || s[i + 1] == ':') continue;
    s.insert(i + 1, 1, ' ');
    ++i;  // past the space
  }
  return s;
}

int ReplaceWholeWord(std::string& text, std::string_view wrong, std::string_view right) {
  if (wrong.empty()) return 0;
  // Inserted text is masked in the lower-case copy, so it is never found again.
  std::string lower = LowerCaseHU(text);
  int count = 0;
  std::size_t at = lower.find(wrong);
  while (at != std::string::npos) {
    std::size_t next = at + 1;
    if (BeginsWord(text, at) && EndsWord(text, at + wrong.size())) {
      std::string word(right);
      const char first = text[at];
      if (!word.empty() && LowerCaseHU(std::string_view(&first, 1))[0] != first) {
        word[0] = UpperChar(word[0]);
      }
      text.replace(at, wrong.size(), word);
      lower.replace(at, wrong.size(), std::string(word.size(), '\0'));
      next = at + word.size();
      ++count;
    }
    at = lower.find(wrong, next);
  }
  return count;
}

CommandResult FixDashes(Document& doc, const Selection& selection) {
  return FixSelectedTexts(doc, selection, FixDashesInText);
}

CommandResult FixCommaDotSpacing(Document& doc, const Selection& selection) {
  return FixSelectedTexts(doc, selection, FixSpacingInText);
}

// The wrong words of a spell check by the byte they begin with (in either case), and the
// bytes a word may follow.
struct WrongWords {
  explicit WrongWords(std::span<const Correction> corrections) {
    std::string bytes(256, '\0');
    for (int i = 0; i < 256; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(i);
    LowerCaseHU(bytes, lower);
    for (std::size_t i = 0; i < 256; ++i) {
      for (const Correction& c : corrections) {
        const std::string_view wrong = c.wrong;
        if (wrong.empty() || wrong[0] != lower[i]) continue;
        by_first[i].push_back(wrong);
        if (wrong.size() == 1) {
          one_letter[i] = true;
        } else {
          const std::size_t pair = i * 256 + static_cast<unsigned char>(wrong[1]);
          second[pair / 64] |= std::uint64_t{1} << (pair % 64);
        }
      }
      follows[i] = BeginsWord(std::string{static_cast<char>(i), 'x'}, 1);
    }
  }
  // Whether a word of two letters or more begins with byte `first` (in either case)
  // followed by the lower-case byte `second_lower`.
  bool MayBegin(unsigned char first, unsigned char second_lower) const {
    const std::size_t pair = std::size_t{first} * 256 + second_lower;
    return (second[pair / 64] >> (pair % 64)) & 1;
  }
  std::array<std::vector<std::string_view>, 256> by_first;
  std::string lower;  // the lower-case form of every byte
  std::array<bool, 256> follows{};
  std::array<bool, 256> one_letter{};  // a word of one letter is that byte (in either case)
  std::array<std::uint64_t, 256 * 256 / 64> second{};  // see MayBegin
};

// Whether one of the wrong words stands as a whole word at `at`.
inline bool WrongWordAt(const std::string& text, std::size_t at, const WrongWords& wrong) {
  const auto first = static_cast<unsigned char>(text[at]);
  // Most places hold no word's first two letters.
  if (!wrong.one_letter[first] &&
      (at + 1 >= text.size() ||
       !wrong.MayBegin(first, static_cast<unsigned char>(
                                  wrong.lower[static_cast<unsigned char>(text[at + 1])])))) {
    return false;
  }
  for (std::string_view word : wrong.by_first[first]) {
    if (at + word.size() > text.size()) continue;
    std::size_t k = 1;
    while (k < word.size() && wrong.lower[static_cast<unsigned char>(text[at + k])] == word[k]) {
      ++k;
    }
    if (k == word.size() && EndsWord(text, at + word.size())) return true;
  }
  return false;
}

// Whether any of the wrong words stands as a whole word of the text: one pass over the
// places where a word may begin, found sixteen bytes at a time where the processor can.
bool HoldsAnyWholeWord(const std::string& text, const WrongWords& wrong) {
  const std::size_t size = text.size();
  if (size == 0) return false;
  if (WrongWordAt(text, 0, wrong)) return true;
  // Byte i is one a word may follow: a word may begin at i + 1.
  std::size_t i = 0;
#if defined(__SSE2__)
  // The bytes BeginsWord accepts before a word, among 16.
  const __m128i space = _mm_set1_epi8(' ');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i paren = _mm_set1_epi8('(');
  const __m128i bar = _mm_set1_epi8('|');
  auto word_starts_after = [&](const char* bytes, std::size_t from) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    auto found = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, space), _mm_cmpeq_epi8(block, quote)),
                     _mm_or_si128(_mm_cmpeq_epi8(block, paren), _mm_cmpeq_epi8(block, bar)))));
    while (found != 0) {
      const std::size_t at = from + static_cast<std::size_t>(__builtin_ctz(found)) + 1;
      found &= found - 1;
      if (at < size && WrongWordAt(text, at, wrong)) return true;
    }
    return false;
  };
  for (; i + 16 <= size; i += 16) {
    if (word_starts_after(text.data() + i, i)) return true;
  }
  if (i + 1 < size) {
    // The last bytes through a copy whose rest (zeros) no word follows.
    char last[16] = {};
    std::memcpy(last, text.data() + i, size - i);
    return word_starts_after(last, i);
  }
  return false;
#else
  for (; i + 1 < size; ++i) {
    if (wrong.follows[static_cast<unsigned char>(text[i])] && WrongWordAt(text, i + 1, wrong)) {
      return true;
    }
  }
  return false;
#endif
}

CommandResult SpellCheck(Document& doc, const Selection& selection,
                         std::span<const Correction> corrections, bool only_select) {
  // The selection becomes the frames with faults, so the panel follows it.
  CommandResult result{selection, true, {}};
  result.selection.frames.clear();
  int faults = 0;
  const WrongWords wrong_words(corrections);
  std::string lower;
  std::string copy;
  for (int frame = 1; frame <= doc.FrameCount; ++frame) {
    const std::string& text = doc.FrameText[static_cast<std::size_t>(frame)];
    // Most frames hold none of the words: only those that do are copied and corrected. The
    // lower-case text follows the corrections, so a word it does not hold is passed over.
    if (!HoldsAnyWholeWord(text, wrong_words)) continue;
    LowerCaseHU(text, lower);
    copy = text;
    int found = 0;
    for (const Correction& c : corrections) {
      if (lower.find(c.wrong) == std::string::npos) continue;
      const int replaced = ReplaceWholeWord(copy, c.wrong, c.right);
      if (replaced == 0) continue;  // the text is as it was
      found += replaced;
      LowerCaseHU(copy, lower);
    }
    if (found == 0) continue;
    faults += found;
    result.selection.frames.push_back(frame);
    if (!only_select) doc.SetText(frame, std::move(copy));
  }
  // Without a focused frame the first fault gets the focus, so the window shows it and its
  // commands follow the new selection.
  Selection& s = result.selection;
  if ((s.focus < 1 || s.focus > doc.FrameCount) && !s.frames.empty()) s.focus = s.frames.front();
  if (faults == 0) {
    result.message = kNoErrorsFound;
  } else {
    result.message = IntToText(faults) + (only_select ? kErrorsFound : kReplacementsMade);
    if (!only_select) doc.Modified = kUnsaved;
  }
  return result;
}

}  // namespace lumetra
