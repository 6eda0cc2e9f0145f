#include "platform/emulated/real_slot_plan.h"

#include "platform/emulated/ascii_text.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace emulated {

namespace {

bool HasSection(const IniDocument& document, std::string_view name) {
    return std::any_of(
        document.sections.begin(), document.sections.end(),
        [&](const IniSection& section) { return EqualsIgnoreCase(section.name, name); });
}

}  // namespace

bool IsTrackerName(std::string_view kernelName) {
    return kernelName.find("Tracker") != std::string_view::npos;
}

RealSlotPlan PlanRealSlots(const IniDocument& joysticks,
                           const std::vector<linux_input::DeviceDescription>& devices,
                           bool realTracker) {
    std::vector<std::size_t> order(devices.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::tie(devices[a].identity, devices[a].physicalPath) <
               std::tie(devices[b].identity, devices[b].physicalPath);
    });
    RealSlotPlan plan;
    auto next = order.begin();
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        if (HasSection(joysticks, SlotSectionName(slot))) {
            plan.steppedAside[slot] =
                realTracker && DescribeSlot(joysticks, slot).kind == DeviceKind::kHeadTracker;
        } else if (next != order.end()) {
            plan.device[slot] = *next++;
        }
    }
    return plan;
}

}  // namespace emulated
