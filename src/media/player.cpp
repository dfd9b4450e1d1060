#include "media/player.h"

#include <algorithm>

namespace lumetra {

void Player::AddObserver(PlayerObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void Player::RemoveObserver(PlayerObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

namespace {

// An observer may add or remove observers while it is told: the ones there at the start
// are told, except those removed meanwhile.
template <typename Tell>
void TellEach(const std::vector<PlayerObserver*>& observers, const Tell& tell) {
  const std::vector<PlayerObserver*> at_start = observers;
  for (PlayerObserver* o : at_start) {
    if (std::find(observers.begin(), observers.end(), o) != observers.end()) tell(o);
  }
}

}  // namespace

void Player::NotifyOpened() {
  TellEach(observers_, [](PlayerObserver* o) { o->FilmOpened(); });
}

void Player::NotifyFailed(const std::string& reason) {
  TellEach(observers_, [&](PlayerObserver* o) { o->FilmFailed(reason); });
}

void Player::NotifyClosed() {
  TellEach(observers_, [](PlayerObserver* o) { o->FilmClosed(); });
}

void Player::NotifyPosition(std::int64_t position_ms) {
  TellEach(observers_, [&](PlayerObserver* o) { o->PositionChanged(position_ms); });
}

void Player::NotifyState() {
  TellEach(observers_, [](PlayerObserver* o) { o->StateChanged(); });
}

}  // namespace lumetra
