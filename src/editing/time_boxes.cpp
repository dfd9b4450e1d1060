#include "editing/time_boxes.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr std::int64_t kStep[4] = {3600000, 60000, 1000, 1};
constexpr int kMaxHour = 9;

bool HasFocusedFrame(const Document& doc, const Selection& selection) {
  return selection.focus >= 1 && selection.focus <= doc.FrameCount;
}

std::optional<TimeValue> AsTime(std::int64_t ms) {
  if (ms < std::numeric_limits<TimeValue>::min() || ms > std::numeric_limits<TimeValue>::max()) {
    return std::nullopt;
  }
  return static_cast<TimeValue>(ms);
}

std::int32_t& PartRef(TimeParts& t, TimeBoxes::Part part) {
  switch (part) {
    case TimeBoxes::kHours:
      return t.h;
    case TimeBoxes::kMinutes:
      return t.m;
    case TimeBoxes::kSeconds:
      return t.s;
    default:
      return t.ms;
  }
}

// The part typed into a box, brought into the box's range.
std::int32_t BoxValue(TimeBoxes::Part part, std::int32_t v) {
  if (v < 0) return 0;
  switch (part) {
    case TimeBoxes::kHours:
      return std::min(v, kMaxHour);
    case TimeBoxes::kMinutes:
    case TimeBoxes::kSeconds:
      return v > 59 ? 0 : v;
    default:
      return v > 999 ? 0 : v;
  }
}

// Writes the start or end of the focused frame; the frame is selected and the panel
// reloaded from it.
CommandResult SetTimeOfFocused(Document& doc, const Selection& selection, int tag,
                               std::optional<TimeValue> time) {
  const int frame = selection.focus;
  const auto k = static_cast<std::size_t>(frame);
  if (time) {
    if (TimeBoxes::IsStart(tag)) {
      doc.SetTimes(frame, *time, doc.FrameEnd[k]);
    } else {
      doc.SetTimes(frame, doc.FrameStart[k], *time);
    }
  }
  CommandResult result{selection, true, {}};
  if (!selection.Contains(frame)) {
    auto& frames = result.selection.frames;
    frames.insert(std::lower_bound(frames.begin(), frames.end(), frame), frame);
  }
  return result;
}

}  // namespace

void TimeBoxes::Enter(int tag) {
  if (tag < 1 || tag > kBoxes) return;
  latest_ = tag;
}

CommandResult TimeBoxes::Commit(Document& doc, const Selection& selection, int tag,
                                std::string_view text) {
  if (tag < 1 || tag > kBoxes || !HasFocusedFrame(doc, selection)) {
    return CommandResult{selection, false, {}};
  }
  const auto k = static_cast<std::size_t>(selection.focus);
  TimeParts t = SplitTime(IsStart(tag) ? doc.FrameStart[k] : doc.FrameEnd[k]);
  std::int32_t& part = PartRef(t, PartOf(tag));
  const std::int32_t v = TextToInt(text);
  if (v == part) return CommandResult{selection, false, {}};
  part = BoxValue(PartOf(tag), v);
  const std::int64_t ms = kStep[0] * t.h + kStep[1] * t.m + kStep[2] * t.s + t.ms;
  const std::optional<TimeValue> time = AsTime(ms);
  if (!time) return CommandResult{selection, true, {}};  // the box shows the time again
  return SetTimeOfFocused(doc, selection, tag, time);
}

CommandResult TimeBoxes::Step(Document& doc, const Selection& selection, bool increase,
                              bool tenfold) const {
  if (!HasFocusedFrame(doc, selection)) return CommandResult{selection, false, {}};
  doc.Modified = kUnsaved;
  if (latest_ == 0) {
    CommandResult result = SetTimeOfFocused(doc, selection, 0, std::nullopt);
    result.message = increase ? kSelectBoxToIncrease : kSelectBoxToDecrease;
    return result;
  }
  const auto k = static_cast<std::size_t>(selection.focus);
  const TimeValue old = IsStart(latest_) ? doc.FrameStart[k] : doc.FrameEnd[k];
  const Part part = PartOf(latest_);
  std::optional<TimeValue> time;
  const std::int32_t hour = SplitTime(old).h;
  const bool hour_guard = increase ? hour < kMaxHour : hour > 0;
  if (part != kHours || hour_guard) {
    const std::int64_t step = kStep[part] * (tenfold ? 10 : 1);
    time = AsTime(static_cast<std::int64_t>(old) + (increase ? step : -step));
  }
  return SetTimeOfFocused(doc, selection, latest_, time);
}

}  // namespace lumetra
