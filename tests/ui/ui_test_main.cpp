// The editor's tests need one application object for all widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "ui/look.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the editor does, for the film player
  QApplication::setApplicationName("Lumetra");
  lumetra::InstallLook();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
