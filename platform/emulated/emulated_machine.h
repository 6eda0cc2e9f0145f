// The emulated joystick machine: the Linux implementation of the joystick, registry,
// installable-driver and private-profile functions of platform/win32api.h, kept in a prefix
// directory (system.reg, system.ini, joysticks.ini, windows/). Loaded on first use and held in
// memory; every write goes through to the files. These hooks let tests choose the prefix,
// drive the clock and inspect what the program asked of the machine.
#pragma once

#include "platform/win32api.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace linux_input {
class DeviceSource;
}

namespace emulated {

// $XDG_DATA_HOME/zarven-controls, or $HOME/.local/share/zarven-controls when XDG_DATA_HOME is
// unset or not absolute.
std::filesystem::path DefaultPrefix();

// Drops the machine in memory (open handles, logs, unplugged slots, zero references); the next
// platform call loads `dir` (made absolute), seeding it when it holds none of the machine's files.
void UsePrefix(const std::filesystem::path& dir);
std::filesystem::path CurrentPrefix();

// The head tracker's time in seconds; nullptr restores the steady clock. Kept across UsePrefix.
void SetClock(std::function<double()> secondsNow);

// Where the machine finds the real joystick devices that join its slots, from the next
// UsePrefix on; nullptr restores the kernel's. Kept across UsePrefix.
void UseInputDevices(std::shared_ptr<linux_input::DeviceSource> source);

struct JoystickQuery {
    UINT slot;
    DWORD flags;  // 0 when the record pointer was null
};
// Every joyGetPosEx call since the last UsePrefix or ClearLogs, oldest first (the most recent
// 100000 are kept).
std::vector<JoystickQuery> JoystickQueries();

struct DriverMessage {
    std::string driver;  // as opened; empty for a handle that was not open
    UINT message;
    LPARAM lParam1;
    LPARAM lParam2;
};
// Every SendDriverMessage call, kept like JoystickQueries.
std::vector<DriverMessage> DriverMessages();

void ClearLogs();

// The device in `slot` stops answering position queries (JOYERR_UNPLUGGED) or answers again.
// Its capabilities stay readable, as for a configured device that is switched off.
void SetUnplugged(UINT slot, bool unplugged);

}  // namespace emulated
