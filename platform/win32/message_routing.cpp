#include "platform/win32/message_routing.h"

#include <algorithm>
#include <cstdint>

namespace zarven::win32 {

CommandEvent RouteCommand(int id, unsigned notifyCode) {
    switch (notifyCode) {
        case kButtonClicked:
            if (id == IDOK) {
                return CommandEvent::Ok;
            }
            return id == IDCANCEL ? CommandEvent::Cancel : CommandEvent::Clicked;
        case kEditChange:
            return CommandEvent::EditChange;
        default:
            return CommandEvent::None;
    }
}

ScrollNotification DecodeScroll(WPARAM wParam) {
    const auto word = static_cast<std::uint32_t>(wParam);
    return ScrollNotification{word & 0xFFFFu, (word >> 16) & 0xFFFFu};
}

namespace {

// The start of a span of `length` centred over [areaStart, areaEnd), kept in [low, high).
LONG CenteredStart(LONG length, LONG areaStart, LONG areaEnd, LONG low, LONG high) {
    // 64-bit: screen coordinates near the LONG limits must not overflow on the way.
    const long long centred = (static_cast<long long>(areaStart) + areaEnd - length) / 2;
    const long long fitted = std::min<long long>(centred, static_cast<long long>(high) - length);
    return static_cast<LONG>(std::max<long long>(fitted, low));
}

}  // namespace

WindowOrigin CenteredOrigin(const RECT& window, const RECT& area, const RECT& bounds) {
    return WindowOrigin{
        CenteredStart(window.right - window.left, area.left, area.right, bounds.left, bounds.right),
        CenteredStart(window.bottom - window.top, area.top, area.bottom, bounds.top,
                      bounds.bottom)};
}

}  // namespace zarven::win32
