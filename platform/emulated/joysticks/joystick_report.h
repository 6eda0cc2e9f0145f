// What a device in a slot reports through the joystick interface: its capabilities record and
// the axes of a position read, filled the same way for virtual and real devices.
#pragma once

#include "platform/win32api.h"

#include <string_view>

namespace emulated {

inline constexpr DWORD kCentredAxis = 32768;

struct DeviceCaps {
    WORD maker;
    WORD product;
    std::string_view name;    // cut to fit szPname
    UINT axes;                // wNumAxes
    std::string_view regKey;  // cut to fit szRegKey
};

void FillCaps(JOYCAPSA& caps, const DeviceCaps& device);

// X, Y and Z on 0..65535, `status` in dwVpos; no other axis, button or point of view.
void FillAxes(JOYINFOEX& info, DWORD x, DWORD y, DWORD z, DWORD status);

}  // namespace emulated
