#include "platform/qt/display.h"

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string_view>
#include <xcb/xcb.h>

namespace zarven::qt {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

bool PlatformStarts(std::string_view platform, const char* display, const char* waylandDisplay,
                    const std::function<bool(const char*)>& xDisplayOpens) {
    const std::string_view name = platform.substr(0, platform.find(':'));
    if (name == "xcb") {
        return IsSet(display) && xDisplayOpens(display);
    }
    if (name.starts_with("wayland")) {
        return IsSet(waylandDisplay);
    }
    return !name.empty();
}

}  // namespace

void XDisconnect::operator()(xcb_connection_t* connection) const {
    xcb_disconnect(connection);
}

XConnection OpenXDisplay(const char* display) {
    // Qt's xcb platform ends the process when this fails; asking first lets the program say so.
    XConnection connection(xcb_connect(display, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        connection.reset();
    }
    return connection;
}

bool DisplayAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay,
                      const std::function<bool(const char*)>& xDisplayOpens) {
    if (!IsSet(qpaPlatform)) {
        return IsSet(waylandDisplay) || (IsSet(display) && xDisplayOpens(display));
    }
    std::string_view platforms = qpaPlatform;
    while (true) {
        const std::size_t end = platforms.find(';');
        if (PlatformStarts(platforms.substr(0, end), display, waylandDisplay, xDisplayOpens)) {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        platforms.remove_prefix(end + 1);
    }
}

bool DisplayAvailableInEnvironment(XConnection& check) {
    return DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                            std::getenv("WAYLAND_DISPLAY"), [&check](const char* display) {
                                check = OpenXDisplay(display);
                                return check != nullptr;
                            });
}

void ReportNoDisplay(const std::string& program, const char* display) {
    static bool reported = false;
    if (reported) {
        return;
    }
    reported = true;
    std::cerr << program << ": cannot open a window: ";
    if (IsSet(display)) {
        std::cerr << "there is no display (DISPLAY=" << display << " cannot be opened).\n";
    } else {
        std::cerr << "there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n";
    }
    std::cerr << "Run it in a desktop session, on a virtual display (Xvfb :99 & DISPLAY=:99 "
              << program << "), or without showing anything with QT_QPA_PLATFORM=offscreen.\n";
}

}  // namespace zarven::qt
