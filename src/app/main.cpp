#include <QApplication>
#include <QStringList>
#include <optional>

#include "document/document.h"
#include "formats/file_io.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_prompts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(lumetra::kApplicationTitle));
  lumetra::InstallLook();
  lumetra::HandleSignalsDuringSaves();

  std::optional<QString> startup_file;
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) startup_file = arguments.at(1);

  lumetra::QtPrompts prompts;
  lumetra::MainWindow window(prompts, startup_file);
  prompts.SetParent(&window);
  window.CreateDialogs(prompts);
  prompts.SetSubFrameRateDialog(window.subFrameRateDialog());
  window.show();
  return QApplication::exec();
}
