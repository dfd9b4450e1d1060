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
};
constexpr unsigned kWriting = kConvert | kEdit;
constexpr unsigned kAllCommands = kConvert | kEdit | kList | kInfo;

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
    {"--tsv", "", kList, nullptr, &Arguments::tsv, nullptr},
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
      if (takes_value && !attached) {
        if (i + 1 >= argv.size()) return name + " needs a value";
        attached = argv[++i];
      }
      if (auto problem = AddEditStep(name, attached, args.steps)) return problem;
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
  if ((command->bit & kWriting) != 0) {
    args.output = ChooseOutputFormat(args.to, args.paths[0], args.paths[1]);
    if (!args.output.problem.empty()) return args.output.problem;
  }
  return std::nullopt;
}

}  // namespace lumetra::cli
