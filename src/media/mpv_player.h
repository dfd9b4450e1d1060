// The Player over libmpv. libmpv decodes every format FFmpeg reads, seeks exactly and
// draws the subtitle; the picture reaches the screen through a renderer: OpenGL into the
// ui's GL surface, or software into memory where OpenGL is missing (and in tests).
//
// Threads: libmpv runs its own. It says that events wait through the wakeup function,
// from any thread; the owner then calls ProcessEvents on the thread that uses the player,
// and the observers hear everything there. A renderer's update function is likewise
// called from any thread, and its Render belongs to the thread that draws.
//
// libmpv starts with the first film or renderer. It needs the C locale's number format
// (LC_NUMERIC "C"); the player sets it before it starts libmpv.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "livetiming/clock.h"
#include "media/player.h"
#include "media/position_estimate.h"

namespace lumetra {

// The libmpv core that the player and its renderers share; it goes with the last of them.
struct MpvCore;

// Draws the film's current picture, with the subtitle, somewhere. Only one renderer at a
// time: a film opens once there is one (see MpvPlayer::Open).
class MpvRenderer {
 public:
  virtual ~MpvRenderer();
  MpvRenderer(const MpvRenderer&) = delete;
  MpvRenderer& operator=(const MpvRenderer&) = delete;

  // Called from any thread when a new picture waits to be drawn (set it before drawing;
  // it must not call back into the renderer). Empty: no calls.
  void SetUpdateFunction(std::function<void()> update);
  // Whether a new picture is to be drawn (reading this acknowledges the update).
  bool NewFrameWaits();

 protected:
  MpvRenderer(std::shared_ptr<MpvCore> core, void* context);
  void* context() const { return context_; }

 private:
  static void OnUpdate(void* self);
  std::shared_ptr<MpvCore> core_;
  void* context_;  // mpv_render_context
  std::function<void()> update_;
};

// Into memory: rows of `stride` bytes, four bytes a pixel in the order red, green, blue,
// unused (Qt's RGBX8888).
class MpvSoftwareRenderer : public MpvRenderer {
 public:
  // False when libmpv refused to draw.
  bool Render(int width, int height, std::size_t stride, void* pixels);

 private:
  friend class MpvPlayer;
  using MpvRenderer::MpvRenderer;
};

// Into an OpenGL framebuffer of the context that is current on the calling thread.
class MpvGlRenderer : public MpvRenderer {
 public:
  using ProcAddress = void* (*)(void* context, const char* name);
  bool Render(int framebuffer, int width, int height, bool flip_y = true);

 private:
  friend class MpvPlayer;
  using MpvRenderer::MpvRenderer;
};

class MpvPlayer : public Player {
 public:
  // libmpv options beyond the player's own ("ao", "null" plays no sound: for tests).
  using Options = std::vector<std::pair<std::string, std::string>>;
  explicit MpvPlayer(Options options = {});
  ~MpvPlayer() override;
  MpvPlayer(const MpvPlayer&) = delete;
  MpvPlayer& operator=(const MpvPlayer&) = delete;

  // Set once, before the first film or renderer.
  void SetWakeup(std::function<void()> wakeup) { wakeup_ = std::move(wakeup); }
  // Takes the events that wait and tells the observers.
  void ProcessEvents();
  // Takes events on this thread until `done` holds or `timeout_ms` passed; returns done().
  // For programs without an event loop of their own (tests, benchmarks).
  bool WaitUntil(const std::function<bool()>& done, int timeout_ms);

  // A seek is on its way (PositionMs already tells its target).
  bool Seeking() const { return seek_pending_; }

  // Why libmpv could not start; empty while it runs or has not started.
  const std::string& start_error() const { return start_error_; }

  // The renderer of the picture; null when libmpv cannot start or refuses the kind. A
  // film asked for before there was a renderer opens now.
  std::unique_ptr<MpvSoftwareRenderer> CreateSoftwareRenderer();
  std::unique_ptr<MpvGlRenderer> CreateGlRenderer(MpvGlRenderer::ProcAddress proc_address,
                                                  void* proc_context);

  void Open(const std::string& path) override;
  void Close() override;
  const std::string& FilmPath() const override { return path_; }
  PlayerState State() const override;
  std::int64_t PositionMs() const override;
  std::int64_t DurationMs() const override { return duration_ms_; }
  double FrameMs() const override;
  void Play() override;
  void Pause() override;
  void Seek(std::int64_t position_ms) override;
  void StepFrame(bool forward) override;
  double Rate() const override { return rate_; }
  void SetRate(double rate) override;
  int Volume() const override { return volume_; }
  void SetVolume(int volume) override;
  bool Muted() const override { return muted_; }
  void SetMuted(bool muted) override;
  void ShowSubtitles(const std::string& subrip) override;

 private:
  bool StartCore();
  void RendererCreated();
  void StartLoading();
  void HandleEvent(const void* event);
  void PropertyChanged(std::uint64_t id, const void* property);
  void FileLoaded();
  void PausedChanged(bool paused);
  void AddSubtitleTrack();
  void Command(std::initializer_list<const char*> args);
  void SetFlag(const char* name, bool value);
  void SetDouble(const char* name, double value);
  std::int64_t Now() const { return clock_.NowMs(); }

  Options options_;
  std::function<void()> wakeup_;
  std::shared_ptr<MpvCore> core_;
  std::string start_error_;
  SteadyClock clock_;

  std::string path_;
  bool waiting_for_renderer_ = false;
  bool opening_ = false;
  bool loaded_ = false;
  bool paused_ = true;
  bool eof_reached_ = false;
  std::int64_t duration_ms_ = 0;
  double container_fps_ = 0;
  double estimated_fps_ = 0;
  double rate_ = 1.0;
  int volume_ = 100;
  bool muted_ = false;
  PositionEstimate position_;
  bool seek_pending_ = false;
  std::int64_t seek_target_ = 0;
  int seek_misses_ = 0;
  // The last seek arrived, and the film has neither played nor stepped since: it stands at
  // the seek's target.
  bool holding_seek_ = false;

  std::string subtitles_;
  std::string subtitle_file_;
  std::int64_t subtitle_track_ = 0;  // 0: none of ours
};

}  // namespace lumetra
