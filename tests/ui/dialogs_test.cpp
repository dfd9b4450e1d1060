#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "editing/sub_frame_rate.h"
#include "foundation/textkit.h"
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
            (QStringList{"Subtitles  (txt, sub, srt, smi, vtt, ass, ssa) (*.txt *.sub *.srt *.smi "
                         "*.vtt *.ass *.ssa)",
                         "All file  (*.*) (*)"}));
  const QStringList save = QtNameFilters(QString::fromStdString(SaveDialogFilter()));
  ASSERT_EQ(save.size(), 8);
  EXPECT_EQ(save[4], "SRT  (normal srt) (*.srt)");
  EXPECT_EQ(save.mid(5), (QStringList{"WebVTT (*.vtt)", "ASS (*.ass)", "SSA (*.ssa)"}));
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

// Types a name into the next file dialog and presses its accept button.
void TypeIntoNextFileDialog(const QString& name) {
  QTimer::singleShot(10, [name] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return TypeIntoNextFileDialog(name);  // not shown yet
    auto* name_box = dialog->findChild<QLineEdit*>("fileNameEdit");
    // As while typing: a file the list selects meanwhile does not replace the typed name.
    QApplication::setActiveWindow(dialog);
    name_box->setFocus();
    name_box->setText(name);
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
  });
}

TEST(QtPrompts, TypedPathsAreResolvedThroughLinksNotFoldedAsText) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "real/sub");
  std::filesystem::create_directory_symlink("real/sub", dir.path() / "dl");
  testing::WriteFile(dir.File("real/z.txt"), "the file the system means");
  testing::WriteFile(dir.File("z.txt"), "the file beside the link");
  QtPrompts prompts;
  const FileDialogState state{dir.path().string(), "", 0};

  TypeIntoNextFileDialog("dl/../z.txt");
  const std::optional<std::string> opened = prompts.AskOpenPath(state);
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(FullPathOf(*opened), dir.File("real/z.txt"));

  TypeIntoNextFileDialog("dl/../new.srt");
  const std::optional<SaveChoice> saved = prompts.AskSavePath(state);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(FullPathOf(saved->path), dir.File("real/new.srt"));
}

}  // namespace
}  // namespace lumetra
