#include "editing/sub_frame_rate.h"

#include "foundation/textkit.h"

namespace lumetra {

const std::array<SubFrameRateModel::Choice, SubFrameRateModel::kCustomTag>&
SubFrameRateModel::Choices() {
  static const std::array<Choice, kCustomTag> choices = {{
      {1, "RadioButton13", "  1.000"},
      {2, "RadioButton1", "  8.000"},
      {3, "RadioButton2", "12.000"},
      {4, "RadioButton3", "15.000"},
      {5, "RadioButton4", "16.000"},
      {6, "RadioButton5", "20.000"},
      // Most films: 24000/1001 frames a second.
      {7, "RadioButton14", "23.976"},
      {8, "RadioButton6", "23.977"},
      {9, "RadioButton7", "23.997"},
      {10, "RadioButton8", "24.000"},
      {11, "RadioButton12", "25.000"},
      {12, "RadioButton11", "29.970"},
      {13, "RadioButton10", "30.000"},
      {14, "RadioButton9", "Custom framerate:"},
  }};
  return choices;
}

void SubFrameRateModel::ClickRadio(int tag) {
  if (tag < 1 || tag > kCustomTag) return;
  chosen_tag_ = tag;
  sub_fps_text_ = tag == kCustomTag ? custom_text_ : Choices()[static_cast<std::size_t>(tag - 1)].caption;
}

void SubFrameRateModel::SetCustomText(std::string text) {
  custom_text_ = std::move(text);
  sub_fps_text_ = custom_text_;
}

bool SubFrameRateModel::PressOk() {
  load_status_ = 0;
  sub_fps_choice_ = TextToFloat(sub_fps_text_);
  if (sub_fps_choice_ == 0.0 || sub_fps_choice_ > 50.0) {
    load_status_ = 1;
    return false;
  }
  return true;
}

void SubFrameRateModel::PressCancel() { load_status_ = 1; }

void SubFrameRateModel::ProposeRate(const std::string& text) {
  const double rate = TextToFloat(text);
  for (const Choice& choice : Choices()) {
    if (choice.tag != kCustomTag && TextToFloat(choice.caption) == rate) {
      ClickRadio(choice.tag);
      return;
    }
  }
  ClickRadio(kCustomTag);
  SetCustomText(text);
}

bool SubFrameRateModel::ConfirmCustomRate(const std::string& text) {
  ClickRadio(kCustomTag);
  SetCustomText(text);
  return PressOk();
}

}  // namespace lumetra
