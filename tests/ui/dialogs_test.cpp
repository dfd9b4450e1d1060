#include <gtest/gtest.h>

#include <QApplication>
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
  const QStringList save = QtNameFilters(kSaveFilter);
  ASSERT_EQ(save.size(), 4);
  EXPECT_EQ(SuffixOfNameFilter(save[1]), "sub");
  EXPECT_EQ(SuffixOfNameFilter(save[3]), "txt");
  EXPECT_EQ(DisplayText("a\rb\r\rc"), "a\nb\n\nc");
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
  const FileDialogState state{dir.path().string(), ""};

  TypeIntoNextFileDialog("dl/../z.txt");
  const std::optional<std::string> opened = prompts.AskOpenPath(state);
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(FullPathOf(*opened), dir.File("real/z.txt"));

  TypeIntoNextFileDialog("dl/../new.srt");
  const std::optional<std::string> saved = prompts.AskSavePath(state);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(FullPathOf(*saved), dir.File("real/new.srt"));
}

}  // namespace
}  // namespace lumetra
