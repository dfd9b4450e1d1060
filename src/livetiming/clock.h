// Where the live timing recorder reads the time, in milliseconds: the machine's clock,
// which only moves forward (a change of the date or of the time of day, daylight saving
// or a time sync, does not move it), or a film's position, which stands still while the
// film is paused and goes back when the film is sought back.
#pragma once

#include <cstdint>

namespace lumetra {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since a fixed moment of this run; never goes back (a film's clock: the
  // film's position).
  virtual std::int64_t NowMs() const = 0;
  // True for a film's clock: a recorded time is then the film's position itself, not the
  // starting value plus the time since recording began.
  virtual bool IsFilmPosition() const { return false; }
  // False while the clock stands still (a paused film).
  virtual bool Running() const { return true; }
};

// The machine's monotonic clock.
class SteadyClock : public Clock {
 public:
  std::int64_t NowMs() const override;
};

}  // namespace lumetra
