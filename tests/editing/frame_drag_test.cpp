#include "editing/frame_drag.h"

#include <gtest/gtest.h>

#include <limits>

#include "document_support.h"
#include "session/command_runner.h"
#include "session/scripted_prompts.h"

namespace lumetra {
namespace {

using H = DragHandle;

TEST(DraggedTimes, EdgesStopAtTheOtherEdgeAndNothingGoesBelowZero) {
  struct Case {
    TimeValue start, end;
    H handle;
    std::int64_t delta;
    FrameTimes expected;
  };
  const Case cases[] = {
      {1000, 3000, H::kStart, -400, {600, 3000}},
      {1000, 3000, H::kStart, 1999, {2999, 3000}},
      {1000, 3000, H::kStart, 2001, {3000, 3000}},  // stops at the end
      {1000, 3000, H::kStart, -1001, {0, 3000}},    // stops at 0
      {1000, 3000, H::kEnd, 500, {1000, 3500}},
      {1000, 3000, H::kEnd, -2500, {1000, 1000}},   // stops at the start
      {1000, 3000, H::kMiddle, 250, {1250, 3250}},
      {1000, 3000, H::kMiddle, -5000, {0, 2000}},   // the length stays
      // A frame that ends before it starts: its edges go no further apart that way.
      {3000, 1000, H::kStart, 500, {3000, 1000}},
      {3000, 1000, H::kStart, -500, {2500, 1000}},
      {3000, 1000, H::kEnd, -500, {3000, 1000}},
      {3000, 1000, H::kMiddle, -2000, {2000, 0}},
      // A time already below 0 goes no further down, and the range of a time holds.
      {-500, 1000, H::kStart, -100, {-500, 1000}},
      {0, std::numeric_limits<TimeValue>::max() - 5, H::kEnd, 100,
       {0, std::numeric_limits<TimeValue>::max()}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DraggedTimes(c.start, c.end, c.handle, c.delta), c.expected)
        << c.start << ".." << c.end << " handle " << static_cast<int>(c.handle) << " by "
        << c.delta;
  }
}

TEST(DragFrame, IsOneUndoStepNamedDrag) {
  Document doc;
  testing::Fill(doc, 3);
  ScriptedPrompts prompts;
  CommandRunner runner(doc, prompts);
  const Selection selection{{1}, 1, 1};
  auto drag = [&](int frame, FrameTimes times) {
    runner.Run(kDragCommand, selection,
               [&](Document& d) { return DragFrame(d, selection, frame, times); });
  };
  drag(2, {2000, 2900});
  EXPECT_EQ(doc.FrameAt(2), (Frame{2000, 2900, "t2"}));
  EXPECT_EQ(doc.Modified, kUnsaved);
  EXPECT_EQ(runner.UndoName(), "Drag");
  drag(4, {1, 2});           // no such frame
  drag(2, {2000, 2900});     // no change
  EXPECT_EQ(runner.history().size(), 1);
  runner.Undo();
  EXPECT_EQ(doc.FrameAt(2), (Frame{2000, 2500, "t2"}));
  EXPECT_EQ(doc.Modified, kClean);
}

}  // namespace
}  // namespace lumetra
