// The whole lumetra-cli convert of a 9999-frame SubRip file into each format against cp of
// the same file: pairs of runs, cp and convert alternating so that both see the same state
// of the machine, timed from start to exit. Prints the median of each and their ratio, in
// a directory in memory (/dev/shm) when there is one and in the build directory on disk.
// On disk a save flushes the file and its directory to the disk, which cp does not do.
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "document/document.h"
#include "formats/file_io.h"
#include "formats/subtitle_io.h"
#include "bench_document.h"
#include "bench_process.h"

namespace {

using namespace lumetra;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kPairs = 21;
constexpr double kTargetRatio = 2.0;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Wall time of one run in milliseconds, and the processor time it used; negative when the
// program failed.
struct Timing {
  double wall_ms;
  double cpu_ms;
};
Timing TimedRun(const std::vector<std::string>& args) {
  const auto start = Clock::now();
  double cpu_ms = 0;
  const int status = RunProgram(args, &cpu_ms);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  return status == 0 ? Timing{ms, cpu_ms} : Timing{-1, -1};
}

bool InMemory(const fs::path& dir) {
  struct statfs st;
  constexpr long kTmpfsMagic = 0x01021994;
  return ::statfs(dir.c_str(), &st) == 0 && st.f_type == kTmpfsMagic;
}

// The pairs in one directory; returns false when the target ratio is missed or a run failed.
bool RunPairs(const fs::path& cli, const fs::path& dir, const std::string& subrip) {
  const std::string input = (dir / "input.txt").string();
  if (!WriteFileReplacing(input, subrip).ok()) {
    std::printf("  cannot write %s\n", input.c_str());
    return false;
  }
  std::printf("%s (%s), %d pairs, median ms:\n", dir.c_str(),
              InMemory(dir) ? "in memory" : "on disk", kPairs);
  bool met = true;
  for (const char* ext : {"txt", "srt", "sub", "smi"}) {
    // Both write into the same directory; cp's copy and the converted file are new files
    // there each time, the way a batch run makes them.
    const std::string copy = (dir / "copy.txt").string();
    const std::string output = (dir / (std::string("output.") + ext)).string();
    std::vector<double> cp_ms;
    std::vector<double> convert_ms;
    std::vector<double> cp_cpu_ms;
    std::vector<double> convert_cpu_ms;
    RunProgram({"cp", input, copy});  // warms the caches
    RunProgram({cli.string(), "convert", input, output});
    for (int pair = 0; pair < kPairs; ++pair) {
      fs::remove(copy);
      const Timing cp = TimedRun({"cp", input, copy});
      fs::remove(output);
      const Timing convert = TimedRun({cli.string(), "convert", input, output});
      cp_ms.push_back(cp.wall_ms);
      cp_cpu_ms.push_back(cp.cpu_ms);
      convert_ms.push_back(convert.wall_ms);
      convert_cpu_ms.push_back(convert.cpu_ms);
    }
    if (*std::min_element(cp_ms.begin(), cp_ms.end()) < 0 ||
        *std::min_element(convert_ms.begin(), convert_ms.end()) < 0) {
      std::printf("  .%s: a run failed\n", ext);
      met = false;
      continue;
    }
    const double ratio = Median(convert_ms) / Median(cp_ms);
    std::printf("  convert to .%s %6.2f ms   cp %6.2f ms   %5.2f x cp (target %.1f x: %s)\n",
                ext, Median(convert_ms), Median(cp_ms), ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "NOT met");
    // Processor time, which holds on a busy machine where the clock's does not (the
    // system counts it in ticks: a median of many runs).
    std::printf("      processor time %6.2f ms   cp %6.2f ms   %5.2f x cp\n",
                Median(convert_cpu_ms), Median(cp_cpu_ms),
                Median(convert_cpu_ms) / std::max(Median(cp_cpu_ms), 1e-3));
    met = met && ratio <= kTargetRatio;
    fs::remove(output);
    fs::remove(copy);
  }
  fs::remove(input);
  return met;
}

}  // namespace

int main(int /*argc*/, char* argv[]) {
  static Document doc;
  FillBenchDocument(doc);
  std::string subrip;
  WriteSubtitleData(doc, kKindSubRip, 25, subrip);
  const fs::path build_dir = OwnDirectory(argv[0]);
  const fs::path cli = build_dir / "lumetra-cli";
  std::printf("lumetra-cli convert of a %d-frame SubRip file (%zu bytes) against cp\n",
              MaxReadFrames, subrip.size());

  std::vector<fs::path> dirs;
  if (fs::is_directory("/dev/shm") && InMemory("/dev/shm")) {
    dirs.push_back(fs::path("/dev/shm") / ("lumetra-convert-bench-" + std::to_string(::getpid())));
  } else {
    std::printf("(no /dev/shm in memory here: only the build directory is measured)\n");
  }
  dirs.push_back(build_dir / "convert-bench");
  for (const fs::path& dir : dirs) {
    fs::create_directories(dir);
    RunPairs(cli, dir, subrip);
    fs::remove_all(dir);
  }
  return 0;
}
