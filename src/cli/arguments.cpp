#include "cli/arguments.h"

#include <charconv>
#include <string_view>

#include "foundation/textkit.h"

namespace lumetra::cli {

namespace {

// The commands, as bits of a set.
enum CommandBit : unsigned {
  kConvert = 1u << 0,
  kEdit = 1u << 1,
  kList = 1u << 2,
  kInfo = 1u << 3,
  kCheck = 1u << 4,
};
constexpr unsigned kWriting = kConvert | kEdit;
constexpr unsigned kAllCommands = kConvert | kEdit | kList | kInfo | kCheck;

struct CommandInfo {
  std::string_view name;
  CommandBit bit;
  std::size_t paths;
  std::string_view paths_wanted;
};

constexpr CommandInfo kCommands[] = {
    {"convert", kConvert, 2, "INPUT and OUTPUT"},
    {"edit", kEdit, 2, "INPUT and OUTPUT"},
    {"list", kList, 1, "one INPUT"},
    {"info", kInfo, 1, "one INPUT"},
    {"check", kCheck, 1, "one INPUT"},
};

// The value of an option as it counts when the option is given twice: texts that mean the
// same thing are the same value.
std::string AsGiven(const std::string& value) { return value; }
std::string AnyCase(const std::string& value) { return LowerCaseHU(value); }
std::string AsNumber(const std::string& value) {
  const std::optional<double> number = TextToFloatExactly(value);
  if (!number) return value;
  char digits[32];
  return "#" + std::string(digits, std::to_chars(digits, digits + sizeof digits, *number).ptr);
}
std::string AsCodePage(const std::string& value) {
  const std::optional<CodePage> page = CodePageOfName(value);
  return page ? "#" + std::to_string(static_cast<int>(*page)) : value;
}

struct OptionInfo {
  std::string_view name;
  std::string_view value_name;  // what its value is called; empty for an option without one
  unsigned commands;            // the commands that take it
  std::optional<std::string> Arguments::*value;
  bool Arguments::*flag;
  std::string (*same)(const std::string&);
};

constexpr OptionInfo kOptions[] = {
    {"--to", "FORMAT", kWriting, &Arguments::to, nullptr, AnyCase},
    {"--fps", "RATE", kAllCommands, &Arguments::fps, nullptr, AsNumber},
    {"--frames", "LIST", kEdit, &Arguments::frames, nullptr, AsGiven},
    {"--encoding", "NAME", kAllCommands, &Arguments::encoding_name, nullptr, AsCodePage},
    {"--tsv", "", kList | kCheck, nullptr, &Arguments::tsv, nullptr},
    {"--spell", "LANG", kCheck, &Arguments::spell, nullptr, AsGiven},
    {"--min-gap", "MS", kCheck, &Arguments::min_gap, nullptr, AsNumber},
    {"--min-length", "MS", kCheck, &Arguments::min_length, nullptr, AsNumber},
    {"--max-length", "MS", kCheck, &Arguments::max_length, nullptr, AsNumber},
    {"--max-cps", "N", kCheck, &Arguments::max_cps, nullptr, AsNumber},
    {"--max-line", "N", kCheck, &Arguments::max_line, nullptr, AsNumber},
    {"--max-lines", "N", kCheck, &Arguments::max_lines, nullptr, AsNumber},
    {"--to-utf8", "", kWriting, nullptr, &Arguments::to_utf8, nullptr},
};

const OptionInfo* OptionNamed(std::string_view name) {
  for (const OptionInfo& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// "convert and edit", "list", "convert, edit and list".
std::string CommandNames(unsigned commands) {
  std::vector<std::string_view> names;
  for (const CommandInfo& command : kCommands) {
    if ((commands & command.bit) != 0) names.push_back(command.name);
  }
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

// A limit of the checks: a number in 0..high written as it is meant (whole where `whole`);
// 0 turns its check off.
std::optional<std::string> ReadLimit(const std::optional<std::string>& given, const char* name,
                                     double high, bool whole, double& out) {
  if (!given) return std::nullopt;
  const std::optional<double> value = TextToFloatExactly(*given);
  const bool fits = value && *value >= 0 && *value <= high &&
                    (!whole || *value == static_cast<double>(static_cast<long long>(*value)));
  if (!fits) {
    return std::string(name) + " " + *given + " is not " + (whole ? "a whole number" : "a number") +
           " from 0 to " + FloatToText(high);
  }
  out = *value;
  return std::nullopt;
}

// A frame rate the SUB dialog takes as written, above 0.
bool IsFrameRate(const std::string& text) {
  const std::optional<double> rate = TextToFloatExactly(text);
  return rate && *rate > 0 && *rate <= 50;
}

}  // namespace

std::optional<std::string> ParseArguments(std::span<const std::string> argv, Arguments& args) {
  if (argv.empty()) return "no command given";
  args.command = argv[0];
  const CommandInfo* command = nullptr;
  for (const CommandInfo& c : kCommands) {
    if (c.name == args.command) command = &c;
  }
  if (command == nullptr) return "unknown command " + args.command;

  for (std::size_t i = 1; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    if (arg.size() < 2 || arg[0] != '-') {
      args.paths.push_back(arg);
      continue;
    }
    // "--name=value" or "--name value".
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    std::optional<std::string> attached;
    if (equals != std::string::npos) attached = arg.substr(equals + 1);

    if (IsEditStep(name)) {
      if (command->bit != kEdit) return name + " is a step of edit";
      const bool takes_value = EditStepTakesValue(name);
      if (!takes_value && attached) return name + " takes no value";
      std::optional<std::string> second;
      if (EditStepTakesTwoValues(name)) {
        // "--replace FIND REPLACEMENT": two arguments of their own.
        if (attached || i + 2 >= argv.size()) return name + " needs FIND and REPLACEMENT";
        attached = argv[++i];
        second = argv[++i];
      } else if (takes_value && !attached) {
        if (i + 1 >= argv.size()) return name + " needs a value";
        attached = argv[++i];
      }
      if (auto problem = AddEditStep(name, attached, args.steps, second)) return problem;
      continue;
    }
    const OptionInfo* option = OptionNamed(name);
    if (option == nullptr) return "unknown option " + arg;
    if ((option->commands & command->bit) == 0) {
      return name + " is an option of " + CommandNames(option->commands);
    }
    if (option->flag != nullptr) {
      if (attached) return name + " takes no value";
      args.*(option->flag) = true;
      continue;
    }
    if (!attached) {
      if (i + 1 >= argv.size()) return name + " needs a " + std::string(option->value_name);
      attached = argv[++i];
    }
    std::optional<std::string>& value = args.*(option->value);
    if (value && option->same(*value) != option->same(*attached)) {
      return name + " is given twice with different values, " + *value + " and " + *attached;
    }
    value = std::move(attached);
  }

  if (args.paths.size() != command->paths) {
    return args.command + " needs " + std::string(command->paths_wanted);
  }
  if (command->bit == kEdit && args.steps.empty()) return "edit needs at least one STEP";
  if (auto problem = CheckEditSteps(args.steps)) return problem;
  if (args.fps && !IsFrameRate(*args.fps)) {
    return "--fps " + *args.fps + " is not a frame rate above 0 and at most 50";
  }
  if (args.frames) {
    args.frame_ranges = ParseFrameList(*args.frames);
    if (!args.frame_ranges) return "--frames " + *args.frames + " is not a LIST such as 1-5,9";
  }
  if (args.encoding_name) {
    if ((command->bit & kWriting) != 0 && !args.to_utf8) {
      return "--encoding is an option of list, info, and convert or edit with --to-utf8";
    }
    args.encoding = CodePageOfName(*args.encoding_name);
    if (!args.encoding) return "unknown encoding " + *args.encoding_name;
  }
  if (command->bit == kCheck) {
    struct Limit {
      std::optional<std::string> Arguments::*given;
      const char* name;
      double high;
      int CheckLimits::*whole;  // null: max_cps, which takes decimals
    };
    const Limit limits[] = {
        {&Arguments::min_gap, "--min-gap", kMaxCheckMs, &CheckLimits::min_gap_ms},
        {&Arguments::min_length, "--min-length", kMaxCheckMs, &CheckLimits::min_length_ms},
        {&Arguments::max_length, "--max-length", kMaxCheckMs, &CheckLimits::max_length_ms},
        {&Arguments::max_cps, "--max-cps", kMaxCheckCps, nullptr},
        {&Arguments::max_line, "--max-line", kMaxCheckCount, &CheckLimits::max_line_length},
        {&Arguments::max_lines, "--max-lines", kMaxCheckCount, &CheckLimits::max_lines},
    };
    for (const Limit& limit : limits) {
      double value = 0;
      if (auto problem =
              ReadLimit(args.*limit.given, limit.name, limit.high, limit.whole != nullptr, value)) {
        return problem;
      }
      if (!(args.*limit.given)) continue;
      if (limit.whole != nullptr) {
        args.limits.*limit.whole = static_cast<int>(value);
      } else {
        args.limits.max_cps = value;
      }
    }
  }
  if ((command->bit & kWriting) != 0) {
    args.output = ChooseOutputFormat(args.to, args.paths[0], args.paths[1]);
    if (!args.output.problem.empty()) return args.output.problem;
  }
  return std::nullopt;
}

}  // namespace lumetra::cli
