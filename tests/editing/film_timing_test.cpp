#include "editing/film_timing.h"

#include <gtest/gtest.h>

#include "document_support.h"
#include "session/command_runner.h"
#include "session/scripted_prompts.h"

namespace lumetra {
namespace {

TEST(FilmTiming, SetStartAndSetEndGiveTheFocusedFrameThePositionAsOneUndoStepEach) {
  Document doc;
  testing::Fill(doc, 3);  // frame i: i*1000 .. i*1000+500
  doc.Modified = kClean;
  ScriptedPrompts prompts;
  CommandRunner runner(doc, prompts);
  const Selection focused{{2}, 2, 1};
  auto run = [&](const char* name, auto command, TimeValue position) {
    return runner.Run(name, focused, [&](Document& d) { return command(d, focused, position); });
  };
  EXPECT_EQ(run(kSetStartStepName, SetStartFromFilm, 1'800).selection, focused);
  EXPECT_EQ(run(kSetEndStepName, SetEndFromFilm, 4'250).selection, focused);
  EXPECT_EQ(doc.FrameStart[2], 1'800);
  EXPECT_EQ(doc.FrameEnd[2], 4'250);
  EXPECT_EQ(doc.Modified, kUnsaved);
  runner.Undo();
  EXPECT_EQ(doc.FrameEnd[2], 2'500);
  EXPECT_EQ(doc.FrameStart[2], 1'800);
  runner.Undo();
  EXPECT_EQ(doc.FrameStart[2], 2'000);
  EXPECT_EQ(doc.Modified, kClean);
  // Without a focused frame, or at the time the frame already has, nothing changes.
  SetStartFromFilm(doc, Selection{}, 0);
  SetStartFromFilm(doc, focused, 2'000);
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(doc.FrameStart[1], 1'000);
}

TEST(FilmTiming, TheFrameAtAPositionIncludesItsStartButNotItsEnd) {
  Document doc;
  testing::Fill(doc, 3);
  EXPECT_EQ(FrameAtPosition(doc, 999), 0);
  EXPECT_EQ(FrameAtPosition(doc, 1'000), 1);
  EXPECT_EQ(FrameAtPosition(doc, 1'499), 1);
  EXPECT_EQ(FrameAtPosition(doc, 1'500), 0);
  EXPECT_EQ(FrameAtPosition(doc, 3'000), 3);
  // Overlapping frames: the first one.
  doc.SetTimes(3, 1'200, 3'500);
  EXPECT_EQ(FrameAtPosition(doc, 1'300), 1);
  EXPECT_EQ(FilmTime(-5), 0);
  EXPECT_EQ(FilmTime(int64_t{1} << 40), 2147483647);
  EXPECT_EQ(FilmTime(1'234), 1'234);
}

}  // namespace
}  // namespace lumetra
