// Reading and writing a 9999-frame document in each of the four formats, and the whole
// lumetra-cli convert and edit of such a file. Prints throughput (best of several runs).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/document.h"
#include "formats/file_io.h"
#include "formats/subtitle_io.h"
#include "foundation/utf16.h"
#include "bench_document.h"
#include "bench_process.h"

namespace {

using namespace lumetra;
using Clock = std::chrono::steady_clock;

constexpr int kFrames = MaxReadFrames;
constexpr int kRuns = 15;

// Best wall time of `runs` calls, in seconds.
double BestOf(int runs, const std::function<void()>& work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int /*argc*/, char* argv[]) {
  static Document doc;
  static Document target;
  FillBenchDocument(doc);

#ifndef __OPTIMIZE__
  std::printf("Note: built without optimisation; these figures say little.\n");
#endif
  std::printf("Subtitle formats, %d frames, best of %d runs\n", kFrames, kRuns);
  std::printf("%-7s %9s | %10s %12s %8s | %10s %12s %8s\n", "format", "bytes", "read MB/s",
              "read fr/s", "read ms", "write MB/s", "write fr/s", "write ms");
  struct Format {
    const char* name;
    int kind;
  };
  const Format formats[] = {
      {"SubRip", kKindSubRip}, {"SUB", kKindSub}, {"SRT2", kKindSrt2},
      {"SAMI", kKindSami},     {"WebVTT", kKindWebVtt}, {"ASS", kKindAss}};
  for (const Format& f : formats) {
    std::string bytes;
    WriteSubtitleData(doc, f.kind, 25, bytes);
    const double write_s = BestOf(kRuns, [&] {
      std::string out;
      WriteSubtitleData(doc, f.kind, 25, out);
    });
    const double read_s = BestOf(kRuns, [&] { ReadSubtitleData(bytes, f.kind, 25, target); });
    if (target.FrameCount != kFrames) {
      std::printf("%s: read back %d frames instead of %d\n", f.name, target.FrameCount, kFrames);
    }
    const double mb = static_cast<double>(bytes.size()) / 1e6;
    std::printf("%-7s %9zu | %10.1f %12.0f %8.3f | %10.1f %12.0f %8.3f\n", f.name, bytes.size(),
                mb / read_s, kFrames / read_s, read_s * 1e3, mb / write_s, kFrames / write_s,
                write_s * 1e3);
  }

  // Files as other programs write them: SAMI that only the tolerant reader reads (a
  // classed P tag, text on the next lines, "&nbsp;" blocks), and SubRip in UTF-16.
  std::string sami = "<SAMI><BODY>\r\n";
  for (int i = 1; i <= kFrames; ++i) {
    std::string text = doc.FrameText[i];
    for (std::size_t bar; (bar = text.find('|')) != std::string::npos;) {
      text.replace(bar, 1, "<br/>\r\n  ");
    }
    sami += "<SYNC start=\"" + std::to_string(doc.FrameStart[i]) + "\"><P class=\"ENCC\">\r\n  " +
            text + "\r\n</P></SYNC>\r\n<SYNC start=\"" + std::to_string(doc.FrameEnd[i]) +
            "\"><P class=\"ENCC\">&nbsp;</P></SYNC>\r\n";
  }
  sami += "</BODY></SAMI>\r\n";
  std::string subrip;
  WriteSubtitleData(doc, kKindSubRip, 25, subrip);
  const std::string utf16 = Utf8ToUtf16(subrip, TextForm::kUtf16Le);
  const struct {
    const char* name;
    const std::string& bytes;
    int kind;
  } others[] = {{"SAMI*", sami, kKindSami}, {"UTF-16", utf16, kKindSubRip}};
  for (const auto& other : others) {
    const double read_s =
        BestOf(kRuns, [&] { ReadSubtitleData(other.bytes, other.kind, 25, target); });
    if (target.FrameCount != kFrames) {
      std::printf("%s: read %d frames instead of %d\n", other.name, target.FrameCount, kFrames);
    }
    const double mb = static_cast<double>(other.bytes.size()) / 1e6;
    std::printf("%-7s %9zu | %10.1f %12.0f %8.3f |\n", other.name, other.bytes.size(), mb / read_s,
                kFrames / read_s, read_s * 1e3);
  }
  std::printf("(SAMI*: as other programs write it, tolerant reader; UTF-16: SubRip, LE)\n");

  // The whole program: start lumetra-cli, convert a 9999-frame SubRip file to SRT2, exit.
  const auto cli = OwnDirectory(argv[0]) / "lumetra-cli";
  const auto work = std::filesystem::temp_directory_path() /
                    ("lumetra-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(work);
  const std::string input = (work / "input.txt").string();
  const std::string output = (work / "output.srt").string();
  std::string bytes;
  WriteSubtitleData(doc, kKindSubRip, 25, bytes);
  WriteFileReplacing(input, bytes);
  int status = RunProgram({cli.string(), "convert", input, output});
  const double cli_s = status != 0 ? 0 : BestOf(5, [&] {
    status = std::max(status, RunProgram({cli.string(), "convert", input, output}));
  });
  if (status == 0) {
    std::printf("lumetra-cli convert, %d-frame SubRip to SRT2: %.1f ms (whole process)\n",
                kFrames, cli_s * 1e3);
  } else {
    std::printf("lumetra-cli convert exited with status %d (%s); not timed\n", status,
                cli.c_str());
  }
  // The same with three editing steps on every frame in between.
  const std::vector<std::string> edit = {cli.string(), "edit", input, output, "--later",
                                         "--fix-hangout", "--spellcheck-en"};
  status = RunProgram(edit);
  const double edit_s =
      status != 0 ? 0 : BestOf(5, [&] { status = std::max(status, RunProgram(edit)); });
  if (status == 0 && cli_s > 0) {
    const double ratio = edit_s / cli_s;
    std::printf("lumetra-cli edit, the same with 3 steps: %.1f ms, %.2f x convert "
                "(target 1.5 x: %s)\n",
                edit_s * 1e3, ratio, ratio <= 1.5 ? "met" : "NOT met");
  } else {
    std::printf("lumetra-cli edit exited with status %d; not timed\n", status);
  }
  std::filesystem::remove_all(work);
  return 0;
}
