// The live timing recorder of the "Timing" tab. BEGIN starts a countdown of up to 99
// seconds; when it runs out, recording starts: every left press on the click area gives
// the focused frame its start and the release gives it its end, both the time elapsed
// since recording started plus the starting value, and the focus moves to the next frame.
// The recorder is a state machine over a Clock; the window forwards presses, releases and
// the ticks of a one-second timer, and writes what the recorder hands back through the
// command runner. On a film's clock the times are the film's positions: the window seeks
// the film to the starting value at BEGIN and plays it when recording starts; while the
// film is paused the recording pauses (a press starts no frame, a release still ends the
// held one), and a seek back moves the times with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/document.h"
#include "editing/selection.h"
#include "livetiming/clock.h"
#include "livetiming/live_edit.h"

namespace lumetra {

inline constexpr char kRecorderReady[] = "Ready";
inline constexpr char kRecorderRecording[] = "RECORDING...";
// The status while the film of a recording is paused.
inline constexpr char kRecorderPaused[] = "PAUSED";
inline constexpr int kMaxCountdown = 99;
// A start gives the frame this provisional length until its end is recorded.
inline constexpr TimeValue kProvisionalLength = 10;
// What the undo history calls a recorded frame.
inline constexpr char kRecordStepName[] = "Live timing";

// Values of RecordState.
enum RecordStates : int {
  kNotRecording = 0,
  kWaitingForPress = 1,
  kButtonHeld = 2,  // the current frame has its start
};

// How the status label is painted.
enum class StatusColour {
  kCaption,    // at start-up
  kCountdown,  // blue
  kRecording,  // red
  kStopped,    // green
};

// What a press or release writes into the document.
struct TimingMark {
  enum Kind { kNone, kStart, kEnd };
  Kind kind = kNone;
  int frame = 0;
  TimeValue time = 0;
  // Counts the starts; an end carries the number of the start it closes, so that both
  // become one undo step.
  int take = 0;
};

class Recorder {
 public:
  // The clock is not owned and must outlive the recorder.
  explicit Recorder(const Clock& clock) : clock_(&clock) {}
  void SetClock(const Clock& clock) { clock_ = &clock; }

  // BEGIN: the countdown box's seconds (brought into 0..99), then the first tick at once.
  // `start_value` is the starting value as it stands now. Returns whether recording
  // started (a countdown of 0).
  bool Begin(std::string_view countdown_text, TimeValue start_value);
  // A tick of the one-second timer; returns whether recording started with it. The
  // starting value is read at the moment recording starts.
  bool Tick(TimeValue start_value);
  // STOP.
  void Stop();

  // A press and a release on the click area, for the frame focused in the Timing list (0
  // for none). Only the left button counts, only while recording, and only on a frame of
  // the document. A press while the button is held ends the frame, a release without a
  // press starts it.
  TimingMark Press(PointerButton button, int focused_frame, int frame_count);
  TimingMark Release(PointerButton button, int focused_frame, int frame_count);
  // A release that happened at an earlier reading of the clock (Now()): one the window
  // held back to tell it from a key's auto-repeat.
  TimingMark ReleaseAt(std::int64_t clock_ms, PointerButton button, int focused_frame,
                       int frame_count);
  // The clock's reading now.
  std::int64_t Now() const { return clock_->NowMs(); }

  // Recording, but the film's clock stands still: presses start no frame.
  bool Paused() const;

  int RecordState() const { return record_state_; }
  int RecordCountdown() const { return record_countdown_; }
  bool timer_running() const { return timer_running_; }
  bool stop_enabled() const { return stop_enabled_; }
  const std::string& status() const { return status_; }
  StatusColour status_colour() const { return status_colour_; }

 private:
  TimingMark Mark(TimingMark::Kind kind, int frame, std::int64_t clock_ms);
  // Time elapsed from the start of the recording to a reading of the clock, as a time of
  // day.
  TimeValue Elapsed(std::int64_t clock_ms) const;
  // The time a mark records for a reading of the clock.
  TimeValue RecordedTime(std::int64_t clock_ms) const;

  const Clock* clock_;
  int record_state_ = kNotRecording;
  int record_countdown_ = 0;
  std::int64_t record_clock_start_ = 0;
  TimeValue record_offset_ = 0;
  bool timer_running_ = false;
  bool stop_enabled_ = false;
  std::string status_ = kRecorderReady;
  StatusColour status_colour_ = StatusColour::kCaption;
  int take_ = 0;
};

// The starting values of the recording: hours, minutes, seconds, milliseconds.
struct StartingTexts {
  std::string hours = "0";
  std::string minutes = "00";
  std::string seconds = "00";
  std::string milliseconds = "000";
  bool operator==(const StartingTexts&) const = default;
};
// A box of the starting value after it lost the focus: its number, 0 when negative or no
// number, without leading zeros.
std::string NormalizedStartingValue(std::string_view text);
// The countdown box after it lost the focus: its number brought into 0..99.
std::string NormalizedCountdown(std::string_view text);
// The starting value the boxes give (a text that is no number counts as 0).
TimeValue StartingValueOf(const StartingTexts& texts);
// The starting values taken from a frame's start, to the second.
StartingTexts StartingTextsOf(TimeValue start);

// Writes a mark into its frame; the document is marked modified when it changes. A start
// gives the frame a provisional end 10 ms later; an end moves the Timing list's focus to
// the next frame (the last frame keeps it). The focused frame goes to the list's top row.
CommandResult WriteTimingMark(Document& doc, const Selection& timing_list, const TimingMark& mark);

}  // namespace lumetra
