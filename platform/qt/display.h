// Whether there is a display to open, decided from the environment before Qt tries: Qt ends
// the process when its platform cannot start.
#pragma once

#include <string>

namespace zarven::qt {

// Whether an X server accepts a connection to `display`; the connection is closed at once.
bool XDisplayOpens(const char* display);

// QT_QPA_PLATFORM (a ';'-separated list of platforms, each with optional ":options") decides
// when set: a platform that needs no display server (offscreen, vnc, ...) always starts; xcb
// needs a DISPLAY that `xDisplayOpens` accepts, wayland a WAYLAND_DISPLAY. Unset, either will do.
bool DisplayAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay,
                      bool (*xDisplayOpens)(const char* display));
bool DisplayAvailableInEnvironment();

// Tells the user, on standard error and once per process, that the program needs a display:
// none is set, or the X display `display` (when set) cannot be opened.
void ReportNoDisplay(const std::string& program, const char* display);

}  // namespace zarven::qt
