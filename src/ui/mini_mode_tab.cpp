#include "ui/mini_mode_tab.h"

#include <QAbstractItemModel>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "editing/editor_panel.h"
#include "foundation/textkit.h"
#include "session/session.h"
#include "session/window_geometry.h"
#include "ui/controls.h"
#include "ui/file_shortcuts.h"
#include "ui/text_codec.h"
#include "ui/tool_button.h"

namespace lumetra {

namespace {

// A step panel: a small coloured panel that reports which button pressed it.
class StepPanelWidget : public QFrame {
 public:
  std::function<void(PointerButton)> pressed;

  StepPanelWidget(const StepPanel& step, QWidget* parent) : QFrame(parent) {
    setObjectName(QString::fromLatin1(step.name));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(1);
    setFixedHeight(9);
    setAutoFillBackground(true);
    const int grey = step.small < 0 ? 185 : 174;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(grey, grey, grey));
    setPalette(p);
    SetHint(this, StepPanelHint(step));
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) return pressed(PointerButton::kLeft);
    pressed(e->button() == Qt::RightButton ? PointerButton::kRight : PointerButton::kOther);
  }
};

// The boxes by index: the start's hours, minutes, seconds, milliseconds, then the end's.
constexpr BoxSpec kBoxes[8] = {
    {"Edit24", "hr", "0", 1, 16, "Hour"},     {"Edit25", "min", "00", 2, 24, "Minute"},
    {"Edit26", "sec", "00", 2, 24, "Second"}, {"Edit27", "milisec", "000", 3, 32, "Milisecond"},
    {"Edit31", "hr", "0", 1, 16, "Hour"},     {"Edit30", "min", "00", 2, 24, "Minute"},
    {"Edit29", "sec", "00", 2, 24, "Second"}, {"Edit28", "milisec", "000", 3, 32, "Milisecond"},
};

// Moving between the window's controls; not a dialog, a menu or another application
// taking the keyboard for a while.
bool WithinWindow(const QEvent* event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

QLabel* SmallLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  QFont small = label->font();
  small.setPixelSize(9);
  label->setFont(small);
  return label;
}

}  // namespace

MiniModeTab::MiniModeTab(Session& session, QAbstractItemModel* model,
                         std::function<bool()> auto_focus, QWidget* parent)
    : QWidget(parent), session_(session), auto_focus_(std::move(auto_focus)) {
  setObjectName("TabSheet3");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel9");
  outer->addWidget(panel);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(3, 1, 3, 1);
  row->setSpacing(6);

  auto* left = new QVBoxLayout;
  left->setSpacing(0);
  auto* save = new ToolButton(panel);
  save->setObjectName("SpeedButton8");
  save->setAutoRaise(true);
  save->setIcon(GlyphIcon(Glyph::kSave));
  save->setIconSize(QSize(20, 20));
  save->setFixedSize(28, 28);
  save->setFocusPolicy(Qt::NoFocus);
  SetHint(save, kSaveHint);
  connect(save, &QToolButton::clicked, this, [this] {
    Flush();
    emit saveAsRequested();
  });
  connect(save, &ToolButton::rightPressed, this, [this] {
    Flush();
    emit quickSaveRequested();
  });
  left->addWidget(save);
  auto* where = new QHBoxLayout;
  auto* frame_label = new QLabel("Frame: ", panel);
  frame_label->setObjectName("Label53");
  position_ = new QLabel("0 / 0", panel);
  position_->setObjectName("Label54");
  QFont bold = position_->font();
  bold.setBold(true);
  position_->setFont(bold);
  where->addWidget(frame_label);
  where->addWidget(position_);
  left->addLayout(where);
  row->addLayout(left);

  memo_ = MakeFrameTextBox("Memo3", 13, panel);
  memo_->setMinimumWidth(200);
  memo_->installEventFilter(this);
  connect(memo_, &QPlainTextEdit::textChanged, this, &MiniModeTab::Memo3Change);
  row->addWidget(memo_, 1);

  row->addWidget(BuildTimeGroup(false));
  row->addWidget(BuildTimeGroup(true));
  auto* length_column = new QVBoxLayout;
  length_column->setSpacing(0);
  length_column->addWidget(SmallLabel("length", panel), 0, Qt::AlignHCenter);
  length_ = new QLineEdit("0", panel);
  length_->setObjectName("Edit32");
  length_->setFixedWidth(48);
  length_->setAlignment(Qt::AlignCenter);
  length_->setReadOnly(true);
  length_column->addWidget(length_);
  length_column->addStretch();
  row->addLayout(length_column);
  row->addWidget(BuildButtons());

  auto refresh = [this] {
    if (mini_.active && !editing_) ScheduleRefresh();
  };
  connect(model, &QAbstractItemModel::modelReset, this, refresh);
  connect(model, &QAbstractItemModel::rowsInserted, this, refresh);
  connect(model, &QAbstractItemModel::rowsRemoved, this, refresh);
  connect(model, &QAbstractItemModel::dataChanged, this, refresh);
}

