// The steps of `lumetra-cli edit`: what a user does in the "Timing" and "Text" groups,
// typed on the command line (`--offset 0.5 --later --fix-dashes`) and run in the order
// given on the frames `--frames` names, exactly as the window runs them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/command_buttons.h"
#include "editing/editing_parameters.h"
#include "editing/text_pattern.h"

namespace lumetra {
class Session;
}

namespace lumetra::cli {

struct EditStep {
  enum class Kind {
    kType,        // types `text` into `box` and leaves it
    kCheck,       // ticks (`on`) or clears a check box: `stop_at_adjacent` tells which
    kCalculator,  // the frame-rate calculator with `from` and/or `to`, then "Apply"
    kInvert,      // the "%" button beside the resize box
    kPress,       // presses `button`
    kReplace,     // Find and replace's "Replace all": `text` by `replacement`, `find`
  };
  Kind kind = Kind::kPress;
  ParameterBox box = ParameterBox::kOffset;
  std::string text;
  bool stop_at_adjacent = true;  // kCheck: CheckBox2, else CheckBox7
  bool on = false;
  std::optional<std::string> from;
  std::optional<std::string> to;
  CommandButton button = CommandButton::kEarlier;
  std::string replacement;
  FindOptions find;
};

// The usage lines of the steps.
extern const char kEditStepsUsage[];

// Whether `name` (an argument up to any "=") is a step of `edit`.
bool IsEditStep(const std::string& name);
// Adds the step `name` with its value (when it takes one) to `steps`; returns a usage error,
// or nothing. `value` is empty for a step without a value.
std::optional<std::string> AddEditStep(const std::string& name,
                                       const std::optional<std::string>& value,
                                       std::vector<EditStep>& steps,
                                       const std::optional<std::string>& second = std::nullopt);
// Whether the step `name` takes a value.
bool EditStepTakesValue(const std::string& name);
// Whether it takes two (--replace FIND REPLACEMENT); `second` is then the second.
bool EditStepTakesTwoValues(const std::string& name);
// The last checks of the steps once all are read: a --replace whose expression or
// replacement is bad is a usage error.
std::optional<std::string> CheckEditSteps(const std::vector<EditStep>& steps);

// Whether a step reads the characters of the texts, so that it needs their code page
// (Replace all); the others work on the texts' bytes.
bool EditStepsReadCodePage(const std::vector<EditStep>& steps);

// A --frames list ("1-5,9"): ranges of frame numbers; nothing when it is malformed.
struct FrameRange {
  long long first;
  long long last;
};
std::optional<std::vector<FrameRange>> ParseFrameList(const std::string& text);

// Runs the steps, from the start-up values of every box, on the frames of `ranges` that the
// document has (every frame without ranges). Each command is one step of the session's
// command runner; what it tells the user goes to the session's prompts. False when a step
// could not be done (an expression that takes too long to match): nothing should be saved.
bool RunEditSteps(Session& session, const std::vector<EditStep>& steps,
                  const std::optional<std::vector<FrameRange>>& ranges);

}  // namespace lumetra::cli
