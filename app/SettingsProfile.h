// The settings profile written when the panel closes with OK: "<exe name>.INI" in the
// platform's profile directory, section "ZARVEN". It is written, never read.
#pragma once

#include "panel/PanelState.h"

#include <string>

void WriteSettingsProfile(const std::string& exeName, const PanelState& state);
