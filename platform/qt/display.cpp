#include "platform/qt/display.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

namespace zarven::qt {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

bool PlatformStarts(std::string_view platform, const char* display, const char* waylandDisplay) {
    const std::string_view name = platform.substr(0, platform.find(':'));
    if (name == "xcb") {
        return IsSet(display);
    }
    if (name.starts_with("wayland")) {
        return IsSet(waylandDisplay);
    }
    return !name.empty();
}

}  // namespace

bool DisplayAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay) {
    if (!IsSet(qpaPlatform)) {
        return IsSet(display) || IsSet(waylandDisplay);
    }
    std::string_view platforms = qpaPlatform;
    while (true) {
        const std::size_t end = platforms.find(';');
        if (PlatformStarts(platforms.substr(0, end), display, waylandDisplay)) {
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
                            std::getenv("WAYLAND_DISPLAY"));
}

void ReportNoDisplay(const std::string& program) {
    static bool reported = false;
    if (reported) {
        return;
    }
    reported = true;
    std::cerr << program
              << ": cannot open a window: there is no display (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\n"
              << "Run it in a desktop session, on a virtual display (Xvfb :99 & DISPLAY=:99 "
              << program << "), or without showing anything with QT_QPA_PLATFORM=offscreen.\n";
}

}  // namespace zarven::qt
