// What the configuration file keeps of the main window: its geometry, the editor's
// alignment and check boxes, and the open dialog's directory. The controls are found by
// their names, wherever the window places them.
#pragma once

#include <vector>

#include "settings/configuration.h"

class QWidget;

namespace lumetra {

class Session;

// The geometry of every screen of this machine, and the part of each that windows may
// take (less its panels), in device-independent pixels.
std::vector<ScreenRect> ScreenRects();
std::vector<ScreenRect> AvailableScreenRects();
// Moves and cuts down a shown window, its frame included, so that it lies within the
// available area of the screen it covers most.
void FitWindowIntoScreen(QWidget& window);

// At start-up, after the configuration was read: the saved geometry (when it is to be
// restored and shows on a screen, fitted into the screen), the editor's alignment and check
// boxes, the remembered directory of the open dialog, the film panel's place and "Follow
// film".
void ApplySettingsToWindow(QWidget& window, Session& session);

// Before the configuration is written: the window's geometry as it stands, the editor's
// options, the open dialog's directory, the film panel's place and "Follow film".
void TakeSettingsFromWindow(const QWidget& window, Session& session);

}  // namespace lumetra
