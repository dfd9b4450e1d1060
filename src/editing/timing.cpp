#include "editing/timing.h"

#include <cstdint>

#include "foundation/extended.h"

namespace lumetra {

namespace {

// A time plus a number of milliseconds, wrapping around in 32 bits as a time value does.
TimeValue Plus(TimeValue t, std::int64_t ms) {
  return static_cast<TimeValue>(static_cast<std::uint32_t>(static_cast<std::int64_t>(t) + ms));
}

// The common frame of the commands: nothing without a selection, otherwise the document is
// modified and `change` sees every selected frame of the document in ascending order.
template <typename Change>
CommandResult ForSelectedTimes(Document& doc, const Selection& selection, Change change) {
  if (selection.count() == 0) return CommandResult{selection, false, {}};
  doc.Modified = kUnsaved;
  return ForEachSelectedFrame(selection, [&](int frame) {
    if (frame < 1 || frame > doc.FrameCount) return;
    const auto k = static_cast<std::size_t>(frame);
    TimeValue start = doc.FrameStart[k];
    TimeValue end = doc.FrameEnd[k];
    change(frame, start, end);
    if (start != doc.FrameStart[k] || end != doc.FrameEnd[k]) doc.SetTimes(frame, start, end);
  });
}

// The next frame's start, when there is a next frame.
const TimeValue* NextStart(const Document& doc, int frame) {
  return frame < doc.FrameCount ? &doc.FrameStart[static_cast<std::size_t>(frame) + 1] : nullptr;
}

// Pulls an end back before the next frame's start, keeping at least 1 ms.
void StopBeforeNext(const Document& doc, int frame, TimeValue start, TimeValue& end) {
  const TimeValue* next = NextStart(doc, frame);
  if (next == nullptr) return;
  if (*next <= end) end = Plus(*next, -kKeptLength);
  if (start >= end) end = Plus(start, kLeastLength);
}

}  // namespace

TimeValue StepOfSeconds(double seconds) { return SecondsToMs(seconds); }

CommandResult ShiftFrames(Document& doc, const Selection& selection, TimeValue step, bool later) {
  const std::int64_t by = later ? step : -static_cast<std::int64_t>(step);
  return ForSelectedTimes(doc, selection, [&](int, TimeValue& start, TimeValue& end) {
    start = Plus(start, by);
    end = Plus(end, by);
  });
}

CommandResult DelayFrames(Document& doc, const Selection& selection, DelayKind kind, double value,
                          bool stop_at_adjacent) {
  const bool longer = kind == DelayKind::kLongerSeconds || kind == DelayKind::kLongerPercent;
  const bool percent = kind == DelayKind::kShorterPercent || kind == DelayKind::kLongerPercent;
  const TimeValue seconds_step = SecondsToMs(value);
  return ForSelectedTimes(doc, selection, [&](int frame, TimeValue& start, TimeValue& end) {
    TimeValue by = seconds_step;
    if (percent) {
      const TimeValue length = Plus(end, -static_cast<std::int64_t>(start));
      by =
          TruncToInt32(static_cast<long double>(length) * static_cast<long double>(value) / 100.0L);
    }
    end = Plus(end, longer ? static_cast<std::int64_t>(by) : -static_cast<std::int64_t>(by));
    if (!stop_at_adjacent) return;
    if (longer) {
      StopBeforeNext(doc, frame, start, end);
    } else if (start >= end) {
      end = Plus(start, kKeptLength);
    }
  });
}

CommandResult ResizeFrames(Document& doc, const Selection& selection, double factor) {
  const auto f = static_cast<long double>(factor);
  return ForSelectedTimes(doc, selection, [&](int, TimeValue& start, TimeValue& end) {
    start = TruncToInt32(static_cast<long double>(start) * f);
    end = TruncToInt32(static_cast<long double>(end) * f);
  });
}

CommandResult CorrectHangout(Document& doc, const Selection& selection) {
  return ForSelectedTimes(doc, selection, [&](int frame, TimeValue& start, TimeValue& end) {
    if (start >= end) end = Plus(start, kKeptLength);
    const TimeValue* next = NextStart(doc, frame);
    if (next != nullptr && *next <= end) end = Plus(*next, -kKeptLength);
    if (start >= end) end = Plus(start, kLeastLength);
  });
}

CommandResult LengthFromChars(Document& doc, const Selection& selection, double seconds_per_char) {
  const long double per_char = static_cast<long double>(seconds_per_char) * 1000.0L;
  return ForSelectedTimes(doc, selection, [&](int frame, TimeValue& start, TimeValue& end) {
    const auto n = static_cast<long double>(doc.FrameText[static_cast<std::size_t>(frame)].size());
    end = Plus(start, TruncToInt32(n * per_char));
  });
}

}  // namespace lumetra
