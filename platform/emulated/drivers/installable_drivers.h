// Installable drivers named in a section of system.ini (normally [Drivers]). The msjstick
// stand-in answers JDD_CONFIGCHANGED by having the joystick calibration reloaded; every other
// driver and message is accepted and answered with 0.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/emulated/files/stored_document.h"
#include "platform/emulated/registry/handle_table.h"
#include "platform/win32api.h"

#include <functional>
#include <string>

namespace emulated {

class InstallableDrivers {
public:
    InstallableDrivers(const StoredDocument<IniDocument>& systemIni,
                       std::function<void()> joystickConfigChanged)
        : systemIni_(systemIni), joystickConfigChanged_(std::move(joystickConfigChanged)) {}

    // Null unless `section` of system.ini has a non-empty entry for `name` (both ASCII,
    // compared case-insensitively).
    HDRVR Open(LPCWSTR name, LPCWSTR section);
    LRESULT Send(HDRVR driver, UINT message);
    // TRUE, or FALSE for a handle that is not open.
    LRESULT Close(HDRVR driver);

    // The name the driver was opened with; empty for a handle that is not open.
    std::string NameOf(HDRVR driver) const;

private:
    const StoredDocument<IniDocument>& systemIni_;
    std::function<void()> joystickConfigChanged_;
    HandleTable<std::string> open_;
};

}  // namespace emulated
