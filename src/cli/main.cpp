// lumetra-cli: converts, lists and describes subtitle files the way the editor opens and
// saves them. Messages the editor would show go to standard error.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "document/info_dialog.h"
#include "document/utf8_conversion.h"
#include "editing/sub_frame_rate.h"
#include "foundation/code_pages.h"
#include "foundation/textkit.h"
#include "session/scripted_prompts.h"
#include "session/session.h"

namespace {

constexpr char kUsage[] =
    "Usage:\n"
    "  lumetra-cli convert INPUT OUTPUT [--fps RATE] [--to-utf8 [--encoding NAME]]\n"
    "  lumetra-cli list INPUT [--fps RATE] [--encoding NAME]\n"
    "  lumetra-cli info INPUT [--fps RATE] [--encoding NAME]\n"
    "  lumetra-cli --help | --version\n"
    "\n"
    "convert  reads INPUT and writes OUTPUT in the format its extension names:\n"
    "         .txt SubRip, .srt SRT with information header, .sub SUB, .smi SAMI\n"
    "list     prints every frame as a line of the frame list\n"
    "info     prints the format and the subtitle information with its statistics\n"
    "--fps    the frame rate of SUB files (read and written); default: the rate a SUB\n"
    "         file states in its first line, else 25\n"
    "--encoding  the code page of INPUT's texts (UTF-8, Windows-1250, -1251, -1252,\n"
    "         -1253, -1254, -1257, ISO-8859-2); list and info then print UTF-8\n"
    "--to-utf8   convert writes the texts in UTF-8 (from --encoding, else the page\n"
    "         the editor would guess: UTF-8 when the bytes are UTF-8, else Windows-1250)\n";

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

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
  std::optional<lumetra::CodePage> encoding;
  bool to_utf8 = false;
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
    } else if (arg == "--encoding" || arg.rfind("--encoding=", 0) == 0) {
      std::string name;
      if (arg == "--encoding") {
        if (i + 1 >= argc) return "--encoding needs a NAME";
        name = argv[++i];
      } else {
        name = arg.substr(11);
      }
      args.encoding = lumetra::CodePageOfName(name);
      if (!args.encoding) return "unknown encoding " + name;
    } else if (arg == "--to-utf8") {
      args.to_utf8 = true;
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
  if (args.to_utf8 && args.command != "convert") return "--to-utf8 is for convert";
  if (args.encoding && args.command == "convert" && !args.to_utf8) {
    return "--encoding is for list, info and convert --to-utf8";
  }
  return std::nullopt;
}

int Run(const Arguments& args) {
  lumetra::ScriptedPrompts prompts;
  prompts.on_message = PrintMessage;
  lumetra::Session session(prompts);
  if (args.fps) {
    if (!session.sub_frame_rate().ConfirmCustomRate(*args.fps)) {
      PrintMessage(lumetra::SubFrameRateModel::kRefusal);
      return UsageError("--fps " + *args.fps + " is not a frame rate");
    }
    // The given rate, also where a SUB file states its own.
    prompts.sub_rate_default = [rate = *args.fps](lumetra::SubFrameRateModel& model) {
      model.ConfirmCustomRate(rate);
    };
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

  if (args.encoding) session.SetCodePage(*args.encoding);
  // The document's texts as they are, or in UTF-8 when their code page was named.
  auto shown = [&](const std::string& text) {
    return args.encoding ? lumetra::DecodeToUtf8(text, *args.encoding) : text;
  };

  if (args.command == "convert") {
    if (args.to_utf8) lumetra::ConvertTextsToUtf8(doc);
    session.save_dialog().file_name = lumetra::FullPathOf(args.paths[1]);
    session.WriteSubtitle();
    return doc.LoadStatus == 0 ? kExitOk : kExitFailure;
  }
  if (args.command == "list") {
    std::string out;
    for (int i = 1; i <= doc.FrameCount; ++i) {
      out += shown(doc.FrameListLine(i));
      out += '\n';
    }
    WriteOut(out);
    return kExitOk;
  }
  const lumetra::InfoDialogModel info(doc);
  std::string out = "Format: " + doc.FormatLabel + "\n";
  for (int i = 1; i <= lumetra::InfoDialogModel::kBoxes; ++i) {
    out += lumetra::InfoDialogModel::Labels()[static_cast<std::size_t>(i - 1)];
    out += ": ";
    out += i <= lumetra::InfoDialogModel::kEditableBoxes ? shown(info.Box(i)) : info.Box(i);
    out += '\n';
  }
  WriteOut(out);
  return kExitOk;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && std::string(argv[1]) == "--help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (argc == 2 && std::string(argv[1]) == "--version") {
    std::printf("lumetra-cli %s\n", lumetra::kVersionText);
    return kExitOk;
  }
  Arguments args;
  if (const auto problem = Parse(argc, argv, args)) return UsageError(*problem);
  return Run(args);
}
