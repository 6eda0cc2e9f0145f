// The program's command line on Linux: without an option it opens the control panel; the
// windowless modes serve the desktop (a calibration applied at plug-in, Set Zero from a
// keyboard shortcut).
#pragma once

#include "platform/win32api.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CommandLine {
    enum class Mode { kPanel, kHelp, kVersion, kApply, kSetZero };
    Mode mode = Mode::kPanel;
    std::optional<UINT> slot;  // --slot N: the joystick slot N - 1
};

struct ParsedCommandLine {
    std::optional<CommandLine> line;
    std::string error;  // why there is none: one line, without the program's name
};

// `args` without the program's name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string_view>& args);

std::string UsageText();
