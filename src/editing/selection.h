// What the frame list's selection looks like to a command, what a command hands back, and
// the selection-keeping procedure of the commands that work frame by frame on the
// selected frames.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lumetra {

// A snapshot of the frame list: the selected frames, the focused frame (the row with the
// caret, selected or not) and the frame in the top row. Frame numbers are 1-based; 0 means
// none.
struct Selection {
  std::vector<int> frames;  // ascending, no duplicates
  int focus = 0;
  int top = 0;

  int count() const { return static_cast<int>(frames.size()); }
  bool Contains(int frame) const;
  bool operator==(const Selection&) const = default;
};

// Every frame 1..count.
std::vector<int> AllFrames(int count);

// What a command hands back to whoever runs it.
struct CommandResult {
  // Where the list's selection, focus and top row go afterwards.
  Selection selection;
  // Whether the editor panel is reloaded from the focused frame afterwards (otherwise only
  // the selection counter is brought up to date).
  bool reload_panel = false;
  // Told to the user afterwards, when not empty.
  std::string message;
};

// The selection-keeping procedure of the bulk commands: `change` is called for every
// selected frame in ascending order, and the selection, the focused frame and the top row
// come back as they were; the editor panel is not reloaded.
CommandResult ForEachSelectedFrame(const Selection& selection,
                                   const std::function<void(int frame)>& change);

}  // namespace lumetra
