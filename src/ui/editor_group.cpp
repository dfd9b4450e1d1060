#include "ui/editor_group.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "editing/editor_panel.h"
#include "editing/frame_commands.h"
#include "session/session.h"
#include "ui/controls.h"
#include "ui/spelling_highlighter.h"
#include "ui/text_codec.h"
#include "ui/time_boxes.h"
#include "ui/window_commands.h"

namespace lumetra {

EditorGroup::EditorGroup(WindowCommands& commands, SpellingService& spelling, QWidget* parent)
    : QGroupBox(parent), commands_(commands) {
  setObjectName("GroupBox2");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 6);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);

  time_boxes_ = new TimeBoxPanel(commands, this);
  grid->addWidget(time_boxes_, 0, 0, 1, 2);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("memo1");
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab and Shift+Tab move through the window; a frame text holds no tab character.
  memo_->setTabChangesFocus(true);
  QFont memo_font = memo_->font();
  memo_font.setBold(true);
  memo_font.setPixelSize(14);
  memo_->setFont(memo_font);
  memo_->setPalette(EditorPalette(memo_->palette()));
  memo_->installEventFilter(this);
  connect(memo_, &QPlainTextEdit::textChanged, this, &EditorGroup::Memo1Change);
  grid->addWidget(memo_, 1, 0);
  highlighter_ = new SpellingHighlighter(spelling, memo_);
  memo_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(memo_, &QWidget::customContextMenuRequested, this, &EditorGroup::ShowMenu);
  connect(highlighter_, &SpellingHighlighter::addFailed, this, [this](const QString& problem) {
    commands_.session().prompts().ShowMessage(problem.toStdString());
  });

  apply_button_ = MakeButton(kApplyToSelectedCaption, "Button4",
                             "Applies this text to all selected frame", this);
  apply_button_->hide();
  connect(apply_button_, &QPushButton::clicked, this, &EditorGroup::ApplyToSelected);
  grid->addWidget(apply_button_, 2, 0, Qt::AlignRight);

  auto* right = new QVBoxLayout;
  right->setSpacing(0);
  QGroupBox* align = MakeGroupBox("Align", "RadioGroup1", this);
  SetHint(align,
          "The appearance of the text in the right textedit box\r(Doesn't affect the "
          "appearance of the played subtitle)");
  auto* align_layout = new QVBoxLayout(align);
  align_layout->setContentsMargins(6, 0, 6, 0);
  align_layout->setSpacing(0);
  const char* items[3] = {"Left", "Center", "Right"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(items[i], align);
    radio->setObjectName(QString("RadioGroup1_%1").arg(items[i]));
    align_[static_cast<std::size_t>(i)] = radio;
    align_layout->addWidget(radio);
    connect(radio, &QRadioButton::clicked, this, [this, i] { SetAlignment(i); });
  }
  align_[1]->setChecked(true);
  SetAlignment(1);
  right->addWidget(align);

  apply_instantly_ = new QCheckBox("Apply changes instantly", this);
  apply_instantly_->setObjectName("CheckBox1");
  SetHint(apply_instantly_,
          "If checked, the text in the textedit will be applied after every keypress");
  right->addWidget(apply_instantly_);
  auto_focus_box_ = new QCheckBox("Auto focus", this);
  auto_focus_box_->setObjectName("CheckBox4");
  SetHint(auto_focus_box_,
          "If you select a single line in the frame list, the\rfocus jumps to "
          "this textedit box automatically");
  connect(auto_focus_box_, &QCheckBox::toggled, this, [this](bool on) { auto_focus_ = on; });
  right->addWidget(auto_focus_box_);
  right->addStretch();
  grid->addLayout(right, 1, 1, 2, 1);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(1, 1);
}

void EditorGroup::SetApplyVisible(bool visible) { apply_button_->setVisible(visible); }

void EditorGroup::FillEditor(const std::vector<std::string>& lines) {
  const bool was_filling = filling_editor_;
  filling_editor_ = true;
  memo_->setPlainText(DecodeLines(lines, commands_.session().document().Encoding));
  filling_editor_ = was_filling;
  editor_edited_ = false;
  ++visit_;
}

void EditorGroup::ShowMenu(const QPoint& pos) {
  QMenu* menu = memo_->createStandardContextMenu(pos);
  menu->setObjectName("EditorMenu");
  highlighter_->AddActions(menu, pos);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(memo_->viewport()->mapToGlobal(pos));
}

void EditorGroup::SetAlignment(int item) {
  static const Qt::Alignment alignments[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  QTextOption option = memo_->document()->defaultTextOption();
  option.setAlignment(alignments[item]);
  option.setWrapMode(QTextOption::NoWrap);
  const bool was_filling = filling_editor_;
  filling_editor_ = true;
  memo_->document()->setDefaultTextOption(option);
  filling_editor_ = was_filling;
}

void EditorGroup::Memo1Enter() {
  ++visit_;
  const QString first = memo_->document()->firstBlock().text();
  if (EditorShowsMarker(first.toStdString())) FillEditor({});
}

void EditorGroup::Memo1Change() {
  if (filling_editor_) return;
  editor_edited_ = true;
  if (CommitsOnChange(commands_.SelectedCount(), commands_.FocusedFrame(), memo_->hasFocus(),
                      apply_instantly_->isChecked())) {
    CommitEditor();
  }
}

void EditorGroup::Memo1Exit() {
  if (CommitsOnExit(commands_.SelectedCount(), commands_.FocusedFrame())) CommitEditor();
}

void EditorGroup::CommitEditor() {
  const Document& doc = commands_.session().document();
  const int frame = commands_.FocusedFrame();
  if (frame < 1 || frame > doc.FrameCount) return;
  const QString typed = memo_->toPlainText();
  editor_edited_ = false;
  // Typing into one frame during one visit of the editor is one step.
  const std::string key = "text " + std::to_string(frame) + " " + std::to_string(visit_);
  commands_.Run(
      "Text",
      [frame, &typed](Document& d, const Selection& s) {
        // Lines the user did not change keep their bytes, whatever the code page can show.
        MakeRoomForTyping(d, typed);
        CommitEditorText(
            d, frame,
            EncodeLines(typed, EditorLinesOf(d.FrameText[static_cast<std::size_t>(frame)]),
                        d.Encoding));
        return CommandResult{s, false, {}};
      },
      false, key);
}

void EditorGroup::ApplyToSelected() {
  const QString typed = memo_->toPlainText();
  commands_.Run(kApplyToSelectedCaption, [&typed](Document& d, const Selection& s) {
    MakeRoomForTyping(d, typed);
    return ApplyTextToSelected(d, s, EncodeLines(typed, {}, d.Encoding));
  });
}

void EditorGroup::FlushEditor() {
  if (memo_->hasFocus() && editor_edited_) Memo1Exit();
}

bool EditorGroup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    // Entering and leaving mean moving between the window's controls; a dialog, a menu or
    // another application taking the keyboard for a while is neither.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const bool within_window =
        reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    if (within_window && event->type() == QEvent::FocusIn) Memo1Enter();
    if (within_window && event->type() == QEvent::FocusOut) Memo1Exit();
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace lumetra