QWidget* MiniModeTab::BuildTimeGroup(bool end) {
  auto* group = new QWidget;
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(1);
  grid->setVerticalSpacing(0);
  QFont box_font = font();
  box_font.setBold(true);
  const std::size_t first = end ? 4 : 0;
  int column = 0;
  for (std::size_t j = 0; j < 4; ++j) {
    const BoxSpec& b = kBoxes[first + j];
    if (j == 2) {
      auto* colon = new QLabel(":", group);
      colon->setFont(box_font);
      grid->addWidget(colon, 1, column++);
    }
    grid->addWidget(SmallLabel(b.unit, group), 0, column, Qt::AlignHCenter);
    QLineEdit* box = MakeBox(b, group);
    box->setFont(box_font);
    box->setPalette(EditorPalette(box->palette()));
    box->installEventFilter(this);
    boxes_[first + j] = box;
    grid->addWidget(box, 1, column);
    if (j > 0) {
      // The minus and plus panels of this part, side by side under its box.
      auto* pair = new QHBoxLayout;
      pair->setSpacing(1);
      for (int plus = 0; plus < 2; ++plus) {
        const int index = static_cast<int>(first / 4 * 6 + (j - 1) * 2) + plus;
        auto* step = new StepPanelWidget(kStepPanels[static_cast<std::size_t>(index)], group);
        step->pressed = [this, index](PointerButton button) { Step(index, button); };
        pair->addWidget(step);
      }
      grid->addLayout(pair, 2, column);
    }
    ++column;
  }
  return group;
}

QWidget* MiniModeTab::BuildButtons() {
  auto* buttons = new QWidget;
  auto* grid = new QGridLayout(buttons);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  QPushButton* previous = MakeButton("Previous", "Button27", "Previous frame", buttons);
  QPushButton* next =
      MakeButton("Next", "Button26",
                 "Next frame.\rIf there is no next frame,\rthen one will be created.", buttons);
  QPushButton* jump = MakeButton("Jump", "Button29", "Jump to a frame number", buttons);
  QPushButton* one_second = MakeButton(">", "Button28", "Set (Start+1sec) as End time", buttons);
  for (QPushButton* b : {previous, next, jump, one_second}) b->setFixedSize(64, 24);
  one_second->setFixedWidth(24);
  grid->addWidget(previous, 0, 0);
  grid->addWidget(next, 0, 1);
  grid->addWidget(jump, 1, 0);
  grid->addWidget(one_second, 1, 1, Qt::AlignLeft);
  connect(previous, &QPushButton::clicked, this, &MiniModeTab::Previous);
  connect(next, &QPushButton::clicked, this, &MiniModeTab::Next);
  connect(jump, &QPushButton::clicked, this, &MiniModeTab::Jump);
  connect(one_second, &QPushButton::clicked, this, &MiniModeTab::SetOneSecond);
  return buttons;
}

void MiniModeTab::SetWindowParts(QWidget* window, QTabWidget* pages, std::vector<QWidget*> hidden) {
  window_ = window;
  pages_ = pages;
  hidden_ = std::move(hidden);
}

void MiniModeTab::SaveBounds() {
  if (window_ != nullptr) {
    mini_.MiniModeSavedBounds = {window_->x(), window_->y(), window_->width(), window_->height()};
  }
}

void MiniModeTab::Enter(int focused_frame) {
  if (mini_.active || window_ == nullptr) return;
  mini_.active = true;
  for (QWidget* w : hidden_) w->hide();
  was_maximized_ = window_->isMaximized();
  if (was_maximized_) window_->showNormal();
  SaveBounds();
  const int index = pages_->indexOf(this);
  pages_->setTabVisible(index, true);
  pages_->setCurrentIndex(index);

  const QRect frame = window_->frameGeometry();
  const QRect client = window_->geometry();
  const int frame_height = frame.height() - client.height();
  const QRect available = window_->screen()->availableGeometry();
  const StripPlacement strip =
      MiniStripPlacement({available.x(), available.y(), available.width(), available.height()},
                         frame.width() - client.width(), frame_height);
  window_->setMinimumHeight(std::min(kMiniStripHeight, kMiniModeMinimumHeight - frame_height));
  window_->resize(strip.client_width, strip.client_height);
  window_->move(strip.left, strip.top);

  mini_.Enter(focused_frame);
  Refresh();
}

