#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "document/document.h"
#include "editing/sub_frame_rate.h"
#include "session/scripted_prompts.h"
#include "ui/info_dialog.h"
#include "ui/qt_prompts.h"
#include "ui/sub_frame_rate_dialog.h"
#include "ui/text_codec.h"

namespace lumetra {
namespace {

QPushButton* Button(QWidget* dialog, const char* name) {
  auto* button = dialog->findChild<QPushButton*>(name);
  EXPECT_NE(button, nullptr) << name;
  return button;
}

class SubFrameRateDialogTest : public testing::Test {
 protected:
  SubFrameRateDialogTest() : dialog_(prompts_) {}
  ScriptedPrompts prompts_;
  SubFrameRateModel model_;
  SubFrameRateDialog dialog_;
};

TEST_F(SubFrameRateDialogTest, ShowsThePresetsWithTheChosenOneBold) {
  dialog_.Open(model_);
  EXPECT_EQ(dialog_.windowTitle(), "SUB file's framerate (frames per second)");
  for (const auto& choice : SubFrameRateModel::Choices()) {
    auto* radio = dialog_.findChild<QRadioButton*>(choice.control_name);
    ASSERT_NE(radio, nullptr) << choice.control_name;
    EXPECT_EQ(radio->text(), QString::fromLatin1(choice.caption));
    EXPECT_EQ(radio->font().bold(), choice.tag == SubFrameRateModel::kDefaultTag);
  }
  EXPECT_TRUE(dialog_.radio(SubFrameRateModel::kDefaultTag)->isChecked());
  EXPECT_TRUE(dialog_.customBox()->isReadOnly());
  EXPECT_EQ(dialog_.customBox()->palette().color(QPalette::Base),
            dialog_.palette().color(QPalette::Button));
  EXPECT_TRUE(Button(&dialog_, "Button2")->font().bold());
  EXPECT_FALSE(dialog_.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  dialog_.hide();
}

TEST_F(SubFrameRateDialogTest, RefusesAnInvalidCustomRateAndStaysOpen) {
  dialog_.Open(model_);
  QTest::mouseClick(dialog_.radio(SubFrameRateModel::kCustomTag), Qt::LeftButton);
  EXPECT_FALSE(dialog_.customBox()->isReadOnly());
  EXPECT_TRUE(dialog_.radio(SubFrameRateModel::kCustomTag)->font().bold());
  EXPECT_FALSE(dialog_.radio(SubFrameRateModel::kDefaultTag)->font().bold());
  QTest::keyClicks(dialog_.customBox(), "50.5");
  QTest::mouseClick(Button(&dialog_, "Button2"), Qt::LeftButton);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0], "The framerate you've entered is not a valid number!");
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(model_.LoadStatus(), 1);

