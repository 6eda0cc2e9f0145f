#include "platform/linux_input/device_scan.h"

#include "platform/linux_input/kernel_joystick.h"

#include <algorithm>
#include <fstream>
#include <string_view>

namespace linux_input {

namespace fs = std::filesystem;

namespace {

// The first line of a small sysfs or proc file, without its line end; empty when unreadable.
std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool IsNumberedNode(std::string_view name, std::string_view stem) {
    return name.size() > stem.size() && name.substr(0, stem.size()) == stem &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::uint16_t HexId(const fs::path& file) {
    try {
        return static_cast<std::uint16_t>(std::stoul(FirstLine(file), nullptr, 16));
    } catch (const std::exception&) {
        return 0;
    }
}

std::string ByIdLinkTo(const fs::path& byId, const fs::path& node) {
    std::error_code error;
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(byId, error)) {
        std::error_code ignored;
        if (fs::equivalent(entry.path(), node, ignored)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names.empty() ? std::string() : *std::min_element(names.begin(), names.end());
}

std::string EventNodeOf(const fs::path& inputDevice, const fs::path& dev) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(inputDevice, error)) {
        const std::string name = entry.path().filename().string();
        if (IsNumberedNode(name, "event")) {
            return (dev / name).string();
        }
    }
    return {};
}

DeviceDescription Describe(const ScanRoots& roots, const std::string& js,
                           const std::string& bootId) {
    const fs::path inputLink = roots.sys / js / "device";
    std::error_code error;
    const fs::path inputDevice = fs::canonical(inputLink, error);
    DeviceDescription d;
    d.node = (roots.dev / js).string();
    d.eventNode = EventNodeOf(inputLink, roots.dev);
    d.name = FirstLine(inputLink / "name");
    d.vendor = HexId(inputLink / "id" / "vendor");
    d.product = HexId(inputLink / "id" / "product");
    d.identity = ByIdLinkTo(roots.dev / "by-id", d.node);
    if (d.identity.empty()) {
        d.identity = FirstLine(inputLink / "id" / "bustype") + ":" +
                     FirstLine(inputLink / "id" / "vendor") + ":" +
                     FirstLine(inputLink / "id" / "product") + ":" +
                     FirstLine(inputLink / "id" / "version") + ":" + d.name;
    }
    d.physicalPath = FirstLine(inputLink / "phys");
    if (d.physicalPath.empty()) {
        d.physicalPath = inputDevice.string();
    }
    d.instance = inputDevice.filename().string() + "@" + bootId;
    return d;
}

class KernelSource final : public DeviceSource {
public:
    std::vector<DeviceDescription> Scan() override { return ScanJoysticks(); }
    OpenResult Open(const DeviceDescription& description) override {
        return KernelJoystick::Open(description);
    }
};

}  // namespace

std::vector<DeviceDescription> ScanJoysticks(const ScanRoots& roots) {
    const std::string bootId = FirstLine(roots.bootId);
    std::vector<DeviceDescription> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(roots.dev, error)) {
        const std::string name = entry.path().filename().string();
        if (IsNumberedNode(name, "js")) {
            found.push_back(Describe(roots, name, bootId));
        }
    }
    std::sort(
        found.begin(), found.end(),
        [](const DeviceDescription& a, const DeviceDescription& b) { return a.node < b.node; });
    return found;
}

std::shared_ptr<DeviceSource> KernelDeviceSource() {
    return std::make_shared<KernelSource>();
}

}  // namespace linux_input
