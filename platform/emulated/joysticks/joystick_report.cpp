#include "platform/emulated/joysticks/joystick_report.h"

#include <algorithm>
#include <cstring>

namespace emulated {

namespace {

constexpr DWORD kAxisMax = 65535;
constexpr DWORD kPovCentred = 0xFFFF;
constexpr UINT kHasZ = 0x0001;
constexpr UINT kMaxAxes = 6;
constexpr UINT kMaxButtons = 4;
constexpr UINT kPeriodMin = 10;
constexpr UINT kPeriodMax = 1000;

void CopyText(char* destination, std::size_t capacity, std::string_view text) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

}  // namespace

void FillCaps(JOYCAPSA& caps, const DeviceCaps& device) {
    caps = JOYCAPSA{};
    caps.wMid = device.maker;
    caps.wPid = device.product;
    CopyText(caps.szPname, sizeof caps.szPname, device.name);
    for (UINT* max :
         {&caps.wXmax, &caps.wYmax, &caps.wZmax, &caps.wRmax, &caps.wUmax, &caps.wVmax}) {
        *max = kAxisMax;
    }
    caps.wPeriodMin = kPeriodMin;
    caps.wPeriodMax = kPeriodMax;
    caps.wCaps = kHasZ;
    caps.wMaxAxes = kMaxAxes;
    caps.wNumAxes = device.axes;
    caps.wMaxButtons = kMaxButtons;
    CopyText(caps.szRegKey, sizeof caps.szRegKey, device.regKey);
}

void FillAxes(JOYINFOEX& info, DWORD x, DWORD y, DWORD z, DWORD status) {
    info.dwXpos = x;
    info.dwYpos = y;
    info.dwZpos = z;
    info.dwRpos = 0;
    info.dwUpos = 0;
    info.dwVpos = status;
    info.dwButtons = 0;
    info.dwButtonNumber = 0;
    info.dwPOV = kPovCentred;
}

}  // namespace emulated
