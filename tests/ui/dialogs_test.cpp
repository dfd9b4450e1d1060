#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <vector>

#include "editing/sub_frame_rate.h"
#include "session/scripted_prompts.h"
#include "ui/qt_prompts.h"
#include "ui/sub_frame_rate_dialog.h"

namespace lumetra {
namespace {

TEST(SubFrameRateDialog, RefusesABadRateAndReportsOkAndCancelThroughTheModel) {
  ScriptedPrompts prompts;
  SubFrameRateModel model;
  SubFrameRateDialog dialog(prompts);
  auto* cancel = dialog.findChild<QPushButton*>("Button1");
  auto* custom = dialog.radio(SubFrameRateModel::kCustomTag);
  dialog.Open(model);
  QTest::mouseClick(custom, Qt::LeftButton);
  EXPECT_TRUE(custom->font().bold());  // the chosen rate is bold
  EXPECT_FALSE(dialog.radio(SubFrameRateModel::kDefaultTag)->font().bold());
  QTest::keyClicks(dialog.customBox(), "50.5");
  QTest::mouseClick(dialog.findChild<QPushButton*>("Button2"), Qt::LeftButton);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{SubFrameRateModel::kRefusal});
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(model.LoadStatus(), 1);

  dialog.Open(model);  // the choice survives between uses
  EXPECT_TRUE(custom->isChecked());
  dialog.customBox()->setText("50");
  QTest::keyClick(dialog.customBox(), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(model.LoadStatus(), 0);
  EXPECT_EQ(model.SubFpsChoice(), 50.0);

  dialog.Open(model);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(model.LoadStatus(), 1);
}

TEST(QtPrompts, FiltersBecomeQtNameFiltersThatKnowTheirSuffix) {
  EXPECT_EQ(QtNameFilters(kOpenFilter),
            (QStringList{"Subtitles  (txt, sub, srt, smi) (*.txt *.sub *.srt *.smi)",
                         "All file  (*.*) (*)"}));
  const QStringList save = QtNameFilters(kSaveFilter);
  ASSERT_EQ(save.size(), 4);
  EXPECT_EQ(SuffixOfNameFilter(save[1]), "sub");
  EXPECT_EQ(SuffixOfNameFilter(save[3]), "txt");
  EXPECT_EQ(DisplayText("a\rb\r\rc"), "a\nb\n\nc");
}

}  // namespace
}  // namespace lumetra
