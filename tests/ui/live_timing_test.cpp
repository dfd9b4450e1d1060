// The "Timing" tab and mini mode as a user meets them: the tab switches, recording with
// the mouse and the Space key against a fake clock, the countdown, and the mini-mode strip
// with its edits and its way back to the "Text" tab.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "livetiming/fake_clock.h"
#include "livetiming/held_key.h"
#include "livetiming/recorder.h"
#include "ui/main_window_test_support.h"
#include "ui/mini_mode_tab.h"
#include "ui/timing_tab.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class LiveTimingTest : public WindowFixture {
 protected:
  void ChooseTab(const char* caption) {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
      if (bar->tabText(i) == caption)
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    }
    ASSERT_EQ(bar->tabText(bar->currentIndex()), caption);
  }
  void Space(QEvent::Type type, bool repeat = false, std::uint64_t timestamp = 0) {
    QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, " ", repeat);
    key.setTimestamp(timestamp);
    QApplication::sendEvent(window_->timingTab()->clickArea(), &key);
  }
  // A release counts once it is clear that no repeat's press follows it.
  void AfterRelease() { QTest::qWait(kKeyRepeatGraceMs * 3); }
  std::pair<TimeValue, TimeValue> Times(int i) {
    return {document().FrameStart[i], document().FrameEnd[i]};
  }
  int TimingFocus() { return SelectionOf(window_->timingTab()->timingList()).focus; }

  FakeClock clock_;
};

TEST_F(LiveTimingTest, RecordsWithTheMouseAndTheSpaceKeyOnTheTimingTab) {
  LoadFrames(3);
  ClickRow(1);
  ChooseTab("Timing");
  EXPECT_TRUE(Find("Panel5")->isVisible() && !Find("Panel2")->isVisible());
  EXPECT_EQ(TimingFocus(), 2);

  window_->timingTab()->SetClock(clock_);
  Find<QLineEdit>("Edit17")->setText("10");
  Find<QLineEdit>("Edit18")->setText("20");
  Press("Button23");  // BEGIN with a countdown of 0
  EXPECT_EQ(Text("Label39"), kRecorderRecording);
  EXPECT_TRUE(window_->timingTab()->clickArea()->hasFocus());  // Space no longer hits BEGIN
  QWidget* area = window_->timingTab()->clickArea();
  clock_.now += 25'000;
  QTest::mousePress(area, Qt::LeftButton);
  EXPECT_EQ(Find<QPlainTextEdit>("Memo2")->toPlainText(), "t2");
  QTest::mousePress(area, Qt::RightButton);
  clock_.now += 2'000;
  QTest::mouseRelease(area, Qt::LeftButton);
  EXPECT_EQ(Times(2), std::make_pair(MakeTime(0, 10, 45, 0), MakeTime(0, 10, 47, 0)));
  EXPECT_EQ(Find<QPlainTextEdit>("Memo2")->toPlainText(), "");
  EXPECT_EQ(TimingFocus(), 3);
  EXPECT_EQ(window_->timingTab()->timingList()->model()->index(1, 0).data().toString().left(20),
            "0:10:45.000:10:47.00");

  // Space works like the left button; its auto-repeat is no press.
  clock_.now += 1'000;
  Space(QEvent::KeyPress);
  clock_.now += 300;
  Space(QEvent::KeyRelease, true);
  Space(QEvent::KeyPress, true);
  clock_.now += 300;
  Space(QEvent::KeyRelease);
  clock_.now += 5;  // the clock runs on while the release is held back
  AfterRelease();
  EXPECT_EQ(Times(3), std::make_pair(MakeTime(0, 10, 48, 0), MakeTime(0, 10, 48, 600)));
  EXPECT_EQ(TimingFocus(), 3);  // the last frame keeps the focus
  EXPECT_EQ(document().Modified, kUnsaved);

  // Each recorded frame is one step; back on "Text" the list focuses the Timing list's frame.
  window_->commands().Undo();
  EXPECT_EQ(Times(3), std::make_pair(3000, 3500));
  Press("Button24");
  EXPECT_EQ(Text("Label39"), kRecorderReady);
  ChooseTab("Text");
  EXPECT_TRUE(Find("Panel2")->isVisible() && !Find("Panel5")->isVisible());
  EXPECT_TRUE(List()->hasFocus());
  EXPECT_EQ(SelectionOf(List()), (Selection{{3}, 3, 1}));
  EXPECT_EQ(Memo()->toPlainText(), "t3");
}

