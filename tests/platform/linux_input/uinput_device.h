// A joystick made through uinput, which the kernel's joydev and evdev serve as they serve
// hardware; and a reader of a joystick node as any other program would read it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

struct UinputAxis {
    unsigned code;  // ABS_X, ABS_Y, ...
    int min;
    int max;
    int flat = 0;  // the dead zone
};

class UinputDevice {
public:
    // A device with these absolute axes (and a gamepad's south button when `buttons`), on the
    // USB bus with vendor 0x1234 and `product`. Waits for its joystick and event nodes.
    UinputDevice(const std::string& name, std::uint16_t product, std::vector<UinputAxis> axes,
                 bool buttons = false);
    ~UinputDevice();
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    bool ok() const { return !joystickNode_.empty(); }
    const std::string& joystickNode() const { return joystickNode_; }  // "/dev/input/jsN"
    const std::string& eventNode() const { return eventNode_; }        // "/dev/input/eventN"

    // Raw values (ABS code, value) reported together, then a sync.
    void Move(std::initializer_list<std::pair<unsigned, int>> values);
    // Unplugs the device (UI_DEV_DESTROY).
    void Destroy();

private:
    int fd_ = -1;
    std::string joystickNode_;
    std::string eventNode_;
};

// The value joydev reports for axis `number` to a reader opening the node now.
int ReadJoystickAxis(const std::string& node, unsigned number);
