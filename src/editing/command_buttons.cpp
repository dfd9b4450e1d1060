#include "editing/command_buttons.h"

#include "editing/text_fixes.h"
#include "editing/timing.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

using B = CommandButton;

// In the order of CommandButton.
constexpr CommandButtonInfo kButtons[] = {
    {B::kEarlier, "Button8", "-", "Earlier", "--earlier", ""},
    {B::kLater, "Button9", "+", "Later", "--later", ""},
    {B::kEarlierSecond, "SpeedButton6", "", "Back 1 sec", "--earlier-1s",
     "Move frames backward by 1 sec"},
    {B::kLaterSecond, "SpeedButton5", "", "Forward 1 sec", "--later-1s",
     "Move frames forward by 1 sec"},
    {B::kShorter, "Button10", "-", "Delay shorter", "--shorter", ""},
    {B::kLonger, "Button11", "+", "Delay longer", "--longer", ""},
    {B::kShorterPercent, "Button12", "-", "Delay shorter (%)", "--shorter-percent", ""},
    {B::kLongerPercent, "Button13", "+", "Delay longer (%)", "--longer-percent", ""},
    {B::kResize, "Button30", "Resize", "Resize", "--resize",
     "Changes the start/end times by this percent.\r0..1 means faster text appearance (shorter "
     "playtime)\r 1+  means slower text appearance (longer playtime)"},
    {B::kFixHangout, "Button21", "Correct Length-hangout errors", "Correct Length-hangout errors",
     "--fix-hangout",
     "If a frame's End time is beyond the next Start\rtime, the End will be set to "
     "NextStart-0.01 sec.\rOnly the selected frames will be checked!"},
    {B::kSetLength, "Button22", "Set it!", "Set length", "--set-length",
     "Recalculates the Length of the selected frames.\rNew delay will be the number of "
     "characters multiplied\rwith the specified value. It will not check if the new\rEnd "
     "values are beyond next Start, so after it use the\r\"Correct Length-hangout errors\" "
     "button...  :-)"},
    {B::kFixDashes, "Button14", "'-abc'...'- Abc'", "Dash fix", "--fix-dashes",
     "If a text starts with minus then a space \rwill be inserted after it and the next "
     "word\rwill start with an Uppercased char...\rOnly searches in the selected frames!"},
    {B::kFixSpacing, "Button18", "'ab,c.De'...'ab, c. De'", "Comma/dot spacing", "--fix-spacing",
     "If there is no space after a comma or dot this will insert one.\rWill not correct words "
     "like S.Y.Z., Mr.xyz, 123.456, wait..."},
    {B::kSpellCheckEnglish, "Button15", "ENG spell check", "ENG spell check", "--spellcheck-en",
     "Corrects common english clerical errors like:\ramd, thw, Im, sory, wil...\r(Will search "
     "in every frame!)"},
    {B::kSpellCheckHungarian, "Button16", "HUN spell check", "HUN spell check", "--spellcheck-hu",
     "Corrects common hungarian errors like:\ray, ayt, egz, azal, hoyg...\r(Will search in "
     "every frame!)"},
};

}  // namespace

std::span<const CommandButtonInfo> CommandButtons() { return kButtons; }

const CommandButtonInfo& InfoOf(CommandButton button) {
  return kButtons[static_cast<std::size_t>(button)];
}

std::string ButtonHint(CommandButton button, const EditingParameters& parameters) {
  auto built = [&](bool increase, const char* what, ParameterBox box, const char* unit) {
    return std::string(increase ? "Increases " : "Decreases ") + what +
           " of the\rselected frames by " + FloatToText(parameters.Value(box)) + unit;
  };
  switch (button) {
    case B::kEarlier:
    case B::kLater:
      return built(button == B::kLater, "Start/End time", ParameterBox::kOffset, " second");
    case B::kShorter:
    case B::kLonger:
      return built(button == B::kLonger, "Text Delay", ParameterBox::kDelay, " second");
    case B::kShorterPercent:
    case B::kLongerPercent:
      return built(button == B::kLongerPercent, "Text Delay", ParameterBox::kDelayPercent,
                   " percent");
    default:
      return InfoOf(button).hint;
  }
}

bool WorksOnEveryFrame(CommandButton button) {
  return button == B::kSpellCheckEnglish || button == B::kSpellCheckHungarian;
}

CommandResult PressCommandButton(CommandButton button, Document& doc, const Selection& selection,
                                 const EditingParameters& p) {
  const auto value = [&p](ParameterBox box) { return p.Value(box); };
  switch (button) {
    case B::kEarlier:
    case B::kLater:
      return ShiftFrames(doc, selection, StepOfSeconds(value(ParameterBox::kOffset)),
                         button == B::kLater);
    case B::kEarlierSecond:
    case B::kLaterSecond:
      return ShiftFrames(doc, selection, kToolbarStep, button == B::kLaterSecond);
    case B::kShorter:
      return DelayFrames(doc, selection, DelayKind::kShorterSeconds, value(ParameterBox::kDelay),
                         p.stop_at_adjacent);
    case B::kLonger:
      return DelayFrames(doc, selection, DelayKind::kLongerSeconds, value(ParameterBox::kDelay),
                         p.stop_at_adjacent);
    case B::kShorterPercent:
      return DelayFrames(doc, selection, DelayKind::kShorterPercent,
                         value(ParameterBox::kDelayPercent), p.stop_at_adjacent);
    case B::kLongerPercent:
      return DelayFrames(doc, selection, DelayKind::kLongerPercent,
                         value(ParameterBox::kDelayPercent), p.stop_at_adjacent);
    case B::kResize:
      return ResizeFrames(doc, selection, value(ParameterBox::kResizeFactor));
    case B::kFixHangout:
      return CorrectHangout(doc, selection);
    case B::kSetLength:
      return LengthFromChars(doc, selection, value(ParameterBox::kLengthPerChar));
    case B::kFixDashes:
      return FixDashes(doc, selection);
    case B::kFixSpacing:
      return FixCommaDotSpacing(doc, selection);
    case B::kSpellCheckEnglish:
      return SpellCheck(doc, selection, EnglishCorrections(), p.only_select_errors);
    case B::kSpellCheckHungarian:
      return SpellCheck(doc, selection, HungarianCorrections(), p.only_select_errors);
  }
  return CommandResult{selection, false, {}};
}

}  // namespace lumetra
