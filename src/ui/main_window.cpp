#include "ui/main_window.h"

#include "document/document.h"

namespace lumetra {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("T_Form1");
  setWindowTitle(QString::fromLatin1(kProgramCaption));
  resize(780, 612);
}

}  // namespace lumetra
