#include "editing/sub_frame_rate.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(SubFrameRateModel, StartsWith25Chosen) {
  SubFrameRateModel model;
  EXPECT_EQ(model.chosen_tag(), 10);
  EXPECT_EQ(model.SubFpsText(), "25.000");
  EXPECT_EQ(model.SubFpsChoice(), 25.0);
  EXPECT_EQ(model.LoadStatus(), 0);
  EXPECT_FALSE(model.custom_editable());
  EXPECT_STREQ(SubFrameRateModel::Choices()[7].caption, "23.997");
}

TEST(SubFrameRateModel, PresetConfirmed) {
  SubFrameRateModel model;
  model.ClickRadio(11);
  EXPECT_EQ(model.SubFpsText(), "29.970");
  EXPECT_TRUE(model.PressOk());
  EXPECT_EQ(model.SubFpsChoice(), 29.97);
  EXPECT_EQ(model.LoadStatus(), 0);
  // Leading blanks of a caption are skipped.
  model.ClickRadio(1);
  EXPECT_TRUE(model.PressOk());
  EXPECT_EQ(model.SubFpsChoice(), 1.0);
}

TEST(SubFrameRateModel, CustomRatesAreCheckedOnOk) {
  SubFrameRateModel model;
  EXPECT_TRUE(model.ConfirmCustomRate("50"));
  EXPECT_EQ(model.SubFpsChoice(), 50.0);
  EXPECT_TRUE(model.ConfirmCustomRate("-10"));
  EXPECT_EQ(model.SubFpsChoice(), -10.0);
  for (const char* refused : {"50.5", "0", "abc", ""}) {
    EXPECT_FALSE(model.ConfirmCustomRate(refused)) << refused;
    EXPECT_EQ(model.LoadStatus(), 1) << refused;
  }
  // Commas are not decimal points here: "23,976" reads as 23.
  EXPECT_TRUE(model.ConfirmCustomRate("23,976"));
  EXPECT_EQ(model.SubFpsChoice(), 23.0);
}

TEST(SubFrameRateModel, CancelKeepsTheLastComputedValue) {
  SubFrameRateModel model;
  model.ClickRadio(SubFrameRateModel::kCustomTag);
  model.SetCustomText("0");
  EXPECT_FALSE(model.PressOk());
  model.PressCancel();
  EXPECT_EQ(model.LoadStatus(), 1);
  EXPECT_EQ(model.SubFpsChoice(), 0.0);
  // Choosing a preset again takes its caption; the custom text stays for later.
  model.ClickRadio(12);
  EXPECT_EQ(model.SubFpsText(), "30.000");
  model.ClickRadio(SubFrameRateModel::kCustomTag);
  EXPECT_EQ(model.SubFpsText(), "0");
}

}  // namespace
}  // namespace lumetra
