#include "tracker/RegistryPaths.h"

#include "platform/win32api.h"

#include <cstdio>

namespace {

bool Fits(int written) {
    return written >= 0 && static_cast<std::size_t>(written) < kRegistryPathSize;
}

}  // namespace

bool FormatJoystickSettingsPath(char (&path)[kRegistryPathSize], const char* regKeyName) {
    return Fits(std::snprintf(path, kRegistryPathSize,
                              "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\%.*"
                              "s\\CurrentJoystickSettings",
                              MAXPNAMELEN, regKeyName));
}

bool FormatOemTypePath(char (&path)[kRegistryPathSize], const char* oemType) {
    return Fits(std::snprintf(
        path, kRegistryPathSize,
        "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\%s",
        oemType));
}
