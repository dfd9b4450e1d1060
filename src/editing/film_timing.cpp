#include "editing/film_timing.h"

#include <algorithm>
#include <limits>

namespace lumetra {

namespace {

CommandResult SetFocusedTime(Document& doc, const Selection& selection, TimeValue position,
                             bool start) {
  const int n = selection.focus;
  if (n >= 1 && n <= doc.FrameCount) {
    const auto k = static_cast<std::size_t>(n);
    const TimeValue new_start = start ? position : doc.FrameStart[k];
    const TimeValue new_end = start ? doc.FrameEnd[k] : position;
    if (new_start != doc.FrameStart[k] || new_end != doc.FrameEnd[k]) {
      doc.SetTimes(n, new_start, new_end);
      doc.Modified = kUnsaved;
    }
  }
  return {selection, false, {}};
}

}  // namespace

TimeValue FilmTime(std::int64_t position_ms) {
  return static_cast<TimeValue>(
      std::clamp<std::int64_t>(position_ms, 0, std::numeric_limits<TimeValue>::max()));
}

CommandResult SetStartFromFilm(Document& doc, const Selection& selection, TimeValue position) {
  return SetFocusedTime(doc, selection, position, true);
}

CommandResult SetEndFromFilm(Document& doc, const Selection& selection, TimeValue position) {
  return SetFocusedTime(doc, selection, position, false);
}

int FrameAtPosition(const Document& doc, TimeValue position) {
  for (int i = 1; i <= doc.FrameCount; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (doc.FrameStart[k] <= position && position < doc.FrameEnd[k]) return i;
  }
  return 0;
}

}  // namespace lumetra
