#include "livetiming/mini_mode.h"

#include <algorithm>
#include <cmath>

#include "editing/editor_panel.h"
#include "editing/frame_commands.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

std::string Signed(int v) { return (v > 0 ? "+" : "") + IntToText(v); }

// Milliseconds in three digits after the sign ("007", "-030"), so that they read back as
// the same number.
std::string MillisecondText(std::int32_t ms) {
  const std::string digits =
      PadLeft(IntToText(ms < 0 ? -static_cast<std::int64_t>(ms) : ms), '0', 3);
  return ms < 0 ? "-" + digits : digits;
}

std::array<std::string, 4> PartTexts(TimeValue v) {
  const TimeParts t = SplitTime(v);
  return {IntToText(t.h), IntToText(t.m), IntToText(t.s), MillisecondText(t.ms)};
}

TimeValue TimeOfBoxes(const std::array<std::string, 8>& boxes, std::size_t first) {
  return MakeTime(TextToInt(boxes[first]), TextToInt(boxes[first + 1]), TextToInt(boxes[first + 2]),
                  TextToInt(boxes[first + 3]));
}

}  // namespace

std::string StepPanelHint(const StepPanel& panel) {
  return "Left  : " + Signed(panel.small) + "\rRight: " + Signed(panel.large);
}

StripPlacement MiniStripPlacement(const ScreenRect& available, int frame_width, int frame_height) {
  StripPlacement p;
  p.client_height = kMiniStripHeight;
  p.client_width = available.width - frame_width;
  p.left = available.left;
  p.top = available.top + available.height - (kMiniStripHeight + frame_height) + 2;
  return p;
}

CommandResult MiniMode::AddFirstFrame(Document& doc) const {
  if (doc.FrameCount == 0) doc.InsertFrame(1, 0, 0, "");
  return Result();
}

MiniModeView MiniMode::Refresh(const Document& doc) {
  if (cur_frame_ < 1) cur_frame_ = 1;
  if (cur_frame_ > doc.FrameCount) cur_frame_ = std::max(doc.FrameCount, 1);
  const auto k = static_cast<std::size_t>(cur_frame_);
  MiniModeView view;
  view.position = IntToText(cur_frame_) + " / " + IntToText(std::max(doc.FrameCount, 1));
  view.start = PartTexts(doc.FrameStart[k]);
  view.end = PartTexts(doc.FrameEnd[k]);
  const std::int64_t length = static_cast<std::int64_t>(doc.FrameEnd[k]) - doc.FrameStart[k];
  view.length = FloatToText(static_cast<double>(length) / 1000.0);
  view.lines = EditorLinesOf(doc.FrameText[k]);
  return view;
}

CommandResult MiniMode::SetText(Document& doc, const std::vector<std::string>& lines) const {
  std::string text = JoinEditorLines(lines);
  if (Valid(doc) && doc.FrameText[static_cast<std::size_t>(cur_frame_)] != text) {
    doc.SetText(cur_frame_, std::move(text));
    doc.Modified = kUnsaved;
  }
  return Result();
}

CommandResult MiniMode::SetTimes(Document& doc, const std::array<std::string, 8>& boxes) const {
  if (Valid(doc)) SetTimesMarked(doc, cur_frame_, TimeOfBoxes(boxes, 0), TimeOfBoxes(boxes, 4));
  return Result();
}

CommandResult MiniMode::Step(Document& doc, int panel, PointerButton button) const {
  if (!Valid(doc) || panel < 0 || panel >= static_cast<int>(kStepPanels.size()) ||
      button == PointerButton::kOther) {
    return Result();
  }
  const StepPanel& p = kStepPanels[static_cast<std::size_t>(panel)];
  const auto k = static_cast<std::size_t>(cur_frame_);
  const int amount = button == PointerButton::kLeft ? p.small : p.large;
  // One part of the time moves; composed again, that is a plain addition.
  TimeValue start = doc.FrameStart[k];
  TimeValue end = doc.FrameEnd[k];
  TimeValue& moved = p.end ? end : start;
  moved = AddTime(moved, static_cast<std::int64_t>(amount) * p.unit);
  SetTimesMarked(doc, cur_frame_, start, end);
  return Result();
}

CommandResult MiniMode::SetOneSecond(Document& doc) const {
  if (Valid(doc)) {
    const TimeValue start = doc.FrameStart[static_cast<std::size_t>(cur_frame_)];
    SetTimesMarked(doc, cur_frame_, start, AddTime(start, kOneSecond));
  }
  return Result();
}

void MiniMode::Previous() {
  if (cur_frame_ > 1) --cur_frame_;
}

CommandResult MiniMode::Next(Document& doc) {
  if (cur_frame_ < doc.FrameCount) {
    ++cur_frame_;
    return Result();
  }
  const TimeValue start =
      AddTime(doc.FrameEnd[static_cast<std::size_t>(doc.FrameCount)], kNextFrameGap);
  if (!doc.InsertFrame(doc.FrameCount + 1, start, AddTime(start, kOneSecond), "")) {
    CommandResult result = Result();
    result.message = kCantInsert;
    return result;
  }
  doc.Modified = kUnsaved;
  cur_frame_ = doc.FrameCount;
  return Result();
}

void MiniMode::Jump(std::string_view answer, int frame_count) {
  const double number = std::trunc(TextToFloat(answer));
  if (number >= 1) {
    cur_frame_ = number >= frame_count ? frame_count : static_cast<int>(number);
  } else if (number <= -1) {
    cur_frame_ = 1;
  }
  cur_frame_ = std::clamp(cur_frame_, 1, std::max(frame_count, 1));
}

}  // namespace lumetra
