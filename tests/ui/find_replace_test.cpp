// Find and replace as a user meets it: Ctrl+F and Ctrl+H, the count of hits while typing,
// a bad expression, Find next, Replace and Replace all as undo steps.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>

#include "ui/find_replace_dialog.h"
#include "ui/main_window_test_support.h"
#include "ui/undo_controls.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class FindReplaceTest : public WindowFixture {
 protected:
  FindReplaceDialog* OpenDialog() {
    Keys(QKeySequence(Qt::CTRL | Qt::Key_H));
    FindReplaceDialog* dialog = window_->findReplaceDialog();
    EXPECT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    QApplication::setActiveWindow(dialog);  // as the window manager does
    return dialog;
  }
  template <typename T = QWidget>
  T* In(FindReplaceDialog* dialog, const char* name) {
    return Child<T>(*dialog, name);
  }
  void TypeInto(FindReplaceDialog* dialog, const char* box, const QString& text) {
    auto* edit = In<QLineEdit>(dialog, box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  QString Status(FindReplaceDialog* dialog) { return In<QLabel>(dialog, "FindStatus")->text(); }
};

TEST_F(FindReplaceTest, CtrlFFocusesTheSearchBoxAndCtrlHOpensTheDialogWithTheEditorsSelection) {
  Load({{0, 1, "a cat sat"}, {2, 3, "dog"}});
  ClickRow(0);
  Keys(QKeySequence(Qt::CTRL | Qt::Key_F));
  EXPECT_TRUE(Find("Edit6")->hasFocus());
  FocusEditor();
  QTextCursor cursor = Memo()->textCursor();
  cursor.setPosition(2);
  cursor.setPosition(5, QTextCursor::KeepAnchor);
  Memo()->setTextCursor(cursor);
  FindReplaceDialog* dialog = OpenDialog();
  EXPECT_EQ(In<QLineEdit>(dialog, "FindBox")->text(), "cat");
  EXPECT_TRUE(In(dialog, "FindBox")->hasFocus());
  EXPECT_EQ(Status(dialog), "1 hit");
}

TEST_F(FindReplaceTest, ABadExpressionIsShownAndNothingCanBeFoundWithIt) {
  Load({{0, 1, "(a)"}});
  FindReplaceDialog* dialog = OpenDialog();
  QTest::mouseClick(In<QCheckBox>(dialog, "RegularExpression"), Qt::LeftButton, {}, QPoint(6, 6));
  TypeInto(dialog, "FindBox", "(a");
  EXPECT_EQ(Status(dialog),
            "Bad regular expression: missing closing parenthesis after character 2");
  EXPECT_FALSE(In(dialog, "FindNextButton")->isEnabled());
  EXPECT_FALSE(In(dialog, "ReplaceAllButton")->isEnabled());
  QTest::keyClick(In(dialog, "FindBox"), Qt::Key_Return);  // nothing happens
  TypeInto(dialog, "FindBox", "\\(a\\)");
  EXPECT_EQ(Status(dialog), "1 hit");
}

TEST_F(FindReplaceTest, ReplaceAllIsOneStepNamedAfterItsCountAndReplaceGoesHitByHit) {
  Load({{0, 1, "John Smith"}, {2, 3, "Mary Jones"}, {4, 5, "nobody"}});
  FindReplaceDialog* dialog = OpenDialog();
  QTest::mouseClick(In<QCheckBox>(dialog, "RegularExpression"), Qt::LeftButton, {}, QPoint(6, 6));
  TypeInto(dialog, "FindBox", "^(\\w+) (\\w+)$");
  TypeInto(dialog, "ReplaceBox", "\\2, \\1");
  EXPECT_EQ(Status(dialog), "2 hits");
  QTest::mouseClick(In<QPushButton>(dialog, "ReplaceAllButton"), Qt::LeftButton);
  EXPECT_EQ(document().FrameText[1], "Smith, John");
  EXPECT_EQ(document().FrameText[2], "Jones, Mary");
  EXPECT_EQ(window_->session().runner().UndoName(), "Replace 2");
  window_->undoControls()->Refresh();
  EXPECT_EQ(window_->undoControls()->undoAction()->text(), "Undo Replace 2");
  window_->undoControls()->undoAction()->trigger();
  EXPECT_EQ(document().FrameText[1], "John Smith");
  EXPECT_EQ(document().Modified, kClean);

  // Replace: the first press shows the hit, the second replaces it and shows the next.
  QTest::mouseClick(In<QPushButton>(dialog, "ReplaceButton"), Qt::LeftButton);
  EXPECT_EQ(SelectionOf(List()), (Selection{{1}, 1, 1}));
  EXPECT_EQ(Memo()->toPlainText(), "John Smith");
  EXPECT_TRUE(In<QLabel>(dialog, "HitPreview")->text().contains("Frame 1"));
  QTest::mouseClick(In<QPushButton>(dialog, "ReplaceButton"), Qt::LeftButton);
  EXPECT_EQ(document().FrameText[1], "Smith, John");
  EXPECT_EQ(SelectionOf(List()), (Selection{{2}, 2, 1}));
  EXPECT_EQ(window_->session().runner().UndoName(), "Replace");
  EXPECT_EQ(Status(dialog), "1 hit");
}

}  // namespace
}  // namespace lumetra
