// lumetra-cli: converts, lists and describes subtitle files the way the editor opens and
// saves them. Messages the editor would show go to standard error.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "document/info_dialog.h"
#include "editing/sub_frame_rate.h"
#include "formats/file_io.h"
#include "foundation/textkit.h"
#include "session/scripted_prompts.h"
#include "session/session.h"

namespace {

constexpr char kUsage[] =
    "Usage:\n"
    "  lumetra-cli convert INPUT OUTPUT [--fps RATE]\n"
    "  lumetra-cli list INPUT [--fps RATE]\n"
    "  lumetra-cli info INPUT [--fps RATE]\n"
    "  lumetra-cli --help | --version\n"
    "\n"
    "convert  reads INPUT and writes OUTPUT in the format its extension names:\n"
    "         .txt SubRip, .srt SRT with information header, .sub SUB, .smi SAMI\n"
    "list     prints every frame as a line of the frame list\n"
    "info     prints the format and the subtitle information with its statistics\n"
    "--fps    the frame rate of SUB files (read and written); default 25\n";

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Done, but the input had more frames than the store holds and the rest were left out.
constexpr int kExitFramesLeftOut = 3;

void PrintMessage(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (c == '\r') c = '\n';
  }
  shown += '\n';
  std::fwrite(shown.data(), 1, shown.size(), stderr);
}

int UsageError(const std::string& problem) {
  if (!problem.empty()) PrintMessage("lumetra-cli: " + problem);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

void WriteOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

struct Arguments {
  std::string command;
  std::vector<std::string> paths;
  std::optional<std::string> fps;
};

// Parses the command line; returns an error text, or nothing when it is well formed.
std::optional<std::string> Parse(int argc, char* argv[], Arguments& args) {
  if (argc < 2) return "no command given";
  args.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--fps") {
      if (i + 1 >= argc) return "--fps needs a RATE";
      args.fps = argv[++i];
    } else if (arg.rfind("--fps=", 0) == 0) {
      args.fps = arg.substr(6);
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      return "unknown option " + arg;
    } else {
      args.paths.push_back(arg);
    }
  }
  const std::size_t wanted = args.command == "convert" ? 2 : 1;
  if (args.command != "convert" && args.command != "list" && args.command != "info") {
    return "unknown command " + args.command;
  }
  if (args.paths.size() != wanted) {
    return args.command + (wanted == 2 ? " needs INPUT and OUTPUT" : " needs one INPUT");
  }
  return std::nullopt;
}

int Run(const Arguments& args) {
  lumetra::ScriptedPrompts prompts;
  prompts.on_message = PrintMessage;
  lumetra::Session session(prompts);
  if (args.fps && !session.sub_frame_rate().ConfirmCustomRate(*args.fps)) {
    PrintMessage(lumetra::SubFrameRateModel::kRefusal);
    return UsageError("--fps " + *args.fps + " is not a frame rate");
  }

  lumetra::Document& doc = session.document();
  const std::string input = lumetra::FullPathOf(args.paths[0]);
  doc.FileName = input;
  switch (session.OpenSubtitle()) {
    case lumetra::OpenResult::kOpened:
      break;
    case lumetra::OpenResult::kUnrecognised:
      PrintMessage("Not a recognised subtitle file: " + input);
      return kExitFailure;
    default:
      return kExitFailure;
  }

  const int done = session.frames_left_out() > 0 ? kExitFramesLeftOut : kExitOk;
  if (args.command == "convert") {
    return session.SaveTo(args.paths[1]) ? done : kExitFailure;
  }
  if (args.command == "list") {
    std::string out;
    for (int i = 1; i <= doc.FrameCount; ++i) {
      out += doc.FrameListLine(i);
      out += '\n';
    }
    WriteOut(out);
    return done;
  }
  const lumetra::InfoDialogModel info(doc);
  std::string out = "Format: " + doc.FormatLabel + "\n";
  for (int i = 1; i <= lumetra::InfoDialogModel::kBoxes; ++i) {
    out += lumetra::InfoDialogModel::Labels()[static_cast<std::size_t>(i - 1)];
    out += ": ";
    out += info.Box(i);
    out += '\n';
  }
  WriteOut(out);
  return done;
}

// What standard output could not take (a full disk, a closed pipe) is a failure too.
int CheckedOutput(int status) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  PrintMessage(std::string("lumetra-cli: cannot write to standard output: ") +
               (errno != 0 ? lumetra::SystemReason(errno) : "write error"));
  return kExitFailure;
}

}  // namespace

int main(int argc, char* argv[]) {
  lumetra::HandleSignalsDuringSaves();
  if (argc == 2 && std::string(argv[1]) == "--help") {
    std::fputs(kUsage, stdout);
    return CheckedOutput(kExitOk);
  }
  if (argc == 2 && std::string(argv[1]) == "--version") {
    std::printf("lumetra-cli %s\n", lumetra::kVersionText);
    return CheckedOutput(kExitOk);
  }
  Arguments args;
  if (const auto problem = Parse(argc, argv, args)) return UsageError(*problem);
  return CheckedOutput(Run(args));
}
