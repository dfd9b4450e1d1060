#include "livetiming/recorder.h"

#include <algorithm>

#include "editing/film_timing.h"
#include "editing/frame_row.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr std::int64_t kDayMs = 86400000;

}  // namespace

bool Recorder::Begin(std::string_view countdown_text, TimeValue start_value) {
  record_countdown_ = TextToInt(NormalizedCountdown(countdown_text)) + 1;
  timer_running_ = true;
  stop_enabled_ = true;
  return Tick(start_value);
}

bool Recorder::Tick(TimeValue start_value) {
  if (record_countdown_ > 0) {
    --record_countdown_;
    if (record_countdown_ == 0) timer_running_ = false;
  }
  if (record_countdown_ > 0) {
    status_ = IntToText(record_countdown_);
    status_colour_ = StatusColour::kCountdown;
    return false;
  }
  status_ = kRecorderRecording;
  status_colour_ = StatusColour::kRecording;
  timer_running_ = false;
  record_state_ = kWaitingForPress;
  record_clock_start_ = clock_->NowMs();
  record_offset_ = start_value;
  return true;
}

void Recorder::Stop() {
  timer_running_ = false;
  record_state_ = kNotRecording;
  stop_enabled_ = false;
  status_ = kRecorderReady;
  status_colour_ = StatusColour::kStopped;
}

bool Recorder::Paused() const {
  return record_state_ != kNotRecording && !timer_running_ && !clock_->Running();
}

TimingMark Recorder::Press(PointerButton button, int focused_frame, int frame_count) {
  if (button != PointerButton::kLeft || record_state_ == kNotRecording) return {};
  // Without a frame to time nothing happens, and the recorder stays as it was.
  if (focused_frame < 1 || focused_frame > frame_count) return {};
  return Mark(record_state_ == kWaitingForPress ? TimingMark::kStart : TimingMark::kEnd,
              focused_frame, clock_->NowMs());
}

TimingMark Recorder::Release(PointerButton button, int focused_frame, int frame_count) {
  return ReleaseAt(clock_->NowMs(), button, focused_frame, frame_count);
}

TimingMark Recorder::ReleaseAt(std::int64_t clock_ms, PointerButton button, int focused_frame,
                               int frame_count) {
  if (button != PointerButton::kLeft || record_state_ == kNotRecording) return {};
  if (focused_frame < 1 || focused_frame > frame_count) return {};
  return Mark(record_state_ == kButtonHeld ? TimingMark::kEnd : TimingMark::kStart, focused_frame,
              clock_ms);
}

TimingMark Recorder::Mark(TimingMark::Kind kind, int frame, std::int64_t clock_ms) {
  // A paused film starts no frame; the frame held when it paused still gets its end.
  if (kind == TimingMark::kStart && Paused()) return {};
  if (kind == TimingMark::kStart) ++take_;
  record_state_ = kind == TimingMark::kStart ? kButtonHeld : kWaitingForPress;
  return {kind, frame, RecordedTime(clock_ms), take_};
}

TimeValue Recorder::RecordedTime(std::int64_t clock_ms) const {
  if (clock_->IsFilmPosition()) return FilmTime(clock_ms);
  return AddTime(record_offset_, Elapsed(clock_ms));
}

TimeValue Recorder::Elapsed(std::int64_t clock_ms) const {
  const std::int64_t elapsed = clock_ms - record_clock_start_;
  return static_cast<TimeValue>(((elapsed % kDayMs) + kDayMs) % kDayMs);
}

std::string NormalizedStartingValue(std::string_view text) {
  return IntToText(std::max(TextToInt(text), 0));
}

std::string NormalizedCountdown(std::string_view text) {
  return IntToText(std::clamp(TextToInt(text), 0, kMaxCountdown));
}

TimeValue StartingValueOf(const StartingTexts& texts) {
  return MakeTime(TextToInt(texts.hours), TextToInt(texts.minutes), TextToInt(texts.seconds),
                  TextToInt(texts.milliseconds));
}

StartingTexts StartingTextsOf(TimeValue start) {
  const TimeBoxTexts t = TimeBoxTextsOf(start);
  return {t.hour, t.minute, t.second, "000"};
}

CommandResult WriteTimingMark(Document& doc, const Selection& timing_list, const TimingMark& mark) {
  CommandResult result{timing_list, false, {}};
  const int n = mark.frame;
  if (mark.kind == TimingMark::kNone || n < 1 || n > doc.FrameCount) return result;
  int focus = n;
  if (mark.kind == TimingMark::kStart) {
    SetTimesMarked(doc, n, mark.time, AddTime(mark.time, kProvisionalLength));
  } else {
    SetTimesMarked(doc, n, doc.FrameStart[static_cast<std::size_t>(n)], mark.time);
    if (n < doc.FrameCount) focus = n + 1;
  }
  result.selection = Selection{{focus}, focus, focus};
  return result;
}

}  // namespace lumetra
