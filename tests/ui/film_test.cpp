// The film in the window as a user meets it: opening films every way, the keys and
// buttons of the panel, "Follow film", the subtitle on the picture, the film remembered
// with its subtitle, live timing on the film's clock; over a fake player, and once over
// libmpv with a film made by ffmpeg.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>
#include <cstdlib>

#include "editing/film_timing.h"
#include "media/fake_player.h"
#include "media/mpv_player.h"
#include "media/test_film.h"
#include "session/film_files.h"
#include "ui/film_panel.h"
#include "ui/film_player.h"
#include "ui/main_window_test_support.h"
#include "ui/peaks_loader.h"
#include "ui/timing_tab.h"
#include "ui/waveform_panel.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

// A double click is a click and then the second press.
void DoubleClickRow(QListView* list, int row) {
  const QRect rect = list->visualRect(list->model()->index(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class FilmWindowTest : public WindowFixture {
 protected:
  void SetUp() override { StartWithFake(std::nullopt); }

  // The editor over a fake player, as `lumetra [FILE [FILM]]` starts it.
  void StartWithFake(std::optional<QString> file, std::optional<QString> film = std::nullopt) {
    window_.reset();
    auto fake = std::make_unique<FakePlayer>();
    player_ = fake.get();
    window_ = std::make_unique<MainWindow>(prompts_, std::move(file), std::string(), nullptr,
                                           std::move(fake));
    window_->CreateDialogs(prompts_);
    if (film) window_->SetStartupFilm(*film);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormActivate();
  }
  // A film (an empty file: the fake plays anything) opened through the toolbar's button.
  void OpenFilm(const std::string& name, std::int64_t length = 60'000) {
    prompts_.film_paths = {dir_.File(name)};
    LeftClick("FilmButton");
    player_->FinishOpening(length);
  }
  void ChooseTab(const char* caption) {
    QTabBar* bar = Find<QTabWidget>("PageControl1")->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
      if (bar->tabText(i) == caption)
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    }
  }
  bool PanelShown() { return window_->filmPanel()->isVisible(); }
  std::pair<TimeValue, TimeValue> Times(int i) {
    return {document().FrameStart[i], document().FrameEnd[i]};
  }

  FakePlayer* player_ = nullptr;
};

TEST_F(FilmWindowTest, FilmsOpenFromTheToolbarTheOpenMenuAndADropAndAFilmThatFailsIsTold) {
  LoadFrames(3);
  EXPECT_FALSE(PanelShown());
  OpenFilm("a.mkv");
  EXPECT_TRUE(PanelShown());
  EXPECT_EQ(Text("FilmPosition"), "0:00:00.00 / 0:01:00.00");
  EXPECT_EQ(Text("FilmName"), "a.mkv");
  EXPECT_EQ(prompts_.film_dialogs_shown.size(), 1u);
  // The waveform reads the film's sound, and a click on it moves the film.
  WaveformPanel* waveform = window_->waveformPanel();
  EXPECT_TRUE(waveform->isVisible());
  EXPECT_EQ(waveform->loader()->film(), QString::fromStdString(dir_.File("a.mkv")));
  emit waveform->seekRequested(1'234);
  EXPECT_EQ(player_->position, 1'234);

  // A film dropped on the window opens as a film, without a question about the document.
  EditFrame(0, "x");
  testing::WriteFile(dir_.File("c.MP4"), "");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir_.File("c.MP4")))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(List()->viewport(), &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(List()->viewport(), &drop);
  QApplication::processEvents();
  EXPECT_EQ(player_->calls.back(), "open " + dir_.File("c.MP4"));
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_EQ(document().FrameText[1], "t1x");

  RightPress("SpeedButton1");
  QMenu* menu = window_->historyMenu();
  prompts_.film_paths = {dir_.File("b.avi")};
  menu->findChild<QAction*>("OpenFilmAction")->trigger();
  menu->hide();
  EXPECT_EQ(player_->calls.back(), "open " + dir_.File("b.avi"));
  player_->FailOpening("unrecognized file format");
  QApplication::processEvents();
  EXPECT_EQ(prompts_.messages.back(),
            kFilmCannotPlay + dir_.File("b.avi") + "\r\runrecognized file format");
  EXPECT_FALSE(PanelShown());
  EXPECT_FALSE(waveform->isVisible());
  EXPECT_EQ(document().Modified, kUnsaved);
  EXPECT_EQ(document().FrameAt(2), (Frame{2000, 2500, "t2"}));
  EXPECT_EQ(window_->session().runner().history().size(), 1);
}

TEST_F(FilmWindowTest, KeysAndButtonsMoveTheFilmAndSetTheFocusedFramesTimes) {
  LoadFrames(3);
  OpenFilm("a.mkv");
  ClickRow(1);
  List()->setFocus();
  player_->calls.clear();
  Keys(QKeySequence(Qt::CTRL | Qt::Key_Space));
  Keys(QKeySequence(Qt::CTRL | Qt::Key_Right));
  Keys(QKeySequence(Qt::ALT | Qt::Key_Left));
  Keys(QKeySequence(Qt::CTRL | Qt::Key_Left));
  Keys(QKeySequence(Qt::CTRL | Qt::Key_Left));  // not before the film's start
  LeftClick("FilmForward5");
  LeftClick("FilmFrameForward");
  EXPECT_EQ(player_->calls, (std::vector<std::string>{"play", "seek 1000", "frame back", "seek 0",
                                                      "seek 0", "seek 5000", "frame forward"}));
  player_->MoveTo(1'750);
  Keys(QKeySequence(Qt::Key_F9));
  player_->MoveTo(2'980);
  LeftClick("FilmSetEnd");
  EXPECT_EQ(Times(2), std::make_pair(1'750, 2'980));
  EXPECT_EQ(Box("Edit10"), "750");  // the time boxes show the new times
  Undo();
  EXPECT_EQ(Times(2), std::make_pair(1'750, 2'500));
  Undo();
  EXPECT_EQ(Times(2), std::make_pair(2'000, 2'500));
  EXPECT_EQ(document().Modified, kClean);

  // A double click, or Enter, on a frame: the film goes to its start.
  DoubleClickRow(List(), 0);
  EXPECT_EQ(player_->position, 1'000);
  ClickRow(2);
  QTest::keyClick(List(), Qt::Key_Return);
  EXPECT_EQ(player_->position, 3'000);

  // The keys are in the hints; without a film they do nothing.
  EXPECT_TRUE(Find("FilmPlay")->toolTip().contains("Ctrl+Space"));
  EXPECT_TRUE(Find("FilmSetStart")->toolTip().contains("F9"));
  EXPECT_TRUE(Find("FilmFrameBack")->toolTip().contains("Alt+Left"));
  LeftClick("FilmClose");
  EXPECT_FALSE(PanelShown());
  player_->calls.clear();
  Keys(QKeySequence(Qt::Key_F9));
  Keys(QKeySequence(Qt::CTRL | Qt::Key_Space));
  EXPECT_TRUE(player_->calls.empty());
  EXPECT_EQ(Times(3), std::make_pair(3'000, 3'500));
}

TEST_F(FilmWindowTest, FollowFilmFocusesTheFrameUnderThePositionWhilePlaying) {
  LoadFrames(3);
  OpenFilm("a.mkv");
  player_->MoveTo(2'200);
  EXPECT_EQ(window_->commands().FocusedFrame(), 0);  // "Follow film" is off
  Tick("FilmFollow");
  player_->Play();
  player_->MoveTo(2'200);
  EXPECT_EQ(window_->commands().FocusedFrame(), 2);
  EXPECT_EQ(Memo()->toPlainText(), "t2");
  player_->MoveTo(2'600);  // between frames: the focus stays
  EXPECT_EQ(window_->commands().FocusedFrame(), 2);
  player_->Pause();
  player_->MoveTo(3'100);  // paused, a seek does not move the focus
  EXPECT_EQ(window_->commands().FocusedFrame(), 2);
}

TEST_F(FilmWindowTest, ThePictureShowsTheDocumentAsItIsEdited) {
  LoadFrames(2);
  OpenFilm("a.mkv");
  EXPECT_EQ(player_->subtitles,
            "1\n00:00:01,000 --> 00:00:01,500\nt1\n\n2\n00:00:02,000 --> 00:00:02,500\nt2\n\n");
  EditFrame(1, "+");
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return player_->subtitles.find("t2+") != std::string::npos; }, 2000));
}

TEST_F(FilmWindowTest, ASubtitleBringsItsFilmAndTheFilmUsedIsRememberedWithIt) {
  const std::string sample = Sample();
  testing::WriteFile(dir_.File("sample.mkv"), "");
  testing::WriteFile(dir_.File("other.webm"), "");
  OpenThroughDialog(sample);
  EXPECT_EQ(player_->calls.back(), "open " + dir_.File("sample.mkv"));
  player_->FinishOpening(60'000);
  OpenFilm("other.webm");
  FileHistory& history = window_->session().history();
  EXPECT_EQ(history.Attribute(history.Find(sample), kFilmAttribute), dir_.File("other.webm"));

  // Another subtitle without a film of its own keeps the film open, and gets it.
  testing::WriteFile(dir_.File("b.srt"), testing::ReadFile(sample));
  OpenThroughDialog(dir_.File("b.srt"));
  EXPECT_EQ(player_->FilmPath(), dir_.File("other.webm"));
  EXPECT_EQ(history.Attribute(history.Find(dir_.File("b.srt")), kFilmAttribute),
            dir_.File("other.webm"));
  OpenThroughDialog(sample);
  player_->calls.clear();
  OpenThroughDialog(sample);  // the film it brings is open already
  EXPECT_TRUE(player_->calls.empty());

  // lumetra SUBTITLE FILM: the film named opens, whatever the subtitle brings.
  StartWithFake(QString::fromStdString(sample), QString::fromStdString(dir_.File("b.mkv")));
  EXPECT_EQ(prompts_.messages.back(), kFileNotFound + dir_.File("b.mkv"));
  testing::WriteFile(dir_.File("b.mkv"), "");
  StartWithFake(QString::fromStdString(sample), QString::fromStdString(dir_.File("b.mkv")));
  EXPECT_EQ(player_->calls.back(), "open " + dir_.File("b.mkv"));
  // lumetra FILM: the film alone.
  StartWithFake(QString::fromStdString(dir_.File("b.mkv")));
  EXPECT_EQ(player_->calls, std::vector<std::string>{"open " + dir_.File("b.mkv")});
  EXPECT_EQ(Rows(), 0);
}

TEST_F(FilmWindowTest, LiveTimingRunsOnTheFilmsClockAndTheFilmFollowsTheTabs) {
  LoadFrames(3);
  OpenFilm("a.mkv");
  ClickRow(0);
  ChooseTab("Timing");
  TimingTab* timing = window_->timingTab();
  EXPECT_EQ(window_->filmPanel()->parentWidget(), timing);
  EXPECT_TRUE(PanelShown());
  EXPECT_FALSE(Find("GroupBox8")->isVisible());  // the steps for an outside player
  EXPECT_FALSE(Find("FilmSetStart")->isVisible());

  Find<QLineEdit>("Edit17")->setText("1");
  player_->calls.clear();
  Press("Button23");  // BEGIN, countdown 0: to the starting value, and play
  EXPECT_EQ(player_->calls, (std::vector<std::string>{"pause", "seek 60000", "play"}));
  player_->MoveTo(61'500);
  QTest::mousePress(timing->clickArea(), Qt::LeftButton);
  player_->MoveTo(62'000);
  QTest::mouseRelease(timing->clickArea(), Qt::LeftButton);
  EXPECT_EQ(Times(1), std::make_pair(61'500, 62'000));

  // Paused, the recording pauses; sought back, the next frame takes the new position.
  player_->Pause();
  EXPECT_EQ(Text("Label39"), kRecorderPaused);
  QTest::mousePress(timing->clickArea(), Qt::LeftButton);
  QTest::mouseRelease(timing->clickArea(), Qt::LeftButton);
  EXPECT_EQ(Times(2), std::make_pair(2'000, 2'500));
  player_->Play();
  EXPECT_EQ(Text("Label39"), kRecorderRecording);
  player_->MoveTo(30'000);
  QTest::mousePress(timing->clickArea(), Qt::LeftButton);
  player_->MoveTo(31'250);
  QTest::mouseRelease(timing->clickArea(), Qt::LeftButton);
  EXPECT_EQ(Times(2), std::make_pair(30'000, 31'250));
  Press("Button24");  // STOP pauses the film
  EXPECT_EQ(player_->State(), PlayerState::kPaused);

  // Back on the "Text" tab the film is above the list again; mini mode hides it.
  ChooseTab("Text");
  EXPECT_EQ(window_->filmPanel()->parentWidget(), window_->filmSplitter());
  EXPECT_TRUE(PanelShown());
  EXPECT_TRUE(Find("FilmSetStart")->isVisible());
  LeftClick("SpeedButton4");
  EXPECT_FALSE(PanelShown());
  ChooseTab("Text");
  EXPECT_TRUE(PanelShown());
}

// libmpv itself, on a film ffmpeg makes beside the sample subtitle.
class RealFilmWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    window_ = std::make_unique<MainWindow>(
        prompts_, std::nullopt, std::string(), nullptr,
        std::make_unique<MpvPlayer>(MpvPlayer::Options{{"ao", "null"}}));
    window_->CreateDialogs(prompts_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormActivate();
  }
};

TEST_F(RealFilmWindowTest, DoubleClickingAFrameSeeksTheFilmToItsStart) {
  const std::string sample = Sample();
  if (!testing::MakeTestFilm(dir_.File("sample.mkv"), 8, 160, 120)) {
    GTEST_SKIP() << "ffmpeg is not installed: no film to play";
  }
  OpenThroughDialog(sample);
  FilmPlayer* film = window_->filmPlayer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return film->HasFilm(); }, 10'000));
  const auto& mpv = dynamic_cast<const MpvPlayer&>(film->player());
  DoubleClickRow(List(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !mpv.Seeking(); }, 10'000));
  EXPECT_EQ(mpv.PositionMs(), document().FrameStart[2]);
  EXPECT_EQ(mpv.PositionMs(), 5'000);
  // The picture is drawn in the panel.
  QWidget* picture = Find("FilmPicture");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const QImage image = picture->grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2) != QColor(Qt::black);
      },
      5'000));
}

}  // namespace
}  // namespace lumetra
