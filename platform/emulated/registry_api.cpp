// The registry functions of platform/win32api.h on the emulated machine.
#include "platform/emulated/machine_access.h"
#include "platform/win32api.h"

using emulated::Machine;

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    return emulated::WithLoadedMachine([&](Machine& machine) {
        return machine.registry().Open(hKey, lpSubKey, samDesired, phkResult);
    });
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
    return emulated::WithLoadedMachine([&](Machine& machine) {
        return machine.registry().Query(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
    });
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    return emulated::WithLoadedMachine([&](Machine& machine) {
        return machine.registry().Set(hKey, lpValueName, dwType, lpData, cbData);
    });
}

LONG RegCloseKey(HKEY hKey) {
    return emulated::WithLoadedMachine(
        [&](Machine& machine) { return machine.registry().Close(hKey); });
}
