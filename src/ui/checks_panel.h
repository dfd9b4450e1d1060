// The "Checks" panel under the frame list: every frame that breaks a quality check (and,
// when asked, every unknown word), checked on a thread of its own whenever the document or
// the limits change. A click on a finding shows its frame; "Fix" repairs the selected
// findings that have a fix (overlaps) as one undo step.
#pragma once

#include <QTimer>
#include <QWidget>
#include <vector>

#include "editing/quality_checks.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace lumetra {

class BackgroundTask;
class SpellingService;
class WindowCommands;

class ChecksPanel : public QWidget {
  Q_OBJECT

 public:
  // `limits` (not owned) are the settings' limits, read at every check.
  ChecksPanel(WindowCommands& commands, SpellingService& spelling, const CheckLimits& limits,
              QWidget* parent = nullptr);

  // Checks again now (the panel does so by itself after changes, after a short pause).
  void Refresh();
  const std::vector<Finding>& findings() const { return findings_; }
  BackgroundTask* task() const { return task_; }
  QTreeWidget* list() const { return list_; }
  void FixSelected();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Show(std::vector<Finding> findings);
  void ShowFrame();
  void SelectionChanged();

  WindowCommands& commands_;
  SpellingService& spelling_;
  const CheckLimits& limits_;
  BackgroundTask* task_ = nullptr;
  QTimer pause_;
  std::vector<Finding> findings_;

  QLabel* count_ = nullptr;
  QCheckBox* spelling_box_ = nullptr;
  QPushButton* fix_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTreeWidget* list_ = nullptr;
};

}  // namespace lumetra
