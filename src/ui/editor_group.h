// The editor group under the frame list: the time boxes of the focused frame, "Apply to
// selected frames", the text editor of the selected frame, the "Align" group and the "Apply
// changes instantly" and "Auto focus" check boxes. Text typed into the editor goes back
// into its frame through the command runner.
#pragma once

#include <QGroupBox>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace lumetra {

class SpellingHighlighter;
class SpellingService;
class TimeBoxPanel;
class WindowCommands;

class EditorGroup : public QGroupBox {
  Q_OBJECT

 public:
  // The text box underlines the words that `spelling`'s dictionary does not know.
  EditorGroup(WindowCommands& commands, SpellingService& spelling, QWidget* parent = nullptr);

  QPlainTextEdit* memo() const { return memo_; }
  SpellingHighlighter* highlighter() const { return highlighter_; }
  TimeBoxPanel* timeBoxes() const { return time_boxes_; }
  bool autoFocus() const { return auto_focus_; }

  // Shows these lines (the program's own filling: no write-back follows).
  void FillEditor(const std::vector<std::string>& lines);
  // Shows or hides "Apply to selected frames".
  void SetApplyVisible(bool visible);
  // Before a command or a file command: text typed into the focused editor reaches the
  // frame.
  void FlushEditor();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Memo1Enter();
  void Memo1Change();
  void Memo1Exit();
  void CommitEditor();
  void ApplyToSelected();
  void SetAlignment(int item);
  void ShowMenu(const QPoint& pos);

  WindowCommands& commands_;
  TimeBoxPanel* time_boxes_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;        // memo1
  SpellingHighlighter* highlighter_ = nullptr;
  QPushButton* apply_button_ = nullptr;   // Button4
  QCheckBox* apply_instantly_ = nullptr;  // CheckBox1
  QCheckBox* auto_focus_box_ = nullptr;   // CheckBox4
  std::array<QRadioButton*, 3> align_{};  // RadioGroup1's items
  bool auto_focus_ = false;
  // The editor is being filled by the program: its changes are not the user's typing.
  bool filling_editor_ = false;
  // The editor text differs from what was last filled in or written back.
  bool editor_edited_ = false;
  // Counts the visits of the editor: typing within one visit is one undo step.
  int visit_ = 0;
};

}  // namespace lumetra
