// libmpv on a film made by ffmpeg: opening, exact seeks, the rendered picture with and
// without the document's subtitle, and files it cannot play.
#include "media/mpv_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <vector>

#include "media/test_film.h"
#include "test_support.h"

namespace lumetra {
namespace {

// What the observers heard.
struct Heard : PlayerObserver {
  int opened = 0;
  int closed = 0;
  std::vector<std::string> failures;
  void FilmOpened() override { ++opened; }
  void FilmClosed() override { ++closed; }
  void FilmFailed(const std::string& reason) override { failures.push_back(reason); }
};

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr std::size_t kStride = kWidth * 4;  // a multiple of 64, as libmpv likes it

class MpvPlayerTest : public ::testing::Test {
 protected:
  // One film for all the tests.
  static void SetUpTestSuite() {
    film_dir_ = new testing::TempDir;
    film_ = testing::MakeTestFilm(film_dir_->File("film.mkv"));
  }
  static void TearDownTestSuite() {
    delete film_dir_;
    film_dir_ = nullptr;
  }

  void SetUp() override {
    // The subtitle file goes to the runtime directory: this test's own.
    setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    player_.AddObserver(&heard_);
    renderer_ = player_.CreateSoftwareRenderer();
    ASSERT_NE(renderer_, nullptr) << player_.start_error();
    renderer_->SetUpdateFunction([this] { frame_waits_ = true; });
  }
  void TearDown() override { player_.RemoveObserver(&heard_); }

  // Waits for the player's events (and the renderer) until `done`, for at most 10 s.
  bool Await(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) player_.WaitUntil(done, 20);
    return done();
  }
  bool OpenFilm() {
    if (!film_) return false;
    player_.Open(*film_);
    EXPECT_TRUE(Await([&] { return heard_.opened == 1; }));
    return true;
  }
  std::vector<std::uint32_t> Picture() {
    EXPECT_TRUE(Await([&] { return frame_waits_.load(); }));
    frame_waits_ = false;
    renderer_->NewFrameWaits();
    std::vector<std::uint32_t> pixels(kStride / 4 * kHeight);
    EXPECT_TRUE(renderer_->Render(kWidth, kHeight, kStride, pixels.data()));
    for (std::uint32_t& p : pixels) p &= 0x00FFFFFF;  // the unused byte is garbage
    return pixels;
  }

  static inline testing::TempDir* film_dir_ = nullptr;
  static inline std::optional<std::string> film_;
  testing::TempDir dir_;
  MpvPlayer player_{{{"ao", "null"}}};
  std::unique_ptr<MpvSoftwareRenderer> renderer_;
  std::atomic<bool> frame_waits_{false};
  Heard heard_;
};

TEST_F(MpvPlayerTest, SeeksExactlyAndDrawsThePictureWithTheDocumentsSubtitle) {
  if (!OpenFilm()) GTEST_SKIP() << "ffmpeg is not installed: no film to play";
  EXPECT_EQ(player_.State(), PlayerState::kPaused);
  EXPECT_EQ(player_.DurationMs(), 3'000);
  EXPECT_EQ(player_.FrameMs(), 40);
  EXPECT_EQ(player_.PositionMs(), 0);

  player_.Seek(1'000);
  EXPECT_EQ(player_.PositionMs(), 1'000);  // at once, before the seek arrives
  frame_waits_ = false;
  ASSERT_TRUE(Await([&] { return frame_waits_.load(); }));
  ASSERT_TRUE(Await([&] { return !player_.Seeking(); }));
  EXPECT_EQ(player_.PositionMs(), 1'000);
  const std::vector<std::uint32_t> plain = Picture();
  EXPECT_GT(std::set<std::uint32_t>(plain.begin(), plain.end()).size(), 20u);  // not blank

  // Between two pictures: the picture on the screen then (the one of 1.000 s) shows, and
  // the film stands where it was sent.
  player_.Seek(1'039);
  ASSERT_TRUE(Await([&] { return !player_.Seeking(); }));
  EXPECT_EQ(player_.PositionMs(), 1'039);
  EXPECT_EQ(Picture(), plain);
  player_.Seek(1'040);
  ASSERT_TRUE(Await([&] { return !player_.Seeking(); }));
  EXPECT_NE(Picture(), plain);
  player_.Seek(1'000);
  ASSERT_TRUE(Await([&] { return !player_.Seeking(); }));
  EXPECT_EQ(Picture(), plain);

  player_.ShowSubtitles("1\n00:00:00,500 --> 00:00:02,000\nHELLO WORLD\n\n");
  const std::vector<std::uint32_t> titled = Picture();
  int differing = 0;
  for (std::size_t i = 0; i < plain.size(); ++i) differing += plain[i] != titled[i];
  EXPECT_GT(differing, 100);
  // The subtitle file is gone once libmpv has read it; the subtitle stays.
  EXPECT_EQ(testing::EntriesIn(dir_.path()), std::vector<std::string>{});
  player_.Seek(2'500);
  ASSERT_TRUE(Await([&] { return !player_.Seeking(); }));
  player_.Seek(1'000);
  ASSERT_TRUE(Await([&] { return !player_.Seeking(); }));
  EXPECT_EQ(Picture(), titled);

  // Past the end is the end; paused films stay where they are.
  player_.Seek(60'000);
  EXPECT_EQ(player_.PositionMs(), 3'000);
  player_.Close();
  EXPECT_EQ(heard_.closed, 1);
  EXPECT_EQ(player_.State(), PlayerState::kNoFilm);
  EXPECT_EQ(player_.PositionMs(), 0);
}

TEST_F(MpvPlayerTest, PlaysAtTheRateAndPausesWhereItIs) {
  if (!OpenFilm()) GTEST_SKIP() << "ffmpeg is not installed: no film to play";
  player_.SetRate(2.0);
  player_.Play();
  EXPECT_EQ(player_.State(), PlayerState::kPlaying);
  ASSERT_TRUE(Await([&] { return player_.PositionMs() >= 600; }));
  player_.Pause();
  const std::int64_t paused_at = player_.PositionMs();
  player_.WaitUntil([] { return false; }, 200);
  EXPECT_EQ(player_.State(), PlayerState::kPaused);
  // Where the film really stopped is within a picture or two of where it was paused.
  EXPECT_NEAR(static_cast<double>(player_.PositionMs()), static_cast<double>(paused_at), 100);
  EXPECT_EQ(player_.Rate(), 2.0);
}

TEST_F(MpvPlayerTest, AFileItCannotPlayFailsWithTheReasonAndAnotherOpensAfterIt) {
  testing::WriteFile(dir_.File("sub.mkv"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nhi\r\n");
  testing::WriteFile(dir_.File("noise.mp4"), std::string(5000, '\x17'));
  for (const std::string& path :
       {dir_.File("sub.mkv"), dir_.File("noise.mp4"), dir_.File("missing.avi")}) {
    heard_.failures.clear();
    player_.Open(path);
    ASSERT_TRUE(Await([&] { return !heard_.failures.empty(); })) << path;
    EXPECT_FALSE(heard_.failures[0].empty());
    EXPECT_EQ(player_.State(), PlayerState::kNoFilm) << path;
    EXPECT_EQ(player_.FilmPath(), "");
  }
  EXPECT_EQ(heard_.opened, 0);
  if (!OpenFilm()) GTEST_SKIP() << "ffmpeg is not installed: no film to play";
  EXPECT_EQ(player_.State(), PlayerState::kPaused);
}

}  // namespace
}  // namespace lumetra
