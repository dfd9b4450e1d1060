#include "media/position_estimate.h"

#include <algorithm>
#include <cmath>

namespace lumetra {

namespace {

// How far apart position reports are taken to be when the picture rate is unknown.
constexpr double kUnknownFrameMs = 100;

}  // namespace

void PositionEstimate::Report(std::int64_t position_ms, std::int64_t clock_ms, double picture_ms) {
  position_ = position_ms;
  reported_at_ = clock_ms;
  next_picture_ = picture_ms;
}

void PositionEstimate::SetPlaying(bool playing, std::int64_t clock_ms) {
  if (playing && !playing_) reported_at_ = clock_ms;
  playing_ = playing;
}

std::int64_t PositionEstimate::At(std::int64_t clock_ms) const {
  if (!playing_) return position_;
  const double elapsed = static_cast<double>(std::max<std::int64_t>(clock_ms - reported_at_, 0));
  const double limit =
      next_picture_ >= 0 ? next_picture_ : (frame_ms_ > 0 ? frame_ms_ : kUnknownFrameMs);
  return position_ + std::llround(std::min(elapsed * rate_, limit));
}

}  // namespace lumetra
