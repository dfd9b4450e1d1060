// The application-wide look: the sans-serif face of the windows and the hint timings.
#pragma once

#include <QFont>

namespace lumetra {

// The program's sans-serif face at a pixel size: faces with the narrow digits of the
// classic desktop sans-serif first, then any sans-serif.
QFont SansFont(int pixel_size, bool bold = false);

// Call once, after the application object exists and before any window is made.
void InstallLook();

}  // namespace lumetra
