// Find and replace over the frames' texts: the hits of a text or regular expression
// (TextPattern) in all frames or the selected ones, the next hit, replacing one hit, and
// replacing every hit as one command. The find and replacement texts are UTF-8, as the
// editor's boxes and the command line give them; the frames stay bytes in the document's
// code page, and only the bytes of a hit are rewritten.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/document.h"
#include "editing/selection.h"
#include "editing/text_pattern.h"

namespace lumetra {

inline constexpr char kBadExpression[] = "Bad regular expression: ";
inline constexpr char kBadReplacement[] = "Bad replacement: ";
// Followed by the frame number.
inline constexpr char kTooComplex[] =
    "The regular expression takes too long to match; it was stopped at frame ";
inline constexpr char kReplaceName[] = "Replace";

// The pattern of a find typed in UTF-8.
TextPattern MakeFindPattern(std::string_view find_utf8, const FindOptions& options);
// What is wrong with the find ("Bad regular expression: missing closing parenthesis after
// character 1"), or empty.
std::string PatternProblem(const TextPattern& pattern);

// A hit: bytes begin..end of a frame's text.
struct TextHit {
  int frame = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const TextHit&) const = default;
};

// A frame's text is never made longer than this by a replacement (a repeated replacement
// that holds what it replaces would otherwise grow without end).
inline constexpr std::size_t kMaxReplacedText = 100'000;
// Follows the frame number.
inline constexpr char kTooLong[] = "The replacement would make the text longer than 100000 "
                                   "characters; nothing was replaced. Frame ";

enum class FindStatus { kFound, kNotFound, kTooComplex, kTooLong };

struct HitCount {
  FindStatus status = FindStatus::kNotFound;  // kTooComplex: counting stopped at `frame`
  int hits = 0;
  int frame = 0;
};
HitCount CountHits(const Document& doc, const std::vector<int>& frames, const TextPattern& pattern);

struct FindResult {
  FindStatus status = FindStatus::kNotFound;
  TextHit hit;  // the hit; for kTooComplex its frame
};
// Where a search goes on: frame `frame` from byte `byte` on, one character further when the
// last hit there was empty (so that an empty hit is not found again at its own place).
struct SearchPlace {
  int frame = 0;
  std::size_t byte = 0;
  bool past_empty_hit = false;
};
inline SearchPlace After(const TextHit& hit) { return {hit.frame, hit.end, hit.begin == hit.end}; }
// The first hit from `from` on in the frames (ascending); then, going round once, from the
// first frame on. A place whose frame is not among them starts at the next frame that is.
FindResult FindNextHit(const Document& doc, const std::vector<int>& frames,
                       const TextPattern& pattern, const SearchPlace& from);

// The frame's text with the hit replaced, when the hit is still a match at its place
// (the text may have changed since it was found).
std::optional<std::string> ReplaceHit(const Document& doc, const TextHit& hit,
                                      const TextPattern& pattern,
                                      std::string_view replacement_utf8);

// Every hit of the frames replaced, worked out before anything changes, so that the
// command can be named after the number of replacements. A text that would grow beyond
// kMaxReplacedText makes the whole plan kTooLong.
struct ReplacePlan {
  std::vector<std::pair<int, std::string>> texts;  // frame and its new text
  int count = 0;
  // kTooComplex, kTooLong: nothing may be replaced, because of `frame`
  FindStatus status = FindStatus::kFound;
  int frame = 0;
};
ReplacePlan PlanReplaceAll(const Document& doc, const std::vector<int>& frames,
                           const TextPattern& pattern, std::string_view replacement_utf8);
// "Replace 37".
std::string ReplaceAllName(int count);
// Writes the plan's texts; the selection stays, the panel is reloaded when the focused
// frame changed. Nothing happens for an empty plan.
CommandResult ApplyReplacePlan(Document& doc, const Selection& selection, const ReplacePlan& plan);

// The state and rules of the Find and replace dialog.
class FindReplaceModel {
 public:
  // The boxes and options; a change forgets the current hit.
  void SetFind(std::string find_utf8);
  void SetReplacement(std::string replacement_utf8) { replacement_ = std::move(replacement_utf8); }
  void SetOptions(const FindOptions& options);
  // Searches the selected frames (those selected now) instead of every frame.
  void SetSelectedOnly(bool selected_only, const Selection& selection);

  const std::string& find() const { return find_; }
  const std::string& replacement() const { return replacement_; }
  const FindOptions& options() const { return pattern_.options(); }
  bool selected_only() const { return selected_only_; }
  const TextPattern& pattern() const { return pattern_; }
  // The frames searched.
  std::vector<int> Scope(const Document& doc) const;

  // The line under the boxes: the number of hits ("37 hits"), or what is wrong.
  std::string Status(const Document& doc) const;
  // Whether Find next and the replace buttons can work.
  bool CanSearch() const { return pattern_.ok() && !pattern_.matches_nothing(); }
  // ... and the replacement names only groups the expression has.
  bool CanReplace() const;

  // The hit shown now, if any.
  const std::optional<TextHit>& current() const { return current_; }
  void Forget() { current_.reset(); }

  // Find next: the hit after the current one (from the focused frame when there is none).
  // The selection moves to it: in all frames the hit's frame becomes the one selected
  // frame; in the selected frames only the focus moves. With no hit the selection stays
  // and the message says so.
  CommandResult FindNext(const Document& doc, const Selection& selection);
  // Replace: the current hit replaced (when it is still there), then the next one found.
  // Without a current hit, only the next one is found.
  CommandResult Replace(Document& doc, const Selection& selection);
  // Replace all, worked out (see ApplyReplacePlan).
  ReplacePlan PlanAll(const Document& doc) const;

 private:
  CommandResult MoveTo(const Selection& selection, const FindResult& found);
  void Compile();

  std::string find_;
  std::string replacement_;
  FindOptions options_;
  TextPattern pattern_;
  bool selected_only_ = false;
  std::vector<int> scope_;  // the selected frames, when selected_only_
  std::optional<TextHit> current_;
};

}  // namespace lumetra
