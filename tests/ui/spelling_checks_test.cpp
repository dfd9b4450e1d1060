// The spell check and the quality checks as a user meets them: the language box, the
// underlined words and their menu, "Check spelling…", the "Checks" panel with its marks and
// its fix, and the limits in the settings dialog. The spelling tests skip themselves when
// the English dictionary is not installed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>
#include <memory>

#include "editing/quality_checks.h"
#include "settings/configuration.h"
#include "settings/file_association.h"
#include "test_support.h"
#include "ui/background_task.h"
#include "ui/checks_panel.h"
#include "ui/editor_group.h"
#include "ui/frame_list_delegate.h"
#include "ui/main_window_test_support.h"
#include "ui/settings_dialog.h"
#include "ui/spell_check_dialog.h"
#include "ui/spell_language_box.h"
#include "ui/spelling_highlighter.h"
#include "ui/spelling_service.h"
#include "ui/window_commands.h"

namespace lumetra {
namespace {

class SpellingTest : public WindowFixture {
 protected:
  void SetUp() override {
    // The personal word list goes to the test's own directory.
    saved_data_home_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data_.path().string()));
    WindowFixture::SetUp();
  }
  void TearDown() override {
    WindowFixture::TearDown();
    qputenv("XDG_DATA_HOME", saved_data_home_);
  }
  // Chooses the language in the toolbar's box as a user does; false when not installed.
  bool Choose(const char* language) {
    auto* box = Find<SpellLanguageBox>("SpellLanguage");
    const int index = box->findData(QString(language));
    if (index < 0) return false;
    box->setCurrentIndex(index);
    emit box->activated(index);
    window_->spelling().WaitUntilReady();
    return window_->spelling().checker() != nullptr;
  }
  SpellingHighlighter* Highlighter() { return window_->editorGroup()->highlighter(); }
  // The menu of the text box at character `at` of its first line: its items' texts.
  QStringList MenuAt(int at, QMenu& menu) {
    QTextCursor cursor(Memo()->document());
    cursor.setPosition(at);
    Highlighter()->AddActions(&menu, Memo()->cursorRect(cursor).center());
    QStringList items;
    for (QAction* a : menu.actions()) items << (a->isSeparator() ? "-" : a->text());
    return items;
  }
  QAction* Item(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions()) {
      if (a->text() == text) return a;
    }
    ADD_FAILURE() << text.toStdString();
    return nullptr;
  }

  testing::TempDir data_;
  QByteArray saved_data_home_;
};

