// Spell checking with the dictionaries installed on the system: which dictionaries there
// are, the words a text is made of (markup, numbers and, if the user wishes, words in
// capitals passed over), which of them a dictionary does not know, the user's own words
// (ignored for the session or added to a personal word list), and changing a word in one
// frame or in all of them. The dictionary itself is an interface: the program gives it
// Hunspell (lumetra_spelling), tests a word list.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/document.h"
#include "editing/selection.h"
#include "formats/file_io.h"

namespace lumetra {

inline constexpr char kNoDictionaries[] =
    "No spelling dictionary is installed (Hunspell's, in /usr/share/hunspell).";
inline constexpr int kMaxSuggestions = 8;

// A dictionary of one language. Words are UTF-8. The checks of several threads may call it
// at once: it serialises them itself.
class SpellingDictionary {
 public:
  virtual ~SpellingDictionary() = default;
  virtual bool Knows(std::string_view word) = 0;
  // Known words near the word, the likeliest first.
  virtual std::vector<std::string> Suggest(std::string_view word) = 0;
  // Knows the word from now on.
  virtual void Add(std::string_view word) = 0;
};

// An installed dictionary: its language ("en_US") and its two files.
struct DictionaryFiles {
  std::string language;
  std::string dic;
  std::string aff;
  bool operator==(const DictionaryFiles&) const = default;
};
using EnvironmentVariable = std::function<std::optional<std::string>(const char*)>;
// Where dictionaries are looked for: the directories of $DICPATH (separated by ":"), then
// /usr/share/hunspell.
std::vector<std::string> DictionaryDirs(const EnvironmentVariable& env);
// Every ".dic" with its ".aff" in the directories, by language; the first directory that
// has a language gives it.
std::vector<DictionaryFiles> FindDictionaries(const std::vector<std::string>& dirs);

// A word of a text: bytes begin..end.
struct WordSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const WordSpan&) const = default;
};
struct SpellOptions {
  bool ignore_capitals = true;  // words of capitals only ("NASA") are not checked
};
// The words of a text: letters with the apostrophes and hyphens between them. Markup is
// passed over, and so are words with digits in them ("3rd", "R2D2") and, when asked, words
// in capitals.
std::vector<WordSpan> SpellWords(std::string_view bytes, CodePage page,
                                 const SpellOptions& options);

// The words a user added to a language: one UTF-8 word a line in
// $XDG_DATA_HOME/lumetra/words-LANG.txt (~/.local/share when the variable is unset).
class PersonalWordList {
 public:
  // The file of a language; empty when no place can be named.
  static std::string PathFor(const std::string& language, const EnvironmentVariable& env);

  explicit PersonalWordList(std::string path = {}) : path_(std::move(path)) {}
  // Reads the file (a missing file is an empty list).
  void Load();
  const std::vector<std::string>& words() const { return words_; }
  bool Contains(std::string_view word) const;
  // Adds the word and writes the list through a temporary file that replaces it only when
  // complete.
  FileStatus Add(std::string_view word);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> words_;
};

// The spell check of one language, as the text box, the "Check spelling…" dialog and
// lumetra-cli check use it. Without a dictionary it knows every word. A copy shares the
// dictionary and takes the ignored words along, for a check on another thread.
class SpellChecker {
 public:
  SpellChecker() = default;
  SpellChecker(std::shared_ptr<SpellingDictionary> dictionary, std::string language,
               PersonalWordList personal = PersonalWordList());

  bool active() const { return dictionary_ != nullptr; }
  const std::string& language() const { return language_; }
  SpellOptions options;

  // Whether a word (UTF-8) is known: the dictionary's, ignored this session, or the user's.
  bool Knows(std::string_view word);
  // Up to kMaxSuggestions known words for it.
  std::vector<std::string> Suggestions(std::string_view word);
  // "Ignore all": known for the rest of the session.
  void IgnoreAll(std::string_view word);
  // "Add to dictionary": known from now on, kept in the personal word list.
  FileStatus AddToPersonal(std::string_view word);
  const PersonalWordList& personal() const { return personal_; }

