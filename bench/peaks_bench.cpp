// Measures the waveform's peaks of a long film: a 2-hour 48 kHz stereo AAC sound made
// with ffmpeg in a temporary folder (five minutes encoded, then repeated), its peaks from a cold start and from the cache, the
// memory they take, and `ffmpeg -i film.mka -f null -` (the decoding alone) in the same run
// as the base of the ratio. Paired runs; on a shared machine the numbers are noisy.
//
//   peaks_bench [FILM]     FILM: measure an existing film instead of making one
//   LUMETRA_PEAKS_BENCH_MINUTES (default 120), LUMETRA_PEAKS_BENCH_RUNS (default 2)
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_process.h"
#include "media/audio_peaks.h"
#include "media/film_peaks.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

// Resident memory now, in MB.
double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

double PeakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// What the waveform does with the buckets: a pyramid, and the time of the first ones.
struct Receiver : lumetra::PeakReceiver {
  void Received(const lumetra::Peak* peaks, std::size_t count) override {
    if (pyramid.empty()) first_ms = MsSince(start);
    pyramid.Append(peaks, count);
  }
  Clock::time_point start = Clock::now();
  double first_ms = 0;
  lumetra::PeakPyramid pyramid;
};

}  // namespace

int main(int argc, char* argv[]) {
  const int minutes = EnvInt("LUMETRA_PEAKS_BENCH_MINUTES", 120);
  const int runs = EnvInt("LUMETRA_PEAKS_BENCH_RUNS", 2);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("lumetra-peaks-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string film = argc > 1 ? argv[1] : (dir / "film.mka").string();
  if (argc <= 1) {
    // Encoding two hours takes minutes: five minutes are encoded and repeated.
    const Clock::time_point start = Clock::now();
    const int piece = std::min(minutes, 5);
    const std::string piece_file = (dir / "piece.mka").string();
    const std::string source = "sine=frequency=440:sample_rate=48000:duration=" +
                               std::to_string(piece * 60);
    const bool made =
        lumetra::RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", source,
                             "-af", "volume=3", "-ac", "2", "-c:a", "aac", "-b:a", "128k", "-y",
                             piece_file}) == 0 &&
        lumetra::RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-stream_loop",
                             std::to_string(minutes / piece - 1), "-i", piece_file, "-c", "copy",
                             "-y", film}) == 0;
    if (!made) {
      std::fprintf(stderr, "peaks_bench: ffmpeg could not make the film (is it installed?)\n");
      std::filesystem::remove_all(dir);
      return 1;
    }
    std::printf("peaks_bench: made a %d-minute 48 kHz stereo AAC film in %.1f s (%.1f MB)\n",
                minutes, MsSince(start) / 1000,
                static_cast<double>(std::filesystem::file_size(film)) / 1048576.0);
  }

  const double resident_before = ResidentMb();
  std::vector<double> ffmpeg_ms, cold_ms, first_ms, cache_ms;
  double extra_mb = 0;
  std::size_t buckets = 0;
  for (int run = 0; run < runs; ++run) {
    Clock::time_point start = Clock::now();
    lumetra::RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-i", film, "-f", "null", "-"});
    ffmpeg_ms.push_back(MsSince(start));

    const std::filesystem::path cache = dir / ("cache-" + std::to_string(run));
    {
      Receiver cold;
      const lumetra::FilmPeaksResult result = lumetra::LoadFilmPeaks(film, cache, cold);
      cold_ms.push_back(MsSince(cold.start));
      first_ms.push_back(cold.first_ms);
      if (result.outcome != lumetra::PeakOutcome::kComplete || result.from_cache) {
        std::fprintf(stderr, "peaks_bench: %s\n", lumetra::FilmPeaksMessage(result).c_str());
        return 1;
      }
      buckets = cold.pyramid.size();
      extra_mb = std::max(extra_mb, PeakResidentMb() - resident_before);
    }
    Receiver warm;
    const lumetra::FilmPeaksResult cached = lumetra::LoadFilmPeaks(film, cache, warm);
    cache_ms.push_back(MsSince(warm.start));
    if (!cached.from_cache || warm.pyramid.size() != buckets) {
      std::fprintf(stderr, "peaks_bench: the second load did not come from the cache\n");
      return 1;
    }
  }
  std::filesystem::remove_all(dir);

  std::printf("peaks_bench: %zu buckets (%.1f min of sound), %d paired runs, nice'd machine: noisy\n",
              buckets, static_cast<double>(buckets) / 6000.0, runs);
  for (int run = 0; run < runs; ++run) {
    std::printf("  run %d: ffmpeg -f null %8.0f ms | all peaks cold %8.0f ms (%.2fx) | "
                "first buckets %5.1f ms | from the cache %6.1f ms\n",
                run + 1, ffmpeg_ms[run], cold_ms[run], cold_ms[run] / ffmpeg_ms[run],
                first_ms[run], cache_ms[run]);
  }
  const double best_cold = *std::min_element(cold_ms.begin(), cold_ms.end());
  const double best_ffmpeg = *std::min_element(ffmpeg_ms.begin(), ffmpeg_ms.end());
  std::printf("  best: cold %.1f s (goal < 15 s), %.2fx the decoding alone (goal <= 1.3x), "
              "cache %.1f ms (goal < 100 ms)\n",
              best_cold / 1000, best_cold / best_ffmpeg,
              *std::min_element(cache_ms.begin(), cache_ms.end()));
  std::printf("  extra memory at the peak: %.1f MB (goal < 50 MB)\n", extra_mb);
  return 0;
}
