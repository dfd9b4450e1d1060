// The code page of the open document, chosen from the file-name box's menu: the list and
// the editor show and type in it, and the bytes stay.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStringDecoder>

#include "foundation/code_pages.h"
#include "test_support.h"
#include "ui/main_window_test_support.h"
#include "ui/text_codec.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// "Привет" and "мир" on two lines, in Windows-1251.
constexpr char kCyrillic[] =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0\r\n";

class CodePageTest : public WindowFixture {
 protected:
  QMenu* RightClickFileBox() {
    // What a right click on the box delivers.
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(Find<QLineEdit>("Edit1"), &click);
    auto* menu = window_->findChild<QMenu*>("CodePagePopup");
    EXPECT_TRUE(menu != nullptr && menu->isVisible());
    return menu;
  }
  QString Checked(QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->isChecked()) return action->objectName();
    }
    return {};
  }
};

TEST_F(CodePageTest, TheGuessedPageShowsBesideTheFileNameAndAChoiceKeepsTheBytes) {
  const std::string path = dir_.File("privet.txt");
  WriteFile(path, kCyrillic);
  OpenThroughDialog(path);
  ASSERT_EQ(Rows(), 1);
  // Guessed from the bytes, which are not UTF-8.
  auto* box = Find<QComboBox>("CodePageBox");
  EXPECT_EQ(box->currentText(), "Windows-1251");
  EXPECT_EQ(Checked(RightClickFileBox()), "Windows-1251");
  QTest::keyClick(window_->findChild<QMenu*>("CodePagePopup"), Qt::Key_Escape);
  EXPECT_TRUE(
      List()->model()->index(0, 0).data().toString().endsWith(QString::fromUtf8("Привет|мир")));

  // Another page, chosen in the box: shown at once, the bytes stay, the document is clean.
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(box->currentText(), "Windows-1253");
  EXPECT_EQ(document().Encoding, CodePage::kWindows1253);
  EXPECT_EQ(document().Modified, kClean);
  RightPress("SpeedButton3");  // quick save
  EXPECT_EQ(ReadFile(path), kCyrillic);

  // Opened again, the file comes back in the page chosen for it.
  OpenThroughDialog(Sample());
  EXPECT_EQ(box->currentText(), "Windows-1250");
  OpenThroughDialog(path);
  EXPECT_EQ(box->currentText(), "Windows-1253");

  // Typing goes into the chosen page.
  box->setCurrentText("Windows-1251");
  emit box->activated(box->currentIndex());
  ClickRow(0);
  EXPECT_EQ(Memo()->toPlainText(), QString::fromUtf8("Привет\nмир"));
  EditFrame(0, "!");
  EXPECT_EQ(document().FrameText[1], "\xCF\xF0\xE8\xE2\xE5\xF2|\xEC\xE8\xF0!");
}

// The core's tables, which the command-line tool uses too, give the characters that Qt's
// own codecs give, wherever a page defines its byte.
TEST(CodePageTables, AgreeWithQtsCodecs) {
  int compared = 0;
  for (CodePage page : AllCodePages()) {
    if (page == CodePage::kUtf8) continue;
    const std::string name(CodePageName(page));
    if (!QStringDecoder(name.c_str()).isValid()) continue;
    ++compared;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
      const char32_t ours = CharOfByte(static_cast<unsigned char>(byte), page);
      if (ours == 0xFFFD || (ours >= 0x80 && ours <= 0x9F)) continue;  // undefined
      const std::string one(1, static_cast<char>(byte));
      EXPECT_EQ(QStringDecoder(name.c_str()).decode(QByteArrayView(one.data(), 1)),
                DecodeText(one, page))
          << name << " byte " << byte;
    }
  }
  if (compared == 0) GTEST_SKIP() << "Qt has no codecs for these code pages";
  EXPECT_EQ(compared, 7);
}

}  // namespace
}  // namespace lumetra
