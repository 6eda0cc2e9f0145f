// Calibration records: any bytes give usable ranges; any reading reports within 0..65535.
#include "platform/emulated/joysticks/joystick_config.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const double reading = input.ConsumeFloatingPoint<double>();
    const std::vector<BYTE> bytes = input.ConsumeRemainingBytes<BYTE>();

    const std::optional<JOYREGHWCONFIG> config = emulated::DecodeJoystickConfig(bytes);
    if (config.has_value() != (bytes.size() == sizeof(JOYREGHWCONFIG)) ||
        (config && emulated::EncodeJoystickConfig(*config) != bytes)) {
        std::abort();
    }
    const emulated::AxisRanges ranges = emulated::RangesFromConfig(config);
    for (const emulated::AxisRange& range : {ranges.x, ranges.y, ranges.z}) {
        if (!(range.min < range.center && range.center < range.max)) {
            std::abort();
        }
        if (emulated::ReportAxis(reading, range) > 65535 ||
            emulated::ReportAxis(range.min, range) != 0 ||
            emulated::ReportAxis(range.center, range) != 32768 ||
            emulated::ReportAxis(range.max, range) != 65535) {
            std::abort();
        }
    }
    return 0;
}
