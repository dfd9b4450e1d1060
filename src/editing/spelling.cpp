#include "editing/spelling.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "editing/markup.h"
#include "foundation/characters.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr char kSystemDictionaries[] = "/usr/share/hunspell";
// A personal word list is a few thousand words at most.
constexpr std::uintmax_t kMaxWordListBytes = 16u << 20;

bool IsApostrophe(char32_t c) { return c == U'\'' || c == 0x2019; }

std::string Encoded(std::string_view utf8, CodePage page) {
  return page == CodePage::kUtf8 ? std::string(utf8) : EncodeFromUtf8(utf8, page);
}

bool SafeLanguageName(std::string_view language) {
  if (language.empty()) return false;
  return std::all_of(language.begin(), language.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '@';
  });
}

}  // namespace

std::vector<std::string> DictionaryDirs(const EnvironmentVariable& env) {
  std::vector<std::string> dirs;
  if (const std::optional<std::string> path = env("DICPATH")) {
    std::size_t from = 0;
    while (from <= path->size()) {
      const std::size_t colon = path->find(':', from);
      const std::string dir = path->substr(from, colon == std::string::npos ? colon : colon - from);
      if (!dir.empty()) dirs.push_back(dir);
      if (colon == std::string::npos) break;
      from = colon + 1;
    }
  }
  dirs.push_back(kSystemDictionaries);
  return dirs;
}

std::vector<DictionaryFiles> FindDictionaries(const std::vector<std::string>& dirs) {
  std::vector<DictionaryFiles> found;
  for (const std::string& dir : dirs) {
    std::error_code ec;
    std::vector<DictionaryFiles> here;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::filesystem::path& path = it->path();
      if (path.extension() != ".dic") continue;
      std::filesystem::path aff = path;
      aff.replace_extension(".aff");
      std::error_code file_ec;
      if (!std::filesystem::is_regular_file(path, file_ec) ||
          !std::filesystem::is_regular_file(aff, file_ec)) {
        continue;
      }
      here.push_back({path.stem().string(), path.string(), aff.string()});
    }
    std::sort(here.begin(), here.end(), [](const DictionaryFiles& a, const DictionaryFiles& b) {
      return a.language < b.language;
    });
    for (DictionaryFiles& d : here) {
      const bool known = std::any_of(found.begin(), found.end(), [&](const DictionaryFiles& f) {
        return f.language == d.language;
      });
      if (!known) found.push_back(std::move(d));
    }
  }
  std::sort(found.begin(), found.end(), [](const DictionaryFiles& a, const DictionaryFiles& b) {
    return a.language < b.language;
  });
  return found;
}

std::vector<WordSpan> SpellWords(std::string_view bytes, CodePage page,
                                 const SpellOptions& options) {
  std::vector<WordSpan> words;
  thread_local DecodedText text;
  DecodeWithOffsets(bytes, page, text);
  const std::u32string& chars = text.chars;
  const std::size_t n = chars.size();
  std::size_t i = 0;
  while (i < n) {
    if (const std::size_t markup = MarkupLength(chars, i)) {
      i += markup;
      continue;
    }
    if (!IsLetter(chars[i]) && !IsDigit(chars[i])) {
      ++i;
      continue;
    }
    const std::size_t begin = i;
    bool digit = false, lower = false, upper = false;
    int letters = 0;
    while (i < n) {
      const char32_t c = chars[i];
      if (IsLetter(c)) {
        ++letters;
        lower = lower || IsLowerLetter(c);
        upper = upper || IsUpperLetter(c);
      } else if (IsDigit(c)) {
        digit = true;
      } else if (!((IsApostrophe(c) || c == U'-') && i + 1 < n && IsLetter(chars[i + 1]))) {
        break;
      }
      ++i;
    }
    if (digit) continue;
    if (options.ignore_capitals && upper && !lower && letters >= 2) continue;
    words.push_back({text.offsets[begin], text.offsets[i]});
  }
  return words;
}

std::string WordText(std::string_view bytes, const WordSpan& word, CodePage page) {
  const std::string_view piece = bytes.substr(word.begin, word.end - word.begin);
  return page == CodePage::kUtf8 ? std::string(piece) : DecodeToUtf8(piece, page);
}

// ---------------------------------------------------------------------------------------
// The personal word list

std::string PersonalWordList::PathFor(const std::string& language, const EnvironmentVariable& env) {
  if (!SafeLanguageName(language)) return {};
  std::string base;
  const std::optional<std::string> data = env("XDG_DATA_HOME");
  const std::optional<std::string> home = env("HOME");
  if (data && data->starts_with('/')) {
    base = *data;
  } else if (home && home->starts_with('/')) {
    base = WithBackslash(*home) + ".local/share";
  } else {
    return {};
  }
  return WithBackslash(base) + "lumetra/words-" + language + ".txt";
}

