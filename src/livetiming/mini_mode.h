// Mini mode: the main window shrunk to a strip above the task bar that edits one frame at
// a time: its text, its start and end to the millisecond, step panels that move one part
// of a time, the previous and next frame (Next at the last frame creates one), a jump to a
// frame number and a length of one second. The model keeps the frame shown and turns each
// edit into a command for the command runner.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "editing/selection.h"
#include "livetiming/live_edit.h"
#include "settings/configuration.h"

namespace lumetra {

inline constexpr char kMiniModeHint[] = "Switch to Mini-mode";
inline constexpr char kJumpCaption[] = "Jumpin'";
inline constexpr char kJumpPrompt[] = "Jump to frame number";
// The strip's client area is this high.
inline constexpr int kMiniStripHeight = 90;
// A frame created by Next starts this long after the end of the one before it and lasts
// kOneSecond, as '>' makes a frame.
inline constexpr TimeValue kNextFrameGap = 20;
inline constexpr TimeValue kOneSecond = 1000;

// The step panels Panel10..Panel21 under the time boxes: which time and which part each
// moves, by how much on a left click (small) and on a right click (large).
struct StepPanel {
  const char* name;
  bool end;        // the end time, else the start
  TimeValue unit;  // 60000 minutes, 1000 seconds, 1 milliseconds
  int small;
  int large;
};
inline constexpr std::array<StepPanel, 12> kStepPanels = {{
    {"Panel10", false, 60000, -1, -5},
    {"Panel11", false, 60000, 1, 5},
    {"Panel12", false, 1000, -1, -5},
    {"Panel13", false, 1000, 1, 5},
    {"Panel14", false, 1, -10, -100},
    {"Panel15", false, 1, 10, 100},
    {"Panel16", true, 60000, -1, -5},
    {"Panel17", true, 60000, 1, 5},
    {"Panel18", true, 1000, -1, -5},
    {"Panel19", true, 1000, 1, 5},
    {"Panel20", true, 1, -10, -100},
    {"Panel21", true, 1, 10, 100},
}};
// The panel's hint: "Left  : -1\rRight: -5".
std::string StepPanelHint(const StepPanel& panel);

// What the strip shows of the current frame.
struct MiniModeView {
  std::string position;              // "3 / 120"
  std::array<std::string, 4> start;  // hours, minutes, seconds, milliseconds (3 digits)
  std::array<std::string, 4> end;
  std::string length;              // seconds: "1.5", "2"
  std::vector<std::string> lines;  // the frame's text, one line per part
};

// Where the window goes while mini mode lasts: across the available area of its screen
// (the screen less the task bar), its bottom edge 2 pixels below the available area's
// bottom, with a client area 90 pixels high. frame_width and frame_height are what the
// window's frame adds to its client area.
struct StripPlacement {
  int left = 0;
  int top = 0;
  int client_width = 0;
  int client_height = 0;
  bool operator==(const StripPlacement&) const = default;
};
StripPlacement MiniStripPlacement(const ScreenRect& available, int frame_width, int frame_height);

class MiniMode {
 public:
  // Whether mini mode is on, and the window's left, top, width and height before it.
  bool active = false;
  ScreenRect MiniModeSavedBounds;

  // The frame focused in the frame list when mini mode starts (0 for none).
  void Enter(int focused_frame) { cur_frame_ = focused_frame; }
  // The frame shown (CurFrame).
  int current() const { return cur_frame_; }
  // The frame shown alone, as the selection of a command.
  Selection selection() const { return Selection{{cur_frame_}, cur_frame_, cur_frame_}; }

  // An empty document gains an empty frame 1, so that there is a frame to show. It is not
  // a change of the user's: the document's modified state stays.
  static bool NeedsFirstFrame(const Document& doc) { return doc.FrameCount == 0; }
  CommandResult AddFirstFrame(Document& doc) const;
  // Brings the frame shown into 1..FrameCount and describes it.
  MiniModeView Refresh(const Document& doc);

  // The edits of the current frame; each marks the document modified when it changes it.
  // The text box's lines: trailing empty lines are dropped, inner ones kept.
  CommandResult SetText(Document& doc, const std::vector<std::string>& lines) const;
  // The eight time boxes (start hours, minutes, seconds, milliseconds, then the end's);
  // a box that is no number counts as 0 and no part is held within its usual range.
  CommandResult SetTimes(Document& doc, const std::array<std::string, 8>& boxes) const;
  // A click on step panel 0..11 of kStepPanels; other buttons change nothing.
  CommandResult Step(Document& doc, int panel, PointerButton button) const;
  // '>': the end becomes the start plus one second.
  CommandResult SetOneSecond(Document& doc) const;

  // Previous: one frame back, staying at frame 1.
  void Previous();
  // Next: one frame on; at the last frame a new empty frame of one second is created after
  // it. A full store keeps every frame and says so.
  CommandResult Next(Document& doc);
  // Jump to the number in `answer` (truncated toward zero); 0 or no number keeps the frame,
  // beyond the ends goes to the first or last frame.
  void Jump(std::string_view answer, int frame_count);

 private:
  CommandResult Result() const { return CommandResult{selection(), false, {}}; }
  bool Valid(const Document& doc) const { return cur_frame_ >= 1 && cur_frame_ <= doc.FrameCount; }

  int cur_frame_ = 0;
};

}  // namespace lumetra
