// lumetra-cli: converts, edits, lists and describes subtitle files the way the editor opens
// and saves them. Messages go to standard error, one line each, starting with "lumetra-cli: ".
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/edit_steps.h"
#include "document/info_dialog.h"
#include "document/utf8_conversion.h"
#include "editing/quality_checks.h"
#include "editing/spelling.h"
#include "editing/sub_frame_rate.h"
#include "formats/file_io.h"
#include "foundation/code_pages.h"
#include "foundation/textkit.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "settings/configuration.h"
#include "spelling/hunspell_dictionary.h"

namespace {

using lumetra::cli::Arguments;

constexpr char kUsageStart[] =
    "Usage:\n"
    "  lumetra-cli convert INPUT OUTPUT [--to FORMAT] [--fps RATE] [--to-utf8 [--encoding NAME]]\n"
    "  lumetra-cli edit INPUT OUTPUT [--to FORMAT] [--fps RATE] [--frames LIST] STEP...\n"
    "  lumetra-cli list INPUT [--tsv] [--fps RATE] [--encoding NAME]\n"
    "  lumetra-cli info INPUT [--fps RATE] [--encoding NAME]\n"
    "  lumetra-cli check INPUT [--spell LANG] [--min-gap MS] [--min-length MS]\n"
    "              [--max-length MS] [--max-cps N] [--max-line N] [--max-lines N] [--tsv]\n"
    "              [--fps RATE] [--encoding NAME]\n"
    "  lumetra-cli -h | --help | -V | --version\n"
    "\n"
    "convert  reads INPUT and writes OUTPUT in FORMAT: subrip (numbered SubRip), srt2\n"
    "         (SRT with information header), sub (SUB), sami (SAMI), webvtt (WebVTT),\n"
    "         ass (ASS) or ssa (SSA); without --to, in INPUT's own format when OUTPUT\n"
    "         has INPUT's extension (a SubRip a.srt stays SubRip in b.srt), else in the\n"
    "         format OUTPUT's extension names: .txt SubRip, .srt SRT2, .sub SUB, .smi\n"
    "         SAMI, .vtt WebVTT, .ass ASS, .ssa SSA (OUTPUT needs one, or --to)\n";
// Then the steps of edit, then:
constexpr char kUsageEnd[] =
    "list     prints every frame as a line of the frame list; with --tsv one frame per\n"
    "         line: number, start ms, end ms and text (lines joined by |), tab-separated\n"
    "info     prints the format and the subtitle information with its statistics\n"
    "check    prints every frame that breaks a quality check, one line each: frame, check\n"
    "         and what is wrong (tab-separated with --tsv). Checks and their limits (0\n"
    "         turns one off): overlap; gap before the next frame under --min-gap (80 ms);\n"
    "         length under --min-length (700 ms) or over --max-length (7000 ms); over\n"
    "         --max-cps characters per second (17; without markup and line breaks); a\n"
    "         line over --max-line characters (42); over --max-lines lines (2); an empty\n"
    "         text; with --spell LANG (a Hunspell dictionary such as en_US, and the words\n"
    "         added in the editor) every unknown word. Exit status 0: nothing found,\n"
    "         1: something found (or INPUT not read)\n"
    "--fps    the frame rate of SUB files (read and written), above 0 and at most 50;\n"
    "         default: the rate a SUB file states in its first line, else 25\n"
    "--encoding  the code page of INPUT's texts (UTF-8, Windows-1250, -1251, -1252,\n"
    "         -1253, -1254, -1257, ISO-8859-2); list and info then print them in UTF-8\n"
    "--to-utf8   convert and edit write the texts in UTF-8 (from --encoding, else from\n"
    "         the page the editor guesses: UTF-8 when the bytes are UTF-8, else the\n"
    "         page uchardet finds among those above, else Windows-1250)\n"
    "An option given twice must have the same value both times. Values are read as the\n"
    "editor's boxes read them, and only where they read all of the value as written: a\n"
    "value a box would cut short, round or bring into its range is a usage error.\n"
    "WebVTT, ASS and SSA cannot hold times before 0: convert and edit write them as 0\n"
    "and say on standard error how many frames start or end before 0.\n"
    "Exit status: 0 done, 1 not done, 2 usage error, 3 done without the frames beyond\n"
    "the 9999 the editor holds.\n";

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Done, but the input had more frames than the store holds and the rest were left out.
constexpr int kExitFramesLeftOut = 3;

// One line on standard error; the line breaks of the editor's messages become spaces.
void PrintMessage(const std::string& text) {
  std::string line = "lumetra-cli: ";
  for (char c : text) {
    if (c != '\r') {
      line += c;
    } else if (!line.ends_with(' ')) {
      line += ' ';
    }
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// The system's error number of a failed write to standard output, 0 while none failed.
int g_output_error = 0;

void WriteOut(const std::string& text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() && g_output_error == 0) {
    g_output_error = errno != 0 ? errno : EIO;
  }
}

// On standard output, where a failure is told with the system's reason: the text is longer
// than the output buffer, so a full disk fails it while it is written, not only at the end.
void PrintUsage() {
  WriteOut(kUsageStart);
  WriteOut(lumetra::cli::kEditStepsUsage);
  WriteOut(kUsageEnd);
}

// A command line that cannot run: one line saying why, and where to find how.
int UsageError(const std::string& problem) {
  PrintMessage(problem);
  std::fputs("Try 'lumetra-cli --help'.\n", stderr);
  return kExitUsage;
}

// The session's messages, held while it opens or saves a file: a failure that the system
// explains is told in its words ("cannot read a.txt: Permission denied"), everything else
// as the editor says it.
class StepMessages {
 public:
  explicit StepMessages(lumetra::ScriptedPrompts& prompts) {
    prompts.on_message = [this](const std::string& text) { held_.push_back(text); };
  }
  void Flush() {
    for (const std::string& text : held_) PrintMessage(text);
    held_.clear();
  }
  // Ends a step that failed on `path`; os_error is the system's error number, or 0.
  void FlushFailure(const char* verb, const std::string& path, int os_error) {
    if (os_error == 0) {
      Flush();
      return;
    }
    held_.clear();
    PrintMessage(std::string("cannot ") + verb + " " + path + ": " +
                 lumetra::SystemErrorText(os_error));
  }

 private:
  std::vector<std::string> held_;
};

// What a command works with. It is made once and never destroyed: the process ends with
// _Exit after the command, and the system takes back all its memory at once instead of the
// program freeing every frame's text.
struct Workplace {
  lumetra::ScriptedPrompts prompts;
  StepMessages messages{prompts};
  lumetra::Session session{prompts};
};

// Opens INPUT into the session's document; false (messages told) when it was not read.
bool ReadInput(lumetra::Session& session, StepMessages& messages, const std::string& input) {
  session.document().FileName = lumetra::FullPathOf(input);
  const lumetra::OpenResult result = session.OpenSubtitle();
  if (result == lumetra::OpenResult::kOpened) {
    messages.Flush();
    return true;
  }
  messages.FlushFailure("read", input, session.last_os_error());
  return false;
}

// Writes the document to OUTPUT in the format `kind`; false (messages told) on failure.
bool WriteOutput(lumetra::Session& session, StepMessages& messages, const std::string& output,
                 int kind) {
  if (session.SaveTo(output, kind)) {
    messages.Flush();
    return true;
  }
  messages.FlushFailure("write", output, session.last_os_error());
  return false;
}

// A "|" that is part of a line is printed as "|", as the editor shows it.
std::string FrameList(const lumetra::Document& doc, bool tsv) {
  std::string out;
  for (int i = 1; i <= doc.FrameCount; ++i) {
    if (tsv) {
      out += std::to_string(i) + '\t' + std::to_string(doc.FrameStart[i]) + '\t' +
             std::to_string(doc.FrameEnd[i]) + '\t' + lumetra::ShowLiteralBars(doc.FrameText[i]);
    } else {
      out += lumetra::ShowLiteralBars(doc.FrameListLine(i));
    }
    out += '\n';
  }
  return out;
}

// The document's texts as they are, or in UTF-8 when their code page is named.
std::string Shown(const std::string& text, std::optional<lumetra::CodePage> page) {
  return page ? lumetra::DecodeToUtf8(text, *page) : text;
}

std::string Information(const lumetra::Document& doc, std::optional<lumetra::CodePage> page) {
  const lumetra::InfoDialogModel info(doc);
  std::string out = "Format: " + doc.FormatLabel + "\n";
  for (int i = 1; i <= lumetra::InfoDialogModel::kBoxes; ++i) {
    out += lumetra::InfoDialogModel::Labels()[static_cast<std::size_t>(i - 1)];
    out += ": ";
    // The header fields are texts of the document; the rest are numbers and paths.
    out += i <= lumetra::InfoDialogModel::kEditableBoxes ? Shown(info.Box(i), page) : info.Box(i);
    out += '\n';
  }
  return out;
}

// The findings of `check`, one a line: "12: overlap: overlaps frame 13 by 120 ms", or with
// --tsv frame, check and detail separated by tabs. Words are printed in UTF-8.
std::string Findings(const std::vector<lumetra::Finding>& findings, bool tsv) {
  std::string out;
  for (const lumetra::Finding& f : findings) {
    const std::string rule = lumetra::RuleName(f.rule);
    out +=
        std::to_string(f.frame) + (tsv ? "\t" + rule + "\t" : ": " + rule + ": ") + f.detail + '\n';
  }
  return out;
}

int Run(const Arguments& args) {
  // The dictionary of --spell is looked up before INPUT is read.
  std::unique_ptr<lumetra::SpellChecker> speller;
  if (args.spell) {
    const std::vector<lumetra::DictionaryFiles> installed =
        lumetra::FindDictionaries(lumetra::DictionaryDirs(lumetra::ProcessEnvironment));
    const lumetra::DictionaryFiles* files = nullptr;
    std::string names;
    for (const lumetra::DictionaryFiles& d : installed) {
      if (d.language == *args.spell) files = &d;
      names += (names.empty() ? "" : ", ") + d.language;
    }
    if (files == nullptr) {
      return UsageError("--spell " + *args.spell + ": no such dictionary is installed (" +
                        (names.empty() ? std::string("none is") : "installed: " + names) + ")");
    }
    std::string problem;
    auto dictionary = lumetra::OpenHunspellDictionary(*files, &problem);
    if (!dictionary) {
      PrintMessage(problem);
      return kExitFailure;
    }
    lumetra::PersonalWordList personal(
        lumetra::PersonalWordList::PathFor(files->language, lumetra::ProcessEnvironment));
    personal.Load();
    speller = std::make_unique<lumetra::SpellChecker>(std::move(dictionary), files->language,
                                                      std::move(personal));
  }

  Workplace& work = *new Workplace;
  lumetra::ScriptedPrompts& prompts = work.prompts;
  StepMessages& messages = work.messages;
  lumetra::Session& session = work.session;
  session.MapOpenedFiles();  // InputCutShort handles SIGBUS
  // Times before 0 written as 0 (WebVTT, ASS, SSA) are told on standard error.
  session.WriteTimesBeforeZeroWithoutAsking();
  // A plain convert, and an edit whose steps work on the texts' bytes, write the texts'
  // bytes back as they are: their code page is needed only where the format written
  // converts them.
  const bool bytes_only =
      args.command == "convert" ||
      (args.command == "edit" && !lumetra::cli::EditStepsReadCodePage(args.steps));
  if (bytes_only && !args.to_utf8) {
    session.OpenWithoutCodePageGuess(args.output.input_format ? lumetra::kKindUnknown
                                                              : args.output.kind);
  }
  if (args.fps) {
    // The given rate, also where a SUB file states its own.
    prompts.sub_rate_default = [rate = *args.fps](lumetra::SubFrameRateModel& model) {
      model.ConfirmCustomRate(rate);
    };
  }

  if (!ReadInput(session, messages, args.paths[0])) return kExitFailure;
  if (args.encoding) session.SetCodePage(*args.encoding);
  lumetra::Document& doc = session.document();
  const int done = session.frames_left_out() > 0 ? kExitFramesLeftOut : kExitOk;
  const bool writes = args.command == "convert" || args.command == "edit";
  // Only a read that left frames out guards its file (and only then is OUTPUT's full path
  // looked up).
  if (writes && done == kExitFramesLeftOut &&
      session.WouldOverwriteCutShortSource(lumetra::FullPathOf(args.paths[1]))) {
    // Writing would cut the input short: nobody is there to confirm that.
    PrintMessage(args.paths[1] +
                 " is the input, which has frames beyond the first 9999: "
                 "it was left as it was (write OUTPUT to another file)");
    return kExitFramesLeftOut;
  }
  if (writes) {
    if (args.command == "edit") {
      const bool edited = lumetra::cli::RunEditSteps(session, args.steps, args.frame_ranges);
      messages.Flush();
      if (!edited) return kExitFailure;  // nothing is written
    }
    if (args.to_utf8) lumetra::ConvertTextsToUtf8(doc);
    const int kind = args.output.input_format ? doc.FileKind : args.output.kind;
    return WriteOutput(session, messages, args.paths[1], kind) ? done : kExitFailure;
  }
  if (args.command == "check") {
    const std::vector<lumetra::Finding> findings =
        lumetra::CheckDocument(doc, args.limits, speller.get());
    WriteOut(Findings(findings, args.tsv));
    return findings.empty() ? done : kExitFailure;
  }
  WriteOut(args.command == "list" ? Shown(FrameList(doc, args.tsv), args.encoding)
                                  : Information(doc, args.encoding));
  return done;
}

// What standard output could not take (a full disk, a closed pipe) is a failure too.
int CheckedOutput(int status) {
  if (std::fflush(stdout) != 0 && g_output_error == 0) g_output_error = errno;
  if (g_output_error == 0 && !std::ferror(stdout)) return status;
  PrintMessage("cannot write to standard output: " +
               lumetra::SystemErrorText(g_output_error != 0 ? g_output_error : EIO));
  return kExitFailure;
}

// The input is mapped into memory while it is read (before any output file is made): a
// file that another program cuts short meanwhile ends the run as a failure to read it.
extern "C" void InputCutShort(int /*signal*/) {
  static constexpr char kMessage[] =
      "lumetra-cli: the input file was cut short while it was read\n";
  if (::write(STDERR_FILENO, kMessage, sizeof kMessage - 1) < 0) {
    // Nothing more can be told.
  }
  std::_Exit(kExitFailure);
}

int Main(int argc, char* argv[]) {
  lumetra::HandleSignalsDuringSaves();
  std::signal(SIGBUS, InputCutShort);
  const std::string first = argc == 2 ? argv[1] : "";
  if (first == "--help" || first == "-h") {
    PrintUsage();
    return CheckedOutput(kExitOk);
  }
  if (first == "--version" || first == "-V") {
    std::printf("lumetra-cli %s\n", lumetra::kVersionText);
    return CheckedOutput(kExitOk);
  }
  // The command line is checked whole before any file is touched.
  const std::vector<std::string> given(argv + 1, argv + argc);
  Arguments args;
  if (const auto problem = lumetra::cli::ParseArguments(given, args)) return UsageError(*problem);
  return CheckedOutput(Run(args));
}

}  // namespace

int main(int argc, char* argv[]) {
  const int status = Main(argc, argv);
  // Standard output is flushed and checked and the files are closed: nothing is left to
  // tear down.
  std::fflush(stderr);
  std::_Exit(status);
}
