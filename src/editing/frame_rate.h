// The frame-rate calculator behind the "Resize:" button: two frame rates and the resize
// factor between them (from / to), with the rules its three boxes follow. It keeps its
// boxes between uses; the window's dialog and lumetra-cli's `edit` are views of it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "editing/editing_parameters.h"

namespace lumetra {

class FrameRateCalculator {
 public:
  // "Change from:" (Edit1), "...to:" (Edit2) and "Resize value::" (Edit3).
  enum Box { kFrom = 0, kTo = 1, kFactor = 2 };
  static constexpr char kCaption[] = "Framerate calculator";

  const std::string& Text(Box box) const { return text_[box]; }
  double from_fps() const { return from_fps_; }
  double to_fps() const { return to_fps_; }
  // The factor handed back to the window; 0 means there is nothing to apply.
  double resize_value() const { return resize_value_; }

  // The dialog is shown: the factor is taken from its box again, so that an earlier
  // "Cancel" is forgotten.
  void Activate();
  // A box's text changed. A rate box sets its rate (a decimal comma is taken; 0 counts as
  // 24) and shows the factor from / to with at most six decimals; the factor box sets the
  // factor.
  void Change(Box box, std::string text);
  // A box loses the focus: it shows the value in force.
  void Leave(Box box);
  // "Swap": the two rate boxes exchange their texts.
  void Swap();
  // "Apply": the factor is the one its box shows.
  void Apply();
  // "Cancel": nothing to apply.
  void Cancel() { resize_value_ = 0; }

  // One use as a user at the keyboard: opens the calculator, types each given rate into
  // its box (leaving it) and applies. Returns the factor handed back.
  double TypeRatesAndApply(const std::string* from, const std::string* to);
  // Whether a rate typed into a rate box and left stays the rate in force: the whole text
  // is a number (a decimal comma is taken), not 0 (which counts as 24), and no finer than
  // the six decimals the box shows. Negative rates are taken as typed.
  static BoxReading RateReading(std::string_view text);

 private:
  std::array<std::string, 3> text_ = {"23.977", "25", "0.95908"};
  double from_fps_ = 23.977;
  double to_fps_ = 25;
  double resize_value_ = 0.95908;
};

}  // namespace lumetra
