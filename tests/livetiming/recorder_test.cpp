#include "livetiming/recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "livetiming/fake_clock.h"
#include "session/command_runner.h"
#include "session/scripted_prompts.h"

namespace lumetra {
namespace {

// A recorder over five frames "t1".."t5" and the Timing list's focus, writing what it
// records through a command runner as the window does.
class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.BeginBulkChange();
    doc.FrameCount = 5;
    for (int i = 1; i <= 5; ++i) doc.FrameText[i] = "t" + std::to_string(i);
    doc.EndBulkChange();
  }
  void Apply(const TimingMark& mark) {
    const Selection before{{focus}, focus, focus};
    const CommandResult r = runner.Run(
        kRecordStepName, before, [&](Document& d) { return WriteTimingMark(d, before, mark); },
        "record " + std::to_string(mark.take));
    focus = r.selection.focus;
  }
  void Press(PointerButton b = PointerButton::kLeft) {
    Apply(recorder.Press(b, focus, doc.FrameCount));
  }
  void Release(PointerButton b = PointerButton::kLeft) {
    Apply(recorder.Release(b, focus, doc.FrameCount));
  }
  std::pair<TimeValue, TimeValue> Times(int i) { return {doc.FrameStart[i], doc.FrameEnd[i]}; }

  FakeClock clock;
  Recorder recorder{clock};
  Document doc;
  ScriptedPrompts prompts;
  CommandRunner runner{doc, prompts};
  int focus = 1;
};

TEST_F(RecorderTest, CountdownShowsTheSecondsLeftAndIgnoresPressesUntilRecording) {
  EXPECT_EQ(recorder.status_colour(), StatusColour::kCaption);
  EXPECT_FALSE(recorder.Begin("3", 0));
  std::vector<std::string> labels{recorder.status()};
  Press();
  Release();
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_TRUE(recorder.timer_running());
    EXPECT_EQ(recorder.status_colour(), StatusColour::kCountdown);
    clock.now += 1000;
    recorder.Tick(7000);
    labels.push_back(recorder.status());
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"3", "2", "1", kRecorderRecording}));
  EXPECT_FALSE(recorder.timer_running());
  EXPECT_EQ(recorder.status_colour(), StatusColour::kRecording);
  EXPECT_EQ(Times(1), std::make_pair(0, 0));
  EXPECT_EQ(focus, 1);
  clock.now += 500;
  Press();
  EXPECT_EQ(doc.FrameStart[1], 7500);  // the clock started when the countdown ran out
}

TEST_F(RecorderTest, StopDuringTheCountdownRecordsNothing) {
  recorder.Begin("2", 0);
  EXPECT_TRUE(recorder.stop_enabled());
  recorder.Stop();
  EXPECT_EQ(recorder.status_colour(), StatusColour::kStopped);
  EXPECT_FALSE(recorder.timer_running() || recorder.stop_enabled());
  Press();
  Release();
  EXPECT_EQ(Times(1), std::make_pair(0, 0));
  EXPECT_EQ(doc.Modified, kClean);
}

TEST_F(RecorderTest, PressWhileHeldEndsTheFrameAndReleaseWithoutPressStartsIt) {
  recorder.Begin("0", 0);
  clock.now += 1000;
  Press();
  clock.now += 400;
  Press();  // ends frame 1 here, starts nothing
  EXPECT_EQ(Times(1), std::make_pair(1000, 1400));
  EXPECT_EQ(focus, 2);
  EXPECT_EQ(runner.history().size(), 1);
  clock.now += 600;
  Release();  // starts frame 2
  EXPECT_EQ(Times(2), std::make_pair(2000, 2010));
  EXPECT_EQ(recorder.RecordState(), kButtonHeld);
}

TEST_F(RecorderTest, TheLastFrameKeepsTheFocusAndIsRecordedAgain) {
  recorder.Begin("0", 0);
  focus = 5;
  clock.now += 100;
  Press();
  clock.now += 100;
  Release();
  EXPECT_EQ(Times(5), std::make_pair(100, 200));
  EXPECT_EQ(focus, 5);
  clock.now += 100;
  Press();
  clock.now += 100;
  Release();
  EXPECT_EQ(Times(5), std::make_pair(300, 400));
  EXPECT_EQ(runner.history().size(), 2);  // one step per recorded take
}

TEST_F(RecorderTest, OtherButtonsIdleStateAndMissingFramesChangeNothing) {
  Press();  // not recording yet
  recorder.Begin("0", 0);
  Press(PointerButton::kRight);
  Release(PointerButton::kOther);
  for (const int frame : {0, 6}) {
    focus = frame;
    Press();
    Release();
  }
  EXPECT_EQ(recorder.RecordState(), kWaitingForPress);
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(Times(i), std::make_pair(0, 0)) << i;
  EXPECT_EQ(runner.history().size(), 0);
}

TEST(StartingValues, BoxesAreNormalisedWhenLeft) {
  const std::vector<std::tuple<std::string, std::string, std::string>> boxes = {
      // text, starting value box, countdown box
      {"07", "7", "7"}, {"00", "0", "0"}, {"x", "0", "0"}, {"-5", "0", "0"}, {"150", "150", "99"},
  };
  for (const auto& [text, start, countdown] : boxes) {
    EXPECT_EQ(NormalizedStartingValue(text), start) << text;
    EXPECT_EQ(NormalizedCountdown(text), countdown) << text;
  }
  EXPECT_EQ(StartingValueOf({"1", "02", "x", "5"}), MakeTime(1, 2, 0, 5));
}

TEST_F(RecorderTest, OnAFilmsClockTimesAreTheFilmsPositionsThroughPausesSeeksAndRates) {
  FakeFilmClock film;
  recorder.SetClock(film);
  film.position = 60'000;  // the window sought the film to the starting value...
  EXPECT_FALSE(recorder.Begin("2", 60'000));
  EXPECT_FALSE(recorder.Paused());  // counting down, not paused
  recorder.Tick(60'000);
  EXPECT_TRUE(recorder.Tick(60'000));
  film.playing = true;  // ...and plays it when recording starts
  film.Wait(1'500);
  Press();
  film.Wait(2'000);
  Release();
  EXPECT_EQ(Times(1), std::make_pair(61'500, 63'500));

  // Paused: no frame starts, and the clock stands still.
  film.playing = false;
  EXPECT_TRUE(recorder.Paused());
  film.Wait(5'000);
  Press();
  Release();
  EXPECT_EQ(Times(2), std::make_pair(0, 0));
  EXPECT_EQ(focus, 2);
  film.playing = true;
  EXPECT_FALSE(recorder.Paused());
  film.Wait(500);
  Press();
  film.Wait(1'000);
  film.playing = false;  // paused while the frame is held: its end is the paused position
  Release();
  EXPECT_EQ(Times(2), std::make_pair(64'000, 65'000));

  // Sought back: the next frame takes the new position; at half speed a second of real
  // time is half a second of film.
  film.position = 30'000;
  film.playing = true;
  film.rate = 0.5;
  film.Wait(1'000);
  Press();
  film.Wait(3'000);
  Release();
  EXPECT_EQ(Times(3), std::make_pair(30'500, 32'000));
  // The steady clock is back as soon as it is chosen again.
  recorder.SetClock(clock);
  recorder.Begin("0", 1'000);
  clock.now += 250;
  Press();
  EXPECT_EQ(doc.FrameStart[4], 1'250);
}

}  // namespace
}  // namespace lumetra
