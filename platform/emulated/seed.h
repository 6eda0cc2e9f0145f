// What a new prefix starts with: one head tracker in slot 0 with its registry entries, and
// the msjstick driver. Each file carries comments on how to change it by hand.
#pragma once

#include "platform/win32api.h"

#include <string>

namespace emulated {

inline constexpr char kSeedOemType[] = "ZARVEN_HMD";
inline constexpr char kSeedOemName[] = "ZARVEN HMD Tracker";

// The calibration record of the seeded tracker: X from 512 to 1535, Y and Z from 853 to 1194,
// all centred on 1024 (sensitivity positions 1023, 341, 341).
JOYREGHWCONFIG SeedJoystickConfig();

std::string SeedRegistryText();
std::string SeedSystemIniText();
std::string SeedJoysticksIniText();

}  // namespace emulated
