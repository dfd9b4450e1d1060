#include "spelling/hunspell_dictionary.h"

#include <algorithm>
#include <filesystem>
#include <hunspell.hxx>
#include <mutex>
#include <optional>

#include "foundation/characters.h"
#include "foundation/code_pages.h"

namespace lumetra {

namespace {

// How the dictionary's words are written.
struct DictionaryEncoding {
  enum Kind { kUtf8, kLatin1, kPage } kind = kUtf8;
  CodePage page = CodePage::kUtf8;
};

std::optional<DictionaryEncoding> EncodingOfName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  if (name.starts_with("microsoft-")) name = name.substr(10);
  if (name == "utf-8" || name == "utf8") return DictionaryEncoding{};
  if (name == "iso8859-1" || name == "iso-8859-1" || name == "latin1") {
    return DictionaryEncoding{DictionaryEncoding::kLatin1, CodePage::kUtf8};
  }
  const std::optional<CodePage> page = CodePageOfName(name);
  if (!page) return std::nullopt;
  if (*page == CodePage::kUtf8) return DictionaryEncoding{};
  return DictionaryEncoding{DictionaryEncoding::kPage, *page};
}

class HunspellDictionary : public SpellingDictionary {
 public:
  HunspellDictionary(std::unique_ptr<Hunspell> hunspell, DictionaryEncoding encoding)
      : hunspell_(std::move(hunspell)), encoding_(encoding) {}

  bool Knows(std::string_view word) override {
    const std::optional<std::string> w = ToDictionary(word);
    if (!w) return false;  // the dictionary cannot even write it
    std::lock_guard lock(mutex_);
    return hunspell_->spell(*w);
  }

  std::vector<std::string> Suggest(std::string_view word) override {
    const std::optional<std::string> w = ToDictionary(word);
    if (!w) return {};
    std::vector<std::string> suggestions;
    {
      std::lock_guard lock(mutex_);
      suggestions = hunspell_->suggest(*w);
    }
    for (std::string& s : suggestions) s = FromDictionary(s);
    return suggestions;
  }

  void Add(std::string_view word) override {
    const std::optional<std::string> w = ToDictionary(word);
    if (!w) return;
    std::lock_guard lock(mutex_);
    hunspell_->add(*w);
  }

 private:
  std::optional<std::string> ToDictionary(std::string_view utf8) const {
    if (encoding_.kind == DictionaryEncoding::kUtf8) return std::string(utf8);
    std::string out;
    for (char32_t c : Utf8ToChars(utf8)) {
      if (encoding_.kind == DictionaryEncoding::kLatin1) {
        if (c > 0xFF) return std::nullopt;
        out += static_cast<char>(c);
      } else if (!AppendInCodePage(out, c, encoding_.page)) {
        return std::nullopt;
      }
    }
    return out;
  }

  std::string FromDictionary(const std::string& bytes) const {
    switch (encoding_.kind) {
      case DictionaryEncoding::kUtf8:
        return bytes;
      case DictionaryEncoding::kLatin1: {
        std::string out;
        for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
        return out;
      }
      case DictionaryEncoding::kPage:
        break;
    }
    return DecodeToUtf8(bytes, encoding_.page);
  }

  std::mutex mutex_;
  std::unique_ptr<Hunspell> hunspell_;
  DictionaryEncoding encoding_;
};

}  // namespace

std::shared_ptr<SpellingDictionary> OpenHunspellDictionary(const DictionaryFiles& files,
                                                           std::string* problem) {
  auto fail = [&](std::string why) -> std::shared_ptr<SpellingDictionary> {
    if (problem != nullptr) *problem = std::move(why);
    return nullptr;
  };
  std::error_code ec;
  if (!std::filesystem::is_regular_file(files.dic, ec) ||
      !std::filesystem::is_regular_file(files.aff, ec)) {
    return fail("The dictionary " + files.language + " cannot be read.");
  }
  auto hunspell = std::make_unique<Hunspell>(files.aff.c_str(), files.dic.c_str());
  const std::string name = hunspell->get_dict_encoding();
  const std::optional<DictionaryEncoding> encoding = EncodingOfName(name);
  if (!encoding) {
    return fail("The dictionary " + files.language + " is written in " + name +
                ", which Lumetra cannot read.");
  }
  return std::make_shared<HunspellDictionary>(std::move(hunspell), *encoding);
}

}  // namespace lumetra
