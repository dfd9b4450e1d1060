#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "editing/sub_frame_rate.h"
#include "session/save_file_types.h"
#include "session/scripted_prompts.h"
#include "test_support.h"
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
  const QStringList save = QtNameFilters(QString::fromStdString(SaveDialogFilter()));
  ASSERT_EQ(save.size(), 5);
  EXPECT_EQ(save[4], "SRT  (normal srt) (*.srt)");
  EXPECT_EQ(SuffixOfNameFilter(save[1]), "sub");
  EXPECT_EQ(SuffixOfNameFilter(save[3]), "txt");
  EXPECT_EQ(DisplayText("a\rb\r\rc"), "a\nb\n\nc");
}

// The save dialog opens on the document's own type and tells which type the user took; a
// name typed without an extension gets the type's.
TEST(QtPrompts, TheSaveDialogPreselectsAndReturnsAFileType) {
  testing::TempDir dir;
  QtPrompts prompts;
  QString preselected;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    preselected = types->currentText();
    // What choosing an item of the combo box does.
    types->setCurrentIndex(2);
    emit types->activated(2);
    emit types->textActivated(types->currentText());
    dialog->selectFile("movie");
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
  });
  const std::optional<SaveChoice> choice =
      prompts.AskSavePath({dir.path().string(), "film", /*file_type=*/4});
  EXPECT_EQ(preselected.simplified(), "SRT (normal srt)");
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->path, dir.File("movie.smi"));
  EXPECT_EQ(choice->file_type, 2);
}

}  // namespace
}  // namespace lumetra
