#include "media/audio_peaks.h"

#include <algorithm>
#include <cmath>

namespace lumetra {

std::int16_t PeakValue(float sample) {
  if (!(sample == sample)) return 0;  // NaN
  const float scaled = std::clamp(sample, -1.0f, 1.0f) * static_cast<float>(kPeakFullScale);
  return static_cast<std::int16_t>(std::lround(scaled));
}

void PeakPyramid::Append(const Peak* peaks, std::size_t count) {
  std::vector<Peak>& base = levels_[0];
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t index = base.size();
    const Peak peak = peaks[i];
    base.push_back(peak);
    for (int k = 1; k < kPeakLevels; ++k) {
      std::vector<Peak>& level = levels_[k];
      const std::size_t j = index >> (2 * k);
      if (j == level.size()) {
        level.push_back(peak);
      } else {
        level[j] = Combine(level[j], peak);
      }
    }
  }
}

void PeakPyramid::Reserve(std::size_t buckets) {
  for (int k = 0; k < kPeakLevels; ++k) {
    levels_[k].reserve((buckets >> (2 * k)) + 1);
  }
}

void PeakPyramid::Clear() {
  for (std::vector<Peak>& level : levels_) level.clear();
}

Peak PeakPyramid::Range(std::int64_t from_ms, std::int64_t to_ms) const {
  if (to_ms <= from_ms || from_ms >= covered_ms() || to_ms <= 0) return {};
  from_ms = std::max<std::int64_t>(from_ms, 0);
  int k = 0;
  while (k + 1 < kPeakLevels && BucketMs(k + 1) <= to_ms - from_ms) ++k;
  const std::vector<Peak>& level = levels_[k];
  const std::int64_t bucket = BucketMs(k);
  const std::size_t first = static_cast<std::size_t>(from_ms / bucket);
  const std::size_t last =
      std::min(static_cast<std::size_t>((to_ms - 1) / bucket), level.size() - 1);
  Peak peak = level[first];
  for (std::size_t j = first + 1; j <= last; ++j) peak = Combine(peak, level[j]);
  return peak;
}

}  // namespace lumetra
