// Reading and writing a 9999-frame document in each of the four formats, and the whole
// lumetra-cli convert and edit of such a file. Prints throughput (best of several runs).
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
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

extern char** environ;

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

void FillDocument(Document& doc) {
  static const char* const kWords[] = {
      "Hello", "there", "where", "have", "you", "been", "all", "this", "time",
      "Gy\xF5r", "\xE1rv\xEDzt\xFBr\xF5", "t\xFck\xF6rf\xFAr\xF3g\xE9p", "never", "mind", "the",
      "weather", "I", "said", "nothing", "at", "all", "-", "okay?", "<i>yes</i>"};
  constexpr int kWordCount = sizeof kWords / sizeof kWords[0];
  std::uint32_t state = 12345;
  auto next = [&](int n) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
  };
  doc.ResetDocument();
  int time = 1000;
  for (int i = 1; i <= kFrames; ++i) {
    std::string text;
    const int lines = 1 + (next(3) == 0 ? 1 : 0) + (next(10) == 0 ? 1 : 0);
    for (int line = 0; line < lines; ++line) {
      if (line > 0) text += '|';
      const int words = 2 + next(7);
      for (int w = 0; w < words; ++w) {
        if (w > 0) text += ' ';
        text += kWords[next(kWordCount)];
      }
    }
    const int start = time + 40 * next(25);
    const int end = start + 40 * (25 + next(100));
    doc.FrameStart[i] = start;
    doc.FrameEnd[i] = end;
    doc.FrameText[i] = text;
    time = end;
  }
  doc.FrameCount = kFrames;
}

// Runs a program and waits; returns its exit status, or -1 when it could not be started.
int RunProgram(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // Its output would only clutter the table.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::filesystem::path OwnDirectory(const char* argv0) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::absolute(argv0).parent_path() : self.parent_path();
}

}  // namespace

int main(int /*argc*/, char* argv[]) {
  static Document doc;
  static Document target;
  FillDocument(doc);

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
      {"SubRip", kKindSubRip}, {"SUB", kKindSub}, {"SRT2", kKindSrt2}, {"SAMI", kKindSami}};
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
