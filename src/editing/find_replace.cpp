#include "editing/find_replace.h"

#include <algorithm>

#include "editing/search.h"
#include "foundation/characters.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

const std::string& TextOf(const Document& doc, int frame) {
  return doc.FrameText[static_cast<std::size_t>(frame)];
}

// The frame's text decoded, its lines separated as a pattern reads them.
void DecodeForPattern(std::string_view bytes, CodePage page, DecodedText& text) {
  DecodeWithOffsets(bytes, page, text);
  SeparateLines(text.chars);
}

// The character that begins at byte `byte`, or the first one after it.
std::size_t CharAt(const DecodedText& text, std::size_t byte) {
  return static_cast<std::size_t>(std::lower_bound(text.offsets.begin(), text.offsets.end(), byte) -
                                  text.offsets.begin());
}

// The replacement's bytes for a match: its literal parts in the page, the groups' bytes as
// the frame holds them.
void AppendReplacement(std::string& out, const std::vector<TextPattern::ReplacementPart>& parts,
                       const std::vector<std::string>& encoded, std::string_view bytes,
                       const DecodedText& text, const TextPattern::Match& match) {
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const int g = parts[i].group;
    if (g < 0) {
      out += encoded[i];
      continue;
    }
    const auto k = static_cast<std::size_t>(g) * 2;
    if (k + 1 >= match.groups.size() || match.groups[k] < 0 ||
        match.groups[k + 1] < match.groups[k])
      continue;
    const std::uint32_t b = text.offsets[static_cast<std::size_t>(match.groups[k])];
    const std::uint32_t e = text.offsets[static_cast<std::size_t>(match.groups[k + 1])];
    out.append(bytes.substr(b, e - b));
  }
}

struct Replacement {
  std::vector<TextPattern::ReplacementPart> parts;
  std::vector<std::string> encoded;  // each literal part in the page
};

Replacement PrepareReplacement(const TextPattern& pattern, std::string_view replacement_utf8,
                               CodePage page) {
  Replacement r;
  r.parts = pattern.ParseReplacement(Utf8ToChars(replacement_utf8));
  for (const TextPattern::ReplacementPart& part : r.parts) {
    r.encoded.push_back(page == CodePage::kUtf8 ? CharsToUtf8(part.literal)
                                                : EncodeFromUtf8(CharsToUtf8(part.literal), page));
  }
  return r;
}

// Every hit of one text replaced; false when the pattern became too complex.
bool ReplaceAllIn(std::string_view bytes, const DecodedText& text, const TextPattern& pattern,
                  const Replacement& replacement, std::string& out, int& count) {
  out.clear();
  std::size_t from = 0;
  std::size_t copied = 0;  // bytes of the text already in `out`
  TextPattern::Match match;
  while (from <= text.chars.size()) {
    const TextPattern::Result r = pattern.Search(text.chars, from, match);
    if (r == TextPattern::Result::kTooComplex) return false;
    if (r == TextPattern::Result::kNotFound) break;
    const std::uint32_t begin = text.offsets[match.begin];
    out.append(bytes.substr(copied, begin - copied));
    AppendReplacement(out, replacement.parts, replacement.encoded, bytes, text, match);
    if (out.size() > kMaxReplacedText + bytes.size()) break;  // too long anyway
    copied = text.offsets[match.end];
    ++count;
    from = match.end == match.begin ? match.end + 1 : match.end;
  }
  out.append(bytes.substr(copied));
  return true;
}

}  // namespace

TextPattern MakeFindPattern(std::string_view find_utf8, const FindOptions& options) {
  return TextPattern(Utf8ToChars(find_utf8), options);
}

std::string PatternProblem(const TextPattern& pattern) {
  return pattern.ok() ? std::string() : kBadExpression + pattern.error();
}

HitCount CountHits(const Document& doc, const std::vector<int>& frames,
                   const TextPattern& pattern) {
  HitCount count;
  if (pattern.matches_nothing()) return count;
  DecodedText text;
  TextPattern::Match match;
  for (int frame : frames) {
    DecodeForPattern(TextOf(doc, frame), doc.Encoding, text);
    std::size_t from = 0;
    while (from <= text.chars.size()) {
      const TextPattern::Result r = pattern.Search(text.chars, from, match);
      if (r == TextPattern::Result::kTooComplex)
        return {FindStatus::kTooComplex, count.hits, frame};
      if (r == TextPattern::Result::kNotFound) break;
      ++count.hits;
      from = match.end == match.begin ? match.end + 1 : match.end;
    }
  }
  count.status = count.hits > 0 ? FindStatus::kFound : FindStatus::kNotFound;
  return count;
}

