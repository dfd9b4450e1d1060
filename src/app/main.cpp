#include <QApplication>

#include "document/document.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(lumetra::kApplicationTitle));
  lumetra::MainWindow window;
  window.show();
  return QApplication::exec();
}
