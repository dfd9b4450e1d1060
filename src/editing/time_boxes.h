// The eight time boxes of the focused frame (hours, minutes, seconds and milliseconds of
// its start and of its end) and their "-" and "+" step buttons.
#pragma once

#include <string_view>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

inline constexpr char kSelectBoxToDecrease[] =
    "First, select the time-box that you want to change,\rthen click this button. The lastly "
    "selected time will\rbe decreased by 1!";
inline constexpr char kSelectBoxToIncrease[] =
    "First, select the time-box that you want to change,\rthen click this button. The lastly "
    "selected time will\rbe increased by 1!";

class TimeBoxes {
 public:
  // The boxes by tag: 1..4 hours, minutes, seconds, milliseconds of the start, 5..8 the
  // same of the end.
  static constexpr int kBoxes = 8;
  enum Part { kHours = 0, kMinutes = 1, kSeconds = 2, kMilliseconds = 3 };
  static bool IsStart(int tag) { return tag >= 1 && tag <= 4; }
  static Part PartOf(int tag) { return static_cast<Part>((tag - 1) % 4); }
  // What the undo history calls a change made through a box.
  static const char* ChangeName(int tag) { return IsStart(tag) ? "Start time" : "End time"; }

  // A box gains the focus: it becomes the latest box. Entering is no change: only a
  // changed time makes the document modified.
  void Enter(int tag);
  // The box that last had the focus; 0 before the first.
  int latest() const { return latest_; }

  // A box loses the focus with `text`: its part of the focused frame's time becomes the
  // number typed, brought into the box's range (hours 0..9; minutes and seconds 0..59 and
  // milliseconds 0..999, where a value above the range becomes 0). Nothing happens without
  // a focused frame or when the number equals the part. The focused frame is then
  // selected and the panel reloaded.
  static CommandResult Commit(Document& doc, const Selection& selection, int tag,
                              std::string_view text);

  // "-" (increase false) or "+" (true): steps the latest box's part of the focused frame by
  // 1 (10 with `tenfold`), carrying into the other parts; an hour step only while the hour
  // is above 0 (decrease) or below 9 (increase); a time that would leave the range of a
  // time value is not stepped. With no box entered yet the user is told to choose one.
  // Marks the document modified whenever there is a focused frame.
  CommandResult Step(Document& doc, const Selection& selection, bool increase, bool tenfold) const;

 private:
  int latest_ = 0;
};

}  // namespace lumetra
