#include "platform/qt/display.h"

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <xcb/xcb.h>

namespace zarven::qt {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

bool PlatformStarts(std::string_view platform, const char* display, const char* waylandDisplay,
                    bool (*xDisplayOpens)(const char*)) {
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

bool XDisplayOpens(const char* display) {
    // Qt's xcb platform ends the process when this fails; asking first lets the program say so.
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

bool DisplayAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay,
                      bool (*xDisplayOpens)(const char*)) {
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

bool DisplayAvailableInEnvironment() {
    return DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                            std::getenv("WAYLAND_DISPLAY"), XDisplayOpens);
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
