#include "tests/support/fake_input_devices.h"

#include "platform/emulated/emulated_machine.h"

namespace li = linux_input;

namespace {

class OpenedFake final : public li::InputDevice {
public:
    explicit OpenedFake(std::shared_ptr<FakeDeviceState> state) : state_(std::move(state)) {}

    unsigned AxisCount() const override { return 3; }
    li::AxisSet Axes() const override { return {true, true, true}; }
    int ReadCalibration(li::Calibrations& now) override {
        now = state_->kernel;
        return state_->applyError;
    }
    int ReadAxes(li::AxisValues& values) override {
        ++state_->reads;
        return values = state_->joydev, state_->readError;
    }
    int ReadRaw(li::AxisValues& values) override { return values = state_->raw, state_->readError; }
    int Apply(const li::Calibrations& calibrations) override {
        state_->applied.push_back(calibrations);
        for (std::size_t axis = 0; axis < li::kAxisCount && state_->applyError == 0; ++axis) {
            if (calibrations[axis] && state_->kernel[axis]) {
                state_->kernel[axis] = calibrations[axis];
            }
        }
        return state_->applyError;
    }

private:
    std::shared_ptr<FakeDeviceState> state_;
};

}  // namespace

FakeDevice MakeFakeDevice(unsigned number, std::string name, std::string identity,
                          li::RawRange range) {
    const std::string n = std::to_string(number);
    FakeDevice device{{"/dev/input/js" + n, "/dev/input/event" + n, std::move(name),
                       std::move(identity), "usb-port" + n,
                       "input" + std::to_string(number + 20) + "@boot", 0x1234,
                       static_cast<std::uint16_t>(0x100 + number)}};
    const li::DeviceRange own{range, 0};
    const li::AxisCalibration pluggedIn{own, li::PlugInCorrection(own)};
    device.state->kernel = {pluggedIn, pluggedIn, pluggedIn};
    return device;
}

std::vector<li::DeviceDescription> FakeDeviceSource::Scan() {
    std::vector<li::DeviceDescription> found;
    for (const FakeDevice& device : devices) {
        found.push_back(device.description);
    }
    return found;
}

li::OpenResult FakeDeviceSource::Open(const li::DeviceDescription& description) {
    for (const FakeDevice& device : devices) {
        if (device.description.node == description.node) {
            return device.openError != 0
                       ? li::OpenResult{nullptr, device.openError}
                       : li::OpenResult{std::make_unique<OpenedFake>(device.state), 0};
        }
    }
    return {nullptr, ENOENT};
}

std::shared_ptr<FakeDeviceSource> UseFakeDevices(std::vector<FakeDevice> devices) {
    auto source = std::make_shared<FakeDeviceSource>();
    source->devices = std::move(devices);
    emulated::UseInputDevices(source);
    return source;
}
