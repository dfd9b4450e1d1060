// The quality checks a delivery is judged by: overlapping frames, gaps too short to see,
// frames too short or too long to read, reading speed, line length, the number of lines
// and empty texts. Each rule has its limit; the frame list marks the frames that break
// one, the "Checks" panel lists them, and lumetra-cli check prints them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

// The limits; a limit of 0 turns its rule off. Overlaps and empty texts are always found.
struct CheckLimits {
  int min_gap_ms = 80;  // 2 frames at 25 fps
  int min_length_ms = 700;
  int max_length_ms = 7000;
  double max_cps = 17;       // characters (without markup and line breaks) per second
  int max_line_length = 42;  // characters of one line, without markup
  int max_lines = 2;
  bool operator==(const CheckLimits&) const = default;
};

// The largest limits a user can set.
inline constexpr int kMaxCheckMs = 3'600'000;
inline constexpr double kMaxCheckCps = 1000;
inline constexpr int kMaxCheckCount = 1000;

enum class CheckRule {
  kOverlap,
  kShortGap,
  kTooShort,
  kTooLong,
  kReadingSpeed,
  kLongLine,
  kTooManyLines,
  kEmptyText,
  kSpelling,
};
// The rule's name as lumetra-cli prints it: "overlap", "gap", "short", "long", "cps",
// "line", "lines", "empty", "spelling".
const char* RuleName(CheckRule rule);
// The rule as the window names it: "Overlap", "Gap", "Too short", ...
const char* RuleCaption(CheckRule rule);

struct Finding {
  int frame = 0;
  CheckRule rule = CheckRule::kOverlap;
  std::string detail;  // "overlaps frame 13 by 120 ms"; UTF-8
  bool operator==(const Finding&) const = default;
};

// The characters a reader reads in a text (code points, without markup and line
// breaks), and the length of its longest line.
struct TextMeasure {
  int characters = 0;
  int longest_line = 0;
  int longest_line_number = 0;  // 1-based
  int lines = 0;
  bool blank = true;  // nothing but spaces and markup
};
TextMeasure MeasureText(std::string_view bytes, CodePage page);

// The findings of one frame (in rule order), appended to `out`.
void CheckFrame(const Document& doc, int frame, const CheckLimits& limits,
                std::vector<Finding>& out);
class SpellChecker;
// The unknown words of a frame as spelling findings ("unknown word \"teh\"").
void CheckSpelling(SpellChecker& checker, const Document& doc, int frame,
                   std::vector<Finding>& out);
// The findings of every frame, frame by frame: the rules, then the unknown words when a
// checker is given. `progress` is told the share done (0..1) now and then; when it returns
// false the check stops and returns what it found so far.
std::vector<Finding> CheckDocument(const Document& doc, const CheckLimits& limits,
                                   SpellChecker* checker = nullptr,
                                   const std::function<bool(double)>& progress = {});

// The least distance the fix of an overlap leaves before the next frame: one frame at
// 25 fps.
inline constexpr TimeValue kOverlapFixGap = 40;
// Whether a finding has a fix that leaves no choice to make: an overlap.
bool HasFix(CheckRule rule);
// Fixes the findings that have a fix and still hold (the document may have changed since
// they were found): an overlapping frame ends one frame (40 ms) before the next frame's
// start, or the least gap of the limits before it when that is more, so that the fix
// breaks no other rule; where that would leave the frame no length, it ends as the
// length-hangout correction ends it (10 ms before, at least 1 ms long). The selection
// stays; the document is marked modified when a time changes.
CommandResult FixFindings(Document& doc, const Selection& selection,
                          const std::vector<Finding>& findings, const CheckLimits& limits);
// "Fix overlap" for one, "Fix 3 overlaps" for more.
std::string FixName(int count);

}  // namespace lumetra
