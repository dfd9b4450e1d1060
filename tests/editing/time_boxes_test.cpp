#include "editing/time_boxes.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumetra {
namespace {

class TimeBoxesTest : public ::testing::Test {
 protected:
  void SetUp() override { doc.InsertFrame(1, 0, 0, ""), doc.InsertFrame(2, 0, 0, ""); }
  void Times(TimeValue start, TimeValue end) { doc.SetTimes(2, start, end); }
  TimeValue Start() const { return doc.FrameStart[2]; }
  TimeValue End() const { return doc.FrameEnd[2]; }

  Document doc;
  TimeBoxes boxes;
  const Selection focused{{}, 2, 1};
};

TEST_F(TimeBoxesTest, CommitBringsTheTypedPartIntoTheBoxRange) {
  struct Case {
    int tag;
    const char* text;
    TimeValue expected;
  };
  const TimeValue start = MakeTime(0, 1, 30, 250);
  const Case cases[] = {
      {2, "75", MakeTime(0, 0, 30, 250)}, {2, "5", MakeTime(0, 5, 30, 250)},
      {1, "7", MakeTime(7, 1, 30, 250)},  {1, "-", MakeTime(0, 1, 30, 250)},
      {1, "12", MakeTime(9, 1, 30, 250)}, {3, "60", MakeTime(0, 1, 0, 250)},
      {4, "1000", MakeTime(0, 1, 30, 0)}, {4, "-3", MakeTime(0, 1, 30, 0)},
  };
  for (const Case& c : cases) {
    Times(start, 5000000);
    const CommandResult result = TimeBoxes::Commit(doc, focused, c.tag, c.text);
    EXPECT_EQ(Start(), c.expected) << c.tag << " " << c.text;
    EXPECT_EQ(End(), 5000000);
  }
  // The end boxes, and the focused frame becomes selected.
  const CommandResult result = TimeBoxes::Commit(doc, focused, 7, "9");
  EXPECT_EQ(End(), MakeTime(1, 23, 9, 0));
  EXPECT_EQ(result.selection, (Selection{{2}, 2, 1}));
  EXPECT_TRUE(result.reload_panel);
}

TEST_F(TimeBoxesTest, CommitWithoutAFocusedFrameOrChangeWritesNothing) {
  Times(1000, 2000);
  doc.Modified = kClean;
  EXPECT_FALSE(TimeBoxes::Commit(doc, Selection{{1}, 0, 1}, 3, "7").reload_panel);
  EXPECT_FALSE(TimeBoxes::Commit(doc, focused, 3, "01").reload_panel);  // equals the part
  EXPECT_EQ(doc.FrameStart[0] + Start(), 1000);
  EXPECT_EQ(doc.Modified, kClean);
  // A time near the end of the range whose new minutes would leave it stays as it is.
  const TimeValue far = std::numeric_limits<TimeValue>::max();
  Times(far, far);
  TimeBoxes::Commit(doc, focused, 2, "59");
  EXPECT_EQ(Start(), far);
}

TEST_F(TimeBoxesTest, StepsMoveTheWholeTimeByThePartOfTheLatestBox) {
  struct Case {
    int tag;
    TimeValue before;
    bool increase;
    bool tenfold;
    TimeValue after;
  };
  const Case cases[] = {
      {3, MakeTime(0, 0, 59, 500), true, false, MakeTime(0, 1, 0, 500)},
      {3, MakeTime(0, 0, 59, 500), true, true, MakeTime(0, 1, 9, 500)},
      {4, 0, false, false, -1},
      {1, 1000, false, false, 1000},  // hour 0 ignores "-"
      {1, MakeTime(8, 0, 0, 0), true, true, MakeTime(18, 0, 0, 0)},
      {1, MakeTime(1, 0, 0, 0), false, true, MakeTime(-9, 0, 0, 0)},
      {5, MakeTime(9, 0, 0, 0), true, false, MakeTime(9, 0, 0, 0)},
      {6, 0, true, true, 600000},
      {8, std::numeric_limits<TimeValue>::max(), true, false,
       std::numeric_limits<TimeValue>::max()},
  };
  for (const Case& c : cases) {
    Times(c.before, c.before);
    boxes.Enter(c.tag);
    doc.Modified = kClean;
    boxes.Step(doc, focused, c.increase, c.tenfold);
    EXPECT_EQ(TimeBoxes::IsStart(c.tag) ? Start() : End(), c.after) << c.tag << " " << c.before;
    EXPECT_EQ(TimeBoxes::IsStart(c.tag) ? End() : Start(), c.before);
    EXPECT_EQ(doc.Modified, kUnsaved);  // also when nothing moved
  }
}

TEST_F(TimeBoxesTest, StepBeforeAnyBoxWasEnteredAsksForOne) {
  Times(1000, 2000);
  const CommandResult result = boxes.Step(doc, focused, true, false);
  EXPECT_EQ(result.message, kSelectBoxToIncrease);
  EXPECT_EQ(boxes.Step(doc, focused, false, false).message, kSelectBoxToDecrease);
  EXPECT_EQ(Start() + End(), 3000);
  EXPECT_EQ(doc.Modified, kUnsaved);
  // Entering a box is no change (it used to mark the document modified).
  doc.Modified = kClean;
  boxes.Enter(6);
  EXPECT_EQ(boxes.latest(), 6);
  EXPECT_EQ(doc.Modified, kClean);
}

}  // namespace
}  // namespace lumetra
