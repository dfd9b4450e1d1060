#include "livetiming/held_key.h"

namespace lumetra {

HeldKeyFilter::PressResult HeldKeyFilter::Press(bool auto_repeat, std::uint64_t timestamp) {
  PressResult result;
  if (pending_ && pending_->timestamp == timestamp) {
    pending_.reset();  // the release and this press are the repeat of a held key
    return result;
  }
  result.released_at = Flush();
  if (auto_repeat || down_) return result;
  down_ = true;
  result.pressed = true;
  return result;
}

bool HeldKeyFilter::Release(bool auto_repeat, std::uint64_t timestamp, std::int64_t clock_ms) {
  if (auto_repeat || !down_) return false;
  pending_ = Pending{timestamp, clock_ms};
  return true;
}

std::optional<std::int64_t> HeldKeyFilter::Flush() {
  if (!pending_) return std::nullopt;
  const std::int64_t clock_ms = pending_->clock_ms;
  pending_.reset();
  down_ = false;
  return clock_ms;
}

}  // namespace lumetra
