// How the dialog procedure turns window messages into the framework's events: the decoding of
// message parameters, kept free of window calls so that it can be checked anywhere.
#pragma once

#include "platform/win32api.h"

namespace zarven::win32 {

// Notification codes of WM_COMMAND (BN_CLICKED, EN_CHANGE).
inline constexpr unsigned kButtonClicked = 0x0000;
inline constexpr unsigned kEditChange = 0x0300;

enum class CommandEvent { Ok, Cancel, Clicked, EditChange, None };

// The event for WM_COMMAND from control `id` with `notifyCode`. Enter and Escape arrive as
// clicks on IDOK and IDCANCEL, and so does the dialog manager's answer to WM_CLOSE.
CommandEvent RouteCommand(int id, unsigned notifyCode);

struct ScrollNotification {
    UINT code;      // SB_LINEUP .. SB_ENDSCROLL
    UINT position;  // 16-bit thumb position, meaningful for SB_THUMBPOSITION / SB_THUMBTRACK
};

// WM_VSCROLL's wParam: the code in the low word, the position in the high word.
ScrollNotification DecodeScroll(WPARAM wParam);

struct WindowOrigin {
    LONG x;
    LONG y;
};

// Where a window goes to be centred over `area` while staying inside `bounds` (the work area):
// a window larger than the bounds keeps its top-left corner inside them.
WindowOrigin CenteredOrigin(const RECT& window, const RECT& area, const RECT& bounds);

}  // namespace zarven::win32
