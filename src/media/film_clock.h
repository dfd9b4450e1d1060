// A film's position as the live timing recorder's clock: the recorded times are the film's
// positions, and the clock stands still while the film is paused.
#pragma once

#include "livetiming/clock.h"
#include "media/player.h"

namespace lumetra {

class FilmClock : public Clock {
 public:
  // The player is not owned and must outlive the clock.
  explicit FilmClock(const Player& player) : player_(&player) {}

  std::int64_t NowMs() const override { return player_->PositionMs(); }
  bool IsFilmPosition() const override { return true; }
  bool Running() const override { return player_->State() == PlayerState::kPlaying; }

 private:
  const Player* player_;
};

}  // namespace lumetra
