#include "session/window_geometry.h"

#include <gtest/gtest.h>

#include <array>

namespace lumetra {
namespace {

TEST(WindowGeometry, FirstGeometryOfScreensAndTaskBars) {
  const struct {
    int screen_width, screen_height, taskbar;
    bool too_low;
    int left, top, width, height, available_height;
  } cases[] = {
      {800, 600, 0, true, 10, 0, 780, 602, 602},
      {801, 600, 0, false, 10, 0, 780, 602, 602},
      {700, 768, 30, true, 0, 64, 700, 612, 740},
      {1024, 768, 30, false, 122, 64, 780, 612, 740},
      {1024, 600, 30, false, 122, 0, 780, 572, 572},
      {1280, 800, 0, false, 250, 95, 780, 612, 802},
  };
  for (const auto& c : cases) {
    const WindowGeometry g = FirstWindowGeometry(c.screen_width, c.screen_height, c.taskbar);
    SCOPED_TRACE(testing::Message() << c.screen_width << "x" << c.screen_height);
    EXPECT_EQ(g.resolution_too_low, c.too_low);
    EXPECT_EQ((std::array{g.left, g.top, g.width, g.height, g.available_height}),
              (std::array{c.left, c.top, c.width, c.height, c.available_height}));
  }
}

}  // namespace
}  // namespace lumetra
