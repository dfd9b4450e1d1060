#include "session/window_geometry.h"

#include <algorithm>
#include <cstdint>
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

ScreenRect FitIntoScreens(const ScreenRect& window, const std::vector<ScreenRect>& available) {
  if (available.empty()) return window;
  // 64-bit edges: saved values near the integer limits must not overflow.
  auto overlap = [&window](const ScreenRect& s) {
    const std::int64_t w = std::min<std::int64_t>(std::int64_t{window.left} + window.width,
                                                  std::int64_t{s.left} + s.width) -
                           std::max(window.left, s.left);
    const std::int64_t h = std::min<std::int64_t>(std::int64_t{window.top} + window.height,
                                                  std::int64_t{s.top} + s.height) -
                           std::max(window.top, s.top);
    return w > 0 && h > 0 ? w * h : 0;
  };
  const ScreenRect* best = &available[0];
  for (const ScreenRect& s : available) {
    if (overlap(s) > overlap(*best)) best = &s;
  }
  ScreenRect fitted;
  fitted.width = std::clamp(window.width, 1, std::max(best->width, 1));
  fitted.height = std::clamp(window.height, 1, std::max(best->height, 1));
  fitted.left = static_cast<int>(std::clamp<std::int64_t>(
      window.left, best->left, std::int64_t{best->left} + best->width - fitted.width));
  fitted.top = static_cast<int>(std::clamp<std::int64_t>(
      window.top, best->top, std::int64_t{best->top} + best->height - fitted.height));
  return fitted;
}

}  // namespace lumetra
