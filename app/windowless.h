// The program's modes without a window. Each prints one line for what it could not do and
// returns the exit status: 0 done, 1 not done.
#pragma once

#include "platform/win32api.h"

#include <optional>

// Sends the zero command to the head tracker the panel would configure (the first found), or
// to the one in `slot`.
int RunSetZero(std::optional<UINT> slot);

// Applies every plugged-in device's stored calibration.
int RunApply();
