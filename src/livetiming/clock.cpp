#include "livetiming/clock.h"

#include <chrono>

namespace lumetra {

static_assert(std::chrono::steady_clock::is_steady);

std::int64_t SteadyClock::NowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace lumetra