  // The words of a text that are not known.
  std::vector<WordSpan> UnknownWords(std::string_view bytes, CodePage page);

 private:
  std::shared_ptr<SpellingDictionary> dictionary_;
  std::string language_;
  PersonalWordList personal_;
  std::set<std::string, std::less<>> ignored_;
  // What the dictionary said of each word met so far.
  std::unordered_map<std::string, bool> known_;
};

// The bytes of a word of a text as UTF-8.
std::string WordText(std::string_view bytes, const WordSpan& word, CodePage page);

// An unknown word of a frame.
struct SpellFinding {
  int frame = 0;
  WordSpan word;
  bool operator==(const SpellFinding&) const = default;
};
// The first unknown word of the frames (ascending) from frame `frame`, byte `byte` on.
std::optional<SpellFinding> NextUnknownWord(SpellChecker& checker, const Document& doc,
                                            const std::vector<int>& frames, int frame,
                                            std::size_t byte);
// Of the frames' texts (a copy, for a check on another thread), the frames that hold an
// unknown word. `progress` is told the share done (0..1) now and then; when it returns
// false the check stops and returns what it found so far.
std::vector<int> FramesWithUnknownWords(SpellChecker& checker,
                                        const std::vector<std::pair<int, std::string>>& texts,
                                        CodePage page,
                                        const std::function<bool(double)>& progress = {});

// "Change": the word becomes `replacement` (UTF-8, in the document's code page) when it is
// still in its place. "Change all": every whole word of the frames that reads as `word`
// (its bytes, exactly) becomes the replacement. Both mark the document modified when they
// change a text; the selection stays, the panel is reloaded when the focused frame changed.
CommandResult ChangeWord(Document& doc, const Selection& selection, const SpellFinding& finding,
                         const std::string& word_bytes, std::string_view replacement);
CommandResult ChangeAllWords(Document& doc, const Selection& selection,
                             const std::vector<int>& frames, const std::string& word_bytes,
                             std::string_view replacement, int* changed = nullptr);

// The state and rules of the "Check spelling…" dialog: the frames it walks through, where it
// stands, and what its buttons do. The frames that hold unknown words are worked out first
// (off the ui thread, with FramesWithUnknownWords); the walk then reads only those.
class SpellCheckWalk {
 public:
  // Walks through `frames` (ascending): every frame, or the selected ones.
  explicit SpellCheckWalk(std::vector<int> frames = {}) : frames_(std::move(frames)) {}
  const std::vector<int>& frames() const { return frames_; }
  void SetCandidates(std::vector<int> candidates) { candidates_ = std::move(candidates); }

  // The unknown word the walk stands at, if any.
  const std::optional<SpellFinding>& current() const { return current_; }
  // The word's bytes and its UTF-8 text.
  std::string CurrentBytes(const Document& doc) const;
  std::string CurrentWord(const Document& doc) const;

  // Goes to the next unknown word from where the walk stands (the first one at the start);
  // false when there is none left.
  bool Next(SpellChecker& checker, const Document& doc);
  // "Ignore": past this word.
  bool Ignore(SpellChecker& checker, const Document& doc);
  // "Change" and "Change all" with the UTF-8 replacement, as commands (the caller runs
  // them through the command runner, then calls Next).
  CommandResult Change(Document& doc, const Selection& selection, std::string_view replacement);
  CommandResult ChangeAll(Document& doc, const Selection& selection, std::string_view replacement,
                          int* changed = nullptr);

 private:
  std::vector<int> frames_;
  std::vector<int> candidates_;
  std::optional<SpellFinding> current_;
  int frame_ = 0;  // where the walk goes on from
  std::size_t byte_ = 0;
};

}  // namespace lumetra
