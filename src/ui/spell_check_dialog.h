// The "Check spelling…" dialog: walks through every word of the subtitle (or of the selected
// frames) that the dictionary does not know, showing it in its frame with the dictionary's
// suggestions; Change, Change all (each an undo step), Ignore, Ignore all and Add to
// dictionary. The frames are first read on a thread of their own, with progress and Cancel.
#pragma once

#include <QDialog>
#include <vector>

#include "editing/spelling.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace lumetra {

class BackgroundTask;
class SpellingService;
class WindowCommands;

inline constexpr char kSpellCheckDone[] = "The spell check is complete.";

class SpellCheckDialog : public QDialog {
  Q_OBJECT

 public:
  SpellCheckDialog(WindowCommands& commands, SpellingService& spelling, QWidget* parent = nullptr);

  // Starts again over every frame, or over the selected frames when two or more are.
  void Open();
  BackgroundTask* task() const { return task_; }
  const SpellCheckWalk& walk() const { return walk_; }

  void Change();
  void ChangeAll();
  void Ignore();
  void IgnoreAll();
  void AddToDictionary();

 private:
  void Scan();
  void Scanned();
  // Shows where the walk stands (moving the frame list to its frame), or that it is done.
  void Show(bool found);
  void SetWorking(bool working);

  WindowCommands& commands_;
  SpellingService& spelling_;
  BackgroundTask* task_ = nullptr;
  SpellCheckWalk walk_;
  bool selected_only_ = false;
  std::vector<int> candidates_;  // what the scan hands over
  bool scanned_ = false;
  // The dialog itself ignored or added a word: its walk goes on.
  bool own_change_ = false;

  QLabel* scope_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* context_ = nullptr;
  QLineEdit* change_to_ = nullptr;
  QListWidget* suggestions_ = nullptr;
  std::vector<QPushButton*> actions_;  // Change .. Add to dictionary
};

}  // namespace lumetra
