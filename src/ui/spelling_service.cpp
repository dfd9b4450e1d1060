#include "ui/spelling_service.h"

#include "settings/configuration.h"
#include "spelling/hunspell_dictionary.h"
#include "ui/background_task.h"

namespace lumetra {

SpellingService::SpellingService(std::vector<std::string> dirs, QObject* parent)
    : QObject(parent), dictionaries_(FindDictionaries(dirs)), loading_(new BackgroundTask(this)) {}

SpellingService::~SpellingService() {
  // A dictionary still being read writes into the members below: it ends first.
  delete loading_;
}

void SpellingService::SetLanguage(const std::string& language) {
  const DictionaryFiles* files = nullptr;
  for (const DictionaryFiles& d : dictionaries_) {
    if (d.language == language) files = &d;
  }
  language_ = files != nullptr ? language : std::string();
  problem_.clear();
  checker_.reset();
  loading_->Cancel();
  if (files == nullptr) {
    emit changed();
    return;
  }
  auto ready = [this](std::shared_ptr<SpellingDictionary> dictionary) {
    PersonalWordList personal(PersonalWordList::PathFor(language_, ProcessEnvironment));
    personal.Load();
    checker_ =
        std::make_unique<SpellChecker>(std::move(dictionary), language_, std::move(personal));
    checker_->options.ignore_capitals = ignore_capitals_;
    emit changed();
  };
  if (const auto it = loaded_.find(language_); it != loaded_.end()) {
    ready(it->second);
    return;
  }
  emit changed();  // off until the dictionary is read
  const DictionaryFiles chosen = *files;
  loading_->Start(
      [this, chosen](const BackgroundTask::Progress&) {
        read_ = OpenHunspellDictionary(chosen, &read_problem_);
      },
      [this, chosen, ready] {
        if (!read_) {
          problem_ = read_problem_;
          emit changed();
          emit failed(QString::fromStdString(problem_));
          return;
        }
        loaded_[chosen.language] = read_;
        if (chosen.language == language_) ready(std::move(read_));
        read_.reset();
      });
}

void SpellingService::SetIgnoreCapitals(bool ignore) {
  ignore_capitals_ = ignore;
  if (checker_) checker_->options.ignore_capitals = ignore;
  emit changed();
}

void SpellingService::WaitUntilReady() { loading_->Finish(); }

void SpellingService::IgnoreAll(const std::string& word) {
  if (checker_ == nullptr) return;
  checker_->IgnoreAll(word);
  emit changed();
}

std::string SpellingService::AddToDictionary(const std::string& word) {
  if (checker_ == nullptr) return {};
  const FileStatus status = checker_->AddToPersonal(word);
  emit changed();
  if (status.ok()) return {};
  return "The word was not kept: " + checker_->personal().path() +
         (status.system_error != 0 ? ": " + SystemErrorText(status.system_error) : "");
}

}  // namespace lumetra
