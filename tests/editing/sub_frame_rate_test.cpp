#include "editing/sub_frame_rate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

TEST(SubFrameRateModel, PresetsAreTakenFromTheirCaptionsAndCustomRatesCheckedOnOk) {
  SubFrameRateModel model;
  EXPECT_EQ(model.SubFpsText(), "25.000");
  model.ClickRadio(1);  // "  1.000": leading blanks are skipped
  EXPECT_TRUE(model.PressOk());
  EXPECT_EQ(model.SubFpsChoice(), 1.0);
  for (const char* accepted : {"50", "-10", "0.5"}) {
    EXPECT_TRUE(model.ConfirmCustomRate(accepted)) << accepted;
  }
  for (const char* refused : {"50.5", "abc", ""}) {
    EXPECT_FALSE(model.ConfirmCustomRate(refused)) << refused;
  }
  // A comma is not a decimal point here.
  EXPECT_TRUE(model.ConfirmCustomRate("23,976"));
  EXPECT_EQ(model.SubFpsChoice(), 23.0);

  // Cancel after a refusal keeps the refused value, and its text for the next time
  // "Custom framerate:" is chosen.
  EXPECT_FALSE(model.ConfirmCustomRate("0"));
  model.PressCancel();
  EXPECT_EQ(model.LoadStatus(), 1);
  EXPECT_EQ(model.SubFpsChoice(), 0.0);
  model.ClickRadio(12);
  model.ClickRadio(SubFrameRateModel::kCustomTag);
  EXPECT_EQ(model.SubFpsText(), "0");
}

TEST(SubFrameRateModel, OffersTheRatesOfFilmsAmongPresetsInRisingOrder) {
  SubFrameRateModel model;
  std::vector<double> presets;
  for (const SubFrameRateModel::Choice& choice : SubFrameRateModel::Choices()) {
    if (choice.tag == SubFrameRateModel::kCustomTag) continue;
    model.ClickRadio(choice.tag);
    ASSERT_TRUE(model.PressOk()) << choice.caption;
    presets.push_back(model.SubFpsChoice());
  }
  EXPECT_EQ(presets, (std::vector<double>{1, 8, 12, 15, 16, 20, 23.976, 23.977, 23.997, 24, 25,
                                          29.97, 30}));
  EXPECT_EQ(SubFrameRateModel::Choices()[SubFrameRateModel::kDefaultTag - 1].caption,
            std::string("25.000"));
  // A rate a file states picks its preset.
  model.ProposeRate("23.976");
  EXPECT_EQ(model.chosen_tag(), 7);
}

}  // namespace
}  // namespace lumetra
