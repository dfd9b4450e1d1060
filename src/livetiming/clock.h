// Where the live timing recorder reads the time: a clock that only moves forward, in
// milliseconds. A change of the date or of the time of day (daylight saving, a time sync)
// does not move it.
#pragma once

#include <cstdint>

namespace lumetra {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since a fixed moment of this run; never goes back.
  virtual std::int64_t NowMs() const = 0;
};

// The machine's monotonic clock.
class SteadyClock : public Clock {
 public:
  std::int64_t NowMs() const override;
};

}  // namespace lumetra
