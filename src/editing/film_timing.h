// The frame list and the film's position: "Set start" and "Set end" give the focused
// frame the position, and "Follow film" finds the frame the position falls in.
#pragma once

#include <cstdint>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

// What the undo history calls the two commands.
inline constexpr char kSetStartStepName[] = "Set start";
inline constexpr char kSetEndStepName[] = "Set end";

// A film position as a time value: milliseconds, kept in the range of time values.
TimeValue FilmTime(std::int64_t position_ms);

// The focused frame's start (or end) becomes `position`; its other time stays. Without a
// focused frame nothing changes. The document is marked modified when the time changes;
// the selection stays as it was.
CommandResult SetStartFromFilm(Document& doc, const Selection& selection, TimeValue position);
CommandResult SetEndFromFilm(Document& doc, const Selection& selection, TimeValue position);

// The frame shown at `position`: the first frame whose start <= position < end; 0 when
// no frame is shown then.
int FrameAtPosition(const Document& doc, TimeValue position);

}  // namespace lumetra
