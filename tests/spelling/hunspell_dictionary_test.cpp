// The installed Hunspell dictionaries as the program uses them. Each test skips itself
// with a message when its dictionary is not installed.
#include "spelling/hunspell_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace lumetra {
namespace {

std::shared_ptr<SpellingDictionary> Installed(const std::string& language) {
  for (const DictionaryFiles& files : FindDictionaries({"/usr/share/hunspell"})) {
    if (files.language == language) return OpenHunspellDictionary(files);
  }
  return nullptr;
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(HunspellDictionary, EnglishKnowsRightWordsAndSuggestsForWrongOnes) {
  const auto en = Installed("en_US");
  if (!en) GTEST_SKIP() << "hunspell-en-us is not installed";
  for (const char* word : {"the", "receive", "Hello", "don't", "well-known", "I'm"}) {
    EXPECT_TRUE(en->Knows(word)) << word;
  }
  for (const char* word : {"teh", "recieve", "thw", "sory"}) EXPECT_FALSE(en->Knows(word)) << word;
  EXPECT_TRUE(Contains(en->Suggest("recieve"), "receive"));
  EXPECT_TRUE(Contains(en->Suggest("sory"), "sorry"));
}

TEST(HunspellDictionary, HungarianReadsTheDocumentsCodePageAndSuggests) {
  const auto hu = Installed("hu_HU");
  if (!hu) GTEST_SKIP() << "hunspell-hu is not installed";
  SpellChecker checker(hu, "hu_HU");
  // "Árvíztűrő tükörfúrógép hogz egz" in Windows-1250, as a document holds it.
  const std::string text = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p hogz egz";
  const std::vector<WordSpan> unknown = checker.UnknownWords(text, CodePage::kWindows1250);
  ASSERT_EQ(unknown.size(), 2u);
  EXPECT_EQ(WordText(text, unknown[0], CodePage::kWindows1250), "hogz");
  EXPECT_TRUE(Contains(checker.Suggestions("hogz"), "hogy"));
  EXPECT_LE(checker.Suggestions("hogz").size(), 8u);
}

TEST(HunspellDictionary, ADictionaryInASingleByteEncodingIsReadAndAnsweredInUtf8) {
  testing::TempDir dir;
  // "SET ISO8859-2", the words "árvíz" and "tűz", and "ű" to try in suggestions.
  testing::WriteFile(dir.File("xx_HU.aff"), "SET ISO8859-2\nTRY \xFB\xFC\n");
  testing::WriteFile(dir.File("xx_HU.dic"), "2\n\xE1rv\xEDz\nt\xFBz\n");
  testing::WriteFile(dir.File("yy.aff"), "SET KOI8-U\n");
  testing::WriteFile(dir.File("yy.dic"), "1\nx\n");
  const std::vector<DictionaryFiles> found = FindDictionaries({dir.path().string()});
  ASSERT_EQ(found.size(), 2u);
  const auto xx = OpenHunspellDictionary(found[0]);
  ASSERT_NE(xx, nullptr);
  EXPECT_TRUE(xx->Knows("\xC3\xA1rv\xC3\xADz"));
  EXPECT_FALSE(xx->Knows("\xD0\xB6"));  // a letter the dictionary cannot even write
  EXPECT_TRUE(Contains(xx->Suggest("t\xC3\xBCz"), "t\xC5\xB1z"));
  xx->Add("\xC5\x91z");
  EXPECT_TRUE(xx->Knows("\xC5\x91z"));
  std::string problem;
  EXPECT_EQ(OpenHunspellDictionary(found[1], &problem), nullptr);
  EXPECT_EQ(problem, "The dictionary yy is written in KOI8-U, which Lumetra cannot read.");
}

}  // namespace
}  // namespace lumetra
