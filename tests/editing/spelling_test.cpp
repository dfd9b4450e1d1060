#include "editing/spelling.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document_support.h"
#include "test_support.h"

namespace lumetra {
namespace {

// A dictionary of a few words; suggests the words of the same length.
class WordList : public SpellingDictionary {
 public:
  explicit WordList(std::set<std::string> words) : words_(std::move(words)) {}
  bool Knows(std::string_view word) override {
    ++lookups;
    return words_.count(std::string(word)) > 0;
  }
  std::vector<std::string> Suggest(std::string_view word) override {
    std::vector<std::string> out;
    for (const std::string& w : words_) {
      if (w.size() == word.size()) out.push_back(w);
    }
    return out;
  }
  void Add(std::string_view word) override { words_.emplace(word); }
  int lookups = 0;

 private:
  std::set<std::string> words_;
};

std::vector<std::string> Words(const std::string& text, CodePage page = CodePage::kUtf8,
                               bool ignore_capitals = true) {
  std::vector<std::string> words;
  for (const WordSpan& w : SpellWords(text, page, {ignore_capitals}))
    words.push_back(WordText(text, w, page));
  return words;
}

using Texts = std::vector<std::string>;

TEST(SpellWords, SkipMarkupNumbersAndWordsInCapitalsButKeepInnerApostrophesAndHyphens) {
  EXPECT_EQ(Words("<i>Don't</i> {\\i1}go{\\i0}|well-known -Yes"),
            (Texts{"Don't", "go", "well-known", "Yes"}));
  EXPECT_EQ(Words("R2D2 3rd 42 it's 'quoted' end-"), (Texts{"it's", "quoted", "end"}));
  EXPECT_EQ(Words("NASA and the FBI, I"), (Texts{"and", "the", "I"}));
  EXPECT_EQ(Words("NASA and the FBI", CodePage::kUtf8, false),
            (Texts{"NASA", "and", "the", "FBI"}));
  // Letters of the code page: "Árvíztűrő tükörfúrógép" in Windows-1250, curly apostrophe.
  EXPECT_EQ(Words("\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p", CodePage::kWindows1250),
            (Texts{"\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91",
                   "t\xC3\xBCk\xC3\xB6rf\xC3\xBAr\xC3\xB3g\xC3\xA9p"}));
  EXPECT_EQ(Words("don\xE2\x80\x99t"), (Texts{"don\xE2\x80\x99t"}));
  EXPECT_EQ(Words(""), Texts{});
}

TEST(SpellChecker, FindsUnknownWordsAsksTheDictionaryOnceAndKeepsTheUsersWords) {
  testing::TempDir dir;
  auto dictionary = std::make_shared<WordList>(std::set<std::string>{"the", "cat", "sat", "hat"});
  const std::string path = dir.File("words-xx.txt");
  testing::WriteFile(path, "Zorg\r\n\r\nzorg\n");
  PersonalWordList personal(path);
  personal.Load();
  EXPECT_EQ(personal.words(), (Texts{"Zorg", "zorg"}));
  SpellChecker checker(dictionary, "xx", personal);
  const std::string text = "the cet sat|Zorg cet";
  EXPECT_EQ(checker.UnknownWords(text, CodePage::kUtf8), (std::vector<WordSpan>{{4, 7}, {17, 20}}));
  EXPECT_EQ(dictionary->lookups, 4);  // each word once
  EXPECT_EQ(checker.Suggestions("cet"), (Texts{"cat", "hat", "sat", "the"}));

  checker.IgnoreAll("cet");
  EXPECT_TRUE(checker.UnknownWords(text, CodePage::kUtf8).empty());
  SpellChecker copy = checker;  // for another thread: the ignored words go along
  EXPECT_TRUE(copy.Knows("cet"));

  ASSERT_TRUE(checker.AddToPersonal("blorp").ok());
  EXPECT_TRUE(checker.Knows("blorp"));
  EXPECT_EQ(testing::ReadFile(path), "Zorg\nzorg\nblorp\n");
  EXPECT_EQ(testing::EntriesIn(dir.path()), (Texts{"words-xx.txt"}));  // no temporary left

  SpellChecker none;  // no dictionary: the feature is off and knows every word
  EXPECT_FALSE(none.active());
  EXPECT_TRUE(none.UnknownWords("qwxz", CodePage::kUtf8).empty());
}

TEST(PersonalWordList, LivesInTheUsersDataDirectoryWhichItCreates) {
  std::map<std::string, std::string> vars = {{"HOME", "/home/u"}};
  auto env = [&](const char* name) -> std::optional<std::string> {
    const auto it = vars.find(name);
    return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  EXPECT_EQ(PersonalWordList::PathFor("en_US", env),
            "/home/u/.local/share/lumetra/words-en_US.txt");
  vars["XDG_DATA_HOME"] = "relative";
  EXPECT_EQ(PersonalWordList::PathFor("en_US", env),
            "/home/u/.local/share/lumetra/words-en_US.txt");
  testing::TempDir dir;
  vars["XDG_DATA_HOME"] = dir.path().string();
  const std::string path = PersonalWordList::PathFor("hu_HU", env);
  EXPECT_EQ(path, dir.File("lumetra/words-hu_HU.txt"));
  EXPECT_EQ(PersonalWordList::PathFor("../x", env), "");
  PersonalWordList list(path);
  list.Load();
  EXPECT_TRUE(list.words().empty());
  ASSERT_TRUE(list.Add("Sz\xC3\xA9l").ok());
  PersonalWordList again(path);
  again.Load();
  EXPECT_EQ(again.words(), (Texts{"Sz\xC3\xA9l"}));
}

TEST(FindDictionaries, ListsEachLanguageOnceWithBothFilesPresent) {
  testing::TempDir a, b;
  for (const char* name : {"en_GB.dic", "en_GB.aff", "de_DE.dic", "xx.aff"})
    testing::WriteFile(a.File(name), "");
  for (const char* name : {"en_GB.dic", "en_GB.aff", "fr.dic", "fr.aff"})
    testing::WriteFile(b.File(name), "");
  const std::vector<DictionaryFiles> found =
      FindDictionaries({a.path().string(), b.path().string(), "/nowhere"});
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], (DictionaryFiles{"en_GB", a.File("en_GB.dic"), a.File("en_GB.aff")}));
  EXPECT_EQ(found[1].language, "fr");
  auto env = [&](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "DICPATH") return a.path().string() + "::" + b.path().string();
    return std::nullopt;
  };
  EXPECT_EQ(DictionaryDirs(env),
            (Texts{a.path().string(), b.path().string(), "/usr/share/hunspell"}));
}

