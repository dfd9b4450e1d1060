#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QStringList>
#include <clocale>
#include <optional>

#include "document/document.h"
#include "formats/file_io.h"
#include "settings/configuration.h"
#include "ui/look.h"
#include "ui/main_window.h"
#include "ui/qt_prompts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The film player (libmpv) reads and writes numbers with a decimal point; the
  // application object has just set the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QString::fromLatin1(lumetra::kApplicationTitle));
  lumetra::InstallLook();
  lumetra::HandleSignalsDuringSaves();
  // The installed desktop entry and icon, where there are such.
  QApplication::setDesktopFileName("lumetra");
  QApplication::setWindowIcon(QIcon::fromTheme("lumetra"));

  std::optional<QString> startup_file;
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) startup_file = arguments.at(1);

  lumetra::QtPrompts prompts;
  // The configuration file lives beside the program when it may, else in the user's
  // configuration directory.
  const std::string config_path = lumetra::ConfigFilePath(
      QFile::encodeName(QApplication::applicationDirPath()).toStdString(),
      lumetra::ProcessEnvironment);
  lumetra::MainWindow window(prompts, startup_file, config_path);
  // lumetra SUBTITLE FILM
  if (arguments.size() > 2) window.SetStartupFilm(arguments.at(2));
  prompts.SetParent(&window);
  window.CreateDialogs(prompts);
  prompts.SetSubFrameRateDialog(window.subFrameRateDialog());
  window.show();
  return QApplication::exec();
}
