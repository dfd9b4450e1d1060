// Measures the film player on a 1080p film that ffmpeg makes in a temporary folder (H.264,
// a key picture every 10 seconds as films have them, 25 pictures a second, PCM sound):
// the time from opening the film to its first picture drawn, and the time of a seek (from
// the command to the picture at the new place drawn), median of 20 seeks spread over the
// film. Pictures are drawn by the software renderer at the size of the film panel
// (960x540), as in the editor without OpenGL; with OpenGL the drawing is the GPU's.
//
//   film_bench [FILM]     FILM: measure an existing film instead of making one
//   LUMETRA_FILM_BENCH_SECONDS (default 30): the length of the film made
//   LUMETRA_FILM_BENCH_KEY_SECONDS (default 10): seconds between its key pictures (an exact
//   seek decodes from the key picture before the target)
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "media/mpv_player.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : (n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

constexpr int kWidth = 960;
constexpr int kHeight = 540;

// A player with a software renderer, and what it heard.
class Bench : public lumetra::PlayerObserver {
 public:
  Bench() : player_(lumetra::MpvPlayer::Options{{"ao", "null"}}) {
    player_.AddObserver(this);
    renderer_ = player_.CreateSoftwareRenderer();
    if (renderer_) renderer_->SetUpdateFunction([this] { frame_waits_ = true; });
    pixels_.resize(static_cast<std::size_t>(kWidth) * kHeight);
  }
  ~Bench() override { player_.RemoveObserver(this); }
  bool ok() const { return renderer_ != nullptr; }

  void FilmOpened() override { opened_ = true; }
  void FilmFailed(const std::string& reason) override { failure_ = reason; }

  // Opens the film; the time until its first picture is drawn, or -1.
  double Open(const std::string& path) {
    opened_ = false;
    frame_waits_ = false;
    const Clock::time_point start = Clock::now();
    player_.Open(path);
    if (!Wait([&] { return opened_ || !failure_.empty(); }) || !failure_.empty()) return -1;
    if (!DrawNext()) return -1;
    return MsSince(start);
  }
  // Seeks; the time until the picture there is drawn, or -1.
  double Seek(std::int64_t ms) {
    frame_waits_ = false;
    const Clock::time_point start = Clock::now();
    player_.Seek(ms);
    if (!Wait([&] { return !player_.Seeking(); }) || !DrawNext()) return -1;
    return MsSince(start);
  }
  // The time to draw the picture shown once more.
  double Redraw() {
    const Clock::time_point start = Clock::now();
    Draw();
    return MsSince(start);
  }
  std::int64_t Duration() const { return player_.DurationMs(); }
  std::int64_t Position() const { return player_.PositionMs(); }
  void Close() { player_.Close(); }

 private:
  bool Wait(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) player_.WaitUntil(done, 5);
    return done();
  }
  bool DrawNext() {
    if (!Wait([&] { return frame_waits_.load(); })) return false;
    frame_waits_ = false;
    renderer_->NewFrameWaits();
    return Draw();
  }
  bool Draw() { return renderer_->Render(kWidth, kHeight, kWidth * 4, pixels_.data()); }

  lumetra::MpvPlayer player_;
  std::unique_ptr<lumetra::MpvSoftwareRenderer> renderer_;
  std::atomic<bool> frame_waits_{false};
  bool opened_ = false;
  std::string failure_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "C");
  std::string film;
  std::filesystem::path dir;
  if (argc > 1) {
    film = argv[1];
  } else {
    dir =
        std::filesystem::temp_directory_path() / ("lumetra-film-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    film = (dir / "film.mkv").string();
    const int seconds = EnvInt("LUMETRA_FILM_BENCH_SECONDS", 30);
    const int key_seconds = EnvInt("LUMETRA_FILM_BENCH_KEY_SECONDS", 10);
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=" +
        std::to_string(seconds) +
        " -f lavfi -i sine=frequency=440:duration=" + std::to_string(seconds) +
        " -c:v libx264 -preset ultrafast -g " + std::to_string(key_seconds * 25) +
        " -pix_fmt yuv420p -c:a pcm_s16le -shortest '" + film + "'";
    std::printf("making a %d s 1080p film with ffmpeg, a key picture every %d s...\n", seconds,
                key_seconds);
    std::fflush(stdout);
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "film_bench: ffmpeg could not make the film (is it installed?)\n");
      return 1;
    }
    std::printf("  made in %.1f s\n", MsSince(start) / 1000);
  }
  // The runtime directory gets nothing here: no subtitle is shown.
  std::vector<double> opens;
  std::vector<double> seeks;
  double redraw = 0;
  std::int64_t duration = 0;
  for (int round = 0; round < 3; ++round) {
    Bench bench;  // a new player each time: libmpv starts with the film, as in the editor
    if (!bench.ok()) {
      std::fprintf(stderr, "film_bench: libmpv could not start\n");
      return 1;
    }
    const double open = bench.Open(film);
    if (open < 0) {
      std::fprintf(stderr, "film_bench: the film did not open\n");
      return 1;
    }
    opens.push_back(open);
    if (round > 0) continue;
    duration = bench.Duration();
    // 20 seeks spread over the film, back and forth, none on a key picture.
    for (int i = 0; i < 20; ++i) {
      const std::int64_t target = (duration * ((i * 7) % 20) / 20 + 3'720) % duration;
      const double ms = bench.Seek(target);
      if (ms < 0) {
        std::fprintf(stderr, "film_bench: a seek did not arrive\n");
        return 1;
      }
      if (bench.Position() != target) {
        std::fprintf(stderr, "film_bench: a seek to %lld ms arrived at %lld ms\n",
                     static_cast<long long>(target), static_cast<long long>(bench.Position()));
      }
      seeks.push_back(ms);
    }
    redraw = bench.Redraw();
  }
  std::printf("film: %s, %lld ms\n", film.c_str(), static_cast<long long>(duration));
  std::printf("open to first picture drawn: first %.0f ms, then %.0f ms and %.0f ms\n", opens[0],
              opens[1], opens[2]);
  std::printf(
      "seek to picture drawn (exact, 20 seeks): median %.0f ms, fastest %.0f ms, "
      "slowest %.0f ms\n",
      Median(seeks), *std::min_element(seeks.begin(), seeks.end()),
      *std::max_element(seeks.begin(), seeks.end()));
  std::printf("drawing one %dx%d picture in software: %.1f ms\n", kWidth, kHeight, redraw);
  if (!dir.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  return 0;
}