FindResult FindNextHit(const Document& doc, const std::vector<int>& frames,
                       const TextPattern& pattern, const SearchPlace& from) {
  FindResult result;
  if (pattern.matches_nothing() || frames.empty()) return result;
  const auto first = static_cast<std::size_t>(
      std::lower_bound(frames.begin(), frames.end(), from.frame) - frames.begin());
  DecodedText text;
  TextPattern::Match match;
  // The frames from the place on, then from the first one round to the place's frame.
  for (std::size_t step = 0; step <= frames.size(); ++step) {
    const std::size_t k = (first + step) % frames.size();
    const int frame = frames[k];
    if (frame < 1 || frame > doc.FrameCount) continue;
    const std::string& bytes = TextOf(doc, frame);
    DecodeForPattern(bytes, doc.Encoding, text);
    std::size_t start = 0;
    if (step == 0 && frame == from.frame) {
      start = CharAt(text, std::min(from.byte, bytes.size()));
      if (from.past_empty_hit) ++start;
    }
    const TextPattern::Result r = pattern.Search(text.chars, start, match);
    if (r == TextPattern::Result::kTooComplex) {
      result.status = FindStatus::kTooComplex;
      result.hit.frame = frame;
      return result;
    }
    if (r == TextPattern::Result::kFound) {
      result.status = FindStatus::kFound;
      result.hit = {frame, text.offsets[match.begin], text.offsets[match.end]};
      return result;
    }
  }
  return result;
}

std::optional<std::string> ReplaceHit(const Document& doc, const TextHit& hit,
                                      const TextPattern& pattern,
                                      std::string_view replacement_utf8) {
  if (hit.frame < 1 || hit.frame > doc.FrameCount || pattern.matches_nothing()) return std::nullopt;
  const std::string& bytes = TextOf(doc, hit.frame);
  if (hit.begin > hit.end || hit.end > bytes.size()) return std::nullopt;
  DecodedText text;
  DecodeForPattern(bytes, doc.Encoding, text);
  const std::size_t begin = CharAt(text, hit.begin);
  if (begin >= text.offsets.size() || text.offsets[begin] != hit.begin) return std::nullopt;
  TextPattern::Match match;
  if (pattern.Search(text.chars, begin, match) != TextPattern::Result::kFound ||
      match.begin != begin || text.offsets[match.end] != hit.end) {
    return std::nullopt;
  }
  const Replacement replacement = PrepareReplacement(pattern, replacement_utf8, doc.Encoding);
  std::string out(bytes.substr(0, hit.begin));
  AppendReplacement(out, replacement.parts, replacement.encoded, bytes, text, match);
  out.append(bytes.substr(hit.end));
  return out;
}

ReplacePlan PlanReplaceAll(const Document& doc, const std::vector<int>& frames,
                           const TextPattern& pattern, std::string_view replacement_utf8) {
  ReplacePlan plan;
  if (pattern.matches_nothing()) return plan;
  const Replacement replacement = PrepareReplacement(pattern, replacement_utf8, doc.Encoding);
  DecodedText text;
  std::string out;
  for (int frame : frames) {
    if (frame < 1 || frame > doc.FrameCount) continue;
    const std::string& bytes = TextOf(doc, frame);
    DecodeForPattern(bytes, doc.Encoding, text);
    const int before = plan.count;
    if (!ReplaceAllIn(bytes, text, pattern, replacement, out, plan.count)) {
      return {{}, 0, FindStatus::kTooComplex, frame};
    }
    if (out.size() > kMaxReplacedText && out.size() > bytes.size()) {
      return {{}, 0, FindStatus::kTooLong, frame};
    }
    if (plan.count > before && out != bytes) plan.texts.emplace_back(frame, out);
  }
  plan.status = plan.count > 0 ? FindStatus::kFound : FindStatus::kNotFound;
  return plan;
}

std::string ReplaceAllName(int count) { return std::string(kReplaceName) + " " + IntToText(count); }

CommandResult ApplyReplacePlan(Document& doc, const Selection& selection, const ReplacePlan& plan) {
  CommandResult result{selection, false, {}};
  if (plan.status != FindStatus::kFound) return result;
  doc.Modified = kUnsaved;
  for (const auto& [frame, text] : plan.texts) {
    if (frame < 1 || frame > doc.FrameCount) continue;
    doc.SetText(frame, text);
    if (frame == selection.focus) result.reload_panel = true;
  }
  return result;
}

