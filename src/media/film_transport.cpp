#include "media/film_transport.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "editing/film_timing.h"
#include "foundation/time_value.h"

namespace lumetra {

const std::vector<double>& FilmTransport::Rates() {
  static const std::vector<double> rates = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};
  return rates;
}

std::string FilmTransport::RateText(double rate) {
  char text[32];
  std::snprintf(text, sizeof text, "%g\u00D7", rate);
  return text;
}

bool FilmTransport::HasFilm() const {
  const PlayerState state = player_->State();
  return state == PlayerState::kPaused || state == PlayerState::kPlaying;
}

void FilmTransport::PlayPause() {
  if (!HasFilm()) return;
  if (Playing()) {
    player_->Pause();
  } else {
    player_->Play();
  }
}

void FilmTransport::SeekBy(std::int64_t delta_ms) { SeekTo(player_->PositionMs() + delta_ms); }

void FilmTransport::SeekTo(std::int64_t position_ms) {
  if (!HasFilm()) return;
  const std::int64_t end = player_->DurationMs();
  player_->Seek(std::clamp<std::int64_t>(position_ms, 0,
                                         end > 0 ? end : std::numeric_limits<std::int64_t>::max()));
}

void FilmTransport::StepFrame(bool forward) {
  if (HasFilm()) player_->StepFrame(forward);
}

void FilmTransport::SetRate(double rate) {
  player_->SetRate(std::clamp(rate, Player::kMinRate, Player::kMaxRate));
}

void FilmTransport::SetVolume(int volume) {
  player_->SetVolume(std::clamp(volume, 0, Player::kMaxVolume));
}

void FilmTransport::ToggleMute() { player_->SetMuted(!player_->Muted()); }

std::string FilmTransport::PositionText() const {
  return FrameListTime(FilmTime(player_->PositionMs()));
}

std::string FilmTransport::LengthText() const {
  return FrameListTime(FilmTime(player_->DurationMs()));
}

}  // namespace lumetra
