// The Find and replace dialog (Ctrl+H): the find and replacement texts, match case, whole
// words, regular expression, all frames or the selected ones; Find next, Replace (the hit
// shown, then the next), Replace all (one undo step, "Replace 37"), and a line that counts
// the hits or says what is wrong with the expression. It stays open beside the window.
#pragma once

#include <QDialog>
#include <QTimer>

#include "editing/find_replace.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumetra {

class WindowCommands;

class FindReplaceDialog : public QDialog {
  Q_OBJECT

 public:
  FindReplaceDialog(WindowCommands& commands, QWidget* parent = nullptr);

  // Shows the dialog (again) with the find box focused; `find` (when not empty) becomes
  // the text to find.
  void Open(const QString& find = {});

  const FindReplaceModel& model() const { return model_; }

  void FindNext();
  void Replace();
  void ReplaceAll();

 private:
  // The boxes changed: the model follows them, the count and the buttons follow it.
  void Changed();
  void ScopeChanged();
  // The count line and the buttons, for the document as it is now.
  void Refresh();
  // Shows the current hit in its frame, or `message` when there is none.
  void ShowHit(const std::string& message);

  WindowCommands& commands_;
  FindReplaceModel model_;
  QLineEdit* find_ = nullptr;
  QLineEdit* replacement_ = nullptr;
  QCheckBox* match_case_ = nullptr;
  QCheckBox* whole_words_ = nullptr;
  QCheckBox* regex_ = nullptr;
  QRadioButton* all_frames_ = nullptr;
  QRadioButton* selected_frames_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* hit_ = nullptr;
  QPushButton* find_next_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* replace_all_ = nullptr;
  // What the last command said; the count line shows it until the boxes change.
  std::string said_;
  // Counting that took longer than this waits for a pause in the typing next time.
  static constexpr qint64 kSlowCountMs = 60;
  qint64 last_count_ms_ = 0;
  QTimer refresh_timer_;
};

}  // namespace lumetra