// ---------------------------------------------------------------------------------------
// The dialog's model

void FindReplaceModel::SetFind(std::string find_utf8) {
  find_ = std::move(find_utf8);
  Compile();
}

void FindReplaceModel::SetOptions(const FindOptions& options) {
  options_ = options;
  Compile();
}

void FindReplaceModel::Compile() {
  pattern_ = MakeFindPattern(find_, options_);
  current_.reset();
}

void FindReplaceModel::SetSelectedOnly(bool selected_only, const Selection& selection) {
  selected_only_ = selected_only;
  scope_ = selected_only ? selection.frames : std::vector<int>{};
  current_.reset();
}

std::vector<int> FindReplaceModel::Scope(const Document& doc) const {
  if (!selected_only_) return AllFrames(doc.FrameCount);
  std::vector<int> frames;
  for (int frame : scope_) {
    if (frame >= 1 && frame <= doc.FrameCount) frames.push_back(frame);
  }
  return frames;
}

std::string FindReplaceModel::Status(const Document& doc) const {
  if (find_.empty()) return {};
  if (!pattern_.ok()) return PatternProblem(pattern_);
  const std::string replacement_problem = pattern_.ReplacementProblem(Utf8ToChars(replacement_));
  if (!replacement_problem.empty()) return kBadReplacement + replacement_problem;
  const HitCount count = CountHits(doc, Scope(doc), pattern_);
  if (count.status == FindStatus::kTooComplex) return kTooComplex + IntToText(count.frame);
  if (count.hits == 0) return kNoMatchFound;
  return IntToText(count.hits) + (count.hits == 1 ? " hit" : " hits");
}

CommandResult FindReplaceModel::MoveTo(const Selection& selection, const FindResult& found) {
  CommandResult result{selection, false, {}};
  if (found.status == FindStatus::kTooComplex) {
    current_.reset();
    result.message = kTooComplex + IntToText(found.hit.frame);
    return result;
  }
  if (found.status == FindStatus::kNotFound) {
    current_.reset();
    result.message = kNoMatchFound;
    return result;
  }
  current_ = found.hit;
  const int frame = found.hit.frame;
  if (!selected_only_) result.selection.frames = {frame};
  result.selection.focus = frame;
  result.reload_panel = true;
  return result;
}

CommandResult FindReplaceModel::FindNext(const Document& doc, const Selection& selection) {
  if (!CanSearch()) return CommandResult{selection, false, {}};
  const SearchPlace from =
      current_ ? After(*current_) : SearchPlace{std::max(selection.focus, 1), 0, false};
  return MoveTo(selection, FindNextHit(doc, Scope(doc), pattern_, from));
}

bool FindReplaceModel::CanReplace() const {
  return CanSearch() && pattern_.ReplacementProblem(Utf8ToChars(replacement_)).empty();
}

CommandResult FindReplaceModel::Replace(Document& doc, const Selection& selection) {
  if (!CanReplace()) return CommandResult{selection, false, {}};
  std::optional<std::string> text;
  if (current_) text = ReplaceHit(doc, *current_, pattern_, replacement_);
  if (!text) {
    current_.reset();
    return FindNext(doc, selection);
  }
  const TextHit hit = *current_;
  const std::size_t old_size = doc.FrameText[static_cast<std::size_t>(hit.frame)].size();
  if (text->size() > kMaxReplacedText && text->size() > old_size) {
    return CommandResult{selection, false, kTooLong + IntToText(hit.frame)};
  }
  const std::size_t replaced_end = hit.begin + (text->size() - (old_size - (hit.end - hit.begin)));
  doc.Modified = kUnsaved;
  doc.SetText(hit.frame, std::move(*text));
  const SearchPlace from{hit.frame, replaced_end, hit.begin == hit.end};
  CommandResult result = MoveTo(selection, FindNextHit(doc, Scope(doc), pattern_, from));
  // The replaced frame shows its new text, also when nothing more is found.
  result.message.clear();
  if (!current_) result.selection.focus = hit.frame;
  result.reload_panel = true;
  return result;
}

ReplacePlan FindReplaceModel::PlanAll(const Document& doc) const {
  if (!CanReplace()) return {};
  return PlanReplaceAll(doc, Scope(doc), pattern_, replacement_);
}

}  // namespace lumetra
