#include "cli/edit_steps.h"

#include <algorithm>

#include "editing/find_replace.h"
#include "editing/frame_rate.h"
#include "foundation/characters.h"
#include "foundation/textkit.h"
#include "session/session.h"

namespace lumetra::cli {

const char kEditStepsUsage[] =
    "edit     reads INPUT, runs the STEPs in the order given on the frames of --frames\n"
    "         (1-based numbers and ranges such as 1-5,9; default: every frame), each as\n"
    "         in the editor's \"Timing\" and \"Text\" groups from their start-up values,\n"
    "         and writes OUTPUT as convert does. STEPs that type into a box:\n"
    "           --offset TEXT  --delay TEXT  --delay-percent TEXT  --resize-factor TEXT\n"
    "           --length-per-char TEXT  (\"14:08\" as an offset is 848 s; 1,5 is 1.5)\n"
    "         check boxes: --stop-at-adjacent on|off  --only-select on|off\n"
    "         the frame-rate calculator: --fps-from TEXT [--fps-to TEXT]  --invert-factor\n"
    "         buttons: --earlier --later --earlier-1s --later-1s --shorter --longer\n"
    "           --shorter-percent --longer-percent --resize --fix-hangout --set-length\n"
    "           --fix-dashes --fix-spacing --spellcheck-en --spellcheck-hu (every frame)\n"
    "         Find and replace's Replace all: --replace FIND REPLACEMENT, followed by any\n"
    "           of --regex --match-case --whole-words (FIND and REPLACEMENT in UTF-8; with\n"
    "           --regex, \\1 in REPLACEMENT is group 1 and \\| or \\n a line break)\n";

namespace {

struct TypedStep {
  const char* name;
  ParameterBox box;
};
constexpr TypedStep kTypedSteps[] = {
    {"--offset", ParameterBox::kOffset},
    {"--delay", ParameterBox::kDelay},
    {"--delay-percent", ParameterBox::kDelayPercent},
    {"--resize-factor", ParameterBox::kResizeFactor},
    {"--length-per-char", ParameterBox::kLengthPerChar},
};

const TypedStep* TypedStepOf(const std::string& name) {
  for (const TypedStep& s : kTypedSteps) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

const CommandButtonInfo* ButtonStepOf(const std::string& name) {
  for (const CommandButtonInfo& info : CommandButtons()) {
    if (name == info.option) return &info;
  }
  return nullptr;
}

bool IsCheckStep(const std::string& name) {
  return name == "--stop-at-adjacent" || name == "--only-select";
}

bool IsCalculatorStep(const std::string& name) {
  return name == "--fps-from" || name == "--fps-to";
}

// The options of the --replace before them.
bool FindOptions::*ReplaceOptionOf(const std::string& name) {
  if (name == "--regex") return &FindOptions::regex;
  if (name == "--match-case") return &FindOptions::match_case;
  if (name == "--whole-words") return &FindOptions::whole_words;
  return nullptr;
}

// A frame number of a --frames list: digits only; numbers beyond any document are kept as
// one such number.
std::optional<long long> FrameNumber(const std::string& text) {
  constexpr long long kBeyondAnyDocument = 1LL << 40;
  if (text.empty()) return std::nullopt;
  long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = std::min(n * 10 + (c - '0'), kBeyondAnyDocument);
  }
  return n;
}

// The usage error for a value a box would not read as written, or nothing when it would.
std::optional<std::string> Refusal(const std::string& name, const std::string& value,
                                   BoxReading reading,
                                   std::optional<ParameterBox> box = std::nullopt) {
  const std::string given = name + " " + value;
  switch (reading) {
    case BoxReading::kExact:
      return std::nullopt;
    case BoxReading::kNotANumber:
      if (!box) return given + " is not a frame rate";
      return given + (box == ParameterBox::kOffset
                          ? " is not a number of seconds or minutes:seconds"
                          : " is not a number");
    case BoxReading::kOutOfRange:
      return given + " is outside the box's range, " + FloatToText(EditingParameters::Low(*box)) +
             " to " + FloatToText(EditingParameters::High(*box));
    case BoxReading::kTooManyDecimals:
      return given + " has more decimals than the six the box keeps";
    case BoxReading::kZero:
      return given + " is not a frame rate (the calculator takes 0 as 24)";
  }
  return std::nullopt;
}

}  // namespace

bool IsEditStep(const std::string& name) {
  return TypedStepOf(name) != nullptr || IsCheckStep(name) || IsCalculatorStep(name) ||
         name == "--invert-factor" || ButtonStepOf(name) != nullptr || name == "--replace" ||
         ReplaceOptionOf(name) != nullptr;
}

bool EditStepTakesValue(const std::string& name) {
  return TypedStepOf(name) != nullptr || IsCheckStep(name) || IsCalculatorStep(name) ||
         name == "--replace";
}

bool EditStepTakesTwoValues(const std::string& name) { return name == "--replace"; }

std::optional<std::string> CheckEditSteps(const std::vector<EditStep>& steps) {
  for (const EditStep& step : steps) {
    if (step.kind != EditStep::Kind::kReplace) continue;
    const TextPattern pattern = MakeFindPattern(step.text, step.find);
    const std::string given = "--replace " + step.text + " " + step.replacement + ": ";
    if (!pattern.ok()) return given + "bad regular expression: " + pattern.error();
    const std::string problem = pattern.ReplacementProblem(Utf8ToChars(step.replacement));
    if (!problem.empty()) return given + "bad replacement: " + problem;
  }
  return std::nullopt;
}

std::optional<std::string> AddEditStep(const std::string& name,
                                       const std::optional<std::string>& value,
                                       std::vector<EditStep>& steps,
                                       const std::optional<std::string>& second) {
  EditStep step;
  if (name == "--replace") {
    if (value->empty()) return "--replace needs a FIND that is not empty";
    step.kind = EditStep::Kind::kReplace;
    step.text = *value;
    step.replacement = second.value_or("");
  } else if (bool FindOptions::*option = ReplaceOptionOf(name)) {
    if (steps.empty() || steps.back().kind != EditStep::Kind::kReplace) {
      return name + " belongs after --replace FIND REPLACEMENT";
    }
    bool& on = steps.back().find.*option;
    if (on) return name + " is given twice for one --replace";
    on = true;
    return std::nullopt;
  } else if (const TypedStep* typed = TypedStepOf(name)) {
    if (auto problem =
            Refusal(name, *value, EditingParameters::Reading(typed->box, *value), typed->box)) {
      return problem;
    }
    step.kind = EditStep::Kind::kType;
    step.box = typed->box;
    step.text = *value;
  } else if (IsCheckStep(name)) {
    if (*value != "on" && *value != "off") return name + " takes on or off, not " + *value;
    step.kind = EditStep::Kind::kCheck;
    step.stop_at_adjacent = name == "--stop-at-adjacent";
    step.on = *value == "on";
  } else if (IsCalculatorStep(name)) {
    if (auto problem = Refusal(name, *value, FrameRateCalculator::RateReading(*value))) {
      return problem;
    }
    // "--fps-from A --fps-to B" is one use of the calculator; a --fps-to alone would take
    // whatever rate the calculator's first box holds.
    if (name == "--fps-to") {
      if (steps.empty() || steps.back().kind != EditStep::Kind::kCalculator || steps.back().to) {
        return "--fps-to " + *value + " needs --fps-from just before it";
      }
      steps.back().to = *value;
      return std::nullopt;
    }
    step.kind = EditStep::Kind::kCalculator;
    step.from = *value;
  } else if (name == "--invert-factor") {
    step.kind = EditStep::Kind::kInvert;
  } else if (const CommandButtonInfo* info = ButtonStepOf(name)) {
    step.button = info->button;
  } else {
    return "unknown option " + name;
  }
  steps.push_back(std::move(step));
  return std::nullopt;
}

bool EditStepsReadCodePage(const std::vector<EditStep>& steps) {
  return std::any_of(steps.begin(), steps.end(),
                     [](const EditStep& step) { return step.kind == EditStep::Kind::kReplace; });
}

std::optional<std::vector<FrameRange>> ParseFrameList(const std::string& text) {
  std::vector<FrameRange> ranges;
  std::size_t from = 0;
  while (true) {
    const std::size_t comma = text.find(',', from);
    const std::string item = text.substr(from, comma == std::string::npos ? comma : comma - from);
    const std::size_t dash = item.find('-');
    const std::optional<long long> first = FrameNumber(item.substr(0, dash));
    const std::optional<long long> last =
        dash == std::string::npos ? first : FrameNumber(item.substr(dash + 1));
    if (!first || !last || *first > *last) return std::nullopt;
    ranges.push_back({*first, *last});
    if (comma == std::string::npos) return ranges;
    from = comma + 1;
  }
}

bool RunEditSteps(Session& session, const std::vector<EditStep>& steps,
                  const std::optional<std::vector<FrameRange>>& ranges) {
  Document& doc = session.document();
  Selection selection;
  if (ranges) {
    std::vector<bool> chosen(static_cast<std::size_t>(doc.FrameCount) + 1, false);
    for (const FrameRange& r : *ranges) {
      const long long last = std::min<long long>(r.last, doc.FrameCount);
      for (long long f = std::max(r.first, 1LL); f <= last; ++f)
        chosen[static_cast<std::size_t>(f)] = true;
    }
    for (int f = 1; f <= doc.FrameCount; ++f) {
      if (chosen[static_cast<std::size_t>(f)]) selection.frames.push_back(f);
    }
  } else {
    selection.frames = AllFrames(doc.FrameCount);
  }
  selection.top = doc.FrameCount > 0 ? 1 : 0;

  // The boxes and the calculator as the window starts with them.
  EditingParameters parameters;
  FrameRateCalculator calculator;
  for (const EditStep& step : steps) {
    switch (step.kind) {
      case EditStep::Kind::kType:
        parameters.Type(step.box, step.text);
        break;
      case EditStep::Kind::kCheck:
        (step.stop_at_adjacent ? parameters.stop_at_adjacent : parameters.only_select_errors) =
            step.on;
        break;
      case EditStep::Kind::kCalculator:
        parameters.TakeCalculatorFactor(calculator.TypeRatesAndApply(
            step.from ? &*step.from : nullptr, step.to ? &*step.to : nullptr));
        break;
      case EditStep::Kind::kInvert:
        parameters.InvertResizeFactor();
        break;
      case EditStep::Kind::kPress:
        // The selection stays for the next steps, whatever a spell check selects.
        session.runner().Run(InfoOf(step.button).name, selection, [&](Document& d) {
          return PressCommandButton(step.button, d, selection, parameters);
        });
        break;
      case EditStep::Kind::kReplace: {
        const TextPattern pattern = MakeFindPattern(step.text, step.find);
        const ReplacePlan plan = PlanReplaceAll(doc, selection.frames, pattern, step.replacement);
        if (plan.status == FindStatus::kTooComplex || plan.status == FindStatus::kTooLong) {
          session.prompts().ShowMessage(
              "--replace " + step.text + ": " +
              (plan.status == FindStatus::kTooLong ? kTooLong : kTooComplex) +
              IntToText(plan.frame));
          return false;
        }
        if (plan.count == 0) break;
        session.runner().Run(ReplaceAllName(plan.count), selection,
                             [&](Document& d) { return ApplyReplacePlan(d, selection, plan); });
        break;
      }
    }
  }
  return true;
}

}  // namespace lumetra::cli
