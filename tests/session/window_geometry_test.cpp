#include "session/window_geometry.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(WindowGeometry, ScreensBelow801PixelsGetTheResolutionMessage) {
  EXPECT_TRUE(FirstWindowGeometry(800, 600, 0).resolution_too_low);
  EXPECT_EQ(FirstWindowGeometry(800, 600, 0).width, 780);
  EXPECT_FALSE(FirstWindowGeometry(801, 600, 0).resolution_too_low);
}

TEST(WindowGeometry, NarrowScreenGivesItsWholeWidthAtLeftZero) {
  const WindowGeometry g = FirstWindowGeometry(700, 768, 30);
  EXPECT_EQ(g.width, 700);
  EXPECT_EQ(g.left, 0);
}

TEST(WindowGeometry, TaskBarShortensTheAvailableHeight) {
  WindowGeometry g = FirstWindowGeometry(1024, 768, 30);
  EXPECT_EQ(g.available_height, 740);
  EXPECT_EQ(g.height, 612);
  EXPECT_EQ(g.top, 64);
  EXPECT_EQ(g.left, 122);

  g = FirstWindowGeometry(1024, 600, 30);
  EXPECT_EQ(g.available_height, 572);
  EXPECT_EQ(g.height, 572);
  EXPECT_EQ(g.top, 0);
}

TEST(WindowGeometry, NoTaskBarLeavesTwoSparePixels) {
  const WindowGeometry g = FirstWindowGeometry(1280, 800, 0);
  EXPECT_EQ(g.available_height, 802);
  EXPECT_EQ(g.top, 95);
  EXPECT_EQ(g.left, 250);
}

}  // namespace
}  // namespace lumetra
