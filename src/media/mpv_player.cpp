#include "media/mpv_player.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lumetra {

struct MpvCore {
  explicit MpvCore(mpv_handle* h) : handle(h) {}
  ~MpvCore() { mpv_terminate_destroy(handle); }
  MpvCore(const MpvCore&) = delete;
  MpvCore& operator=(const MpvCore&) = delete;

  mpv_handle* handle;
  // The one render context, while there is one.
  mpv_render_context* renderer = nullptr;
};

namespace {

// The properties the player follows, by the numbers their changes come with.
enum Observed : std::uint64_t {
  kTimePos = 1,
  kDuration,
  kPause,
  kSpeed,
  kVolume,
  kMute,
  kContainerFps,
  kEstimatedFps,
  kEofReached,
};

std::int64_t Milliseconds(double seconds) { return std::llround(seconds * 1000.0); }

std::string Seconds(double ms) {
  char text[48];
  std::snprintf(text, sizeof text, "%.4f", ms / 1000.0);
  return text;
}

// libmpv's exact seek shows the first picture that starts at most this long before the
// time asked for.
constexpr double kSeekToleranceMs = 5;

// Where the subtitle file the player hands libmpv lives: the user's runtime directory, else
// the temporary one.
std::filesystem::path SubtitleFileFor() {
  static std::atomic<int> counter{0};
  std::filesystem::path dir;
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime != nullptr && runtime[0] == '/' && std::filesystem::is_directory(runtime, ec)) {
    dir = runtime;
  } else {
    dir = std::filesystem::temp_directory_path(ec);
  }
  return dir /
         ("lumetra-film-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".srt");
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Renderers

MpvRenderer::MpvRenderer(std::shared_ptr<MpvCore> core, void* context)
    : core_(std::move(core)), context_(context) {}

MpvRenderer::~MpvRenderer() {
  auto* context = static_cast<mpv_render_context*>(context_);
  mpv_render_context_set_update_callback(context, nullptr, nullptr);
  mpv_render_context_free(context);
  if (core_->renderer == context) core_->renderer = nullptr;
}

void MpvRenderer::SetUpdateFunction(std::function<void()> update) {
  auto* context = static_cast<mpv_render_context*>(context_);
  mpv_render_context_set_update_callback(context, nullptr, nullptr);
  update_ = std::move(update);
  if (update_) mpv_render_context_set_update_callback(context, &MpvRenderer::OnUpdate, this);
}

void MpvRenderer::OnUpdate(void* self) { static_cast<MpvRenderer*>(self)->update_(); }

bool MpvRenderer::NewFrameWaits() {
  return (mpv_render_context_update(static_cast<mpv_render_context*>(context_)) &
          MPV_RENDER_UPDATE_FRAME) != 0;
}

bool MpvSoftwareRenderer::Render(int width, int height, std::size_t stride, void* pixels) {
  int size[2] = {width, height};
  char format[] = "rgb0";
  mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                               {MPV_RENDER_PARAM_SW_FORMAT, format},
                               {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                               {MPV_RENDER_PARAM_SW_POINTER, pixels},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  return mpv_render_context_render(static_cast<mpv_render_context*>(context()), params) >= 0;
}

bool MpvGlRenderer::Render(int framebuffer, int width, int height, bool flip_y) {
  mpv_opengl_fbo fbo{framebuffer, width, height, 0};
  int flip = flip_y ? 1 : 0;
  mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                               {MPV_RENDER_PARAM_FLIP_Y, &flip},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  return mpv_render_context_render(static_cast<mpv_render_context*>(context()), params) >= 0;
}

// ---------------------------------------------------------------------------------------
// The player

MpvPlayer::MpvPlayer(Options options) : options_(std::move(options)) {}

MpvPlayer::~MpvPlayer() {
  if (core_) {
    mpv_set_wakeup_callback(core_->handle, nullptr, nullptr);
    // A renderer that outlives the player keeps the core; nothing plays meanwhile.
    const char* stop[] = {"stop", nullptr};
    mpv_command(core_->handle, stop);
  }
}

bool MpvPlayer::StartCore() {
  if (core_) return true;
  if (!start_error_.empty()) return false;
  // libmpv reads and writes numbers with a decimal point whatever the user's locale.
  if (const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
      numeric == nullptr || std::strcmp(numeric, "C") != 0) {
    std::setlocale(LC_NUMERIC, "C");
  }
  mpv_handle* handle = mpv_create();
  if (handle == nullptr) {
    start_error_ = "libmpv could not start";
    return false;
  }
  auto core = std::make_shared<MpvCore>(handle);
  const Options own = {
      {"config", "no"},
      {"vo", "libmpv"},
      {"hr-seek", "yes"},
      {"keep-open", "yes"},
      {"pause", "yes"},
      {"idle", "yes"},
      {"terminal", "no"},
      {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"},
      {"osc", "no"},
      {"osd-level", "0"},
      {"sub-auto", "no"},
      {"audio-file-auto", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"audio-display", "no"},
      {"sub-codepage", "utf-8"},
  };
  for (const Options* list : {&own, static_cast<const Options*>(&options_)}) {
    for (const auto& [name, value] : *list) {
      mpv_set_option_string(handle, name.c_str(), value.c_str());
    }
  }
  if (const int error = mpv_initialize(handle); error < 0) {
    start_error_ = std::string("libmpv could not start: ") + mpv_error_string(error);
    return false;
  }
  mpv_observe_property(handle, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kDuration, "duration", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kPause, "pause", MPV_FORMAT_FLAG);
  mpv_observe_property(handle, kSpeed, "speed", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kVolume, "volume", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kMute, "mute", MPV_FORMAT_FLAG);
  mpv_observe_property(handle, kContainerFps, "container-fps", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kEstimatedFps, "estimated-vf-fps", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
  mpv_set_wakeup_callback(
      handle,
      [](void* self) {
        const auto* player = static_cast<MpvPlayer*>(self);
        if (player->wakeup_) player->wakeup_();
      },
      this);
  core_ = std::move(core);
  SetDouble("speed", rate_);
  SetDouble("volume", volume_);
  SetFlag("mute", muted_);
  return true;
}

std::unique_ptr<MpvSoftwareRenderer> MpvPlayer::CreateSoftwareRenderer() {
  if (!StartCore() || core_->renderer != nullptr) return nullptr;
  char api[] = MPV_RENDER_API_TYPE_SW;
  mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  mpv_render_context* context = nullptr;
  if (mpv_render_context_create(&context, core_->handle, params) < 0) return nullptr;
  core_->renderer = context;
  std::unique_ptr<MpvSoftwareRenderer> renderer(new MpvSoftwareRenderer(core_, context));
  RendererCreated();
  return renderer;
}

std::unique_ptr<MpvGlRenderer> MpvPlayer::CreateGlRenderer(MpvGlRenderer::ProcAddress proc_address,
                                                           void* proc_context) {
  if (!StartCore() || core_->renderer != nullptr) return nullptr;
  char api[] = MPV_RENDER_API_TYPE_OPENGL;
  mpv_opengl_init_params gl{proc_address, proc_context};
  mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                               {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  mpv_render_context* context = nullptr;
  if (mpv_render_context_create(&context, core_->handle, params) < 0) return nullptr;
  core_->renderer = context;
  std::unique_ptr<MpvGlRenderer> renderer(new MpvGlRenderer(core_, context));
  RendererCreated();
  return renderer;
}

void MpvPlayer::RendererCreated() {
  if (waiting_for_renderer_) {
    StartLoading();
  } else if (loaded_) {
    // The picture went with the last renderer; choosing the video again brings it back.
    mpv_set_property_string(core_->handle, "vid", "no");
    mpv_set_property_string(core_->handle, "vid", "auto");
  }
}

void MpvPlayer::Open(const std::string& path) {
  const bool was_loaded = loaded_;
  loaded_ = false;
  opening_ = true;
  path_ = path;
  duration_ms_ = 0;
  container_fps_ = estimated_fps_ = 0;
  seek_pending_ = holding_seek_ = false;
  subtitle_track_ = 0;
  paused_ = true;
  position_ = PositionEstimate();
  position_.SetRate(rate_);
  if (was_loaded) NotifyClosed();
  if (!StartCore()) {
    opening_ = false;
    path_.clear();
    NotifyFailed(start_error_);
    NotifyState();
    return;
  }
  if (core_->renderer == nullptr) {
    waiting_for_renderer_ = true;
  } else {
    StartLoading();
  }
  NotifyState();
}

void MpvPlayer::StartLoading() {
  waiting_for_renderer_ = false;
  SetFlag("pause", true);
  Command({"loadfile", path_.c_str(), "replace"});
}

void MpvPlayer::Close() {
  if (!loaded_ && !opening_) return;
  const bool was_loaded = loaded_;
  loaded_ = opening_ = waiting_for_renderer_ = false;
  path_.clear();
  duration_ms_ = 0;
  seek_pending_ = holding_seek_ = false;
  subtitle_track_ = 0;
  position_ = PositionEstimate();
  if (core_) Command({"stop"});
  if (was_loaded) NotifyClosed();
  NotifyState();
}

PlayerState MpvPlayer::State() const {
  if (loaded_) return paused_ ? PlayerState::kPaused : PlayerState::kPlaying;
  return opening_ ? PlayerState::kOpening : PlayerState::kNoFilm;
}

std::int64_t MpvPlayer::PositionMs() const {
  if (!loaded_) return 0;
  if (seek_pending_) return seek_target_;
  return std::clamp<std::int64_t>(position_.At(Now()), 0,
                                  duration_ms_ > 0 ? duration_ms_ : INT64_MAX);
}

double MpvPlayer::FrameMs() const {
  const double fps = container_fps_ > 0 ? container_fps_ : estimated_fps_;
  return fps > 0 ? 1000.0 / fps : 0;
}

void MpvPlayer::Play() {
  if (!loaded_) return;
  // At the end, play starts the film again.
  if (eof_reached_ || (duration_ms_ > 0 && PositionMs() >= duration_ms_)) Seek(0);
  SetFlag("pause", false);
  PausedChanged(false);
}

void MpvPlayer::Pause() {
  if (!loaded_) return;
  SetFlag("pause", true);
  PausedChanged(true);
}

void MpvPlayer::PausedChanged(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  if (!paused_) holding_seek_ = false;
  // Paused, the film stands where the estimate has it now; played, the estimate goes on
  // from there.
  if (paused_ && !seek_pending_) position_.Report(position_.At(Now()), Now());
  position_.SetPlaying(!paused_, Now());
  if (loaded_) NotifyState();
}

void MpvPlayer::Seek(std::int64_t position_ms) {
  if (!loaded_) return;
  const std::int64_t target =
      std::clamp<std::int64_t>(position_ms, 0, duration_ms_ > 0 ? duration_ms_ : INT64_MAX);
  seek_pending_ = true;
  seek_target_ = target;
  seek_misses_ = 0;
  eof_reached_ = false;
  // The picture to show is the one on the screen at the target: the last that starts at or
  // before it. libmpv shows the first picture that starts no more than 5 ms before the time
  // it is asked for, so it is asked for a picture's length (less those 5 ms and a little)
  // before the target.
  const double frame = FrameMs();
  const double ask =
      frame > 0 ? std::max(0.0, static_cast<double>(target) - frame + kSeekToleranceMs + 0.5)
                : static_cast<double>(target);
  const std::string seconds = Seconds(ask);
  Command({"seek", seconds.c_str(), "absolute+exact"});
  NotifyPosition(target);
}

void MpvPlayer::StepFrame(bool forward) {
  if (!loaded_) return;
  holding_seek_ = false;
  Command({forward ? "frame-step" : "frame-back-step"});
}

void MpvPlayer::SetRate(double rate) {
  rate = std::clamp(rate, kMinRate, kMaxRate);
  if (rate == rate_) return;
  rate_ = rate;
  position_.SetRate(rate_);
  SetDouble("speed", rate_);
  NotifyState();
}

void MpvPlayer::SetVolume(int volume) {
  volume = std::clamp(volume, 0, kMaxVolume);
  if (volume == volume_) return;
  volume_ = volume;
  SetDouble("volume", volume_);
  NotifyState();
}

void MpvPlayer::SetMuted(bool muted) {
  if (muted == muted_) return;
  muted_ = muted;
  SetFlag("mute", muted_);
  NotifyState();
}

void MpvPlayer::ShowSubtitles(const std::string& subrip) {
  subtitles_ = subrip;
  if (loaded_) AddSubtitleTrack();
}

void MpvPlayer::AddSubtitleTrack() {
  mpv_handle* handle = core_->handle;
  if (subtitle_track_ != 0) {
    const std::string id = std::to_string(subtitle_track_);
    const char* remove[] = {"sub-remove", id.c_str(), nullptr};
    mpv_command(handle, remove);
    subtitle_track_ = 0;
  }
  if (subtitles_.empty()) return;
  if (subtitle_file_.empty()) subtitle_file_ = SubtitleFileFor().string();
  {
    std::ofstream out(subtitle_file_, std::ios::binary | std::ios::trunc);
    out.write(subtitles_.data(), static_cast<std::streamsize>(subtitles_.size()));
    if (!out) return;
  }
  const char* add[] = {"sub-add", subtitle_file_.c_str(), "select", nullptr};
  const int added = mpv_command(handle, add);
  // libmpv has read the whole file: it goes at once, so that nothing is left behind.
  std::error_code ec;
  std::filesystem::remove(subtitle_file_, ec);
  if (added < 0) return;
  std::int64_t id = 0;
  if (mpv_get_property(handle, "sid", MPV_FORMAT_INT64, &id) >= 0) subtitle_track_ = id;
}

// ---------------------------------------------------------------------------------------
// Events

void MpvPlayer::ProcessEvents() {
  if (!core_) return;
  while (true) {
    const mpv_event* event = mpv_wait_event(core_->handle, 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    HandleEvent(event);
  }
}

bool MpvPlayer::WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  const std::int64_t deadline = Now() + timeout_ms;
  while (!done()) {
    const std::int64_t left = deadline - Now();
    if (left <= 0 || !core_) return done();
    const mpv_event* event = mpv_wait_event(core_->handle, static_cast<double>(left) / 1000.0);
    if (event->event_id != MPV_EVENT_NONE) HandleEvent(event);
  }
  return true;
}

void MpvPlayer::HandleEvent(const void* raw) {
  const auto* event = static_cast<const mpv_event*>(raw);
  switch (event->event_id) {
    case MPV_EVENT_FILE_LOADED:
      if (opening_) FileLoaded();
      break;
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(event->data);
      if (end->reason != MPV_END_FILE_REASON_ERROR || (!opening_ && !loaded_)) break;
      // A film that cannot be played, or one that broke while it played.
      const bool was_loaded = loaded_;
      loaded_ = opening_ = false;
      path_.clear();
      duration_ms_ = 0;
      seek_pending_ = false;
      if (was_loaded) NotifyClosed();
      NotifyFailed(mpv_error_string(end->error));
      NotifyState();
      break;
    }
    case MPV_EVENT_PLAYBACK_RESTART: {
      if (!seek_pending_ || !loaded_) break;
      double seconds = 0;
      if (mpv_get_property(core_->handle, "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0) break;
      const std::int64_t arrived = Milliseconds(seconds);
      // A later seek may still be on its way: the one that arrived is the last when it
      // lies within a picture of the target (or at the second restart after it).
      const double tolerance = std::max(FrameMs(), 1.0);
      if (std::abs(static_cast<double>(arrived - seek_target_)) <= tolerance ||
          ++seek_misses_ >= 2) {
        seek_pending_ = false;
        // The picture shown covers the target: the film stands at the target (so that "Set
        // start" after a seek to a frame's start gives it the start it has).
        const std::int64_t at = arrived <= seek_target_ ? seek_target_ : arrived;
        holding_seek_ = paused_;
        // Playing on, the next picture comes a picture after the one shown, which may be
        // less than a picture after the target.
        position_.Report(at, Now(), std::max(static_cast<double>(arrived - at) + FrameMs(), 0.0));
        NotifyPosition(at);
      }
      break;
    }
    case MPV_EVENT_PROPERTY_CHANGE:
      PropertyChanged(event->reply_userdata, event->data);
      break;
    default:
      break;
  }
}

void MpvPlayer::PropertyChanged(std::uint64_t id, const void* raw) {
  const auto* property = static_cast<const mpv_event_property*>(raw);
  const bool has_value = property->format != MPV_FORMAT_NONE && property->data != nullptr;
  const double number = has_value && property->format == MPV_FORMAT_DOUBLE
                            ? *static_cast<double*>(property->data)
                            : 0;
  const bool flag =
      has_value && property->format == MPV_FORMAT_FLAG && *static_cast<int*>(property->data) != 0;
  switch (id) {
    case kTimePos: {
      if (!has_value || !loaded_) break;
      // After a seek the film stays at its target until it plays or steps: libmpv's own
      // readings (the picture's start, or the time it was asked for) may come later.
      if (seek_pending_ || holding_seek_) break;
      const std::int64_t picture = Milliseconds(number);
      position_.Report(picture, Now());
      if (!seek_pending_) NotifyPosition(position_.reported());
      break;
    }
    case kDuration:
      duration_ms_ = has_value ? Milliseconds(number) : 0;
      break;
    case kPause:
      if (has_value) PausedChanged(flag);
      break;
    case kSpeed:
      if (has_value && number != rate_) {
        rate_ = number;
        position_.SetRate(rate_);
        NotifyState();
      }
      break;
    case kVolume:
      if (has_value && static_cast<int>(std::lround(number)) != volume_) {
        volume_ = static_cast<int>(std::lround(number));
        NotifyState();
      }
      break;
    case kMute:
      if (has_value && flag != muted_) {
        muted_ = flag;
        NotifyState();
      }
      break;
    case kContainerFps:
      container_fps_ = number;
      position_.SetFrameMs(FrameMs());
      break;
    case kEstimatedFps:
      estimated_fps_ = number;
      position_.SetFrameMs(FrameMs());
      break;
    case kEofReached:
      eof_reached_ = flag;
      break;
    default:
      break;
  }
}

void MpvPlayer::FileLoaded() {
  opening_ = false;
  loaded_ = true;
  double seconds = 0;
  if (mpv_get_property(core_->handle, "duration", MPV_FORMAT_DOUBLE, &seconds) >= 0)
    duration_ms_ = Milliseconds(seconds);
  double fps = 0;
  if (mpv_get_property(core_->handle, "container-fps", MPV_FORMAT_DOUBLE, &fps) >= 0)
    container_fps_ = fps;
  position_.SetFrameMs(FrameMs());
  position_.Report(0, Now());
  if (!subtitles_.empty()) AddSubtitleTrack();
  NotifyOpened();
  NotifyState();
}

// ---------------------------------------------------------------------------------------
// Commands

void MpvPlayer::Command(std::initializer_list<const char*> args) {
  if (!core_) return;
  std::vector<const char*> list(args);
  list.push_back(nullptr);
  mpv_command_async(core_->handle, 0, list.data());
}

void MpvPlayer::SetFlag(const char* name, bool value) {
  if (!core_) return;
  int flag = value ? 1 : 0;
  mpv_set_property_async(core_->handle, 0, name, MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::SetDouble(const char* name, double value) {
  if (!core_) return;
  mpv_set_property_async(core_->handle, 0, name, MPV_FORMAT_DOUBLE, &value);
}

}  // namespace lumetra
