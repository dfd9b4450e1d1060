// Mini mode: the "MiniMode" tab and the strip the main window shrinks to while it lasts.
// One frame at a time: its text in Memo3 (each keystroke goes into the frame), its start
// and end in eight boxes (written back when one of them loses the focus), step panels
// under the boxes, Previous, Next (creating frames at the end), Jump and '>' (a length of
// one second). Entering remembers the window's geometry; leaving gives it back exactly.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "livetiming/mini_mode.h"

class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace lumetra {

class Session;

class MiniModeTab : public QWidget {
  Q_OBJECT

 public:
  // `model` is the frame list's model: changes made elsewhere (undo, redo, opening a file)
  // are shown. `auto_focus` tells whether the editor's "Auto focus" is ticked.
  MiniModeTab(Session& session, QAbstractItemModel* model, std::function<bool()> auto_focus,
              QWidget* parent = nullptr);

  // The window to shrink, its page control with this tab, and the panels hidden while
  // mini mode lasts.
  void SetWindowParts(QWidget* window, QTabWidget* pages, std::vector<QWidget*> hidden);

  const MiniMode& model() const { return mini_; }
  bool active() const { return mini_.active; }
  // MiniModeSavedBounds := the window's geometry as it stands.
  void SaveBounds();
  // Shrinks the window to the strip and shows `focused_frame` (0 for none).
  void Enter(int focused_frame);
  // Gives the window its place and size back and hides the tab again.
  void Leave();
  // A time box that holds the focus writes its part back (before a save, a close or a
  // step).
  void Flush();

  QPlainTextEdit* memo() const { return memo_; }

 signals:
  // The save button: left click and right click, as the toolbar's.
  void saveAsRequested();
  void quickSaveRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildTimeGroup(bool end);
  QWidget* BuildButtons();
  // MiniModeRefresh: the current frame into every control.
  void Refresh();
  void ScheduleRefresh();
  void Memo3Change();
  void Edit24Exit(QLineEdit* box);
  void Step(int panel, PointerButton button);
  void Previous();
  void Next();
  void Jump();
  void SetOneSecond();
  // Runs an edit of the current frame as one undo step.
  CommandResult RunEdit(const std::string& name,
                        const std::function<CommandResult(Document&)>& edit,
                        const std::string& key = {});
  void FocusMemo();

  Session& session_;
  std::function<bool()> auto_focus_;
  MiniMode mini_;
  QWidget* window_ = nullptr;
  QTabWidget* pages_ = nullptr;
  std::vector<QWidget*> hidden_;
  bool was_maximized_ = false;

  QLabel* position_ = nullptr;         // Label54
  QPlainTextEdit* memo_ = nullptr;     // Memo3
  std::array<QLineEdit*, 8> boxes_{};  // Edit24..Edit27, Edit31..Edit28
  QLineEdit* length_ = nullptr;        // Edit32
  // The controls are being filled: their changes are not the user's.
  bool filling_ = false;
  // One of our own edits is running: the model's change signals are ours.
  bool editing_ = false;
  bool refresh_pending_ = false;
  // Counts the visits of Memo3: typing within one visit into one frame is one undo step.
  int visit_ = 0;
};

}  // namespace lumetra
