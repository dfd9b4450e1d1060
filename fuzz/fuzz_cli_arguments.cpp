// lumetra-cli's command line: the input's bytes are the arguments, separated by NUL bytes.
// Any command line is either refused with one usage error or accepted whole, and what is
// accepted makes sense; the steps of an accepted `edit` then run on a small subtitle.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "document/document.h"
#include "formats/subtitle_io.h"
#include "session/scripted_prompts.h"
#include "session/session.h"

namespace {

using namespace lumetra;

// Ends the run, naming the broken condition, when it does not hold.
#define CHECK(condition)                                                                           \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "fuzz_cli_arguments.cpp:%d: %s does not hold\n", __LINE__, #condition); \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

constexpr char kSubtitle[] =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\n-a teh cat\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:05,500\r\nim here,now\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,000\r\nfine\r\n";

std::vector<std::string> ArgumentsOf(std::string_view bytes) {
  std::vector<std::string> args;
  std::size_t start = 0;
  while (start <= bytes.size() && !bytes.empty()) {
    std::size_t end = bytes.find('\0', start);
    if (end == std::string_view::npos) end = bytes.size();
    args.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> argv =
      ArgumentsOf(std::string_view(reinterpret_cast<const char*>(data), size));
  cli::Arguments args;
  const std::optional<std::string> problem = cli::ParseArguments(argv, args);
  // The same command line gives the same answer.
  cli::Arguments again;
  CHECK(cli::ParseArguments(argv, again) == problem);
  if (problem) {
    CHECK(!problem->empty());
    return 0;
  }

  const bool writes = args.command == "convert" || args.command == "edit";
  CHECK(writes || args.command == "list" || args.command == "info" || args.command == "check");
  CHECK(args.paths.size() == (writes ? 2u : 1u));
  if (writes) {
    CHECK(args.output.problem.empty());
    CHECK(args.output.input_format ||
          (args.output.kind >= kKindSubRip && args.output.kind <= kKindSsa));
  }
  CHECK((args.command == "edit") == !args.steps.empty());
  CHECK(args.frames.has_value() == args.frame_ranges.has_value());
  CHECK(args.encoding_name.has_value() == args.encoding.has_value());
  // The limits of check are within their ranges.
  const CheckLimits& l = args.limits;
  for (int ms : {l.min_gap_ms, l.min_length_ms, l.max_length_ms})
    CHECK(ms >= 0 && ms <= kMaxCheckMs);
  CHECK(l.max_cps >= 0 && l.max_cps <= kMaxCheckCps);
  CHECK(l.max_line_length >= 0 && l.max_line_length <= kMaxCheckCount);
  CHECK(l.max_lines >= 0 && l.max_lines <= kMaxCheckCount);
  if (args.steps.empty()) return 0;

  // The accepted steps on a small subtitle, as the tool would run them.
  ScriptedPrompts prompts;
  Session session(prompts);
  ReadSubtitleData(kSubtitle, kKindSubRip, 25, session.document());
  cli::RunEditSteps(session, args.steps, args.frame_ranges);
  CHECK(session.document().FrameCount == 3);
  return 0;
}
