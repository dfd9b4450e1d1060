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
