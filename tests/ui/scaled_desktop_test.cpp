// The editor on a scaled desktop: a 1280x800 screen at QT_SCALE_FACTOR=2, which is 640x400
// device-independent pixels. Its own program, because the scale is fixed when the
// application starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "session/window_geometry.h"
#include "test_support.h"
#include "ui/look.h"
#include "ui/main_window_test_support.h"

namespace lumetra {
namespace {

using ScaledDesktopTest = WindowFixture;

// After a session on a larger desktop saved a large window, the window comes back on the
// screen, and the screen's 1280 pixels are no resolution too low.
TEST_F(ScaledDesktopTest, ASavedLargeWindowFitsAndNoResolutionMessageIsShown) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_EQ(available.size(), QSize(640, 400));
  const std::string config = dir_.File("lumetra.cfg");
  testing::WriteFile(config,
                     "; header\r\n\r\nWinPosSav = True\r\nPosX = 12\r\nPosY = 100\r\n"
                     "SizX = 1200\r\nSizY = 760\r\n");
  for (const std::string& path : {std::string(), config}) {
    prompts_.messages.clear();
    Start(std::nullopt, path);
    SCOPED_TRACE(path.empty() ? "first start" : "saved window");
    EXPECT_EQ(prompts_.messages, std::vector<std::string>{});
    EXPECT_TRUE(available.contains(window_->frameGeometry()))
        << window_->frameGeometry().x() << "," << window_->frameGeometry().y() << " "
        << window_->frameGeometry().width() << "x" << window_->frameGeometry().height();
    window_->close();
  }
}

}  // namespace
}  // namespace lumetra

int main(int argc, char** argv) {
  lumetra::testing::TempDir dir;
  const std::string screens = dir.File("screens.json");
  lumetra::testing::WriteFile(
      screens,
      R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1280, "height": 800, )"
      R"("logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screens.c_str());
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumetra");
  lumetra::InstallLook();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
