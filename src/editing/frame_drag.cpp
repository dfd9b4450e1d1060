#include "editing/frame_drag.h"

#include <algorithm>
#include <limits>

namespace lumetra {

namespace {

TimeValue Moved(TimeValue time, std::int64_t delta) {
  const std::int64_t moved = std::clamp<std::int64_t>(
      static_cast<std::int64_t>(time) + delta, std::numeric_limits<TimeValue>::min(),
      std::numeric_limits<TimeValue>::max());
  // Not below 0, unless the time was below 0 already; then not below where it was.
  return static_cast<TimeValue>(std::max<std::int64_t>(moved, std::min<TimeValue>(time, 0)));
}

}  // namespace

FrameTimes DraggedTimes(TimeValue start, TimeValue end, DragHandle handle,
                        std::int64_t delta_ms) {
  switch (handle) {
    case DragHandle::kStart: {
      const TimeValue moved = Moved(start, delta_ms);
      return {moved > end ? std::max(end, std::min(start, moved)) : moved, end};
    }
    case DragHandle::kEnd: {
      const TimeValue moved = Moved(end, delta_ms);
      return {start, moved < start ? std::min(start, std::max(end, moved)) : moved};
    }
    case DragHandle::kMiddle: {
      // The earlier time decides how far the frame may go towards 0.
      const TimeValue first = std::min(start, end);
      const std::int64_t delta = static_cast<std::int64_t>(Moved(first, delta_ms)) - first;
      return {Moved(start, delta), Moved(end, delta)};
    }
  }
  return {start, end};
}

CommandResult DragFrame(Document& doc, const Selection& selection, int frame, FrameTimes times) {
  if (frame >= 1 && frame <= doc.FrameCount &&
      (doc.FrameStart[frame] != times.start || doc.FrameEnd[frame] != times.end)) {
    doc.Modified = kUnsaved;
    doc.SetTimes(frame, times.start, times.end);
  }
  return {selection, false, {}};
}

}  // namespace lumetra
