// Whether there is a display to open, decided from the environment before Qt tries: Qt ends
// the process when its platform cannot start.
#pragma once

#include <functional>
#include <memory>
#include <string>

struct xcb_connection_t;

namespace zarven::qt {

// An open connection to an X server, closed when released.
struct XDisconnect {
    void operator()(xcb_connection_t* connection) const;
};
using XConnection = std::unique_ptr<xcb_connection_t, XDisconnect>;

// A connection to the X server at `display`; null when the server does not accept one.
XConnection OpenXDisplay(const char* display);

// QT_QPA_PLATFORM (a ';'-separated list of platforms, each with optional ":options") decides
// when set: a platform that needs no display server (offscreen, vnc, ...) always starts; xcb
// needs a DISPLAY that `xDisplayOpens` accepts, wayland a WAYLAND_DISPLAY. Unset, either will do.
bool DisplayAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay,
                      const std::function<bool(const char* display)>& xDisplayOpens);

// DisplayAvailable over the environment. The X connection that decided it is left in `check`:
// the caller keeps it until Qt holds its own, as an X server whose last client leaves resets,
// and a connection arriving during the reset fails.
bool DisplayAvailableInEnvironment(XConnection& check);

// Tells the user, on standard error and once per process, that the program needs a display:
// none is set, or the X display `display` (when set) cannot be opened.
void ReportNoDisplay(const std::string& program, const char* display);

}  // namespace zarven::qt
