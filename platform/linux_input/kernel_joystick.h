// A kernel joystick opened for the machine: the joydev node for the values and corrections, the
// evdev node of the same input device for raw values and ranges. Every ioctl lives here.
#pragma once

#include "platform/linux_input/input_device.h"

namespace linux_input {

class KernelJoystick final : public InputDevice {
public:
    static OpenResult Open(const DeviceDescription& description);
    ~KernelJoystick() override;
    KernelJoystick(const KernelJoystick&) = delete;
    KernelJoystick& operator=(const KernelJoystick&) = delete;

    unsigned AxisCount() const override { return axisCount_; }
    AxisSet Axes() const override;
    int ReadCalibration(Calibrations& now) override;
    int ReadAxes(AxisValues& values) override;
    int ReadRaw(AxisValues& values) override;
    int Apply(const Calibrations& calibrations) override;

private:
    explicit KernelJoystick(std::string node) : node_(std::move(node)) {}

    int OpenJoydev();
    int ReadAxisMap();
    int ApplyCorrections(const Calibrations& calibrations);
    int ApplyRanges(const Calibrations& calibrations);

    std::string node_;
    int joydev_ = -1;
    int evdev_ = -1;
    int evdevError_ = 0;  // why `evdev_` is not open
    unsigned axisCount_ = 0;
    std::array<int, kAxisCount> joydevAxis_{-1, -1, -1};  // joydev's number of X, Y, Z
    AxisValues latest_{};
};

}  // namespace linux_input