void PersonalWordList::Load() {
  words_.clear();
  std::string text;
  if (path_.empty() || !ReadWholeFile(path_, text, kMaxWordListBytes).ok()) return;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    std::string word = TrimChar(TrimRightChar(text.substr(from, end - from), '\r'), ' ');
    if (!word.empty() && !Contains(word)) words_.push_back(std::move(word));
    from = end + 1;
  }
}

bool PersonalWordList::Contains(std::string_view word) const {
  return std::find(words_.begin(), words_.end(), word) != words_.end();
}

FileStatus PersonalWordList::Add(std::string_view word) {
  if (word.empty() || word.find_first_of("\r\n") != std::string_view::npos) return {};
  if (!Contains(word)) words_.emplace_back(word);
  if (path_.empty()) return {FileError::kCreate, ENOENT};
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
  std::string text;
  for (const std::string& w : words_) text += w + "\n";
  return WriteFileReplacing(path_, text);
}

// ---------------------------------------------------------------------------------------
// The checker

SpellChecker::SpellChecker(std::shared_ptr<SpellingDictionary> dictionary, std::string language,
                           PersonalWordList personal)
    : dictionary_(std::move(dictionary)),
      language_(std::move(language)),
      personal_(std::move(personal)) {
  if (dictionary_) {
    for (const std::string& word : personal_.words()) dictionary_->Add(word);
  }
}

bool SpellChecker::Knows(std::string_view word) {
  if (!dictionary_ || word.empty()) return true;
  if (ignored_.find(word) != ignored_.end()) return true;
  const std::string key(word);
  const auto it = known_.find(key);
  if (it != known_.end()) return it->second;
  const bool known = dictionary_->Knows(word) || personal_.Contains(word);
  known_.emplace(key, known);
  return known;
}

std::vector<std::string> SpellChecker::Suggestions(std::string_view word) {
  if (!dictionary_) return {};
  std::vector<std::string> all = dictionary_->Suggest(word);
  if (all.size() > static_cast<std::size_t>(kMaxSuggestions)) all.resize(kMaxSuggestions);
  return all;
}

void SpellChecker::IgnoreAll(std::string_view word) { ignored_.emplace(word); }

FileStatus SpellChecker::AddToPersonal(std::string_view word) {
  if (dictionary_) dictionary_->Add(word);
  known_[std::string(word)] = true;
  return personal_.Add(word);
}

std::vector<WordSpan> SpellChecker::UnknownWords(std::string_view bytes, CodePage page) {
  std::vector<WordSpan> unknown;
  if (!dictionary_) return unknown;
  for (const WordSpan& word : SpellWords(bytes, page, options)) {
    if (!Knows(WordText(bytes, word, page))) unknown.push_back(word);
  }
  return unknown;
}

// ---------------------------------------------------------------------------------------
// The walk and the changes

std::optional<SpellFinding> NextUnknownWord(SpellChecker& checker, const Document& doc,
                                            const std::vector<int>& frames, int frame,
                                            std::size_t byte) {
  for (auto it = std::lower_bound(frames.begin(), frames.end(), frame); it != frames.end(); ++it) {
    if (*it < 1 || *it > doc.FrameCount) continue;
    const std::string& text = doc.FrameText[static_cast<std::size_t>(*it)];
    for (const WordSpan& word : checker.UnknownWords(text, doc.Encoding)) {
      if (*it == frame && word.begin < byte) continue;
      return SpellFinding{*it, word};
    }
  }
  return std::nullopt;
}

std::vector<int> FramesWithUnknownWords(SpellChecker& checker,
                                        const std::vector<std::pair<int, std::string>>& texts,
                                        CodePage page,
                                        const std::function<bool(double)>& progress) {
  std::vector<int> frames;
  const std::size_t total = texts.size();
  for (std::size_t i = 0; i < total; ++i) {
    if (progress && i % 256 == 0 &&
        !progress(static_cast<double>(i) / static_cast<double>(total))) {
      break;
    }
    const auto& [frame, text] = texts[i];
    if (!checker.UnknownWords(text, page).empty()) frames.push_back(frame);
  }
  if (progress) progress(1.0);
  return frames;
}

