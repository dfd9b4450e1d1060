// The right-click menu of the file-name box: the code page the document's texts are shown
// and typed in. Choosing one changes no byte of the document.
#pragma once

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

}  // namespace lumetra
