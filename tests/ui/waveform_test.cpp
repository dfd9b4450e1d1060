// The waveform under the frame list: a film's sound read in the background, frames dragged
// on it as one undo step each, clicks that seek and double clicks that focus a frame.
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalSpy>

#include "main_window_test_support.h"
#include "media/audio_peaks.h"
#include "media/sound_files.h"
#include "ui/peaks_loader.h"
#include "ui/waveform_panel.h"
#include "ui/waveform_strip.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class WaveformTest : public WindowFixture {
 protected:
  void SetUp() override {
    // The peaks cache goes to the test's directory, never to the user's.
    saved_cache_ = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(dir_.File("cache")));
    WindowFixture::SetUp();
  }
  void TearDown() override {
    WindowFixture::TearDown();
    qputenv("XDG_CACHE_HOME", saved_cache_);
  }
  WaveformPanel* Panel() { return window_->waveformPanel(); }
  WaveformStrip* Strip() { return Panel()->strip(); }
  // Opens a film of `seconds` of a half-scale tone and waits until its sound is read.
  void OpenFilm(double seconds) {
    const std::string film = dir_.File("film.wav");
    testing::WriteWav(film, 8000, 2, testing::Tone(8000, 2, 0, seconds, 440, 0.5));
    Panel()->OpenFilm(QString::fromStdString(film));
    QTRY_VERIFY(!Panel()->loader()->running());
  }
  // A point in the middle of the waveform at a time.
  QPoint At(qint64 ms) { return {Strip()->XOfTime(ms), WaveformStrip::kRulerHeight + 30}; }
  void Drag(qint64 from_ms, qint64 to_ms) {
    QTest::mousePress(Strip(), Qt::LeftButton, {}, At(from_ms));
    QTest::mouseMove(Strip(), At((from_ms + to_ms) / 2));
    QTest::mouseMove(Strip(), At(to_ms));
    QTest::mouseRelease(Strip(), Qt::LeftButton, {}, At(to_ms));
  }
  Frame FrameAt(int i) { return document().FrameAt(i); }

  QByteArray saved_cache_;
};

TEST_F(WaveformTest, DraggingAFramesEndOrMiddleIsOneUndoStepEach) {
  LoadFrames(3);  // frame i runs i*1000 .. i*1000+500
  EXPECT_FALSE(Panel()->isVisible());
  OpenFilm(6);
  ASSERT_TRUE(Panel()->isVisible());
  EXPECT_EQ(Panel()->loader()->peaks().size(), 600u);
  EXPECT_EQ(Find<QLabel>("WaveformStatus")->text(), "film.wav");
  Strip()->SetView(0, 10);  // 10 ms a pixel

  Drag(2500, 2800);
  EXPECT_EQ(FrameAt(2), (Frame{2000, 2800, "t2"}));
  EXPECT_EQ(window_->session().runner().UndoName(), "Drag");
  EXPECT_EQ(document().Modified, kUnsaved);
  Drag(3250, 3050);  // the middle of frame 3
  EXPECT_EQ(FrameAt(3), (Frame{2800, 3300, "t3"}));

  window_->commands().Undo();
  EXPECT_EQ(FrameAt(3), (Frame{3000, 3500, "t3"}));
  window_->commands().Undo();
  EXPECT_EQ(FrameAt(2), (Frame{2000, 2500, "t2"}));
  EXPECT_EQ(document().Modified, kClean);
  // A move shorter than the drag threshold is a click: it seeks and changes nothing.
  QSignalSpy seeks(Panel(), &WaveformPanel::seekRequested);
  QTest::mousePress(Strip(), Qt::LeftButton, {}, At(1250));
  QTest::mouseRelease(Strip(), Qt::LeftButton, {}, At(1250) + QPoint(1, 0));
  ASSERT_EQ(seeks.size(), 1);
  EXPECT_EQ(seeks[0][0].toLongLong(), 1260);
  EXPECT_FALSE(window_->session().runner().CanUndo());
}

TEST_F(WaveformTest, DoubleClickFocusesTheFrameAndTheListBringsFramesIntoView) {
  LoadFrames(40);
  OpenFilm(2);
  Strip()->SetView(0, 10);
  QTest::mouseDClick(Strip(), Qt::LeftButton, {}, At(3200));
  EXPECT_EQ(window_->commands().FocusedFrame(), 3);
  EXPECT_EQ(window_->commands().CurrentSelection().frames, std::vector<int>{3});
  // The timeline reaches the last frame, past the film's end.
  ClickRow(29);
  EXPECT_LE(Strip()->viewStart(), 30000);
  EXPECT_GE(Strip()->viewStart() + Strip()->VisibleMs(), 30500);
  // The wheel zooms around the mouse: the time under it stays.
  const qint64 under = Strip()->TimeAtX(100);
  QWheelEvent wheel(QPointF(100, 40), Strip()->mapToGlobal(QPointF(100, 40)), {}, {0, 240},
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Strip(), &wheel);
  EXPECT_LT(Strip()->msPerPixel(), 10);
  EXPECT_NEAR(static_cast<double>(Strip()->TimeAtX(100)), static_cast<double>(under), 10);
}

TEST_F(WaveformTest, FilmWithoutSoundSaysSo) {
  const std::string film = dir_.File("silent.srt");
  testing::WriteFile(film, "1\n00:00:01,000 --> 00:00:02,000\nNo sound here\n\n");
  Panel()->OpenFilm(QString::fromStdString(film));
  QTRY_VERIFY(!Panel()->loader()->running());
  EXPECT_EQ(Find<QLabel>("WaveformStatus")->text(), "This film has no sound.");
  EXPECT_FALSE(Find("WaveformCancel")->isVisible());
}

}  // namespace
}  // namespace lumetra
