#include "platform/linux_input/kernel_joystick.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/input.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace linux_input {

namespace {

constexpr unsigned kAbsCodes[kAxisCount] = {ABS_X, ABS_Y, ABS_Z};

int OpenNode(const std::string& node) {
    return ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

void CloseNode(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

OpenResult KernelJoystick::Open(const DeviceDescription& description) {
    std::unique_ptr<KernelJoystick> device(new KernelJoystick(description.node));
    if (const int error = device->OpenJoydev(); error != 0) {
        return {nullptr, error};
    }
    if (const int error = device->ReadAxisMap(); error != 0) {
        return {nullptr, error};
    }
    if (description.eventNode.empty()) {
        device->evdevError_ = ENOENT;  // not ENODEV, which means the device went away
    } else if (device->evdev_ = OpenNode(description.eventNode); device->evdev_ < 0) {
        device->evdevError_ = errno;
    }
    return {std::move(device), 0};
}

KernelJoystick::~KernelJoystick() {
    CloseNode(joydev_);
    CloseNode(evdev_);
}

int KernelJoystick::OpenJoydev() {
    joydev_ = OpenNode(node_);
    return joydev_ < 0 ? errno : 0;
}

int KernelJoystick::ReadAxisMap() {
    __u8 axes = 0;
    __u8 map[ABS_CNT] = {};
    if (::ioctl(joydev_, JSIOCGAXES, &axes) < 0 || ::ioctl(joydev_, JSIOCGAXMAP, map) < 0) {
        return errno;
    }
    axisCount_ = axes;
    for (unsigned number = 0; number < axes && number < ABS_CNT; ++number) {
        for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
            if (map[number] == kAbsCodes[axis]) {
                joydevAxis_[axis] = static_cast<int>(number);
            }
        }
    }
    return 0;
}

AxisSet KernelJoystick::Axes() const {
    AxisSet axes{};
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        axes[axis] = joydevAxis_[axis] >= 0;
    }
    return axes;
}

int KernelJoystick::ReadCalibration(Calibrations& now) {
    if (evdev_ < 0) {
        return evdevError_;
    }
    js_corr corrections[ABS_CNT] = {};
    if (::ioctl(joydev_, JSIOCGCORR, corrections) < 0) {
        return errno;
    }
    now = {};
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        if (joydevAxis_[axis] < 0) {
            continue;
        }
        input_absinfo info{};
        if (::ioctl(evdev_, EVIOCGABS(kAbsCodes[axis]), &info) < 0) {
            return errno;
        }
        AxisCalibration calibration{DeviceRange{RawRange{info.minimum, info.maximum}, info.flat},
                                    {}};
        const js_corr& correction = corrections[joydevAxis_[axis]];
        if (correction.type == JS_CORR_BROKEN) {
            for (int i = 0; i < 4; ++i) {
                calibration.correction.coef[i] = correction.coef[i];
            }
        }
        now[axis] = calibration;
    }
    return 0;
}

int KernelJoystick::ReadAxes(AxisValues& values) {
    js_event events[64];
    for (;;) {
        const ssize_t bytes = ::read(joydev_, events, sizeof events);
        if (bytes < 0 && errno == EINTR) {
            continue;
        }
        if (bytes < 0 && errno == EAGAIN) {
            break;
        }
        if (bytes <= 0) {
            return bytes == 0 ? ENODEV : errno;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(bytes) / sizeof(js_event); ++i) {
            if ((events[i].type & ~JS_EVENT_INIT) != JS_EVENT_AXIS) {
                continue;
            }
            for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
                if (joydevAxis_[axis] == events[i].number) {
                    latest_[axis] = events[i].value;
                }
            }
        }
    }
    values = latest_;
    return 0;
}

int KernelJoystick::ReadRaw(AxisValues& values) {
    if (evdev_ < 0) {
        return evdevError_;
    }
    values = {};
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        input_absinfo info{};
        if (joydevAxis_[axis] < 0) {
            continue;
        }
        if (::ioctl(evdev_, EVIOCGABS(kAbsCodes[axis]), &info) < 0) {
            return errno;
        }
        values[axis] = info.value;
    }
    return 0;
}

int KernelJoystick::Apply(const Calibrations& calibrations) {
    if (evdev_ < 0) {
        return evdevError_;
    }
    if (const int error = ApplyCorrections(calibrations); error != 0) {
        return error;
    }
    if (const int error = ApplyRanges(calibrations); error != 0) {
        return error;
    }
    // joydev recomputes its values on a new correction but sends no event; a fresh open
    // starts with the corrected value of every axis.
    CloseNode(joydev_);
    return OpenJoydev();
}

int KernelJoystick::ApplyCorrections(const Calibrations& calibrations) {
    // The kernel reads and writes the records of all its axes at once.
    js_corr corrections[ABS_CNT] = {};
    if (::ioctl(joydev_, JSIOCGCORR, corrections) < 0) {
        return errno;
    }
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        if (!calibrations[axis] || joydevAxis_[axis] < 0) {
            continue;
        }
        js_corr& correction = corrections[joydevAxis_[axis]];
        correction.type = JS_CORR_BROKEN;
        for (int i = 0; i < 4; ++i) {
            correction.coef[i] = calibrations[axis]->correction.coef[i];
        }
    }
    return ::ioctl(joydev_, JSIOCSCORR, corrections) < 0 ? errno : 0;
}

int KernelJoystick::ApplyRanges(const Calibrations& calibrations) {
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        if (!calibrations[axis] || joydevAxis_[axis] < 0) {
            continue;
        }
        input_absinfo info{};
        if (::ioctl(evdev_, EVIOCGABS(kAbsCodes[axis]), &info) < 0) {
            return errno;
        }
        info.minimum = calibrations[axis]->evdev.range.min;
        info.maximum = calibrations[axis]->evdev.range.max;
        info.flat = calibrations[axis]->evdev.flat;
        if (::ioctl(evdev_, EVIOCSABS(kAbsCodes[axis]), &info) < 0) {
            return errno;
        }
    }
    return 0;
}

}  // namespace linux_input
