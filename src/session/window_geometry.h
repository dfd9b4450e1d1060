// The main window's first size and position on a screen, and its size limits.
#pragma once

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

}  // namespace lumetra
