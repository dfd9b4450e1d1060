#include "session/window_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

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

TEST(WindowGeometry, AWindowIsFittedIntoTheScreenItCoversMost) {
  // A 1280x800 screen at scale 2 (640x400, a 30-pixel panel at the top) beside a second one.
  const std::vector<ScreenRect> available = {{0, 15, 640, 385}, {640, 0, 1024, 768}};
  const std::pair<ScreenRect, ScreenRect> cases[] = {
      // Saved on a larger desktop: cut down and moved in.
      {{12, 100, 1200, 760}, {640, 8, 1024, 760}},
      {{12, 100, 600, 500}, {12, 15, 600, 385}},
      {{-50, 300, 200, 200}, {0, 200, 200, 200}},
      // Inside already: as it was, also at the very edges.
      {{0, 15, 640, 385}, {0, 15, 640, 385}},
      {{1000, 100, 664, 668}, {1000, 100, 664, 668}},
      // On no screen: onto the first.
      {{5000, 5000, 300, 200}, {340, 200, 300, 200}},
      {{2147483000, 2147483000, 2147483647, 2147483647}, {0, 15, 640, 385}},
  };
  for (const auto& [window, fitted] : cases) {
    EXPECT_EQ(FitIntoScreens(window, available), fitted) << window.left << "," << window.top;
  }
  EXPECT_EQ(FitIntoScreens({5, 5, 10, 10}, {}), (ScreenRect{5, 5, 10, 10}));
  // The message is about the screen's own pixels.
  EXPECT_TRUE(ResolutionTooLow(800));
  EXPECT_FALSE(ResolutionTooLow(801));
}

}  // namespace
}  // namespace lumetra
