// The buttons of the "Timing" and "Text" groups (and the toolbar's one-second buttons) that
// run a command on the document: their control names, captions, hints and what a press
// does with the current parameters. The window's groups and lumetra-cli's `edit` press
// them the same way.
#pragma once

#include <span>
#include <string>

#include "document/document.h"
#include "editing/editing_parameters.h"
#include "editing/selection.h"

namespace lumetra {

enum class CommandButton {
  kEarlier,              // Button8
  kLater,                // Button9
  kEarlierSecond,        // SpeedButton6
  kLaterSecond,          // SpeedButton5
  kShorter,              // Button10
  kLonger,               // Button11
  kShorterPercent,       // Button12
  kLongerPercent,        // Button13
  kResize,               // Button30
  kFixHangout,           // Button21
  kSetLength,            // Button22
  kFixDashes,            // Button14
  kFixSpacing,           // Button18
  kSpellCheckEnglish,    // Button15
  kSpellCheckHungarian,  // Button16
};

struct CommandButtonInfo {
  CommandButton button;
  const char* control;  // objectName
  const char* caption;  // empty for the toolbar's glyph buttons
  const char* name;     // the undo step's name
  const char* option;   // lumetra-cli edit's step
  const char* hint;     // empty where the parameters build it (ButtonHint)
};

std::span<const CommandButtonInfo> CommandButtons();
const CommandButtonInfo& InfoOf(CommandButton button);

// The hint of a button; those of the offset and delay buttons name the value in force.
std::string ButtonHint(CommandButton button, const EditingParameters& parameters);

// Whether the button works on every frame whatever the selection (the spell checks).
bool WorksOnEveryFrame(CommandButton button);

// A press of the button: its command on the document and the selection.
CommandResult PressCommandButton(CommandButton button, Document& doc, const Selection& selection,
                                 const EditingParameters& parameters);

}  // namespace lumetra