void MiniModeTab::Leave() {
  if (!mini_.active) return;
  Flush();
  mini_.active = false;
  refresh_pending_ = false;
  pages_->setTabVisible(pages_->indexOf(this), false);
  // As tall as the desktop allows (a scaled desktop may be lower than the usual minimum).
  window_->setMinimumHeight(
      std::min(kMinimumWindowHeight, window_->screen()->availableGeometry().height()));
  const ScreenRect& b = mini_.MiniModeSavedBounds;
  window_->resize(b.width, b.height);
  window_->move(b.left, b.top);
  if (was_maximized_) window_->showMaximized();
}

void MiniModeTab::Refresh() {
  refresh_pending_ = false;
  if (!mini_.active) return;
  if (MiniMode::NeedsFirstFrame(session_.document())) {
    RunEdit("Insert", [this](Document& doc) { return mini_.AddFirstFrame(doc); });
  }
  const Document& doc = session_.document();
  const MiniModeView view = mini_.Refresh(doc);
  filling_ = true;
  memo_->setPlainText(DecodeLines(view.lines, doc.Encoding));
  position_->setText(QString::fromStdString(view.position));
  for (std::size_t i = 0; i < 8; ++i) {
    const QString text = QString::fromStdString(i < 4 ? view.start[i] : view.end[i - 4]);
    // A box shows its whole part: negative parts and hours above 9 too.
    boxes_[i]->setMaxLength(std::max(kBoxes[i].max_length, static_cast<int>(text.size())));
    boxes_[i]->setText(text);
  }
  length_->setText(QString::fromStdString(view.length));
  filling_ = false;
  ++visit_;
  if (auto_focus_()) memo_->setFocus();
  memo_->moveCursor(QTextCursor::Start);
}

void MiniModeTab::ScheduleRefresh() {
  if (refresh_pending_) return;
  refresh_pending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (refresh_pending_) Refresh();
  });
}

CommandResult MiniModeTab::RunEdit(const std::string& name,
                                   const std::function<CommandResult(Document&)>& edit,
                                   const std::string& key) {
  editing_ = true;
  CommandResult result = session_.runner().Run(name, mini_.selection(), edit, key);
  editing_ = false;
  return result;
}

void MiniModeTab::Memo3Change() {
  const Document& doc = session_.document();
  const int frame = mini_.current();
  if (filling_ || !mini_.active || frame < 1 || frame > doc.FrameCount) return;
  const QString typed = memo_->toPlainText();
  RunEdit(
      "Text",
      [&](Document& d) {
        MakeRoomForTyping(d, typed);
        return mini_.SetText(
            d, EncodeLines(typed, EditorLinesOf(d.FrameText[static_cast<std::size_t>(frame)]),
                           d.Encoding));
      },
      "mini text " + std::to_string(frame) + " " + std::to_string(visit_));
}

void MiniModeTab::Edit24Exit(QLineEdit* box) {
  if (!mini_.active) return;
  std::array<std::string, 8> texts;
  for (std::size_t i = 0; i < 8; ++i) texts[i] = boxes_[i]->text().toStdString();
  const bool end = std::find(boxes_.begin() + 4, boxes_.end(), box) != boxes_.end();
  RunEdit(end ? "End time" : "Start time",
          [&](Document& doc) { return mini_.SetTimes(doc, texts); });
}

void MiniModeTab::Flush() {
  for (QLineEdit* box : boxes_) {
    if (box->hasFocus()) Edit24Exit(box);
  }
}

void MiniModeTab::Step(int panel, PointerButton button) {
  Flush();
  RunEdit(kStepPanels[static_cast<std::size_t>(panel)].end ? "End time" : "Start time",
          [&](Document& doc) { return mini_.Step(doc, panel, button); });
  Refresh();
}

void MiniModeTab::FocusMemo() { memo_->setFocus(); }

void MiniModeTab::Previous() {
  mini_.Previous();
  Refresh();
  FocusMemo();
}

void MiniModeTab::Next() {
  RunEdit("Next", [this](Document& doc) { return mini_.Next(doc); });
  Refresh();
  FocusMemo();
}

void MiniModeTab::Jump() {
  const std::optional<std::string> answer =
      session_.prompts().AskText(kJumpCaption, kJumpPrompt, IntToText(mini_.current()));
  if (!answer) return;
  mini_.Jump(*answer, session_.document().FrameCount);
  Refresh();
  FocusMemo();
}

void MiniModeTab::SetOneSecond() {
  RunEdit("End time", [this](Document& doc) { return mini_.SetOneSecond(doc); });
  Refresh();
  FocusMemo();
}

bool MiniModeTab::eventFilter(QObject* watched, QEvent* event) {
  const bool focus_in = event->type() == QEvent::FocusIn;
  const bool focus_out = event->type() == QEvent::FocusOut;
  if ((focus_in || focus_out) && WithinWindow(event)) {
    if (watched == memo_ && focus_in) ++visit_;
    if (focus_out) {
      const auto it = std::find(boxes_.begin(), boxes_.end(), watched);
      if (it != boxes_.end() && !filling_) Edit24Exit(*it);
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace lumetra
