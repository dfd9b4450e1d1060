// A clock the test moves by hand.
#pragma once

#include "livetiming/clock.h"

namespace lumetra {

class FakeClock : public Clock {
 public:
  std::int64_t NowMs() const override { return now; }
  std::int64_t now = 1'000'000;
};

}  // namespace lumetra

namespace lumetra {

// A film's clock the test moves by hand: the position runs at `rate` while playing.
class FakeFilmClock : public Clock {
 public:
  std::int64_t NowMs() const override { return position; }
  bool IsFilmPosition() const override { return true; }
  bool Running() const override { return playing; }
  // Real time passes.
  void Wait(std::int64_t ms) {
    if (playing) position += static_cast<std::int64_t>(static_cast<double>(ms) * rate);
  }

  std::int64_t position = 0;
  bool playing = false;
  double rate = 1.0;
};

}  // namespace lumetra