TEST_F(SpellingTest, TheTextBoxUnderlinesUnknownWordsAndItsMenuOffersSuggestionsAndTheUsersWords) {
  Load({{0, 1000, "teh cat sat"}});
  if (!Choose("en_US")) GTEST_SKIP() << "hunspell-en-us is not installed";
  EXPECT_EQ(window_->session().settings().SpellLanguage, "en_US");  // kept for the next run
  ClickRow(0);
  using Words = std::vector<std::pair<int, int>>;
  EXPECT_EQ(Highlighter()->UnknownWords("teh cat <i>blorpz</i> NASA 3rd"),
            (Words{{0, 3}, {11, 6}}));
  const QList<QTextLayout::FormatRange> formats =
      Memo()->document()->firstBlock().layout()->formats();
  ASSERT_EQ(formats.size(), 1);
  EXPECT_EQ(formats[0].start, 0);
  EXPECT_EQ(formats[0].length, 3);
  EXPECT_EQ(formats[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);

  QMenu menu;
  const QStringList items = MenuAt(1, menu);
  ASSERT_GE(items.size(), 4);
  EXPECT_TRUE(items.contains("the"));
  EXPECT_LE(items.indexOf("-"), 8);  // at most 8 suggestions come first
  EXPECT_TRUE(items.contains("Ignore all"));
  EXPECT_TRUE(items.contains("Add to dictionary"));
  QMenu known;
  EXPECT_EQ(MenuAt(5, known), QStringList{});  // "cat" is known: nothing to offer
  FocusEditor();
  Item(menu, "the")->trigger();
  EXPECT_EQ(Memo()->toPlainText(), "the cat sat");
  List()->setFocus();
  EXPECT_EQ(document().FrameText[1], "the cat sat");

  // "Ignore all" lasts for the session; "Add to dictionary" is kept in the word list.
  Load({{0, 1000, "zorgle blorpz"}});
  ClickRow(0);
  QMenu first;
  MenuAt(1, first);
  Item(first, "Ignore all")->trigger();
  QMenu second;
  MenuAt(8, second);
  const std::size_t told = prompts_.messages.size();
  Item(second, "Add to dictionary")->trigger();
  EXPECT_TRUE(Highlighter()->UnknownWords("zorgle blorpz").empty());
  EXPECT_EQ(testing::ReadFile(data_.File("lumetra/words-en_US.txt")), "blorpz\n");
  EXPECT_EQ(prompts_.messages.size(), told);  // written without a complaint
}

TEST_F(SpellingTest, TheLanguageChosenLastComesBackAtTheNextStart) {
  if (window_->spelling().dictionaries().empty()) GTEST_SKIP() << "no dictionary is installed";
  const std::string language = window_->spelling().dictionaries().back().language;
  const std::string config = dir_.File("lumetra.cfg");
  Configuration settings;
  settings.SpellLanguage = language;
  settings.SpellIgnoreCapitals = false;  // set first at start-up; it must not lose the language
  FileHistory history;
  ASSERT_EQ(SaveConfig(config, settings, history), FileError::kNone);
  Start(std::nullopt, config);
  window_->spelling().WaitUntilReady();
  EXPECT_EQ(window_->spelling().language(), language);
  EXPECT_EQ(Find<SpellLanguageBox>("SpellLanguage")->currentText().toStdString(), language);
}

TEST_F(SpellingTest, CheckSpellingWalksTheUnknownWordsAndEachChangeIsAnUndoStep) {
  Load({{0, 1000, "teh cat"}, {2000, 3000, "fine words"}, {4000, 5000, "recieve teh"}});
  if (!Choose("en_US")) GTEST_SKIP() << "hunspell-en-us is not installed";
  LeftClick("SpellCheckButton");
  SpellCheckDialog* dialog = window_->spellCheckDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->task()->Finish();
  EXPECT_TRUE(Child<QLabel>(*dialog, "SpellContext")->text().startsWith("Frame 1:"));
  EXPECT_EQ(SelectionOf(List()).frames, std::vector<int>{1});
  EXPECT_GE(Child<QListWidget>(*dialog, "Suggestions")->count(), 1);

  Child<QLineEdit>(*dialog, "ChangeTo")->setText("the");
  QTest::mouseClick(Child<QPushButton>(*dialog, "ChangeAllButton"), Qt::LeftButton);
  EXPECT_EQ(document().FrameText[1], "the cat");
  EXPECT_EQ(document().FrameText[3], "recieve the");
  EXPECT_EQ(window_->session().runner().UndoName(), "Change all");
  EXPECT_TRUE(Child<QLabel>(*dialog, "SpellContext")->text().startsWith("Frame 3:"));
  Child<QLineEdit>(*dialog, "ChangeTo")->setText("receive");
  QTest::mouseClick(Child<QPushButton>(*dialog, "ChangeButton"), Qt::LeftButton);
  EXPECT_EQ(document().FrameText[3], "receive the");
  EXPECT_EQ(window_->session().runner().UndoName(), "Change");
  EXPECT_EQ(Child<QLabel>(*dialog, "SpellContext")->text(), kSpellCheckDone);
  EXPECT_FALSE(Child<QPushButton>(*dialog, "ChangeButton")->isEnabled());
  window_->commands().Undo();
  window_->commands().Undo();
  EXPECT_EQ(document().FrameText[3], "recieve teh");
  EXPECT_EQ(document().Modified, kClean);
}

using ChecksTest = WindowFixture;

TEST_F(ChecksTest, ThePanelListsTheFindingsShowsTheirFrameAndFixesOverlapsAsOneStep) {
  Load({{0, 2000, "a"}, {1500, 3000, "b"}, {5000, 9000, "c"}, {10000, 11000, ""}});
  // The list marks the frames and names the rules in their tool tips.
  const FrameRowLayout row =
      window_->frameListDelegate()->Layout(1, QRect(0, 0, 500, 16), false, true);
  ASSERT_EQ(row.marks.size(), 1u);
  EXPECT_EQ(row.marks[0].colour, FrameListDelegate::kErrorMark);
  EXPECT_EQ(List()->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
            "Overlap: overlaps frame 2 by 500 ms");
  EXPECT_FALSE(List()->model()->index(1, 0).data(Qt::ToolTipRole).isValid());

  LeftClick("ChecksButton");
  ChecksPanel* panel = window_->checksPanel();
  ASSERT_TRUE(panel->isVisible());
  panel->task()->Finish();
  QApplication::processEvents();  // laid out
  QTreeWidget* findings = panel->list();
  ASSERT_EQ(findings->topLevelItemCount(), 2);
  EXPECT_EQ(findings->topLevelItem(1)->text(0) + " " + findings->topLevelItem(1)->text(1),
            "4 Empty text");
  EXPECT_EQ(Child<QLabel>(*panel, "FindingsCount")->text(), "2 findings");
  QTest::mouseClick(findings->viewport(), Qt::LeftButton, {},
                    findings->visualItemRect(findings->topLevelItem(1)).center());
  EXPECT_EQ(SelectionOf(List()).frames, std::vector<int>{4});
  EXPECT_FALSE(Child<QPushButton>(*panel, "FixButton")->isEnabled());

  QTest::mouseClick(findings->viewport(), Qt::LeftButton, {},
                    findings->visualItemRect(findings->topLevelItem(0)).center());
  ASSERT_TRUE(Child<QPushButton>(*panel, "FixButton")->isEnabled());
  QTest::mouseClick(Child<QPushButton>(*panel, "FixButton"), Qt::LeftButton);
  EXPECT_EQ(document().FrameEnd[1], 1420);
  EXPECT_EQ(window_->session().runner().UndoName(), "Fix overlap");
  panel->task()->Finish();
  EXPECT_EQ(findings->topLevelItemCount(), 1);
  EXPECT_TRUE(
      window_->frameListDelegate()->Layout(1, QRect(0, 0, 500, 16), false, true).marks.empty());
}

TEST(ChecksSettings, TheLimitsAreEditedInTheSettingsDialog) {
  ScriptedPrompts prompts;
  SettingsDialog dialog(prompts, std::make_unique<DesktopAssociation>(XdgDirs{}), "/x/lumetra");
  Configuration config;
  FileHistory history;
  dialog.Open(config, history);
  EXPECT_EQ(Child<QLineEdit>(dialog, "MaxCpsBox")->text(), "17");
  Child<QLineEdit>(dialog, "MaxCpsBox")->setText("15,5");
  Child<QLineEdit>(dialog, "MaxLinesBox")->setText("0");
  Click(dialog, "IgnoreCapitals");
  Click(dialog, "Button1");
  EXPECT_EQ(config.Checks, (CheckLimits{80, 700, 7000, 15.5, 42, 0}));
  EXPECT_FALSE(config.SpellIgnoreCapitals);
}

TEST(SpellLanguageBox, SaysSoAndStaysOffWithoutDictionaries) {
  SpellingService none({"/nowhere"});
  SpellLanguageBox box(none);
  EXPECT_FALSE(box.isEnabled());
  EXPECT_EQ(box.currentText(), "No dictionary");
  EXPECT_EQ(box.toolTip().toStdString(), kNoDictionaries);
  none.SetLanguage("en_US");  // not among the installed ones: off
  EXPECT_EQ(none.checker(), nullptr);
}

}  // namespace
}  // namespace lumetra
