// The joystick functions of platform/win32api.h on the emulated machine.
#include "platform/emulated/joysticks/device_count.h"
#include "platform/emulated/machine_access.h"
#include "platform/win32api.h"

using emulated::Machine;

UINT joyGetNumDevs() {
    return emulated::WithLoadedMachine(
        [](Machine& machine) { return emulated::ReportedDeviceCount(machine.slotsIni()); });
}

MMRESULT joyGetDevCapsA(UINT_PTR uJoyID, LPJOYCAPSA pjc, UINT cbjc) {
    return emulated::WithLoadedMachine(
        [&](Machine& machine) { return machine.joysticks().GetCaps(uJoyID, pjc, cbjc); });
}

MMRESULT joyGetPosEx(UINT uJoyID, LPJOYINFOEX pji) {
    return emulated::WithLoadedMachine([&](Machine& machine) {
        machine.Log(emulated::JoystickQuery{uJoyID, pji == nullptr ? 0 : pji->dwFlags});
        return machine.joysticks().GetPosition(uJoyID, pji, emulated::SessionNow());
    });
}
