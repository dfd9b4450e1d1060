// A player the test drives by hand: commands change its values at once, and the test
// moves the position and says when a film opened or failed.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "media/player.h"

namespace lumetra {

class FakePlayer : public Player {
 public:
  // What was asked of the player, in order ("open /a.mkv", "seek 1000", "play", ...).
  std::vector<std::string> calls;
  std::string subtitles;
  std::int64_t position = 0;
  std::int64_t duration = 0;
  double frame_ms = 40;

  // The film asked for opens with this length, or fails with `reason`.
  void FinishOpening(std::int64_t length_ms) {
    state_ = PlayerState::kPaused;
    duration = length_ms;
    position = 0;
    NotifyOpened();
    NotifyState();
  }
  void FailOpening(const std::string& reason) {
    state_ = PlayerState::kNoFilm;
    path_.clear();
    NotifyFailed(reason);
    NotifyState();
  }
  // The film plays on to `position_ms`.
  void MoveTo(std::int64_t position_ms) {
    position = position_ms;
    NotifyPosition(position);
  }

  void Open(const std::string& path) override {
    calls.push_back("open " + path);
    if (state_ == PlayerState::kPaused || state_ == PlayerState::kPlaying) NotifyClosed();
    path_ = path;
    state_ = PlayerState::kOpening;
    NotifyState();
  }
  void Close() override {
    calls.push_back("close");
    const bool was_open = state_ == PlayerState::kPaused || state_ == PlayerState::kPlaying;
    state_ = PlayerState::kNoFilm;
    path_.clear();
    if (was_open) NotifyClosed();
    NotifyState();
  }
  const std::string& FilmPath() const override { return path_; }
  PlayerState State() const override { return state_; }
  std::int64_t PositionMs() const override { return position; }
  std::int64_t DurationMs() const override { return duration; }
  double FrameMs() const override { return frame_ms; }
  void Play() override { SetState(PlayerState::kPlaying, "play"); }
  void Pause() override { SetState(PlayerState::kPaused, "pause"); }
  void Seek(std::int64_t position_ms) override {
    calls.push_back("seek " + std::to_string(position_ms));
    MoveTo(position_ms);
  }
  void StepFrame(bool forward) override {
    calls.push_back(forward ? "frame forward" : "frame back");
    state_ = PlayerState::kPaused;
    MoveTo(position + static_cast<std::int64_t>(forward ? frame_ms : -frame_ms));
  }
  double Rate() const override { return rate_; }
  void SetRate(double rate) override {
    rate_ = std::clamp(rate, kMinRate, kMaxRate);
    NotifyState();
  }
  int Volume() const override { return volume_; }
  void SetVolume(int volume) override {
    volume_ = std::clamp(volume, 0, kMaxVolume);
    NotifyState();
  }
  bool Muted() const override { return muted_; }
  void SetMuted(bool muted) override {
    muted_ = muted;
    NotifyState();
  }
  void ShowSubtitles(const std::string& subrip) override { subtitles = subrip; }

 private:
  void SetState(PlayerState state, const char* call) {
    if (state_ != PlayerState::kPaused && state_ != PlayerState::kPlaying) return;
    calls.push_back(call);
    state_ = state;
    NotifyState();
  }

  PlayerState state_ = PlayerState::kNoFilm;
  std::string path_;
  double rate_ = 1.0;
  int volume_ = 100;
  bool muted_ = false;
};

}  // namespace lumetra