// Holding Space for two seconds times one frame, however the platform reports the key's
// auto-repeat: as presses marked as repeats, or as a release and a press at one moment.
TEST_F(LiveTimingTest, AHeldSpaceKeyTimesOneFrameWhateverItsRepeatLooksLike) {
  for (const bool marked : {true, false}) {
    SCOPED_TRACE(marked ? "marked repeats" : "release and press pairs");
    LoadFrames(4);
    ClickRow(0);
    ChooseTab("Timing");
    window_->timingTab()->SetClock(clock_);
    Press("Button23");
    const std::int64_t pressed = clock_.now;
    std::uint64_t t = 500;
    Space(QEvent::KeyPress, false, t);
    // 0.66 s until the repeat starts, then one every 20 ms up to 2 s.
    for (t += 660, clock_.now += 660; clock_.now < pressed + 2'000; t += 20, clock_.now += 20) {
      if (marked) {
        Space(QEvent::KeyPress, true, t);
      } else {
        Space(QEvent::KeyRelease, false, t);
        Space(QEvent::KeyPress, false, t);
      }
    }
    Space(QEvent::KeyRelease, false, t);
    AfterRelease();
    EXPECT_EQ(Times(1).second - Times(1).first, 2'000);
    EXPECT_EQ(Times(2), std::make_pair(2000, 2500));  // untouched
    EXPECT_EQ(TimingFocus(), 2);
    // The next press is a frame of its own.
    Space(QEvent::KeyPress, false, t + 400);
    clock_.now += 500;
    Space(QEvent::KeyRelease, false, t + 900);
    AfterRelease();
    EXPECT_EQ(Times(2).second - Times(2).first, 500);
    Press("Button24");
    ChooseTab("Text");
  }
}

TEST_F(LiveTimingTest, CountdownStartingValuesAndAListWithoutFocus) {
  ChooseTab("Timing");
  TimingTab* tab = window_->timingTab();
  tab->SetClock(clock_);
  Find<QLineEdit>("Edit20")->setText("3");
  Press("Button23");
  EXPECT_EQ(Text("Label39"), "3");
  EXPECT_TRUE(tab->timer()->isActive());
  for (const char* label : {"2", "1", kRecorderRecording}) {
    tab->Timer1Timer();
    EXPECT_EQ(Text("Label39"), label);
  }
  EXPECT_FALSE(tab->timer()->isActive());
  // An empty subtitle: presses have no frame to time.
  QTest::mouseClick(tab->clickArea(), Qt::LeftButton);
  EXPECT_EQ(document().FrameCount, 0);
  EXPECT_EQ(document().FrameStart[0], 0);

  Find<QLineEdit>("Edit20")->setText("-5");
  Press("Button23");  // a countdown below 0 counts as 0
  EXPECT_EQ(Box("Edit20"), "0");
  EXPECT_EQ(Text("Label39"), kRecorderRecording);

  Load({{MakeTime(1, 2, 3, 456), 0, "a"}});
  QListView* list = tab->timingList();
  const QRect row = list->visualRect(list->model()->index(0, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(Box("Edit16") + Box("Edit17") + Box("Edit18") + Box("Edit19"), "10203000");
}

TEST_F(LiveTimingTest, MiniModeEditsOneFrameAndGivesTheWindowBack) {
  LoadFrames(10);
  document().SetText(3, "|a||b");
  ClickRow(2);
  window_->resize(700, 500);
  window_->move(40, 30);
  const QRect before = window_->geometry();
  LeftClick("SpeedButton4");
  EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentWidget(), window_->miniModeTab());
  EXPECT_FALSE(Find("Panel2")->isVisible());
  const QRect available = window_->screen()->availableGeometry();
  const QRect strip = window_->frameGeometry();
  EXPECT_EQ(window_->geometry().height(), 90);
  EXPECT_EQ(QRect(strip.left(), strip.bottom() - 2, strip.width(), 1),
            QRect(available.left(), available.bottom(), available.width(), 1));
  EXPECT_EQ(Text("Label54"), "3 / 10");
  EXPECT_EQ(Box("Edit26") + " " + Box("Edit27"), "3 000");

  // Typing goes into the frame at once, and its empty lines stay.
  QPlainTextEdit* memo = window_->miniModeTab()->memo();
  memo->setFocus();
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, "c");
  EXPECT_EQ(document().FrameText[3], "|a||bc");
  QTest::mouseClick(Find("Panel13"), Qt::RightButton);  // start seconds +5
  EXPECT_EQ(document().FrameStart[3], 8000);
  EXPECT_EQ(Box("Edit26"), "8");

  Press("Button28");  // '>'
  EXPECT_EQ(document().FrameEnd[3], 9000);
  prompts_.texts.push_back(std::string("10"));
  Press("Button29");
  Press("Button26");  // Next at the last frame creates one
  EXPECT_EQ(Text("Label54"), "11 / 11");
  EXPECT_EQ(document().FrameAt(11), (Frame{10'520, 11'520, ""}));
  Find<QLineEdit>("Edit25")->setFocus();
  Find<QLineEdit>("Edit25")->setText("2");
  Press("Button27");  // leaving the box writes the times, then Previous
  EXPECT_EQ(document().FrameStart[11], 130'520);
  EXPECT_EQ(Text("Label54"), "10 / 11");

  ChooseTab("Text");
  EXPECT_EQ(window_->geometry(), before);
  EXPECT_TRUE(Find("Panel2")->isVisible());
  EXPECT_FALSE(Find<QTabWidget>("PageControl1")->isTabVisible(2));
  EXPECT_EQ(SelectionOf(List()).frames, std::vector<int>{10});
  EXPECT_EQ(SelectionOf(List()).focus, 10);
  EXPECT_EQ(Memo()->toPlainText(), "t10");
  // Text, step, '>', Next, times: one undo step each.
  EXPECT_EQ(window_->session().runner().history().size(), 5);
}

TEST_F(LiveTimingTest, MiniModeOnAnEmptySubtitleAddsAFrameWithoutAChange) {
  LeftClick("SpeedButton4");
  EXPECT_EQ(Text("Label54"), "1 / 1");
  EXPECT_EQ(document().Modified, kClean);
  ChooseTab("Timing");
  EXPECT_EQ(TimingFocus(), 1);
  EXPECT_EQ(window_->miniModeTab()->active(), false);
}

}  // namespace
}  // namespace lumetra
