#include "platform/win32/work_area.h"

namespace zarven::win32 {

namespace {

using MonitorFromWindowFunction = HMONITOR(WINAPI*)(HWND, DWORD);
using GetMonitorInfoFunction = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

// A user32 function by name, or null. The detour through void(*)() is the one conversion
// between function pointer types that the compiler accepts without a warning.
template <class Function>
Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleA("user32.dll");
    if (user32 == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

bool MonitorWorkAreaOf(HWND window, RECT& workArea) {
    const auto monitorFromWindow = User32Function<MonitorFromWindowFunction>("MonitorFromWindow");
    const auto getMonitorInfo = User32Function<GetMonitorInfoFunction>("GetMonitorInfoA");
    if (monitorFromWindow == nullptr || getMonitorInfo == nullptr) {
        return false;
    }
    const HMONITOR monitor = monitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || getMonitorInfo(monitor, &info) == FALSE) {
        return false;
    }
    workArea = info.rcWork;
    return true;
}

}  // namespace

RECT MonitorWorkArea(HWND window) {
    RECT workArea{};
    if (!MonitorWorkAreaOf(window, workArea)) {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    }
    return workArea;
}

}  // namespace zarven::win32
