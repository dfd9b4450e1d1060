// The film panel's commands and read-outs over a Player: play or pause, steps of 1 and 5
// seconds and of one picture, seeks kept inside the film, the rates offered, the volume,
// and the position and length in the frame list's time format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/player.h"

namespace lumetra {

class FilmTransport {
 public:
  static constexpr std::int64_t kShortStepMs = 1000;
  static constexpr std::int64_t kLongStepMs = 5000;

  // The player is not owned.
  explicit FilmTransport(Player& player) : player_(&player) {}

  // The rates offered to the user, slowest first: 0.5 to 2.
  static const std::vector<double>& Rates();
  // "1×", "0.75×": a rate as the rate chooser shows it.
  static std::string RateText(double rate);

  Player& player() const { return *player_; }
  // A film is open (paused or playing).
  bool HasFilm() const;
  bool Playing() const { return player_->State() == PlayerState::kPlaying; }

  void PlayPause();
  // Seeks by `delta_ms` from the position, or to a position; kept between the film's
  // start and its end. Nothing happens without a film.
  void SeekBy(std::int64_t delta_ms);
  void SeekTo(std::int64_t position_ms);
  void StepFrame(bool forward);
  // Brought into the player's range.
  void SetRate(double rate);
  void SetVolume(int volume);
  void ToggleMute();

  // "0:01:23.45": the position and the length, as the frame list shows times.
  std::string PositionText() const;
  std::string LengthText() const;

 private:
  Player* player_;
};

}  // namespace lumetra
