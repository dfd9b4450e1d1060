// The SUB frame-rate dialog's state and rules: thirteen preset rates and a custom one. The
// readers and writers of SUB files take the chosen rate from here.
#pragma once

#include <array>
#include <string>

namespace lumetra {

class SubFrameRateModel {
 public:
  struct Choice {
    int tag;
    const char* control_name;
    const char* caption;
  };
  static constexpr int kCustomTag = 14;
  static constexpr int kDefaultTag = 11;
  static constexpr char kRefusal[] = "The framerate you've entered is not a valid number!";
  static constexpr char kCaption[] = "SUB file's framerate (frames per second)";
  static constexpr char kGroupCaption[] = "Select framerate or type in a custom value";

  // The radio buttons in their order of tags (1..kCustomTag): the presets by rising rate,
  // then "Custom framerate:".
  static const std::array<Choice, kCustomTag>& Choices();

  int chosen_tag() const { return chosen_tag_; }
  bool custom_editable() const { return chosen_tag_ == kCustomTag; }
  const std::string& custom_text() const { return custom_text_; }
  const std::string& SubFpsText() const { return sub_fps_text_; }
  double SubFpsChoice() const { return sub_fps_choice_; }
  // 0 after a confirmed valid rate, 1 after Cancel or a refused rate.
  int LoadStatus() const { return load_status_; }

  // A click on the radio button with this tag.
  void ClickRadio(int tag);
  // The custom box's text changed.
  void SetCustomText(std::string text);
  // "OK": takes the rate from SubFpsText. Returns true when the dialog closes; a rate of
  // exactly 0 or above 50 is refused (the dialog stays open and shows kRefusal).
  bool PressOk();
  // "Cancel" (and any other way of closing the dialog without OK).
  void PressCancel();

  // Chooses "Custom framerate:" with this text and presses OK, as a user typing a rate
  // would. Returns whether the rate was accepted.
  bool ConfirmCustomRate(const std::string& text);

  // Proposes the rate a file states: the preset of that value when there is one, else
  // "Custom framerate:" with the text. Nothing is confirmed; the dialog still opens.
  void ProposeRate(const std::string& text);

 private:
  int chosen_tag_ = kDefaultTag;
  std::string custom_text_;
  std::string sub_fps_text_ = "25.000";
  double sub_fps_choice_ = 25.0;
  int load_status_ = 0;
};

}  // namespace lumetra
