// The editor's tests need one application object for all widgets.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/look.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumetra");
  lumetra::InstallLook();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
