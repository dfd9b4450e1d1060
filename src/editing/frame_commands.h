// The commands of the "Frame Selection" and "Frame Manipulation" groups and "Apply to
// selected frames": each works on the document and a snapshot of the frame list's
// selection and hands back where the selection goes.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

inline constexpr char kCantMerge[] =
    "Can't merge!\rThe two selected frame contains\rmore than 8 textlines.";
inline constexpr char kCantInsert[] =
    "Can't insert!\rThe subtitle already holds 10000 frames,\ras many as Lumetra can hold.";
inline constexpr char kApplyToSelectedCaption[] = "Apply to selected frames";
// The most lines that the two frames of a merge may hold together.
inline constexpr int kMaxMergedLines = 8;
// Times of inserted frames, in milliseconds.
inline constexpr TimeValue kInsertedLength = 10;
inline constexpr TimeValue kInsertedGap = 1;
inline constexpr TimeValue kFirstFrameEnd = 60000;

// Select all, unselect all and invert: the focused frame and the top row stay. Nothing
// changes in an empty document.
Selection SelectAllFrames(const Document& doc, const Selection& selection);
Selection UnselectAllFrames(const Document& doc, const Selection& selection);
Selection InvertSelection(const Document& doc, const Selection& selection);

// Writes the editor's lines into every selected frame (at least 2 selected); the
// multiple-frames marker is never stored: applying it empties the texts.
CommandResult ApplyTextToSelected(Document& doc, const Selection& selection,
                                  const std::vector<std::string>& editor_lines);

// Inserts an empty 10 ms frame before the focused frame, 1 ms after the end of the frame
// before it (at 0 as frame 1); the old focused frame, now one lower, is selected and
// focused. With no focused frame the new frame goes after the last one; into an empty
// document a first frame of 0..60000 ms. The new frame is then focused, not selected. A
// full store is left as it is and the user is told.
CommandResult InsertFrame(Document& doc, const Selection& selection);

// Removes the selected frames; the first kept frame after the first removed one (else the
// last frame) is selected and focused. Removing every frame empties the document.
CommandResult RemoveFrames(Document& doc, const Selection& selection);

// Merges the two selected frames (exactly 2; not necessarily neighbours) into the first:
// it runs from the first's start to the second's end, with the second's lines after its
// own; the second goes. Refused with a message when they hold more than 8 lines together.
CommandResult MergeTwoFrames(Document& doc, const Selection& selection);

}  // namespace lumetra
