#include "ui/timing_group.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "session/session.h"
#include "ui/command_button_press.h"
#include "ui/controls.h"
#include "ui/frame_rate_dialog.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

constexpr int kStepButtonWidth = 20;
constexpr int kBoxWidth = 56;

QToolButton* MakeFlatButton(const char* text, const char* name, const char* hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QString::fromLatin1(text));
  button->setAutoRaise(true);
  SetHint(button, hint);
  MakeCompact(button);
  return button;
}

}  // namespace

TimingGroup::TimingGroup(WindowCommands& commands, QWidget* parent)
    : QGroupBox("Timing", parent),
      commands_(commands),
      parameters_(commands.session().editing_parameters()) {
  setObjectName("GroupBox5");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 0, 6, 2);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(1);

  // Offset and the two delays: a caption, "-" and "+", the box and its unit.
  struct ValueRow {
    const char* caption;
    const char* label_name;
    CommandButton minus;
    CommandButton plus;
    ParameterBox box;
    const char* unit;
    const char* unit_name;
  };
  const ValueRow rows[] = {
      {"Offset:", "Label8", CommandButton::kEarlier, CommandButton::kLater, ParameterBox::kOffset,
       "sec.", "Label9"},
      {"Delay:", "Label10", CommandButton::kShorter, CommandButton::kLonger, ParameterBox::kDelay,
       "sec.", "Label11"},
      {"Delay:", "Label12", CommandButton::kShorterPercent, CommandButton::kLongerPercent,
       ParameterBox::kDelayPercent, "%", "Label13"},
  };
  int row = 0;
  for (const ValueRow& r : rows) {
    QLabel* caption = MakeLabel(r.caption, r.label_name, this);
    grid->addWidget(caption, row, 0);
    for (CommandButton b : {r.minus, r.plus}) {
      QPushButton* button = MakeCommandButton(commands, b, this);
      button->setFixedWidth(kStepButtonWidth);
      valued_.emplace_back(button, b);
      grid->addWidget(button, row, b == r.plus ? 2 : 1);
    }
    grid->addWidget(MakeBox(r.box), row, 3);
    grid->addWidget(MakeLabel(r.unit, r.unit_name, this), row, 4);
    ++row;
  }
  QLabel* offset = findChild<QLabel*>("Label8");
  SetBold(offset);
  offset->setCursor(Qt::WhatsThisCursor);
  SetHint(offset, "You can use time-format like\rthis:  14:08  or  6:32.41");

  auto* resize_row = new QHBoxLayout;
  resize_row->setSpacing(2);
  QToolButton* calculator = MakeFlatButton(
      "Resize:", "SpeedButton11",
      "This button opens a window, where you can\rchange the framerate of the selected "
      "frames,\rand the program calculates the resize value%.\rFor example:\r   23.977 fps "
      "---> 25 fps  needs  0.95908 % resizing",
      this);
  SetBold(calculator);
  QToolButton* invert = MakeFlatButton(
      "%", "SpeedButton13",
      "If you want to undo the last resize, click here\rto change the % value to the "
      "opposite\rFor example:\r  23.977 ---> 25  =  0.95908 %\r  25 ---> 23.977  =  1.042666 %",
      this);
  resize_ = MakeCommandButton(commands, CommandButton::kResize, this);
  resize_row->addWidget(calculator);
  resize_row->addWidget(MakeBox(ParameterBox::kResizeFactor));
  resize_row->addWidget(invert);
  resize_row->addWidget(resize_, 1);
  grid->addLayout(resize_row, row++, 0, 1, 5);
  connect(calculator, &QToolButton::clicked, this, &TimingGroup::OpenCalculator);
  connect(invert, &QToolButton::clicked, this, [this] {
    parameters_.InvertResizeFactor();
    ShowParameters();
  });

  auto* stop = new QCheckBox("Stop if reaches adjacent frame", this);
  stop->setObjectName("CheckBox2");
  SetHint(stop,
          "Stops if Start time reaches previous End\rtime or End time reaches next Start time");
  stop->setChecked(parameters_.stop_at_adjacent);
  MakeCompact(stop);
  connect(stop, &QCheckBox::toggled, this, [this](bool on) { parameters_.stop_at_adjacent = on; });
  grid->addWidget(stop, row++, 0, 1, 5);
  grid->addWidget(MakeCommandButton(commands, CommandButton::kFixHangout, this), row++, 0, 1, 5);

  auto* length_row = new QHBoxLayout;
  length_row->setSpacing(3);
  set_length_ = MakeCommandButton(commands, CommandButton::kSetLength, this);
  length_row->addWidget(MakeLabel("Length:", "Label14", this));
  length_row->addWidget(MakeBox(ParameterBox::kLengthPerChar));
  length_row->addWidget(MakeLabel("* CharNum", "Label15", this));
  length_row->addWidget(set_length_, 1);
  grid->addLayout(length_row, row, 0, 1, 5);
  grid->setColumnStretch(3, 1);
  ShowParameters();
}

QLineEdit* TimingGroup::MakeBox(ParameterBox which) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(EditingParameters::ControlName(which)));
  edit->setMinimumWidth(kBoxWidth);
  MakeCompact(edit);
  edit->installEventFilter(this);
  boxes_[static_cast<std::size_t>(which)] = edit;
  connect(edit, &QLineEdit::textEdited, this, [this, which](const QString& text) {
    parameters_.Change(which, text.toStdString());
    ShowParameters();
  });
  return edit;
}

void TimingGroup::Leave(ParameterBox which) {
  parameters_.Leave(which);
  ShowParameters();
}

void TimingGroup::ShowParameters() {
  for (int i = 0; i < kParameterBoxes; ++i) {
    const auto which = static_cast<ParameterBox>(i);
    const QString text = QString::fromStdString(parameters_.Text(which));
    QLineEdit* edit = box(which);
    if (edit->text() != text) edit->setText(text);
  }
  for (const auto& [button, which] : valued_) SetHint(button, ButtonHint(which, parameters_));
}

void TimingGroup::OpenCalculator() {
  if (calculator_ == nullptr) return;
  FrameRateCalculator& model = commands_.session().frame_rate_calculator();
  calculator_->Run(model);
  parameters_.TakeCalculatorFactor(model.resize_value());
  ShowParameters();
}

bool TimingGroup::eventFilter(QObject* watched, QEvent* event) {
  ParameterBox which{};
  bool found = false;
  for (int i = 0; i < kParameterBoxes; ++i) {
    if (watched == boxes_[static_cast<std::size_t>(i)])
      which = static_cast<ParameterBox>(i), found = true;
  }
  if (!found) return QGroupBox::eventFilter(watched, event);
  if (event->type() == QEvent::FocusOut) Leave(which);
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter shows the value in force; in the resize and length boxes it moves on to the
      // button that uses the value.
      QPushButton* next = which == ParameterBox::kResizeFactor    ? resize_
                          : which == ParameterBox::kLengthPerChar ? set_length_
                                                                  : nullptr;
      if (next == nullptr) {
        Leave(which);
      } else if (next->isEnabled()) {
        next->setFocus();
      }
      return true;
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace lumetra
