// The timing commands of the "Timing" group over the selected frames: shift, lengthen or
// shorten by seconds or by a percentage of the length, resize by a factor, set the length
// from the number of characters, and correct frames that run into the next one. Each
// visits the selected frames in ascending order and keeps the selection, the focused frame
// and the top row; with no frame selected it does nothing, otherwise it marks the document
// modified whether or not a time changes.
//
// Products and quotients with a parameter are formed in extended precision and truncated
// toward zero (0.3 s is 299 ms). Times are never clamped at 0; a result beyond the range
// of a time value wraps around in 32 bits.
#pragma once

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

// The step of the toolbar's one-second buttons, in milliseconds.
inline constexpr TimeValue kToolbarStep = 1000;
// The least length kept when a shortened frame would end at or before its start, and the
// distance kept before the next frame's start.
inline constexpr TimeValue kKeptLength = 10;
// The least length kept after a frame was pulled back before the next frame's start.
inline constexpr TimeValue kLeastLength = 1;

// trunc(1000 * seconds) in extended precision.
TimeValue StepOfSeconds(double seconds);

// Moves the start and end of every selected frame by `step` ms, later or earlier.
CommandResult ShiftFrames(Document& doc, const Selection& selection, TimeValue step, bool later);

// How a delay changes each frame's end.
enum class DelayKind {
  kShorterSeconds,  // by trunc(1000 * value)
  kLongerSeconds,
  kShorterPercent,  // by trunc(length * value / 100)
  kLongerPercent,
};
// Moves the end of every selected frame. With stop_at_adjacent, a shortened frame keeps
// at least 10 ms, and a lengthened frame stops 10 ms before the next frame's start (at
// least 1 ms long); the last frame of the document is lengthened without a limit.
CommandResult DelayFrames(Document& doc, const Selection& selection, DelayKind kind, double value,
                          bool stop_at_adjacent);

// Scales the start and end of every selected frame from time 0 by `factor`.
CommandResult ResizeFrames(Document& doc, const Selection& selection, double factor);

// A frame that ends at or before its start gets 10 ms; one that runs into the next
// frame's start ends 10 ms before it (and lasts at least 1 ms).
CommandResult CorrectHangout(Document& doc, const Selection& selection);

// Each frame's end becomes its start plus trunc(characters * (seconds_per_char * 1000)),
// counting every character of its text, the "|" between lines included.
CommandResult LengthFromChars(Document& doc, const Selection& selection, double seconds_per_char);

}  // namespace lumetra
