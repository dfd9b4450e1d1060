#include "ui/time_boxes.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "editing/frame_row.h"
#include "session/session.h"
#include "ui/controls.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

struct BoxLook {
  const char* name;
  const char* hint;
  const char* caption;
  int max_length;
  const char* initial;
  int width;
};
// By tag: the start's hours, minutes, seconds, milliseconds, then the end's.
constexpr BoxLook kBoxes[TimeBoxes::kBoxes] = {
    {"Edit7", "Hour", "hr", 1, "0", 16},      {"Edit8", "Minute", "min", 2, "00", 24},
    {"Edit9", "Second", "sec", 2, "00", 24},  {"Edit10", "Milisecond", "milisec", 3, "000", 32},
    {"Edit14", "Hour", "hr", 1, "0", 16},     {"Edit13", "Minute", "min", 2, "00", 24},
    {"Edit12", "Second", "sec", 2, "00", 24}, {"Edit11", "Milisecond", "milisec", 3, "000", 32},
};

// Entering and leaving mean moving between the window's controls; a dialog, a menu or
// another application taking the keyboard for a while is neither.
bool WithinWindow(const QEvent* event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

TimeBoxPanel::TimeBoxPanel(WindowCommands& commands, QWidget* parent)
    : QWidget(parent), commands_(commands) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(1);
  grid->setVerticalSpacing(0);
  QFont small = font();
  small.setPixelSize(9);
  QFont box_font = font();
  box_font.setBold(true);
  int column = 0;
  for (int tag = 1; tag <= TimeBoxes::kBoxes; ++tag) {
    const BoxLook& b = kBoxes[tag - 1];
    if (tag == 5) {
      minus_ = MakeButton("-", "Button19",
                          "Decreases value by 1 (In the latest box)\rRight click: Decreases by 10",
                          this);
      plus_ = MakeButton("+", "Button20",
                         "Increases value by 1 (In the latest box)\rRight click: Increases by 10",
                         this);
      for (QPushButton* p : {minus_, plus_}) {
        p->setFixedSize(22, 22);
        p->setFocusPolicy(Qt::NoFocus);
        p->installEventFilter(this);
      }
      connect(minus_, &QPushButton::clicked, this, [this] { Step(false, false); });
      connect(plus_, &QPushButton::clicked, this, [this] { Step(true, false); });
      grid->setColumnMinimumWidth(column++, 8);
      grid->addWidget(minus_, 1, column++);
      grid->addWidget(plus_, 1, column++);
      grid->setColumnMinimumWidth(column++, 8);
    }
    if (tag == 3 || tag == 7) {
      auto* colon = new QLabel(":", this);
      QFont bold = colon->font();
      bold.setBold(true);
      colon->setFont(bold);
      grid->addWidget(colon, 1, column++);
    }
    auto* caption = new QLabel(QString::fromLatin1(b.caption), this);
    caption->setFont(small);
    grid->addWidget(caption, 0, column, Qt::AlignHCenter);
    auto* edit = new QLineEdit(QString::fromLatin1(b.initial), this);
    edit->setObjectName(b.name);
    edit->setMaxLength(b.max_length);
    edit->setFixedWidth(b.width);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFont(box_font);
    edit->setPalette(EditorPalette(edit->palette()));
    SetHint(edit, b.hint);
    edit->installEventFilter(this);
    boxes_[static_cast<std::size_t>(tag - 1)] = edit;
    grid->addWidget(edit, 1, column++);
  }
  grid->setColumnStretch(column, 1);
}

void TimeBoxPanel::ShowTimes(TimeValue start, TimeValue end) {
  const TimeBoxTexts texts[2] = {TimeBoxTextsOf(start), TimeBoxTextsOf(end)};
  for (int k = 0; k < 2; ++k) {
    const TimeBoxTexts& t = texts[k];
    const std::string* parts[4] = {&t.hour, &t.minute, &t.second, &t.millisecond};
    for (int j = 0; j < 4; ++j) {
      QLineEdit* edit = box(4 * k + j + 1);
      const QString text = QString::fromLatin1(*parts[j]);
      // A box shows its whole part, also where the part has more digits than can be typed.
      if (j == 0) edit->setMaxLength(std::max(1, static_cast<int>(text.size())));
      edit->setText(text);
    }
  }
}

void TimeBoxPanel::ShowNoFrame() {
  for (int tag = 1; tag <= TimeBoxes::kBoxes; ++tag) {
    box(tag)->setMaxLength(kBoxes[tag - 1].max_length);
    box(tag)->setText(QString::fromLatin1(kBoxes[tag - 1].initial));
  }
}

int TimeBoxPanel::TagOf(const QObject* object) const {
  const auto it = std::find(boxes_.begin(), boxes_.end(), object);
  return it == boxes_.end() ? 0 : static_cast<int>(it - boxes_.begin()) + 1;
}

bool TimeBoxPanel::eventFilter(QObject* watched, QEvent* event) {
  if (const int tag = TagOf(watched); tag > 0) {
    if (event->type() == QEvent::FocusIn && WithinWindow(event)) {
      model_.Enter(tag);
    } else if (event->type() == QEvent::FocusOut && WithinWindow(event)) {
      Commit(tag);
    }
  } else if ((watched == minus_ || watched == plus_) && event->type() == QEvent::MouseButtonPress &&
             static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    if (static_cast<QWidget*>(watched)->isEnabled()) Step(watched == plus_, true);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TimeBoxPanel::Commit(int tag) {
  const std::string text = box(tag)->text().toStdString();
  commands_.Run(
      TimeBoxes::ChangeName(tag),
      [tag, text](Document& doc, const Selection& s) {
        return TimeBoxes::Commit(doc, s, tag, text);
      },
      false);
}

void TimeBoxPanel::Step(bool increase, bool tenfold) {
  // A box that still holds the focus gives its number first, as leaving it would.
  for (int tag = 1; tag <= TimeBoxes::kBoxes; ++tag) {
    if (box(tag)->hasFocus()) Commit(tag);
  }
  const int latest = model_.latest();
  commands_.Run(
      TimeBoxes::ChangeName(latest),
      [this, increase, tenfold](Document& doc, const Selection& s) {
        return model_.Step(doc, s, increase, tenfold);
      },
      false);
  if (latest > 0) box(latest)->setFocus();
}

}  // namespace lumetra