  dialog_.customBox()->clear();
  QTest::keyClicks(dialog_.customBox(), "50");
  QTest::keyClick(dialog_.customBox(), Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(model_.LoadStatus(), 0);
  EXPECT_EQ(model_.SubFpsChoice(), 50.0);
  EXPECT_EQ(prompts_.messages.size(), 1u);
}

TEST_F(SubFrameRateDialogTest, CancelAndPresetsReportThroughTheModel) {
  dialog_.Open(model_);
  QTest::mouseClick(dialog_.radio(11), Qt::LeftButton);
  QTest::mouseClick(Button(&dialog_, "Button2"), Qt::LeftButton);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_DOUBLE_EQ(model_.SubFpsChoice(), 29.97);
  EXPECT_EQ(model_.LoadStatus(), 0);

  dialog_.Open(model_);
  EXPECT_TRUE(dialog_.radio(11)->isChecked());  // the choice survives between uses
  QTest::mouseClick(Button(&dialog_, "Button1"), Qt::LeftButton);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(model_.LoadStatus(), 1);

  dialog_.Open(model_);
  QTest::keyClick(&dialog_, Qt::Key_Escape);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(model_.LoadStatus(), 1);
}

class InfoDialogTest : public testing::Test {
 protected:
  InfoDialogTest() {
    doc_.InsertFrame(1, 1000, 3000, "Hi");
    doc_.InsertFrame(2, 4000, 5500, "A|B");
    doc_.InfoTitle = "Movie";
    doc_.FileDir = "/Films/";
    doc_.FileName = "movie.srt";
  }
  Document doc_;
  InfoDialog dialog_;
};

TEST_F(InfoDialogTest, ShowsTheHeaderAndTheStatistics) {
  dialog_.Open(doc_);
  EXPECT_EQ(dialog_.windowTitle(), "Subtitle Information  (only for SRTs with info header)");
  EXPECT_EQ(dialog_.size(), QSize(447, 420));
  EXPECT_EQ(dialog_.box(1)->text(), "Movie");
  EXPECT_EQ(dialog_.box(4)->text(), "Morvaly's Lumetra 1.33");
  EXPECT_EQ(dialog_.box(10)->text(), "2");
  EXPECT_EQ(dialog_.box(11)->text(), "3");
  EXPECT_EQ(dialog_.box(12)->text(), "0h 0m 5s 500ms");
  EXPECT_EQ(dialog_.box(13)->text(), "1sec 750ms");
  EXPECT_EQ(dialog_.box(14)->text(), "64 %");
  EXPECT_EQ(dialog_.box(15)->text(), "4");
  EXPECT_EQ(dialog_.box(16)->text(), "/films/");
  EXPECT_EQ(dialog_.box(17)->text(), "movie.srt");
  for (int i = 1; i <= 17; ++i) {
    EXPECT_EQ(dialog_.box(i)->objectName(), QString("Edit%1").arg(i));
    EXPECT_EQ(dialog_.box(i)->isReadOnly(), i > 9) << i;
  }
  QLabel* label = nullptr;
  for (QLabel* l : dialog_.findChildren<QLabel*>()) {
    if (l->buddy() == dialog_.box(14)) label = l;
  }
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Texts are visible during play");
  dialog_.reject();
}

TEST_F(InfoDialogTest, OkStoresTheFieldsAndMegsemDiscardsThem) {
  dialog_.Open(doc_);
  dialog_.box(2)->setText(QString::fromUtf8("Árvíztűrő"));
  QTest::mouseClick(Button(&dialog_, "Button1"), Qt::LeftButton);  // "Mégsem"
  EXPECT_EQ(doc_.InfoAuthor, "");

  doc_.Encoding = CodePage::kWindows1250;
  dialog_.Open(doc_);
  EXPECT_EQ(dialog_.box(2)->text(), "");
  dialog_.box(2)->setText(QString::fromUtf8("Árvíztűrő"));
  QTest::mouseClick(Button(&dialog_, "Button2"), Qt::LeftButton);  // "OK"
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(doc_.InfoAuthor, "\xC1rv\xEDzt\xFBr\xF5");
  EXPECT_EQ(doc_.InfoTitle, "Movie");
  EXPECT_EQ(doc_.Modified, kClean);
}

TEST(InfoDialog, FieldsLeftAloneKeepBytesTheCodePageCannotShow) {
  Document doc;
  doc.Encoding = CodePage::kWindows1250;
  doc.InfoComment = "a\x81z";  // a byte with no character in Windows-1250
  InfoDialog dialog;
  dialog.Open(doc);
  QTest::mouseClick(Button(&dialog, "Button2"), Qt::LeftButton);
  EXPECT_EQ(doc.InfoComment, "a\x81z");
}

TEST(TextCodec, RoundTripsBothCodePages) {
  const QString text = QString::fromUtf8("Árvíztűrő tükörfúrógép €");
  EXPECT_EQ(DecodeText(EncodeText(text, CodePage::kWindows1250), CodePage::kWindows1250), text);
  EXPECT_EQ(DecodeText(EncodeText(text, CodePage::kUtf8), CodePage::kUtf8), text);
  EXPECT_EQ(EncodeText(QString::fromUtf8("\xC5\x91"), CodePage::kWindows1250), "\xF5");
}

TEST(QtPromptsFilters, BecomeQtNameFilters) {
  EXPECT_EQ(QtNameFilters(kOpenFilter),
            (QStringList{"Subtitles  (txt, sub, srt, smi) (*.txt *.sub *.srt *.smi)",
                         "All file  (*.*) (*)"}));
  const QStringList save = QtNameFilters(kSaveFilter);
  ASSERT_EQ(save.size(), 4);
  EXPECT_EQ(save[0], "SRT  (srt with info header) (*.srt)");
  EXPECT_EQ(save[2], "SMI   (html subtitle) (*.smi)");
  EXPECT_EQ(SuffixOfNameFilter(save[1]), "sub");
  EXPECT_EQ(SuffixOfNameFilter(save[3]), "txt");
  EXPECT_EQ(DisplayText("a\rb\r\rc"), "a\nb\n\nc");
}

}  // namespace
}  // namespace lumetra
