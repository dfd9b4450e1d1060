#include "livetiming/mini_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_support.h"
#include "editing/frame_commands.h"

namespace lumetra {
namespace {

class MiniModeTest : public ::testing::Test {
 protected:
  void Fill(int count) { testing::Fill(doc, count); }
  std::pair<TimeValue, TimeValue> Times(int i) { return {doc.FrameStart[i], doc.FrameEnd[i]}; }

  Document doc;
  MiniMode mini;
};

TEST_F(MiniModeTest, ShowsTheTimePartsLengthAndPositionOfTheFrame) {
  Fill(10);
  doc.SetTimes(3, MakeTime(0, 1, 2, 3), MakeTime(0, 1, 4, 500));
  mini.Enter(3);
  const MiniModeView view = mini.Refresh(doc);
  EXPECT_EQ(view.start, (std::array<std::string, 4>{"0", "1", "2", "003"}));
  EXPECT_EQ(view.end, (std::array<std::string, 4>{"0", "1", "4", "500"}));
  EXPECT_EQ(view.length, "2.497");
  EXPECT_EQ(view.position, "3 / 10");
  doc.SetTimes(3, 0, 1500);
  EXPECT_EQ(mini.Refresh(doc).length, "1.5");
  doc.SetTimes(3, -1005, 1000);
  EXPECT_EQ(mini.Refresh(doc).start, (std::array<std::string, 4>{"0", "0", "-1", "-005"}));
  EXPECT_EQ(mini.Refresh(doc).length, "2.005");
}

TEST_F(MiniModeTest, StepPanelsMoveOnePartByTheirSmallOrLargeStep) {
  Fill(1);
  mini.Enter(1);
  // Start and end of frame 1 after a left and then a right click on each panel.
  for (std::size_t p = 0; p < kStepPanels.size(); ++p) {
    doc.SetTimes(1, 600'000, 700'000);
    const StepPanel& panel = kStepPanels[p];
    mini.Step(doc, static_cast<int>(p), PointerButton::kLeft);
    mini.Step(doc, static_cast<int>(p), PointerButton::kRight);
    mini.Step(doc, static_cast<int>(p), PointerButton::kOther);
    const TimeValue moved = (panel.small + panel.large) * panel.unit;
    EXPECT_EQ(Times(1),
              std::make_pair(600'000 + (panel.end ? 0 : moved), 700'000 + (panel.end ? moved : 0)))
        << panel.name;
  }
  EXPECT_EQ(StepPanelHint(kStepPanels[4]), "Left  : -10\rRight: -100");
  EXPECT_EQ(StepPanelHint(kStepPanels[1]), "Left  : +1\rRight: +5");

  doc.SetTimes(1, MakeTime(0, 1, 2, 3), 0);
  mini.Step(doc, 3, PointerButton::kLeft);  // start seconds +1
  EXPECT_EQ(doc.FrameStart[1], MakeTime(0, 1, 3, 3));
  mini.Step(doc, 4, PointerButton::kRight);  // start milliseconds -100
  EXPECT_EQ(doc.FrameStart[1], MakeTime(0, 1, 2, 903));
  doc.SetTimes(1, 30'000, 0);
  mini.Step(doc, 0, PointerButton::kLeft);  // start minutes -1
  EXPECT_EQ(doc.FrameStart[1], -30'000);
  EXPECT_EQ(mini.Refresh(doc).start, (std::array<std::string, 4>{"0", "0", "-30", "000"}));
}

TEST_F(MiniModeTest, NextMovesOnWithoutAChangeAndAddsNoFrameToAFullStore) {
  Fill(3);
  mini.Enter(2);
  mini.Next(doc);
  EXPECT_EQ(mini.current(), 3);
  EXPECT_EQ(doc.FrameCount, 3);
  EXPECT_EQ(doc.Modified, kClean);
  Fill(MaxFrames);
  mini.Enter(MaxFrames);
  EXPECT_EQ(mini.Next(doc).message, kCantInsert);
  EXPECT_EQ(doc.FrameCount, MaxFrames);
  EXPECT_EQ(doc.FrameText[MaxFrames], "t10000");
}

TEST_F(MiniModeTest, PreviousJumpAndOneSecondLength) {
  Fill(120);
  mini.Enter(1);
  mini.Previous();
  EXPECT_EQ(mini.current(), 1);
  const std::vector<std::pair<const char*, int>> jumps = {
      {"7.9", 7}, {"0", 7}, {"abc", 7}, {"9999", 120}, {"-4", 1}, {"12", 12}, {"1e30", 120}};
  for (const auto& [answer, frame] : jumps) {
    mini.Jump(answer, doc.FrameCount);
    EXPECT_EQ(mini.current(), frame) << answer;
  }
  doc.SetTimes(120, 10'000, 0);
  mini.Jump("120", doc.FrameCount);
  mini.SetOneSecond(doc);
  EXPECT_EQ(Times(120), std::make_pair(10'000, 11'000));
}

TEST_F(MiniModeTest, TextAndTimeBoxesWriteTheFrameAndEmptyLinesSurvive) {
  Fill(2);
  doc.SetText(2, "|a||b");
  mini.Enter(2);
  const MiniModeView view = mini.Refresh(doc);
  EXPECT_EQ(view.lines, (std::vector<std::string>{"", "a", "", "b"}));
  mini.SetText(doc, view.lines);
  EXPECT_EQ(doc.FrameText[2], "|a||b");
  EXPECT_EQ(doc.Modified, kClean);  // shown and written back unchanged
  mini.SetText(doc, {"", "a", "", "b", "c", "", ""});
  EXPECT_EQ(doc.FrameText[2], "|a||b|c");
  EXPECT_EQ(doc.Modified, kUnsaved);

  mini.SetTimes(doc, {"0", "75", "x", "5", "1", "0", "-1", "000"});
  EXPECT_EQ(Times(2), std::make_pair(MakeTime(1, 15, 0, 5), MakeTime(1, 0, -1, 0)));
}

TEST(MiniStrip, LiesAcrossTheScreenJustAboveTheTaskBar) {
  const std::vector<std::tuple<ScreenRect, int, int, StripPlacement>> cases = {
      // available area, frame width and height, placement
      {{0, 0, 1280, 770}, 0, 0, {0, 682, 1280, 90}},    // 30-pixel task bar at the bottom
      {{0, 0, 1280, 800}, 0, 0, {0, 712, 1280, 90}},    // no task bar
      {{0, 0, 1024, 738}, 8, 30, {0, 620, 1016, 90}},   // a window frame
      {{0, 30, 1280, 770}, 0, 0, {0, 712, 1280, 90}},   // task bar at the top
      {{48, 0, 1232, 800}, 0, 0, {48, 712, 1232, 90}},  // task bar at the left
  };
  for (const auto& [available, fw, fh, placement] : cases) {
    EXPECT_EQ(MiniStripPlacement(available, fw, fh), placement) << available.top;
  }
}

}  // namespace
}  // namespace lumetra
