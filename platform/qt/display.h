// Whether there is a display to open, decided from the environment before Qt tries: Qt ends
// the process when its platform cannot start.
#pragma once

#include <string>

namespace zarven::qt {

// QT_QPA_PLATFORM (a ';'-separated list of platforms, each with optional ":options") decides
// when set: a platform that needs no display server (offscreen, vnc, ...) always starts; xcb
// needs DISPLAY and wayland WAYLAND_DISPLAY. Unset, either variable will do.
bool DisplayAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay);
bool DisplayAvailableInEnvironment();

// Tells the user, on standard error and once per process, that the program needs a display.
void ReportNoDisplay(const std::string& program);

}  // namespace zarven::qt
