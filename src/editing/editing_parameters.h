// The values the timing and text commands take from the "Timing" and "Text" groups: five
// number boxes with the rules they follow while the user types and when the user leaves
// them, and the check boxes. The window's groups and lumetra-cli's `edit` both work on it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lumetra {

// The number boxes, in the order of the "Timing" group.
enum class ParameterBox { kOffset, kDelay, kDelayPercent, kResizeFactor, kLengthPerChar };
inline constexpr int kParameterBoxes = 5;

// How a number box reads a text typed into it and left.
enum class BoxReading {
  kExact,            // the value in force is the number the text writes
  kNotANumber,       // the box reads only a part of it, or a number it does not write
  kOutOfRange,       // a number that the box brings into its range
  kTooManyDecimals,  // a number that the box cuts to the six decimals it shows
  kZero,             // a rate of 0, which the frame-rate calculator takes as 24
};

class EditingParameters {
 public:
  // The boxes hold their start-up texts and values: offset 1 s, delay 0.25 s, delay 10 %,
  // resize factor 0.95908, length 0.1 s per character.
  EditingParameters();

  // The box's control name ("Edit2", "Edit4", "Edit5", "Edit33", "Edit15").
  static const char* ControlName(ParameterBox box);

  const std::string& Text(ParameterBox box) const { return text_[Index(box)]; }
  double Value(ParameterBox box) const { return value_[Index(box)]; }

  // The box's text changed (the user typed): the value follows it, brought into the box's
  // range. The offset, delay and resize boxes take a decimal comma; the length box does not,
  // and keeps at least 0.01.
  void Change(ParameterBox box, std::string text);
  // The box loses the focus: it shows the value in force ("1,5" in the delay box becomes
  // "1.5"). The offset box first reads "m:s" as minutes and seconds ("14:08" is 848 s).
  // The resize box keeps what was typed.
  void Leave(ParameterBox box);
  // Types `text` into the box and leaves it.
  void Type(ParameterBox box, std::string text);
  // Whether Type(box, text) leaves the value the text writes in force: the whole text is a
  // number (with a decimal comma where the box takes one; the offset box also takes
  // "minutes:seconds"), within the box's range, and no finer than the six decimals the box
  // shows when it is left (the resize box is not normalised, so it keeps any).
  static BoxReading Reading(ParameterBox box, std::string_view text);
  // The range a box keeps its value in.
  static double Low(ParameterBox box);
  static double High(ParameterBox box);

  // The "%" button beside the resize box: the factor becomes its reciprocal, cut to six
  // decimals (0.95908 becomes 1.042666); 0 stays 0.
  void InvertResizeFactor();
  // What the frame-rate calculator handed back: a value other than 0 becomes the resize
  // factor (as six decimals); 0 means the calculator was cancelled.
  void TakeCalculatorFactor(double value);

  // "Stop if reaches adjacent frame" (CheckBox2), ticked at start-up.
  bool stop_at_adjacent = true;
  // "Non-Case sensitive search" (CheckBox5), ticked.
  bool ignore_case = true;
  // "Select search results (frames)" (CheckBox3), not ticked.
  bool select_results = false;
  // "Search from the beginning" (CheckBox6), not ticked; it counts (and is enabled) only
  // while select_results is ticked.
  bool from_beginning = false;
  // "Only select errors, do not replace!" (CheckBox7), ticked.
  bool only_select_errors = true;

 private:
  static std::size_t Index(ParameterBox box) { return static_cast<std::size_t>(box); }

  std::array<std::string, kParameterBoxes> text_;
  std::array<double, kParameterBoxes> value_{};
};

}  // namespace lumetra
