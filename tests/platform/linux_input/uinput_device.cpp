#include "tests/platform/linux_input/uinput_device.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <linux/joystick.h>
#include <linux/uinput.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The "jsN" or "eventN" entry of an input device's sysfs folder; empty when not there (yet).
std::string NodeNamed(const fs::path& inputDevice, const std::string& stem) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(inputDevice, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(stem, 0) == 0 && name.size() > stem.size()) {
            return "/dev/input/" + name;
        }
    }
    return {};
}

void Emit(int fd, unsigned type, unsigned code, int value) {
    input_event event{};
    event.type = static_cast<__u16>(type);
    event.code = static_cast<__u16>(code);
    event.value = value;
    if (::write(fd, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        std::perror("uinput write");
    }
}

}  // namespace

UinputDevice::UinputDevice(const std::string& name, std::uint16_t product,
                           std::vector<UinputAxis> axes, bool buttons) {
    fd_ = ::open("/dev/uinput", O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) {
        std::perror("/dev/uinput");
        return;
    }
    ::ioctl(fd_, UI_SET_EVBIT, EV_ABS);
    for (const UinputAxis& axis : axes) {
        ::ioctl(fd_, UI_SET_ABSBIT, axis.code);
        uinput_abs_setup setup{};
        setup.code = static_cast<__u16>(axis.code);
        setup.absinfo.minimum = axis.min;
        setup.absinfo.maximum = axis.max;
        setup.absinfo.flat = axis.flat;
        setup.absinfo.value = axis.min + (axis.max - axis.min) / 2;
        ::ioctl(fd_, UI_ABS_SETUP, &setup);
    }
    if (buttons) {
        ::ioctl(fd_, UI_SET_EVBIT, EV_KEY);
        ::ioctl(fd_, UI_SET_KEYBIT, BTN_SOUTH);
    }
    uinput_setup setup{};
    setup.id = input_id{BUS_USB, 0x1234, product, 1};
    std::strncpy(setup.name, name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
    if (::ioctl(fd_, UI_DEV_SETUP, &setup) < 0 || ::ioctl(fd_, UI_DEV_CREATE) < 0) {
        std::perror("uinput create");
        return;
    }
    char sysName[64] = {};
    if (::ioctl(fd_, UI_GET_SYSNAME(sizeof sysName), sysName) < 0) {
        std::perror("UI_GET_SYSNAME");
        return;
    }
    const fs::path inputDevice = fs::path("/sys/class/input") / sysName;
    for (int tries = 0; tries < 300; ++tries) {
        const std::string js = NodeNamed(inputDevice, "js");
        const std::string event = NodeNamed(inputDevice, "event");
        if (!js.empty() && !event.empty() && fs::exists(js) && fs::exists(event)) {
            joystickNode_ = js;
            eventNode_ = event;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

UinputDevice::~UinputDevice() {
    Destroy();
}

void UinputDevice::Move(std::initializer_list<std::pair<unsigned, int>> values) {
    for (const auto& [code, value] : values) {
        Emit(fd_, EV_ABS, code, value);
    }
    Emit(fd_, EV_SYN, SYN_REPORT, 0);
}

void UinputDevice::Destroy() {
    if (fd_ >= 0) {
        ::ioctl(fd_, UI_DEV_DESTROY);
        ::close(fd_);
        fd_ = -1;
    }
}

int ReadJoystickAxis(const std::string& node, unsigned number) {
    const int fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int value = 0;
    js_event event{};
    while (fd >= 0 && ::read(fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
        if ((event.type & ~JS_EVENT_INIT) == JS_EVENT_AXIS && event.number == number) {
            value = event.value;
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return value;
}
