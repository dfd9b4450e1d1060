// A key held down on the click area counts once: its first press and its last release.
// Platforms report a held key's auto-repeat in two ways: as presses (and releases) marked
// as repeats, or as a release followed at once by a press with the same timestamp. The
// filter drops both kinds; a release is held back until it is clear that no press of the
// same moment follows it.
#pragma once

#include <cstdint>
#include <optional>

namespace lumetra {

// How long a release is held back before it counts: a repeat's press comes at once.
inline constexpr int kKeyRepeatGraceMs = 25;

class HeldKeyFilter {
 public:
  // What a press of the key stands for: the end of an earlier hold (the release held back,
  // with its clock reading), then a press of its own.
  struct PressResult {
    std::optional<std::int64_t> released_at;
    bool pressed = false;
  };
  // A press of the key with the platform's repeat mark and timestamp. A press at the
  // timestamp of the release held back is a repeat and cancels that release; so is a press
  // marked as one, or any press while the key is down.
  PressResult Press(bool auto_repeat, std::uint64_t timestamp);
  // A release; true when it is held back (Flush delivers it). Releases marked as repeats
  // are dropped.
  bool Release(bool auto_repeat, std::uint64_t timestamp, std::int64_t clock_ms);
  // The release held back, and the clock reading taken when it happened: the key is up.
  std::optional<std::int64_t> Flush();
  bool releasing() const { return pending_.has_value(); }
  bool down() const { return down_; }

 private:
  struct Pending {
    std::uint64_t timestamp;
    std::int64_t clock_ms;
  };
  std::optional<Pending> pending_;
  bool down_ = false;
};

}  // namespace lumetra
