// The work area a dialog is kept inside: that of the monitor a window stands on.
#pragma once

#include "platform/win32api.h"

namespace zarven::win32 {

// The work area of the monitor nearest to `window`. The monitor functions are looked up in
// user32 at run time, so the program still starts where they are missing (Windows 95); there
// is only one monitor then, and its work area is the system's.
RECT MonitorWorkArea(HWND window);

}  // namespace zarven::win32
