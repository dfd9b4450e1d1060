// The film player as the editor sees it: a film that is opened (asynchronously), a
// position and a length in milliseconds, playing or paused, exact seeks, one frame back
// or forward, a playback rate, the volume, and the subtitle shown on the picture.
//
// MpvPlayer plays films with libmpv; tests drive a fake. Observers hear what happened on
// the thread that runs the player's events (the ui thread); none of the calls blocks for
// long. Nothing here knows about widgets: the ui shows the picture through the player's
// renderers (see mpv_player.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

enum class PlayerState {
  kNoFilm,   // nothing open (or the last film failed)
  kOpening,  // Open was called; FilmOpened or FilmFailed follows
  kPaused,
  kPlaying,
};

class PlayerObserver {
 public:
  virtual ~PlayerObserver() = default;
  // The film opened: its length is known, and it stands paused at its start.
  virtual void FilmOpened() {}
  // The film could not be opened; `reason` is the player's, in English.
  virtual void FilmFailed(const std::string& reason) { (void)reason; }
  // The film was closed (Close, or a new Open replaced it).
  virtual void FilmClosed() {}
  // The position moved: the film plays, or a seek or a frame step arrived.
  virtual void PositionChanged(std::int64_t position_ms) { (void)position_ms; }
  // Playing or paused, the rate, the volume or the mute changed.
  virtual void StateChanged() {}
};

class Player {
 public:
  // The playback rates a user may choose.
  static constexpr double kMinRate = 0.5;
  static constexpr double kMaxRate = 2.0;
  static constexpr int kMaxVolume = 100;

  virtual ~Player() = default;

  // Starts opening a film (a full path); the one open before is closed. The film opens
  // paused at its start; FilmOpened or FilmFailed follows.
  virtual void Open(const std::string& path) = 0;
  virtual void Close() = 0;
  // The film's path while one is open or opening; empty otherwise.
  virtual const std::string& FilmPath() const = 0;
  virtual PlayerState State() const = 0;

  // Where the film is, in milliseconds from its start; a seek that has not arrived yet
  // already counts. 0 without a film.
  virtual std::int64_t PositionMs() const = 0;
  // The film's length; 0 while unknown.
  virtual std::int64_t DurationMs() const = 0;
  // The length of one picture of the film (40 at 25 frames a second); 0 when unknown.
  virtual double FrameMs() const = 0;

  virtual void Play() = 0;
  virtual void Pause() = 0;
  // Seeks exactly: the picture shown is the one at `position_ms` (brought into the film).
  virtual void Seek(std::int64_t position_ms) = 0;
  // One picture forward or back; the film pauses.
  virtual void StepFrame(bool forward) = 0;

  virtual double Rate() const = 0;
  // Brought into kMinRate..kMaxRate.
  virtual void SetRate(double rate) = 0;
  // 0..kMaxVolume.
  virtual int Volume() const = 0;
  virtual void SetVolume(int volume) = 0;
  virtual bool Muted() const = 0;
  virtual void SetMuted(bool muted) = 0;

  // The subtitle drawn on the picture: SubRip text in UTF-8 (empty: none). It stays for
  // the films opened later, until it is replaced.
  virtual void ShowSubtitles(const std::string& subrip) = 0;

  // Observers are not owned; they must outlive the player or remove themselves.
  void AddObserver(PlayerObserver* observer);
  void RemoveObserver(PlayerObserver* observer);

 protected:
  // For implementations: tell every observer.
  void NotifyOpened();
  void NotifyFailed(const std::string& reason);
  void NotifyClosed();
  void NotifyPosition(std::int64_t position_ms);
  void NotifyState();

 private:
  std::vector<PlayerObserver*> observers_;
};

}  // namespace lumetra
