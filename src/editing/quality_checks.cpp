#include "editing/quality_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editing/markup.h"
#include "editing/spelling.h"
#include "editing/timing.h"
#include "foundation/characters.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr char32_t kLineBreak = U'|';

std::string Ms(std::int64_t ms) { return IntToText(ms) + " ms"; }

// A reading speed for people: two decimals, rounded up, so a speed over the limit never
// reads as the limit itself.
std::string Speed(double cps) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", std::ceil(cps * 100 - 1e-9) / 100);
  return text;
}

}  // namespace

const char* RuleName(CheckRule rule) {
  switch (rule) {
    case CheckRule::kOverlap:
      return "overlap";
    case CheckRule::kShortGap:
      return "gap";
    case CheckRule::kTooShort:
      return "short";
    case CheckRule::kTooLong:
      return "long";
    case CheckRule::kReadingSpeed:
      return "cps";
    case CheckRule::kLongLine:
      return "line";
    case CheckRule::kTooManyLines:
      return "lines";
    case CheckRule::kEmptyText:
      return "empty";
    case CheckRule::kSpelling:
      return "spelling";
  }
  return "";
}

const char* RuleCaption(CheckRule rule) {
  switch (rule) {
    case CheckRule::kOverlap:
      return "Overlap";
    case CheckRule::kShortGap:
      return "Gap";
    case CheckRule::kTooShort:
      return "Too short";
    case CheckRule::kTooLong:
      return "Too long";
    case CheckRule::kReadingSpeed:
      return "Reading speed";
    case CheckRule::kLongLine:
      return "Long line";
    case CheckRule::kTooManyLines:
      return "Too many lines";
    case CheckRule::kEmptyText:
      return "Empty text";
    case CheckRule::kSpelling:
      return "Spelling";
  }
  return "";
}

TextMeasure MeasureText(std::string_view bytes, CodePage page) {
  TextMeasure m;
  thread_local DecodedText text;
  DecodeWithOffsets(bytes, page, text);
  const std::u32string& chars = text.chars;
  int line = 0;
  int line_number = 1;
  m.lines = 1;
  auto end_line = [&] {
    if (line > m.longest_line) {
      m.longest_line = line;
      m.longest_line_number = line_number;
    }
  };
  for (std::size_t i = 0; i < chars.size();) {
    if (const std::size_t markup = MarkupLength(chars, i)) {
      i += markup;
      continue;
    }
    const char32_t c = chars[i++];
    if (c == kLineBreak) {
      end_line();
      line = 0;
      ++line_number;
      ++m.lines;
      continue;
    }
    ++line;
    ++m.characters;
    if (c != U' ' && c != U'\t' && c != 0xA0) m.blank = false;
  }
  end_line();
  if (m.longest_line_number == 0) m.longest_line_number = 1;
  return m;
}

