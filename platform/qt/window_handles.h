// Window handles: the HWND a dialog window is known by, and the way back. A handle is only
// resolved while its window exists, so a stale HWND resolves to no window.
#pragma once

#include "platform/win32api.h"

class QWidget;

namespace zarven::qt {

void RegisterWindowHandle(QWidget* window);
void UnregisterWindowHandle(QWidget* window);

HWND HandleOfWindow(QWidget* window);  // nullptr for an unregistered window
QWidget* WindowOfHandle(HWND handle);  // nullptr for an unknown or stale handle

}  // namespace zarven::qt
