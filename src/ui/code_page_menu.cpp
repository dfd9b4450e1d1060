#include "ui/code_page_menu.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>

#include "foundation/code_pages.h"

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
