// The peaks of generated sound: levels, timing, the pyramid, early delivery and cancel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "media/audio_peaks.h"
#include "media/film_peaks.h"
#include "media/peak_decoder.h"
#include "media/sound_files.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::Level;
using testing::TempDir;
using testing::Tone;
using testing::WriteWav;

struct Collector : PeakReceiver {
  void Started(std::int64_t ms) override { duration_ms = ms; }
  void Received(const Peak* peaks, std::size_t count) override {
    ++deliveries;
    buckets.insert(buckets.end(), peaks, peaks + count);
  }
  bool Cancelled() override { return cancel_after >= 0 && deliveries > cancel_after; }
  std::int64_t duration_ms = -1;
  int deliveries = 0;
  int cancel_after = -1;
  std::vector<Peak> buckets;
};

TEST(PeakDecoder, HalfScaleToneGivesHalfScalePeaksInEveryBucket) {
  TempDir dir;
  WriteWav(dir.File("tone.wav"), 48000, 2, Tone(48000, 2, 0, 1.0, 1000, 0.5));
  Collector got;
  EXPECT_EQ(DecodePeaks(dir.File("tone.wav"), got).outcome, PeakOutcome::kComplete);
  EXPECT_EQ(got.duration_ms, 1000);
  ASSERT_EQ(got.buckets.size(), 100u);
  for (const Peak& p : got.buckets) {
    EXPECT_NEAR(Level(p.max), 0.5, 0.005);
    EXPECT_NEAR(Level(p.min), -0.5, 0.005);
  }
}