TEST(SpellCheckWalk, GoesFromWordToWordAndChangesOneOrAllAsTheyStand) {
  auto dictionary = std::make_shared<WordList>(std::set<std::string>{"a", "cat", "the", "hat"});
  SpellChecker checker(dictionary, "xx");
  Document doc;  // Windows-1250
  testing::Fill(doc, {{0, 1, "a cet"}, {0, 1, "the hat"}, {0, 1, "cet cetcet cet"}});
  const std::vector<int> all = {1, 2, 3};
  std::vector<SpellFinding> found;
  int frame = 1;
  std::size_t byte = 0;
  while (const std::optional<SpellFinding> f = NextUnknownWord(checker, doc, all, frame, byte)) {
    found.push_back(*f);
    frame = f->frame;
    byte = f->word.end;
  }
  EXPECT_EQ(found,
            (std::vector<SpellFinding>{{1, {2, 5}}, {3, {0, 3}}, {3, {4, 10}}, {3, {11, 14}}}));
  EXPECT_EQ(FramesWithUnknownWords(checker, {{1, "a cet"}, {2, "the hat"}, {3, "cetcet"}},
                                   CodePage::kWindows1250),
            (std::vector<int>{1, 3}));

  const Selection s{{1}, 1, 1};
  // "Change" changes the word where it stands, and nothing where it no longer stands.
  EXPECT_TRUE(ChangeWord(doc, s, found[0], "cet", "c\xC3\xA1t").reload_panel);
  EXPECT_EQ(doc.FrameText[1], "a c\xE1t");  // in the document's code page
  ChangeWord(doc, s, found[0], "cet", "cat");
  EXPECT_EQ(doc.FrameText[1], "a c\xE1t");
  int changed = 0;
  ChangeAllWords(doc, s, all, "cet", "cat", &changed);
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(doc.FrameText[3], "cat cetcet cat");
  EXPECT_EQ(doc.Modified, kUnsaved);
}

}  // namespace
}  // namespace lumetra
