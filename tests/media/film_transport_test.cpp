// The film panel's model over a fake player, the position between reports, the document
// as the player shows it, and the film's clock.
#include "media/film_transport.h"

#include <gtest/gtest.h>

#include "document_support.h"
#include "media/fake_player.h"
#include "media/film_clock.h"
#include "media/film_subtitles.h"
#include "media/position_estimate.h"

namespace lumetra {
namespace {

TEST(FilmTransport, CommandsNeedAFilmAndSeeksStayInsideIt) {
  FakePlayer player;
  FilmTransport transport(player);
  transport.PlayPause();
  transport.SeekBy(1000);
  transport.StepFrame(true);
  EXPECT_TRUE(player.calls.empty());
  EXPECT_FALSE(transport.HasFilm());

  player.Open("/f/a.mkv");
  EXPECT_FALSE(transport.HasFilm());  // still opening
  player.FinishOpening(10'000);
  EXPECT_TRUE(transport.HasFilm());
  transport.SeekBy(-FilmTransport::kShortStepMs);
  transport.SeekTo(9'000);
  transport.SeekBy(FilmTransport::kLongStepMs);
  transport.SeekBy(-FilmTransport::kLongStepMs);
  transport.StepFrame(false);
  transport.PlayPause();
  EXPECT_TRUE(transport.Playing());
  transport.PlayPause();
  EXPECT_EQ(player.calls,
            (std::vector<std::string>{"open /f/a.mkv", "seek 0", "seek 9000", "seek 10000",
                                      "seek 5000", "frame back", "play", "pause"}));
  EXPECT_EQ(player.position, 4'960);
}

TEST(FilmTransport, RateAndVolumeStayInTheirRangesAndTimesReadAsInTheFrameList) {
  FakePlayer player;
  FilmTransport transport(player);
  EXPECT_EQ(FilmTransport::Rates().front(), Player::kMinRate);
  EXPECT_EQ(FilmTransport::Rates().back(), Player::kMaxRate);
  transport.SetRate(0.25);
  EXPECT_EQ(player.Rate(), 0.5);
  transport.SetRate(2.5);
  EXPECT_EQ(player.Rate(), 2.0);
  transport.SetRate(0.75);
  EXPECT_EQ(FilmTransport::RateText(player.Rate()), "0.75\u00D7");
  EXPECT_EQ(FilmTransport::RateText(1.0), "1\u00D7");
  transport.SetVolume(-3);
  EXPECT_EQ(player.Volume(), 0);
  transport.SetVolume(101);
  EXPECT_EQ(player.Volume(), 100);
  transport.ToggleMute();
  EXPECT_TRUE(player.Muted());

  player.duration = 3'723'456;
  player.position = 83'459;
  EXPECT_EQ(transport.PositionText(), "0:01:23.45");
  EXPECT_EQ(transport.LengthText(), "1:02:03.45");
}

TEST(FilmClock, IsTheFilmsPositionAndRunsOnlyWhilePlaying) {
  FakePlayer player;
  FilmClock clock(player);
  EXPECT_TRUE(clock.IsFilmPosition());
  player.Open("/a.mkv");
  player.FinishOpening(5'000);
  player.MoveTo(1'234);
  EXPECT_EQ(clock.NowMs(), 1'234);
  EXPECT_FALSE(clock.Running());
  player.Play();
  EXPECT_TRUE(clock.Running());
}

TEST(PositionEstimate, MovesOnAtTheRateButNeverPastTheNextPicture) {
  PositionEstimate estimate;
  estimate.SetFrameMs(40);
  estimate.Report(1'000, 50'000);
  EXPECT_EQ(estimate.At(50'030), 1'000);  // paused: where it was reported
  estimate.SetPlaying(true, 50'010);
  EXPECT_EQ(estimate.At(50'010), 1'000);
  EXPECT_EQ(estimate.At(50'049), 1'039);
  EXPECT_EQ(estimate.At(50'050), 1'040);
  EXPECT_EQ(estimate.At(50'090), 1'040);  // the next report is late: it waits
  estimate.SetRate(0.5);
  estimate.Report(1'040, 50'100);
  EXPECT_EQ(estimate.At(50'160), 1'070);
  EXPECT_EQ(estimate.At(50'000), 1'040);  // a clock before the report adds nothing
  estimate.SetFrameMs(0);                 // no picture rate: reports are taken as 100 ms apart
  estimate.SetRate(1);
  EXPECT_EQ(estimate.At(50'300), 1'140);
  estimate.SetPlaying(false, 50'300);
  EXPECT_EQ(estimate.At(60'000), 1'040);
  // After a seek to the middle of a picture, the next one is nearer.
  estimate.SetFrameMs(40);
  estimate.Report(1'030, 60'000, 10);
  estimate.SetPlaying(true, 60'000);
  EXPECT_EQ(estimate.At(60'030), 1'040);
}

TEST(FilmSubtitles, FramesShownForSomeTimeBecomeSubRipInUtf8) {
  Document doc;
  testing::Fill(doc, {{-500, 1'500, "Early|"},
                      {2'000, 2'000, "never shown"},
                      {3'000, 2'000, "negative"},
                      {-900, -100, "before the film"},
                      {3'723'004, 3'724'000, "\xE1rv\xEDzt\xFBr\x9C||x\ry"}});
  EXPECT_EQ(FilmSubtitleText(doc),
            "1\n00:00:00,000 --> 00:00:01,500\nEarly\n\u00A0\n\n"
            "2\n01:02:03,004 --> 01:02:04,000\n\u00E1rv\u00EDzt\u0171r\u015B\n\u00A0\nx y\n\n");
  testing::Fill(doc, 0);
  EXPECT_EQ(FilmSubtitleText(doc), "");
}

}  // namespace
}  // namespace lumetra
