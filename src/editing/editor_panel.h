// The rules of the editor panel under the frame list: which text the editor shows for a
// selection, how its lines go back into a frame, when they do, which commands the
// selection enables and what the selection counter says.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace lumetra {

// Shown in the editor instead of a text while several frames are selected.
inline constexpr char kMultipleFramesMarker[] = "< Multiple frames are selected >";
// Entering the editor empties it when its first line begins with this.
inline constexpr char kMultipleFramesPrefix[] = "< Multiple";
inline constexpr char kSelectedFramesCaption[] = "Selected frames:";

// The editor lines of a frame text: its parts between "|", all of them, in order, each
// "|" that is part of a line (kLiteralBar) shown as "|".
std::vector<std::string> EditorLinesOf(std::string_view frame_text);

// The frame text of editor lines: each line followed by "|", then every trailing "|"
// removed, so trailing empty lines vanish and inner empty lines stay. A "|" typed into a
// line stays part of it (kLiteralBar).
std::string JoinEditorLines(const std::vector<std::string>& lines);

// Whether entering the editor empties it (it shows the multiple-selection marker).
bool EditorShowsMarker(std::string_view first_line);

// Whether a change of the editor's text goes into the frame at once: one frame selected,
// a focused frame, the change typed by the user into the focused editor, and "Apply
// changes instantly" ticked.
bool CommitsOnChange(int selected, int cur_frame, bool typed_by_user, bool apply_instantly);
// Whether leaving the editor writes its text back: one frame selected and a focused frame.
bool CommitsOnExit(int selected, int cur_frame);

// Writes the editor lines into frame cur_frame (1..FrameCount) and marks the document
// modified, even when the text is unchanged.
void CommitEditorText(Document& doc, int cur_frame, const std::vector<std::string>& lines);

// The commands that follow the number of selected frames.
struct SelectionCommandStates {
  bool insert = true;          // fewer than 2 selected
  bool needs_selection = false;  // at least 1 selected: Remove, timing and text commands
  bool merge = false;          // exactly 2 selected
  bool apply_to_selected = false;  // "Apply to selected frames" visible: at least 2
  bool operator==(const SelectionCommandStates&) const = default;
};
SelectionCommandStates CommandStatesFor(int selected);

// The control names that each state switches (enabled state; Button4 is shown or hidden).
const std::vector<const char*>& InsertControls();
const std::vector<const char*>& NeedsSelectionControls();
const std::vector<const char*>& MergeControls();
inline constexpr char kApplyToSelectedControl[] = "Button4";

// The selection counter: the count ("0" below 1) and the total ("   (of 12)").
std::string SelectedCountText(int selected);
std::string TotalCountText(int total);

}  // namespace lumetra
