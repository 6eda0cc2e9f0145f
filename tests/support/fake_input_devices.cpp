#include "tests/support/fake_input_devices.h"

#include "platform/emulated/emulated_machine.h"

#include <cerrno>

namespace {

class OpenedFake final : public linux_input::InputDevice {
public:
    explicit OpenedFake(const FakeDevice& device) : state_(device.state) {}

    unsigned AxisCount() const override { return 3; }
    linux_input::AxisSet Axes() const override {
        linux_input::AxisSet axes{};
        for (std::size_t axis = 0; axis < linux_input::kAxisCount; ++axis) {
            axes[axis] = state_->kernel[axis].has_value();
        }
        return axes;
    }
    int ReadCalibration(linux_input::Calibrations& now) override {
        now = state_->kernel;
        return state_->applyError;
    }
    int ReadAxes(linux_input::AxisValues& values) override {
        ++state_->reads;
        values = state_->joydev;
        return state_->readError;
    }
    int ReadRaw(linux_input::AxisValues& values) override {
        values = state_->raw;
        return state_->readError;
    }
    int Apply(const linux_input::Calibrations& calibrations) override {
        state_->applied.push_back(calibrations);
        if (state_->applyError != 0) {
            return state_->applyError;
        }
        for (std::size_t axis = 0; axis < linux_input::kAxisCount; ++axis) {
            if (calibrations[axis] && state_->kernel[axis]) {
                state_->kernel[axis] = calibrations[axis];
            }
        }
        return 0;
    }

private:
    std::shared_ptr<FakeDeviceState> state_;
};

}  // namespace

FakeDevice MakeFakeDevice(unsigned number, std::string name, std::string identity,
                          linux_input::RawRange range) {
    FakeDevice device;
    device.description.node = "/dev/input/js" + std::to_string(number);
    device.description.eventNode = "/dev/input/event" + std::to_string(number + 10);
    device.description.name = std::move(name);
    device.description.identity = std::move(identity);
    device.description.physicalPath = "usb-port" + std::to_string(number);
    device.description.instance = "input" + std::to_string(number + 20) + "@boot";
    device.description.vendor = 0x1234;
    device.description.product = static_cast<std::uint16_t>(0x100 + number);
    const linux_input::DeviceRange own{range, 0};
    const linux_input::AxisCalibration pluggedIn{own, linux_input::PlugInCorrection(own)};
    device.state->kernel = {pluggedIn, pluggedIn, pluggedIn};
    return device;
}

std::vector<linux_input::DeviceDescription> FakeDeviceSource::Scan() {
    std::vector<linux_input::DeviceDescription> found;
    for (const FakeDevice& device : devices_) {
        found.push_back(device.description);
    }
    return found;
}

linux_input::OpenResult FakeDeviceSource::Open(const linux_input::DeviceDescription& description) {
    for (const FakeDevice& device : devices_) {
        if (device.description.node == description.node) {
            if (device.openError != 0) {
                return {nullptr, device.openError};
            }
            return {std::make_unique<OpenedFake>(device), 0};
        }
    }
    return {nullptr, ENOENT};
}

std::shared_ptr<FakeDeviceSource> UseFakeDevices(std::vector<FakeDevice> devices) {
    auto source = std::make_shared<FakeDeviceSource>(std::move(devices));
    emulated::UseInputDevices(source);
    return source;
}
