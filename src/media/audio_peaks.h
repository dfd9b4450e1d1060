// The peaks of a film's sound: the smallest and the largest sample of every 10 ms of the
// sound mixed down to one channel, and coarser levels of four buckets each, for views that
// show minutes or hours at once. A 2-hour film's base level is 720 000 buckets of 4 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra {

// The length of one bucket of the base level, in milliseconds.
inline constexpr int kPeakBucketMs = 10;
// Each level's bucket holds this many buckets of the level below.
inline constexpr int kPeakLevelFactor = 4;
// Levels of 10 ms, 40 ms, 160 ms, ... up to 163.84 s a bucket.
inline constexpr int kPeakLevels = 8;
// Room is made ahead for films up to this long; a longer stated length (often a broken
// header) grows the levels as the sound arrives instead.
inline constexpr std::int64_t kPeakReserveLimitMs = 12 * 3600 * 1000;
// A sample of full scale (1.0) is stored as this value.
inline constexpr int kPeakFullScale = 32767;

// The lowest and the highest sample of a bucket, in units of 1/kPeakFullScale.
struct Peak {
  std::int16_t min = 0;
  std::int16_t max = 0;
  bool operator==(const Peak&) const = default;
};

// The peak that holds both.
inline Peak Combine(Peak a, Peak b) {
  return {a.min < b.min ? a.min : b.min, a.max > b.max ? a.max : b.max};
}

// A sample in [-1, 1] as a peak value; louder samples are clipped to full scale.
std::int16_t PeakValue(float sample);

// The base level and the coarser levels over it. Buckets are appended in time order as the
// sound is decoded; every coarser level is kept up to date, its last bucket covering what
// has arrived of it so far.
class PeakPyramid {
 public:
  // Milliseconds of one bucket of `level`.
  static constexpr std::int64_t BucketMs(int level) {
    std::int64_t ms = kPeakBucketMs;
    for (int k = 0; k < level; ++k) ms *= kPeakLevelFactor;
    return ms;
  }

  void Append(const Peak* peaks, std::size_t count);
  void Append(const std::vector<Peak>& peaks) { Append(peaks.data(), peaks.size()); }
  // Room for `buckets` base buckets, so that appending does not grow the levels twice over.
  void Reserve(std::size_t buckets);
  void Clear();

  // Base buckets so far.
  std::size_t size() const { return levels_[0].size(); }
  bool empty() const { return levels_[0].empty(); }
  // The time the buckets so far cover.
  std::int64_t covered_ms() const { return static_cast<std::int64_t>(size()) * kPeakBucketMs; }
  const std::vector<Peak>& level(int k) const { return levels_[k]; }
  const std::vector<Peak>& base() const { return levels_[0]; }

  // The peak of the time from `from_ms` up to `to_ms` (exclusive), read from the coarsest
  // level whose buckets are not longer than that time; the buckets that touch the range
  // count whole. Silence ({0, 0}) where nothing was decoded.
  Peak Range(std::int64_t from_ms, std::int64_t to_ms) const;

 private:
  std::array<std::vector<Peak>, kPeakLevels> levels_;
};

}  // namespace lumetra
