#include "platform/headless/handles.h"

#include <cstdint>

namespace headless::detail {
namespace {

// Disjoint ranges, so that a token of one kind never equals one of another.
constexpr std::uintptr_t kWindowBase = 0x0100'0000u;
constexpr std::uintptr_t kDeviceContextBase = 0x0200'0000u;
constexpr std::uintptr_t kIconBase = 0x0300'0000u;
constexpr std::uintptr_t kIconIdLimit = 0x1'0000u;  // resource ids are 16-bit

template <class Handle>
Handle Token(std::uintptr_t value) {
    return reinterpret_cast<Handle>(value);
}

}  // namespace

HWND NewWindowHandle() {
    static std::uintptr_t next = kWindowBase;
    return Token<HWND>(next += 0x10);
}

HDC NewDeviceContext() {
    static std::uintptr_t next = kDeviceContextBase;
    return Token<HDC>(next += 0x10);
}

HICON IconHandle(UINT iconId) {
    return Token<HICON>(kIconBase + iconId);
}

UINT IconIdOf(HICON icon) {
    const auto value = reinterpret_cast<std::uintptr_t>(icon);
    if (value < kIconBase || value >= kIconBase + kIconIdLimit) {
        return 0;
    }
    return static_cast<UINT>(value - kIconBase);
}

}  // namespace headless::detail
