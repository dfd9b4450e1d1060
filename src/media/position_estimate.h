// Where a playing film is between its player's position reports, which come once a
// picture (every 40 ms at 25 frames a second): the last report moved on by the time since
// it came, at the playback rate, but never past the next picture's time.
#pragma once

#include <cstdint>

namespace lumetra {

class PositionEstimate {
 public:
  // The film was at `position_ms` when the steady clock read `clock_ms`. The next picture
  // starts `picture_ms` later (by default a picture's length: the film stood at a
  // picture's start).
  void Report(std::int64_t position_ms, std::int64_t clock_ms, double picture_ms = -1);
  // The film starts or stops moving; a start counts from `clock_ms`.
  void SetPlaying(bool playing, std::int64_t clock_ms);
  void SetRate(double rate) { rate_ = rate; }
  // The length of one picture; 0 when unknown (reports are then taken as 100 ms apart).
  void SetFrameMs(double frame_ms) { frame_ms_ = frame_ms; }

  std::int64_t At(std::int64_t clock_ms) const;
  std::int64_t reported() const { return position_; }

 private:
  std::int64_t position_ = 0;
  std::int64_t reported_at_ = 0;
  double next_picture_ = -1;  // from the reported position; -1: a picture's length
  bool playing_ = false;
  double rate_ = 1.0;
  double frame_ms_ = 0;
};

}  // namespace lumetra
