// The control panel's state: one instance for the program's lifetime, owned by the panel and
// read by the application after the panel has closed.
#pragma once

#include "platform/win32api.h"

#include <cstdint>

struct PanelState {
    UINT selectedSlot = 0;
    std::int16_t stereoOn = 0;
    std::int16_t powerSaverOn = 0;
    bool readoutReady = false;

    // Sensitivity: bar positions (normally 0..2047), the slot's capabilities and its
    // joystick configuration record.
    LONG yawPosition = 0;
    LONG pitchPosition = 0;
    LONG rollPosition = 0;
    JOYCAPSA caps{};
    JOYREGHWCONFIG config{};

    // Readout: the raw axis values last shown.
    DWORD lastX = 0;
    DWORD lastY = 0;
    DWORD lastZ = 0;
};
