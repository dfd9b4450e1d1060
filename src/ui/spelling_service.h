// The spell check of the window: the installed dictionaries, the language chosen for the
// document (read in the background, as a large dictionary takes a while), and the one
// checker that the text box, its menu, the "Check spelling…" dialog and the "Checks" panel
// share. With no dictionary installed it says so and stays off.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editing/spelling.h"

namespace lumetra {

class BackgroundTask;

class SpellingService : public QObject {
  Q_OBJECT

 public:
  // Looks for dictionaries in `dirs` (DictionaryDirs of the environment in the program).
  explicit SpellingService(std::vector<std::string> dirs, QObject* parent = nullptr);
  ~SpellingService() override;

  const std::vector<DictionaryFiles>& dictionaries() const { return dictionaries_; }
  bool installed() const { return !dictionaries_.empty(); }

  // Chooses the language (empty: no spell check); an unknown one is none. The checker is
  // ready when changed() comes.
  void SetLanguage(const std::string& language);
  const std::string& language() const { return language_; }
  // Words in capitals are not checked.
  void SetIgnoreCapitals(bool ignore);

  // The checker of the language, or nothing while it is off or still being read.
  SpellChecker* checker() { return checker_ && checker_->active() ? checker_.get() : nullptr; }
  // What went wrong reading the dictionary, or empty.
  const std::string& problem() const { return problem_; }
  // Waits until the dictionary is read (tests).
  void WaitUntilReady();

 signals:
  // The checker changed: another language, ready, a word ignored or added.
  void changed();
  // The chosen dictionary could not be read.
  void failed(const QString& problem);

 public:
  // "Ignore all" and "Add to dictionary" of the text box's menu and the dialog; an added
  // word that cannot be written to the personal list is told through the returned text.
  void IgnoreAll(const std::string& word);
  std::string AddToDictionary(const std::string& word);

 private:
  std::vector<DictionaryFiles> dictionaries_;
  std::string language_;
  bool ignore_capitals_ = true;
  std::unique_ptr<SpellChecker> checker_;
  std::map<std::string, std::shared_ptr<SpellingDictionary>> loaded_;
  std::string problem_;
  BackgroundTask* loading_ = nullptr;
  // What the background read hands over.
  std::shared_ptr<SpellingDictionary> read_;
  std::string read_problem_;
};

}  // namespace lumetra
