// The installable-driver functions of platform/win32api.h on the emulated machine.
#include "platform/emulated/machine_access.h"
#include "platform/win32api.h"

using emulated::Machine;

HDRVR OpenDriver(LPCWSTR szDriverName, LPCWSTR szSectionName, LPARAM) {
    return emulated::WithLoadedMachine(
        [&](Machine& machine) { return machine.drivers().Open(szDriverName, szSectionName); });
}

LRESULT SendDriverMessage(HDRVR hDriver, UINT message, LPARAM lParam1, LPARAM lParam2) {
    return emulated::WithLoadedMachine([&](Machine& machine) {
        machine.Log(
            emulated::DriverMessage{machine.drivers().NameOf(hDriver), message, lParam1, lParam2});
        return machine.drivers().Send(hDriver, message);
    });
}

LRESULT CloseDriver(HDRVR hDriver, LPARAM, LPARAM) {
    return emulated::WithLoadedMachine(
        [&](Machine& machine) { return machine.drivers().Close(hDriver); });
}
