#include "platform/qt/window_handles.h"

#include <set>

namespace zarven::qt {
namespace {

std::set<QWidget*>& LiveWindows() {
    static std::set<QWidget*> windows;
    return windows;
}

}  // namespace

void RegisterWindowHandle(QWidget* window) {
    LiveWindows().insert(window);
}

void UnregisterWindowHandle(QWidget* window) {
    LiveWindows().erase(window);
}

HWND HandleOfWindow(QWidget* window) {
    return LiveWindows().contains(window) ? reinterpret_cast<HWND>(window) : nullptr;
}

QWidget* WindowOfHandle(HWND handle) {
    auto* window = reinterpret_cast<QWidget*>(handle);
    return LiveWindows().contains(window) ? window : nullptr;
}

}  // namespace zarven::qt
