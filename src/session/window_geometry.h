// The main window's first size and position on a screen, and its size limits.
#pragma once

#include <vector>

#include "settings/configuration.h"

namespace lumetra {

inline constexpr char kResolutionTooLow[] =
    "Desktop resolution is too low.\rSome window element will not be displayed fully!\r"
    "Recommended Screen resolution: 1024x768 or higher";

inline constexpr int kInitialWindowWidth = 780;
inline constexpr int kInitialWindowHeight = 612;
// Screens narrower than this get the kResolutionTooLow message.
inline constexpr int kRecommendedScreenWidth = 801;
// The smallest size the user can drag the window to; mini mode allows a lower height.
inline constexpr int kMinimumWindowWidth = 620;
inline constexpr int kMinimumWindowHeight = 440;
inline constexpr int kMiniModeMinimumHeight = 100;

struct WindowGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  // The screen is narrower than kRecommendedScreenWidth: the user is told so.
  bool resolution_too_low = false;
  // The screen height less the task bar, plus 2.
  int available_height = 0;
};

// The geometry the window starts with on a screen of the given size whose task bar is
// taskbar_height pixels high (0 when there is none): 780 wide or the screen width when
// that is smaller, 612 high or the available height when that is smaller, centred across
// and placed half the height left over from the top.
WindowGeometry FirstWindowGeometry(int screen_width, int screen_height, int taskbar_height);

// True when a screen of this many pixels across (its real pixels, whatever the scale of the
// desktop) is below the recommended resolution.
inline bool ResolutionTooLow(int physical_width) { return physical_width < kRecommendedScreenWidth; }

// A window rectangle moved and cut down so that it lies within the available area (the
// screen less its panels) of the screen it covers most, or of the first screen when it
// covers none. All in the same units, the desktop's device-independent pixels.
ScreenRect FitIntoScreens(const ScreenRect& window, const std::vector<ScreenRect>& available);

}  // namespace lumetra
