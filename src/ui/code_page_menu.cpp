#include "ui/code_page_menu.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>
#include <QStandardItemModel>

#include "foundation/code_pages.h"
#include "ui/hints.h"

namespace lumetra {

namespace {

const char* Script(CodePage page) {
  switch (page) {
    case CodePage::kUtf8:
      return "Unicode";
    case CodePage::kWindows1250:
      return "Central European";
    case CodePage::kWindows1251:
      return "Cyrillic";
    case CodePage::kWindows1252:
      return "Western European";
    case CodePage::kWindows1253:
      return "Greek";
    case CodePage::kWindows1254:
      return "Turkish";
    case CodePage::kWindows1257:
      return "Baltic";
    case CodePage::kIso8859_2:
      return "Central European";
  }
  return "";
}

}  // namespace

constexpr char kCodePageHint[] =
    "Reopen with code page: the code page the texts are shown and typed in\r"
    "(the file's bytes stay as they are)";

CodePageBox::CodePageBox(const Document& doc, QWidget* parent) : QComboBox(parent), doc_(doc) {
  setObjectName("CodePageBox");
  for (CodePage page : AllCodePages()) {
    addItem(QString::fromLatin1(CodePageName(page)), static_cast<int>(page));
    setItemData(count() - 1, QString::fromLatin1(Script(page)), Qt::ToolTipRole);
  }
  SetHint(this, kCodePageHint);
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(this, &QComboBox::activated, this, [this](int index) {
    const auto page = static_cast<CodePage>(itemData(index).toInt());
    if (page != doc_.Encoding) emit codePageChosen(page);
  });
  Refresh();
}

void CodePageBox::Refresh() {
  const bool utf16 = doc_.FileTextForm != TextForm::kBytes;
  for (int i = 0; i < count(); ++i) {
    const auto page = static_cast<CodePage>(itemData(i).toInt());
    if (auto* items = qobject_cast<QStandardItemModel*>(model())) {
      items->item(i)->setEnabled(!utf16 || page == CodePage::kUtf8);
    }
    if (page == doc_.Encoding) setCurrentIndex(i);
  }
}

CodePageMenu::CodePageMenu(QLineEdit* box, const Document& doc)
    : QObject(box), doc_(doc), menu_(new QMenu(box)) {
  menu_->setObjectName("CodePagePopup");
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(box, &QWidget::customContextMenuRequested, this,
          [this, box](const QPoint& pos) { Popup(box->mapToGlobal(pos)); });
}

void CodePageMenu::Fill() {
  menu_->clear();
  auto* group = new QActionGroup(menu_);
  // A document read from UTF-16 is held as UTF-8: no other page can show it.
  const bool utf16 = doc_.FileTextForm != TextForm::kBytes;
  for (CodePage page : AllCodePages()) {
    const QString name = QString::fromLatin1(CodePageName(page));
    QAction* action = menu_->addAction(QString("%1  (%2)").arg(name, Script(page)));
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(page == doc_.Encoding);
    action->setEnabled(!utf16 || page == CodePage::kUtf8);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, page] { emit codePageChosen(page); });
  }
}

void CodePageMenu::Popup(const QPoint& global_pos) {
  Fill();
  menu_->popup(global_pos);
}

}  // namespace lumetra
