// Dragging a frame's box on the waveform: an edge moves the frame's start or end, the
// middle moves the whole frame. The drag is shown while the mouse moves and becomes one
// command ("Drag") when the button is released.
#pragma once

#include <cstdint>

#include "document/document.h"
#include "editing/selection.h"
#include "foundation/time_value.h"

namespace lumetra {

inline constexpr char kDragCommand[] = "Drag";

enum class DragHandle { kStart, kEnd, kMiddle };

struct FrameTimes {
  TimeValue start = 0;
  TimeValue end = 0;
  bool operator==(const FrameTimes&) const = default;
};

// The times of a frame from `start` to `end` after its `handle` was dragged by `delta_ms`.
// An edge stops at the other edge, so a drag never makes a length negative (an edge of a
// frame that already ends before it starts does not move further that way); and a drag
// takes no time below 0 (below where it already was).
FrameTimes DraggedTimes(TimeValue start, TimeValue end, DragHandle handle,
                        std::int64_t delta_ms);

// The "Drag" command: frame `frame` gets `times`. The selection stays; a frame that is no
// longer there is left alone.
CommandResult DragFrame(Document& doc, const Selection& selection, int frame, FrameTimes times);

}  // namespace lumetra
