// The waveform under the frame list: a film's sound read in the background, frames dragged
// on it as one undo step each, clicks that seek and double clicks that focus a frame.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QItemSelectionModel>
#include <QLabel>
#include <QTabWidget>

#include "main_window_test_support.h"
#include "media/fake_player.h"
#include "media/audio_peaks.h"
#include "media/sound_files.h"
#include "ui/film_panel.h"
#include "ui/peaks_loader.h"
#include "ui/waveform_panel.h"
#include "ui/waveform_strip.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

// Lets the window run until `done` holds, at most 10 seconds; whether it came to hold.
template <typename Done>
bool WaitFor(Done done) {
  return QTest::qWaitFor(done, 10000);
}

class WaveformTest : public WindowFixture {
 protected:
  // The editor over a fake player: it "plays" any file, and the waveform reads the file's
  // real sound.
  void SetUp() override {
    auto fake = std::make_unique<FakePlayer>();
    player_ = fake.get();
    window_ = std::make_unique<MainWindow>(prompts_, std::nullopt, std::string(), nullptr,
                                           std::move(fake));
    window_->CreateDialogs(prompts_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormActivate();
  }
  WaveformPanel* Panel() { return window_->waveformPanel(); }
  WaveformStrip* Strip() { return Panel()->strip(); }
  // Opens a film with the toolbar's film button.
  void OpenFilm(const std::string& film, std::int64_t length_ms) {
    prompts_.film_paths = {film};
    LeftClick("FilmButton");
    player_->FinishOpening(length_ms);
  }
  // Opens a film of `seconds` of a half-scale tone and waits until its sound is read.
  void OpenToneFilm(double seconds) {
    const std::string film = dir_.File("film.wav");
    testing::WriteWav(film, 8000, 2, testing::Tone(8000, 2, 0, seconds, 440, 0.5));
    OpenFilm(film, static_cast<std::int64_t>(seconds * 1000));
    ASSERT_TRUE(WaitFor([&] { return !Running(); }));
  }
  bool Running() { return Panel()->loader()->running(); }
  QString Status() { return Find<QLabel>("WaveformStatus")->text(); }
  // A point in the middle of the waveform at a time.
  QPoint At(qint64 ms) { return {Strip()->XOfTime(ms), WaveformStrip::kRulerHeight + 30}; }
  void Drag(qint64 from_ms, qint64 to_ms) {
    QTest::mousePress(Strip(), Qt::LeftButton, {}, At(from_ms));
    QTest::mouseMove(Strip(), At((from_ms + to_ms) / 2));
    QTest::mouseMove(Strip(), At(to_ms));
    QTest::mouseRelease(Strip(), Qt::LeftButton, {}, At(to_ms));
  }
  Frame FrameAt(int i) { return document().FrameAt(i); }

  FakePlayer* player_ = nullptr;
};

TEST_F(WaveformTest, DraggingAFramesEndOrMiddleIsOneUndoStepEach) {
  LoadFrames(3);  // frame i runs i*1000 .. i*1000+500
  EXPECT_FALSE(Panel()->isVisible());
  OpenToneFilm(6);
  // Under the film's picture, with the whole sound read.
  ASSERT_TRUE(Panel()->isVisible());
  EXPECT_EQ(Panel()->parentWidget(), window_->filmPanel());
  EXPECT_EQ(Panel()->loader()->peaks().size(), 600u);
  EXPECT_FALSE(Find("WaveformStatus")->isVisible());
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
  // A move shorter than the drag threshold is a click: the film goes there, no frame moves.
  QTest::mousePress(Strip(), Qt::LeftButton, {}, At(1250));
  QTest::mouseRelease(Strip(), Qt::LeftButton, {}, At(1250) + QPoint(1, 0));
  EXPECT_EQ(player_->position, 1260);
  EXPECT_EQ(Strip()->position(), 1260);
  EXPECT_FALSE(window_->session().runner().CanUndo());
}

TEST_F(WaveformTest, DoubleClickFocusesTheFrameAndTheListBringsFramesIntoView) {
  LoadFrames(40);
  OpenToneFilm(2);
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

TEST_F(WaveformTest, FirstSecondsShowWhileReadingAndCancelStopsIt) {
  // The sound comes through a pipe, so the reading waits for the test between its pieces.
  const std::string film = dir_.File("film.wav");
  ASSERT_EQ(mkfifo(film.c_str(), 0600), 0);
  const int pipe = open(film.c_str(), O_RDWR);
  ASSERT_GE(pipe, 0);
  fcntl(pipe, F_SETPIPE_SZ, 1 << 20);  // room for what the reading looks at when it opens
  auto send = [pipe](const std::string& bytes) {
    ASSERT_EQ(write(pipe, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  };
  const auto second = testing::Tone(8000, 1, 0, 1, 440, 0.5);
  send(testing::WavBytes(8000, 1, testing::Tone(8000, 1, 0, 30, 440, 0.5), 0x7ffff000));
  OpenFilm(film, 0);
  // The first seconds show at once.
  ASSERT_TRUE(WaitFor([&] { return Panel()->loader()->peaks().size() >= 256; }));
  EXPECT_TRUE(Running());
  EXPECT_TRUE(Status().startsWith("Reading the film's sound: "));
  auto* button = Find<QPushButton>("WaveformCancel");
  EXPECT_EQ(button->text(), "Cancel");
  QTest::mouseClick(button, Qt::LeftButton);
  send(testing::WavBytes(8000, 1, second).substr(44));  // the reading wakes up and stops
  ASSERT_TRUE(WaitFor([&] { return !Running(); }));
  close(pipe);
  EXPECT_EQ(Status(), "The waveform was cancelled.");
  EXPECT_EQ(button->text(), "Read again");
  // Read again reads the same film from its start (now a whole file).
  std::filesystem::remove(film);
  testing::WriteWav(film, 8000, 1, testing::Tone(8000, 1, 0, 5, 440, 0.5));
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return !Running(); }));
  EXPECT_EQ(Panel()->loader()->peaks().size(), 500u);
  EXPECT_FALSE(Find("WaveformStatus")->isVisible());
  EXPECT_FALSE(button->isVisible());
}

TEST_F(WaveformTest, FilmWithoutSoundSaysSoAndTheWaveformLeavesWithTheFilm) {
  const std::string film = dir_.File("silent.srt");
  testing::WriteFile(film, "1\n00:00:01,000 --> 00:00:02,000\nNo sound here\n\n");
  OpenFilm(film, 2000);
  ASSERT_TRUE(WaitFor([&] { return !Running(); }));
  EXPECT_EQ(Status(), "This film has no sound.");
  EXPECT_FALSE(Find("WaveformCancel")->isVisible());
  // While the picture is on the "Timing" tab, the waveform stays under the frame list.
  QTabWidget* tabs = Find<QTabWidget>("PageControl1");
  tabs->setCurrentIndex(1);
  EXPECT_NE(Panel()->parentWidget(), window_->filmPanel());
  tabs->setCurrentIndex(0);
  EXPECT_EQ(Panel()->parentWidget(), window_->filmPanel());
  EXPECT_TRUE(Panel()->isVisible());
  window_->filmPanel()->CloseFilm();
  EXPECT_FALSE(Panel()->isVisible());
}

}  // namespace
}  // namespace lumetra
