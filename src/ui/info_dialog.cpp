#include "ui/info_dialog.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

#include "document/document.h"
#include "foundation/code_pages.h"
#include "ui/text_codec.h"

namespace lumetra {

namespace {

// Boxes 16 and 17 hold the file's directory and name, which are file-system paths.
bool IsPathBox(int i) { return i == 16 || i == 17; }

}  // namespace

InfoDialog::InfoDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm3");
  setWindowTitle(QString::fromLatin1(InfoDialogModel::kCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  auto* group = new QGroupBox("File info", this);
  group->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(3);
  grid->setHorizontalSpacing(6);
  const auto& labels = InfoDialogModel::Labels();
  auto make_box = [&](int i) {
    auto* label = new QLabel(QString::fromUtf8(labels[static_cast<std::size_t>(i - 1)]), group);
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QString("Edit%1").arg(i));
    label->setBuddy(edit);
    if (i > InfoDialogModel::kEditableBoxes) {
      edit->setReadOnly(true);
      // Wide enough for the longest statistic, a total time of hundreds of hours.
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance("999h 59m 59s 999ms") + 12);
      QPalette palette = edit->palette();
      palette.setColor(QPalette::Base, palette.color(QPalette::Button));
      edit->setPalette(palette);
    }
    boxes_[static_cast<std::size_t>(i - 1)] = edit;
    return std::pair<QLabel*, QLineEdit*>(label, edit);
  };
  int row = 0;
  // The header fields, one per row across the whole width.
  for (int i = 1; i <= InfoDialogModel::kEditableBoxes; ++i, ++row) {
    auto [label, edit] = make_box(i);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, 1, 3);
  }
  // The numeric statistics in two columns, then the file's directory and name.
  for (int i = 10; i <= 15; i += 2, ++row) {
    for (int k = 0; k < 2; ++k) {
      auto [label, edit] = make_box(i + k);
      grid->addWidget(label, row, 2 * k);
      grid->addWidget(edit, row, 2 * k + 1);
    }
  }
  for (int i = 16; i <= 17; ++i, ++row) {
    auto [label, edit] = make_box(i);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, 1, 3);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Button2");
  QFont bold = ok_->font();
  bold.setBold(true);
  ok_->setFont(bold);
  ok_->setDefault(true);
  cancel_ = new QPushButton(QString::fromUtf8("Mégsem"), this);
  cancel_->setObjectName("Button1");
  connect(ok_, &QPushButton::clicked, this, [this] {
    StoreFields();
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(group);
  layout->addLayout(buttons);
  // The form's size, or more where the texts need it.
  const QSize needed = sizeHint();
  setFixedSize(std::max(kClientWidth, needed.width()), std::max(kClientHeight, needed.height()));
}

InfoDialog::~InfoDialog() = default;

void InfoDialog::Fill(Document& doc) {
  doc_ = &doc;
  model_ = std::make_unique<InfoDialogModel>(doc);
  for (int i = 1; i <= InfoDialogModel::kBoxes; ++i) {
    const std::string& text = model_->Box(i);
    box(i)->setText(IsPathBox(i) ? QFile::decodeName(QByteArray::fromStdString(text))
                                 : DecodeText(text, doc.Encoding));
    box(i)->setCursorPosition(0);
  }
  box(1)->setFocus();
}

void InfoDialog::Open(Document& doc) {
  Fill(doc);
  show();
}

void InfoDialog::Run(Document& doc) {
  // Not shown before exec(): a dialog that is already visible would not become modal.
  Fill(doc);
  exec();
  doc_ = nullptr;
}

void InfoDialog::StoreFields() {
  if (doc_ == nullptr || !model_) return;
  // The fields the user changed; one left alone keeps its bytes, whatever the code page
  // can show.
  std::array<std::optional<QString>, InfoDialogModel::kEditableBoxes> typed;
  for (int i = 1; i <= InfoDialogModel::kEditableBoxes; ++i) {
    const QString shown = box(i)->text();
    if (shown != DecodeText(model_->Box(i), doc_->Encoding)) {
      typed[static_cast<std::size_t>(i - 1)] = shown;
    }
  }
  const std::function<void(Document&)> store = [this, typed](Document& doc) {
    const CodePage before = doc.Encoding;
    for (const std::optional<QString>& text : typed) {
      if (text) MakeRoomForTyping(doc, *text);
    }
    for (int i = 1; i <= InfoDialogModel::kEditableBoxes; ++i) {
      if (const std::optional<QString>& text = typed[static_cast<std::size_t>(i - 1)]) {
        model_->SetBox(i, EncodeText(*text, doc.Encoding));
      } else if (doc.Encoding != before) {
        model_->SetBox(i, DecodeToUtf8(model_->Box(i), before));  // moved with the others
      }
    }
    model_->StoreInto(doc);
  };
  if (store_) {
    store_(store);
  } else {
    store(*doc_);
  }
}

}  // namespace lumetra
