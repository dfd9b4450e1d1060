// The peaks cache: a second opening comes from the cache; a cache that does not fit the
// film as it is now is never trusted.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "media/film_peaks.h"
#include "media/peaks_cache.h"
#include "media/sound_files.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::TempDir;

struct Collector : PeakReceiver {
  void Received(const Peak* peaks, std::size_t count) override {
    buckets.insert(buckets.end(), peaks, peaks + count);
  }
  std::vector<Peak> buckets;
};

class PeaksCacheTest : public ::testing::Test {
 protected:
  PeaksCacheTest() {
    testing::WriteWav(film_, 16000, 2, testing::Tone(16000, 2, 0.3, 1.2, 300, 0.7));
  }
  // Loads the film's peaks; true when they came from the cache.
  bool Load(std::vector<Peak>* buckets = nullptr) {
    Collector got;
    const FilmPeaksResult result = LoadFilmPeaks(film_, cache_, got);
    EXPECT_EQ(result.outcome, PeakOutcome::kComplete);
    EXPECT_EQ(result.duration_ms, 1500);
    if (buckets != nullptr) *buckets = got.buckets;
    return result.from_cache;
  }
  std::filesystem::path CacheFile() { return PeaksCacheFile(cache_, *IdentifyFilm(film_)); }

  TempDir dir_;
  std::string film_ = dir_.File("film.wav");
  std::filesystem::path cache_ = dir_.path() / "cache" / "lumetra" / "peaks";
};

TEST_F(PeaksCacheTest, SecondOpeningComesFromTheCacheWithTheSamePeaks) {
  std::vector<Peak> decoded, cached;
  EXPECT_FALSE(Load(&decoded));
  EXPECT_TRUE(std::filesystem::exists(CacheFile()));
  EXPECT_TRUE(Load(&cached));
  ASSERT_EQ(decoded.size(), 150u);
  EXPECT_EQ(cached, decoded);
}

TEST_F(PeaksCacheTest, TruncatedDamagedOrForeignCacheIsRebuilt) {
  ASSERT_FALSE(Load());
  const std::string good = testing::ReadFile(CacheFile().string());
  std::string flipped = good;
  flipped[flipped.size() / 2] ^= 0x10;
  const std::vector<std::string> bad = {
      good.substr(0, good.size() - 1),  // one byte short
      good + "x",                       // one byte long
      flipped,                          // a bucket changed
      good.substr(0, 20),               // cut inside the header
      "",                               // empty
      "PK\x03\x04 some other program's file",
  };
  for (const std::string& bytes : bad) {
    testing::WriteFile(CacheFile().string(), bytes);
    EXPECT_FALSE(Load()) << "cache of " << bytes.size() << " bytes was trusted";
    EXPECT_EQ(testing::ReadFile(CacheFile().string()), good);  // rebuilt
  }
}

TEST_F(PeaksCacheTest, ChangedFilmIsDecodedAgain) {
  ASSERT_FALSE(Load());
  const FilmIdentity before = *IdentifyFilm(film_);
  // The same bytes with another modification time, then another size.
  std::filesystem::last_write_time(
      film_, std::filesystem::last_write_time(film_) + std::chrono::seconds(5));
  EXPECT_FALSE(Load());
  EXPECT_TRUE(Load());
  testing::WriteWav(film_, 16000, 2, testing::Tone(16000, 2, 0.3, 1.2, 300, 0.2));
  std::vector<Peak> quieter;
  EXPECT_FALSE(Load(&quieter));
  EXPECT_LT(quieter[100].max, 0.25 * kPeakFullScale);
  // A cache of another film under this film's name is not used either.
  FilmIdentity other = before;
  other.path += ".other";
  EXPECT_EQ(ReadPeaksCache(CacheFile(), other), std::nullopt);
}

TEST(PeaksCacheDirectory, FollowsXdgCacheHomeElseHome) {
  auto env = [](std::optional<std::string> cache, std::optional<std::string> home) {
    return [=](const char* name) { return std::string(name) == "HOME" ? home : cache; };
  };
  EXPECT_EQ(PeaksCacheDirectory(env("/c", "/h")), "/c/lumetra/peaks");
  EXPECT_EQ(PeaksCacheDirectory(env("relative", "/h")), "/h/.cache/lumetra/peaks");
  EXPECT_EQ(PeaksCacheDirectory(env(std::nullopt, "/h")), "/h/.cache/lumetra/peaks");
  EXPECT_EQ(PeaksCacheDirectory(env(std::nullopt, std::nullopt)), "");
}

}  // namespace
}  // namespace lumetra
