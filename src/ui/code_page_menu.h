// The code page the document's texts are shown and typed in: the combo box beside the
// file name ("Reopen with code page") and the right-click menu of the file-name box.
// Choosing a page changes no byte of the document.
#pragma once

#include <QComboBox>
#include <QObject>

#include "document/document.h"

class QLineEdit;
class QMenu;
class QPoint;

namespace lumetra {

class CodePageMenu : public QObject {
  Q_OBJECT

 public:
  // Gives `box` the menu; the document (not owned) tells which page is in force.
  CodePageMenu(QLineEdit* box, const Document& doc);

  QMenu* menu() const { return menu_; }
  // Fills the menu for the document as it is now and shows it.
  void Popup(const QPoint& global_pos);

 signals:
  void codePageChosen(CodePage page);

 private:
  void Fill();

  const Document& doc_;
  QMenu* menu_;
};

// Shows the document's page; choosing another emits codePageChosen. A document read from
// UTF-16 is held as UTF-8 and offers no other page.
class CodePageBox : public QComboBox {
  Q_OBJECT

 public:
  CodePageBox(const Document& doc, QWidget* parent);
  // Shows the page in force, as the document is now.
  void Refresh();

 signals:
  void codePageChosen(CodePage page);

 private:
  const Document& doc_;
};

}  // namespace lumetra
