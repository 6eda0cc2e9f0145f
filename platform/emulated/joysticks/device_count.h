// How many joystick devices the machine reports (joyGetNumDevs): joysticks.ini's [Slots]
// Count=, 0..16. Missing, unparsable or out of range, it is the full 16 slots.
#pragma once

#include "platform/emulated/files/ini_document.h"
#include "platform/win32api.h"

namespace emulated {

UINT ReportedDeviceCount(const IniDocument& joysticksIni);

}  // namespace emulated
