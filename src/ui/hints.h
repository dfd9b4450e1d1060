// Hints (tool tips): shown 400 ms after the pointer comes to rest, visible for 5000 ms.
#pragma once

#include <string>

class QWidget;

namespace lumetra {

inline constexpr int kHintPause = 400;
inline constexpr int kHintHidePause = 5000;

// Gives the application the hint delay; call once, after the application object exists.
void InstallHintTimings();
// Gives a control its hint ("\r" is a line break) and the time it stays visible.
void SetHint(QWidget* widget, const std::string& text);

}  // namespace lumetra
