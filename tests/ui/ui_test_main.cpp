// The editor's tests need one application object for all widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <clocale>

#include "ui/look.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the editor does, for the film player
  // What a film leaves behind (the peaks of its sound, the subtitle handed to the player)
  // goes to a directory of the tests' own, never to the user's.
  QTemporaryDir scratch;
  qputenv("XDG_CACHE_HOME", scratch.filePath("cache").toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
  QApplication::setApplicationName("Lumetra");
  lumetra::InstallLook();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
