#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <clocale>
#include <memory>
#include <optional>

#include "document/document.h"
#include "formats/file_io.h"
#include "session/autosave.h"
#include "settings/configuration.h"
#include "ui/automation.h"
#include "ui/autosave_keeper.h"
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
  // SIGTERM and SIGHUP write an autosave before the editor ends.
  lumetra::AutosaveKeeper::CatchTerminationSignals();
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
  window.EnableAutosave(lumetra::StateDirectory(lumetra::ProcessEnvironment));
  // lumetra SUBTITLE FILM
  if (arguments.size() > 2) window.SetStartupFilm(arguments.at(2));
  prompts.SetParent(&window);
  window.CreateDialogs(prompts);
  prompts.SetSubFrameRateDialog(window.subFrameRateDialog());
  window.show();
  // A test drives the editor through its standard input, from the first dialog on.
  std::unique_ptr<lumetra::Automation> automation;
  if (lumetra::Automation::Requested()) {
    QTimer::singleShot(0, &window, [&] { automation = std::make_unique<lumetra::Automation>(window); });
  }
  return QApplication::exec();
}
