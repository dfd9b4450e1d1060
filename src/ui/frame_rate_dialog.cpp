#include "ui/frame_rate_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls.h"

namespace lumetra {

FrameRateDialog::FrameRateDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("T_FrameForm");
  setWindowTitle(QString::fromLatin1(FrameRateCalculator::kCaption));
  // A title bar without buttons: the dialog's own buttons close it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

  struct BoxLook {
    const char* name;
    QColor colour;
  };
  const BoxLook looks[3] = {
      {"Edit1", QColor(0, 0, 0x80)}, {"Edit2", QColor(0, 0, 0x80)}, {"Edit3", QColor(0, 0x80, 0)}};
  for (int i = 0; i < 3; ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(looks[i].name));
    SetBold(edit);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, looks[i].colour);
    edit->setPalette(palette);
    edit->setFixedWidth(80);
    edit->installEventFilter(this);
    const auto which = static_cast<FrameRateCalculator::Box>(i);
    connect(edit, &QLineEdit::textEdited, this, [this, which](const QString& text) {
      if (model_ == nullptr) return;
      model_->Change(which, text.toStdString());
      ShowModel();
    });
    boxes_[static_cast<std::size_t>(i)] = edit;
  }

  auto* grid = new QGridLayout;
  grid->addWidget(MakeLabel("Change from:", "Label1", this), 0, 0);
  grid->addWidget(boxes_[0], 0, 1);
  grid->addWidget(MakeLabel("frame per second", "Label3", this), 0, 2);
  grid->addWidget(MakeLabel("...to:", "Label2", this), 1, 0);
  grid->addWidget(boxes_[1], 1, 1);
  grid->addWidget(MakeLabel("frame per second", "Label4", this), 1, 2);
  QPushButton* swap = MakeButton("Swap", "Button3", "Exchanges the FPS values", this);
  grid->addWidget(swap, 0, 3, 2, 1);
  grid->addWidget(MakeLabel("Resize value::", "Label5", this), 2, 0);
  grid->addWidget(boxes_[2], 2, 1);
  grid->addWidget(MakeLabel("%", "Label6", this), 2, 2);

  apply_ = MakeButton("Apply", "Button1", "", this);
  SetBold(apply_);
  QPushButton* cancel = MakeButton("Cancel", "Button2", "", this);
  // Enter moves between the boxes, as their own key handling says; it presses no button.
  for (QPushButton* b : {swap, apply_, cancel}) b->setAutoDefault(false);
  connect(swap, &QPushButton::clicked, this, [this] {
    if (model_ == nullptr) return;
    model_->Swap();
    ShowModel();
  });
  connect(apply_, &QPushButton::clicked, this, [this] {
    if (model_ != nullptr) model_->Apply();
    QDialog::accept();
  });
  connect(cancel, &QPushButton::clicked, this, &FrameRateDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(apply_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

void FrameRateDialog::ShowModel() {
  if (model_ == nullptr) return;
  for (int i = 0; i < 3; ++i) {
    const QString text =
        QString::fromStdString(model_->Text(static_cast<FrameRateCalculator::Box>(i)));
    QLineEdit* edit = boxes_[static_cast<std::size_t>(i)];
    if (edit->text() != text) edit->setText(text);
  }
}

void FrameRateDialog::Activate(FrameRateCalculator& model) {
  model_ = &model;
  model_->Activate();
  ShowModel();
  boxes_[0]->selectAll();
  boxes_[0]->setFocus();
}

void FrameRateDialog::Run(FrameRateCalculator& model) {
  Activate(model);
  exec();
  model_ = nullptr;
}

void FrameRateDialog::Open(FrameRateCalculator& model) {
  Activate(model);
  show();
}

void FrameRateDialog::reject() {
  if (model_ != nullptr) model_->Cancel();
  QDialog::reject();
}

bool FrameRateDialog::eventFilter(QObject* watched, QEvent* event) {
  for (int i = 0; i < 3; ++i) {
    if (watched != boxes_[static_cast<std::size_t>(i)] || model_ == nullptr) continue;
    if (event->type() == QEvent::FocusOut) {
      model_->Leave(static_cast<FrameRateCalculator::Box>(i));
      ShowModel();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        (i == FrameRateCalculator::kFrom ? static_cast<QWidget*>(boxes_[1]) : apply_)->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lumetra
