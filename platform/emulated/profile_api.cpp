// The private-profile function of platform/win32api.h on the emulated machine.
#include "platform/emulated/machine_access.h"
#include "platform/win32api.h"

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName) {
    return emulated::WithLoadedMachine([&](emulated::Machine& machine) {
        return machine.profiles().Write(lpAppName, lpKeyName, lpString, lpFileName);
    });
}
