#include "platform/emulated/drivers/installable_drivers.h"

#include "platform/emulated/files/ascii_text.h"

#include <cstdint>
#include <optional>

namespace emulated {

namespace {

constexpr std::string_view kJoystickDriver = "msjstick";

std::uintptr_t HandleValue(HDRVR driver) {
    return reinterpret_cast<std::uintptr_t>(driver);
}

// The ASCII text of a wide string; nothing for null or anything beyond ASCII.
std::optional<std::string> Narrow(LPCWSTR wide) {
    if (wide == nullptr) {
        return std::nullopt;
    }
    std::string text;
    for (; *wide != L'\0'; ++wide) {
        if (static_cast<std::uint32_t>(*wide) > 0x7F) {
            return std::nullopt;
        }
        text += static_cast<char>(*wide);
    }
    return text;
}

}  // namespace

HDRVR InstallableDrivers::Open(LPCWSTR name, LPCWSTR section) {
    const std::optional<std::string> driver = Narrow(name);
    const std::optional<std::string> sectionName = Narrow(section);
    if (!driver || !sectionName || driver->empty()) {
        return nullptr;
    }
    const std::optional<std::string> file = systemIni_.document().Get(*sectionName, *driver);
    if (!file || file->empty()) {
        return nullptr;
    }
    return reinterpret_cast<HDRVR>(open_.Add(*driver));
}

LRESULT InstallableDrivers::Send(HDRVR driver, UINT message) {
    const std::string* name = open_.Find(HandleValue(driver));
    if (name != nullptr && message == JDD_CONFIGCHANGED &&
        EqualsIgnoreCase(*name, kJoystickDriver)) {
        joystickConfigChanged_();
    }
    return 0;
}

LRESULT InstallableDrivers::Close(HDRVR driver) {
    return open_.Remove(HandleValue(driver)) ? TRUE : FALSE;
}

std::string InstallableDrivers::NameOf(HDRVR driver) const {
    const std::string* name = open_.Find(HandleValue(driver));
    return name == nullptr ? std::string() : *name;
}

}  // namespace emulated
