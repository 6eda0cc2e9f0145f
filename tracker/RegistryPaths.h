// Registry key paths of a joystick slot, built with bounded formatting: a path that would not
// fit is refused rather than cut short.
#pragma once

#include <cstddef>

inline constexpr std::size_t kRegistryPathSize = 512;

// "System\...\Joystick\<regKeyName>\CurrentJoystickSettings"; `regKeyName` counts at most its
// first MAXPNAMELEN characters, terminated or not.
bool FormatJoystickSettingsPath(char (&path)[kRegistryPathSize], const char* regKeyName);

// "System\...\Joystick\OEM\<oemType>" for a zero-terminated OEM type key name.
bool FormatOemTypePath(char (&path)[kRegistryPathSize], const char* oemType);
