#include "ui/sub_frame_rate_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editing/sub_frame_rate.h"
#include "session/prompts.h"

namespace lumetra {

SubFrameRateDialog::SubFrameRateDialog(Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
  setObjectName("TForm2");
  setWindowTitle(QString::fromLatin1(SubFrameRateModel::kCaption));
  // A title bar without buttons: the dialog's own buttons close it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

  auto* group = new QGroupBox(QString::fromLatin1(SubFrameRateModel::kGroupCaption), this);
  group->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(group);
  const auto& choices = SubFrameRateModel::Choices();
  for (const SubFrameRateModel::Choice& choice : choices) {
    auto* radio = new QRadioButton(QString::fromLatin1(choice.caption), group);
    radio->setObjectName(QString::fromLatin1(choice.control_name));
    radios_[static_cast<std::size_t>(choice.tag - 1)] = radio;
    const int tag = choice.tag;
    connect(radio, &QRadioButton::clicked, this, [this, tag] { RadioClicked(tag); });
    if (tag < SubFrameRateModel::kCustomTag) {
      // Presets in three columns of five, in the order of their tags.
      grid->addWidget(radio, (tag - 1) % 5, (tag - 1) / 5);
    }
  }
  custom_ = new QLineEdit(group);
  custom_->setObjectName("Edit1");
  auto* custom_row = new QHBoxLayout;
  custom_row->addWidget(radios_[SubFrameRateModel::kCustomTag - 1]);
  custom_row->addWidget(custom_);
  grid->addLayout(custom_row, 5, 0, 1, 3);
  connect(custom_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (model_ != nullptr && !showing_model_) model_->SetCustomText(text.toStdString());
  });
  connect(custom_, &QLineEdit::returnPressed, this, &SubFrameRateDialog::PressOk);

  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Button2");
  QFont bold = ok_->font();
  bold.setBold(true);
  ok_->setFont(bold);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("Button1");
  // Enter presses "OK" only from the custom box, as its own key handling says.
  for (QPushButton* b : {ok_, cancel_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(ok_, &QPushButton::clicked, this, &SubFrameRateDialog::PressOk);
  connect(cancel_, &QPushButton::clicked, this, &SubFrameRateDialog::PressCancel);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

void SubFrameRateDialog::ShowModel() {
  showing_model_ = true;
  const int chosen = model_->chosen_tag();
  for (int tag = 1; tag <= SubFrameRateModel::kCustomTag; ++tag) {
    QRadioButton* r = radio(tag);
    QFont f = r->font();
    f.setBold(tag == chosen);
    r->setFont(f);
    r->setChecked(tag == chosen);
  }
  custom_->setText(QString::fromStdString(model_->custom_text()));
  const bool editable = model_->custom_editable();
  custom_->setReadOnly(!editable);
  QPalette palette = custom_->palette();
  palette.setColor(QPalette::Base, editable ? QWidget::palette().color(QPalette::Base)
                                            : QWidget::palette().color(QPalette::Button));
  custom_->setPalette(palette);
  showing_model_ = false;
}

void SubFrameRateDialog::Open(SubFrameRateModel& model) {
  model_ = &model;
  ShowModel();
  show();
}

void SubFrameRateDialog::Run(SubFrameRateModel& model) {
  model_ = &model;
  ShowModel();
  exec();
  model_ = nullptr;
}

void SubFrameRateDialog::RadioClicked(int tag) {
  if (model_ == nullptr) return;
  model_->ClickRadio(tag);
  ShowModel();
  if (tag == SubFrameRateModel::kCustomTag) custom_->setFocus();
}

void SubFrameRateDialog::PressOk() {
  if (model_ == nullptr) return;
  if (!model_->PressOk()) {
    prompts_.ShowMessage(SubFrameRateModel::kRefusal);
    custom_->setFocus();
    return;
  }
  QDialog::accept();
}

void SubFrameRateDialog::PressCancel() {
  if (model_ != nullptr) model_->PressCancel();
  QDialog::reject();
}

void SubFrameRateDialog::reject() { PressCancel(); }

}  // namespace lumetra
