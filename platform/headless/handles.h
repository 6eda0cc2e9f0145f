// Opaque handle tokens: distinct, non-null, never dereferenced.
#pragma once

#include "platform/win32api.h"

namespace headless::detail {

HWND NewWindowHandle();
HDC NewDeviceContext();
HICON IconHandle(UINT iconId);
UINT IconIdOf(HICON icon);  // 0 for a handle IconHandle did not make

}  // namespace headless::detail