void CheckFrame(const Document& doc, int frame, const CheckLimits& limits,
                std::vector<Finding>& out) {
  if (frame < 1 || frame > doc.FrameCount) return;
  const auto k = static_cast<std::size_t>(frame);
  const std::int64_t start = doc.FrameStart[k];
  const std::int64_t end = doc.FrameEnd[k];
  const std::int64_t length = end - start;
  auto add = [&](CheckRule rule, std::string detail) {
    out.push_back({frame, rule, std::move(detail)});
  };
  if (frame < doc.FrameCount) {
    const std::int64_t next = doc.FrameStart[k + 1];
    const std::string next_name = "frame " + IntToText(frame + 1);
    if (end > next) {
      add(CheckRule::kOverlap, "overlaps " + next_name + " by " + Ms(end - next));
    } else if (limits.min_gap_ms > 0 && next - end < limits.min_gap_ms) {
      add(CheckRule::kShortGap, Ms(next - end) + " before " + next_name + " (at least " +
                                    IntToText(limits.min_gap_ms) + ")");
    }
  }
  if (limits.min_length_ms > 0 && length < limits.min_length_ms) {
    add(CheckRule::kTooShort,
        "lasts " + Ms(length) + " (at least " + IntToText(limits.min_length_ms) + ")");
  } else if (limits.max_length_ms > 0 && length > limits.max_length_ms) {
    add(CheckRule::kTooLong,
        "lasts " + Ms(length) + " (at most " + IntToText(limits.max_length_ms) + ")");
  }
  const TextMeasure m = MeasureText(doc.FrameText[k], doc.Encoding);
  if (limits.max_cps > 0 && length > 0 && m.characters * 1000.0 > limits.max_cps * length) {
    const double cps = m.characters * 1000.0 / static_cast<double>(length);
    add(CheckRule::kReadingSpeed, IntToText(m.characters) + " characters in " + Ms(length) + ": " +
                                      Speed(cps) + " per second (at most " +
                                      FloatToText(limits.max_cps) + ")");
  }
  if (limits.max_line_length > 0 && m.longest_line > limits.max_line_length) {
    add(CheckRule::kLongLine, "line " + IntToText(m.longest_line_number) + " has " +
                                  IntToText(m.longest_line) + " characters (at most " +
                                  IntToText(limits.max_line_length) + ")");
  }
  if (limits.max_lines > 0 && m.lines > limits.max_lines) {
    add(CheckRule::kTooManyLines,
        IntToText(m.lines) + " lines (at most " + IntToText(limits.max_lines) + ")");
  }
  if (m.blank) add(CheckRule::kEmptyText, "no text");
}

void CheckSpelling(SpellChecker& checker, const Document& doc, int frame,
                   std::vector<Finding>& out) {
  if (frame < 1 || frame > doc.FrameCount) return;
  const std::string& text = doc.FrameText[static_cast<std::size_t>(frame)];
  for (const WordSpan& word : checker.UnknownWords(text, doc.Encoding)) {
    out.push_back({frame, CheckRule::kSpelling,
                   "unknown word \"" + WordText(text, word, doc.Encoding) + "\""});
  }
}

std::vector<Finding> CheckDocument(const Document& doc, const CheckLimits& limits,
                                   SpellChecker* checker,
                                   const std::function<bool(double)>& progress) {
  std::vector<Finding> findings;
  for (int frame = 1; frame <= doc.FrameCount; ++frame) {
    if (progress && frame % 256 == 0 &&
        !progress(static_cast<double>(frame) / static_cast<double>(doc.FrameCount))) {
      break;
    }
    CheckFrame(doc, frame, limits, findings);
    if (checker != nullptr) CheckSpelling(*checker, doc, frame, findings);
  }
  return findings;
}

bool HasFix(CheckRule rule) { return rule == CheckRule::kOverlap; }

CommandResult FixFindings(Document& doc, const Selection& selection,
                          const std::vector<Finding>& findings, const CheckLimits& limits) {
  const TimeValue gap = std::max<TimeValue>(kOverlapFixGap, limits.min_gap_ms);
  std::vector<int> frames;
  for (const Finding& f : findings) {
    if (HasFix(f.rule)) frames.push_back(f.frame);
  }
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  for (int frame : frames) {
    if (frame < 1 || frame >= doc.FrameCount) continue;
    const auto k = static_cast<std::size_t>(frame);
    const TimeValue start = doc.FrameStart[k];
    const TimeValue next = doc.FrameStart[k + 1];
    if (doc.FrameEnd[k] <= next) continue;  // no longer overlaps
    TimeValue end = next - gap;
    if (end <= start) {
      end = next - kKeptLength;
      if (start >= end) end = start + kLeastLength;
    }
    doc.SetTimes(frame, start, end);
    doc.Modified = kUnsaved;
  }
  return CommandResult{selection, false, {}};
}

std::string FixName(int count) {
  return count == 1 ? "Fix overlap" : "Fix " + IntToText(count) + " overlaps";
}

}  // namespace lumetra
