#include "session/window_geometry.h"

#include <cstdlib>

namespace lumetra {

WindowGeometry FirstWindowGeometry(int screen_width, int screen_height, int taskbar_height) {
  WindowGeometry g;
  g.resolution_too_low = screen_width < kRecommendedScreenWidth;
  g.width = screen_width < kInitialWindowWidth ? screen_width : kInitialWindowWidth;
  g.available_height = screen_height - taskbar_height + 2;
  g.height = g.available_height < kInitialWindowHeight ? g.available_height
                                                        : kInitialWindowHeight;
  g.top = std::abs(g.available_height - g.height) / 2;
  g.left = (screen_width - g.width) / 2;
  return g;
}

}  // namespace lumetra