TEST(PeakDecoder, SilenceGivesZeroAndAToneAtTwoSecondsStartsInItsBucket) {
  TempDir dir;
  // 22050 Hz: a bucket is 220.5 samples, so bucket starts fall between samples.
  WriteWav(dir.File("late.wav"), 22050, 1, Tone(22050, 1, 2.0, 0.5, 1000, 0.5));
  Collector got;
  EXPECT_EQ(DecodePeaks(dir.File("late.wav"), got).outcome, PeakOutcome::kComplete);
  ASSERT_EQ(got.buckets.size(), 250u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(got.buckets[i], Peak{}) << "bucket " << i;
  EXPECT_GT(got.buckets[200].max, 0);
  EXPECT_NEAR(Level(got.buckets[201].max), 0.5, 0.005);
}

TEST(PeakDecoder, CompressedStereoFilmKeepsItsLevelAndLength) {
  if (!testing::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  TempDir dir;
  const std::string film = dir.File("film.mka");
  const std::string tone = "0.5*sin(2*PI*1000*t)";
  ASSERT_EQ(std::system(("ffmpeg -v error -f lavfi -i 'aevalsrc=" + tone + "|" + tone +
                         ":s=48000:d=3' -c:a aac -y '" + film + "'")
                            .c_str()),
            0);
  Collector got;
  EXPECT_EQ(DecodePeaks(film, got).outcome, PeakOutcome::kComplete);
  EXPECT_NEAR(static_cast<double>(got.buckets.size()), 300, 3);
  // Both channels at half scale mix to half scale; the lossy coding moves it a little.
  EXPECT_NEAR(Level(got.buckets[150].max), 0.5, 0.02);
  EXPECT_NEAR(Level(got.buckets[150].min), -0.5, 0.02);
}

TEST(PeakDecoder, SoundThatStartsLateInAFilmWithPictureIsSilentBeforeIt) {
  if (!testing::HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
  TempDir dir;
  const std::string film = dir.File("late.mkv");
  ASSERT_EQ(std::system(("ffmpeg -v error -f lavfi -i testsrc=size=64x48:rate=10:duration=3 "
                         "-itsoffset 1.5 -f lavfi -i 'aevalsrc=0.5*sin(2*PI*1000*t):s=48000:d=1.5' "
                         "-c:v mpeg4 -c:a aac -y '" + film + "'")
                            .c_str()),
            0);
  Collector got;
  EXPECT_EQ(DecodePeaks(film, got).outcome, PeakOutcome::kComplete);
  EXPECT_EQ(got.duration_ms, 3000);
  ASSERT_GE(got.buckets.size(), 299u);
  std::size_t first = 0;
  while (first < got.buckets.size() && Level(got.buckets[first].max) < 0.1) ++first;
  // The coder's lead-in may move the start by a bucket or two.
  EXPECT_NEAR(static_cast<double>(first), 150, 3);
}

TEST(PeakDecoder, TellsWhatIsWrongWithoutCrashing) {
  TempDir dir;
  testing::WriteFile(dir.File("subtitle.srt"), "1\n00:00:01,000 --> 00:00:02,000\nHello\n\n");
  testing::WriteFile(dir.File("noise.wav"), "RIFF\x10\0\0\0WAVEfmt garbage");
  Collector got;
  EXPECT_EQ(DecodePeaks(dir.File("subtitle.srt"), got).outcome, PeakOutcome::kNoAudio);
  EXPECT_EQ(DecodePeaks(dir.File("missing.mkv"), got).outcome, PeakOutcome::kCannotOpen);
  const PeakOutcome noise = DecodePeaks(dir.File("noise.wav"), got).outcome;
  EXPECT_TRUE(noise == PeakOutcome::kCannotOpen || noise == PeakOutcome::kUndecodable);
  EXPECT_EQ(got.buckets.size(), 0u);
  FilmPeaksResult none;
  none.outcome = PeakOutcome::kNoAudio;
  EXPECT_EQ(FilmPeaksMessage(none), "This film has no sound.");
}

TEST(PeakDecoder, HandsOnTheFirstSecondsEarlyAndStopsWhenCancelled) {
  TempDir dir;
  WriteWav(dir.File("long.wav"), 8000, 1, Tone(8000, 1, 0, 20.0, 440, 0.25));
  Collector all;
  EXPECT_EQ(DecodePeaks(dir.File("long.wav"), all).outcome, PeakOutcome::kComplete);
  EXPECT_EQ(all.buckets.size(), 2000u);
  EXPECT_GE(all.deliveries, 7);  // 2.56 s at a time
  Collector stopping;
  stopping.cancel_after = 1;
  EXPECT_EQ(DecodePeaks(dir.File("long.wav"), stopping).outcome, PeakOutcome::kCancelled);
  EXPECT_EQ(stopping.deliveries, 2);
}

TEST(PeakPyramid, EveryLevelHoldsTheCombinedBucketsOfTheBase) {
  std::vector<Peak> base;
  // Not a multiple of any level's bucket, so every level ends in a partial bucket.
  for (int i = 0; i < 70001; ++i) {
    const auto v = static_cast<std::int16_t>((i * 7919) % 30000 - 15000);
    base.push_back({static_cast<std::int16_t>(v - 100), v});
  }
  PeakPyramid pyramid;
  pyramid.Append(base.data(), 12345);  // in two pieces, as a decoding delivers them
  pyramid.Append(base.data() + 12345, base.size() - 12345);
  for (int k = 1; k < kPeakLevels; ++k) {
    const std::size_t width = std::size_t{1} << (2 * k);
    ASSERT_EQ(pyramid.level(k).size(), (base.size() + width - 1) / width) << "level " << k;
    for (std::size_t j = 0; j < pyramid.level(k).size(); ++j) {
      Peak expected = base[j * width];
      for (std::size_t i = j * width; i < std::min(base.size(), (j + 1) * width); ++i)
        expected = Combine(expected, base[i]);
      ASSERT_EQ(pyramid.level(k)[j], expected) << "level " << k << " bucket " << j;
    }
  }
  EXPECT_EQ(pyramid.Range(0, 10), base[0]);
  EXPECT_EQ(pyramid.Range(40, 80), pyramid.level(1)[1]);
  EXPECT_EQ(pyramid.Range(35, 85),
            Combine(Combine(pyramid.level(1)[0], pyramid.level(1)[1]), pyramid.level(1)[2]));
  EXPECT_EQ(pyramid.Range(700010, 800000), Peak{});  // past the end
}

}  // namespace
}  // namespace lumetra