CommandResult ChangeWord(Document& doc, const Selection& selection, const SpellFinding& finding,
                         const std::string& word_bytes, std::string_view replacement) {
  CommandResult result{selection, false, {}};
  if (finding.frame < 1 || finding.frame > doc.FrameCount) return result;
  const std::string& text = doc.FrameText[static_cast<std::size_t>(finding.frame)];
  const WordSpan& w = finding.word;
  if (w.end > text.size() || w.begin > w.end ||
      std::string_view(text).substr(w.begin, w.end - w.begin) != word_bytes) {
    return result;  // the frame changed since the word was found
  }
  std::string changed =
      text.substr(0, w.begin) + Encoded(replacement, doc.Encoding) + text.substr(w.end);
  if (changed == text) return result;
  doc.Modified = kUnsaved;
  doc.SetText(finding.frame, std::move(changed));
  result.reload_panel = finding.frame == selection.focus;
  return result;
}

CommandResult ChangeAllWords(Document& doc, const Selection& selection,
                             const std::vector<int>& frames, const std::string& word_bytes,
                             std::string_view replacement, int* changed) {
  CommandResult result{selection, false, {}};
  const std::string encoded = Encoded(replacement, doc.Encoding);
  int count = 0;
  for (int frame : frames) {
    if (frame < 1 || frame > doc.FrameCount) continue;
    const std::string& text = doc.FrameText[static_cast<std::size_t>(frame)];
    if (text.find(word_bytes) == std::string::npos) continue;
    std::string out;
    std::size_t copied = 0;
    for (const WordSpan& w : SpellWords(text, doc.Encoding, SpellOptions{false})) {
      if (std::string_view(text).substr(w.begin, w.end - w.begin) != word_bytes) continue;
      out.append(text, copied, w.begin - copied);
      out += encoded;
      copied = w.end;
      ++count;
    }
    if (copied == 0 && out.empty()) continue;
    out.append(text, copied, std::string::npos);
    if (out == text) continue;
    doc.Modified = kUnsaved;
    doc.SetText(frame, std::move(out));
    if (frame == selection.focus) result.reload_panel = true;
  }
  if (changed != nullptr) *changed = count;
  return result;
}

// ---------------------------------------------------------------------------------------
// The dialog's walk

std::string SpellCheckWalk::CurrentBytes(const Document& doc) const {
  if (!current_ || current_->frame < 1 || current_->frame > doc.FrameCount) return {};
  const std::string& text = doc.FrameText[static_cast<std::size_t>(current_->frame)];
  const WordSpan& w = current_->word;
  if (w.end > text.size() || w.begin > w.end) return {};
  return text.substr(w.begin, w.end - w.begin);
}

std::string SpellCheckWalk::CurrentWord(const Document& doc) const {
  const std::string bytes = CurrentBytes(doc);
  return doc.Encoding == CodePage::kUtf8 ? bytes : DecodeToUtf8(bytes, doc.Encoding);
}

bool SpellCheckWalk::Next(SpellChecker& checker, const Document& doc) {
  if (frame_ == 0 && !current_) frame_ = candidates_.empty() ? 0 : candidates_.front();
  current_ = NextUnknownWord(checker, doc, candidates_, frame_, byte_);
  if (!current_) return false;
  frame_ = current_->frame;
  byte_ = current_->word.begin;
  return true;
}

bool SpellCheckWalk::Ignore(SpellChecker& checker, const Document& doc) {
  if (current_) byte_ = current_->word.end;
  return Next(checker, doc);
}

CommandResult SpellCheckWalk::Change(Document& doc, const Selection& selection,
                                     std::string_view replacement) {
  if (!current_) return CommandResult{selection, false, {}};
  const std::string word = CurrentBytes(doc);
  CommandResult result = ChangeWord(doc, selection, *current_, word, replacement);
  // On after the new word (which may be unknown too: it is not offered again).
  byte_ = current_->word.begin + Encoded(replacement, doc.Encoding).size();
  return result;
}

CommandResult SpellCheckWalk::ChangeAll(Document& doc, const Selection& selection,
                                        std::string_view replacement, int* changed) {
  if (!current_) return CommandResult{selection, false, {}};
  const std::string word = CurrentBytes(doc);
  // The same word earlier in the frame changes too and moves the current one.
  const std::string& text = doc.FrameText[static_cast<std::size_t>(current_->frame)];
  std::size_t earlier = 0;
  for (const WordSpan& w : SpellWords(text, doc.Encoding, SpellOptions{false})) {
    if (w.begin < current_->word.begin && text.compare(w.begin, w.end - w.begin, word) == 0)
      ++earlier;
  }
  const std::size_t length = Encoded(replacement, doc.Encoding).size();
  CommandResult result = ChangeAllWords(doc, selection, frames_, word, replacement, changed);
  byte_ = current_->word.begin + earlier * length - earlier * word.size() + length;
  return result;
}

}  // namespace lumetra
