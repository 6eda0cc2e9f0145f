#include "platform/emulated/joysticks/real_slot_plan.h"

#include "platform/emulated/files/ascii_text.h"

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

// Which devices get a slot first when there are too few: trackers, then usable devices.
int Rank(const SlotCandidate& candidate) {
    return candidate.tracker ? 0 : candidate.usable ? 1 : 2;
}

}  // namespace

bool IsTrackerName(std::string_view kernelName) {
    return kernelName.find("Tracker") != std::string_view::npos;
}

RealSlotPlan PlanRealSlots(const IniDocument& joysticks, const SlotBindings& bindings,
                           const std::vector<SlotCandidate>& candidates) {
    std::vector<std::size_t> order(candidates.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::tie(candidates[a].identity, candidates[a].physicalPath) <
               std::tie(candidates[b].identity, candidates[b].physicalPath);
    });
    RealSlotPlan plan;
    std::array<bool, kSlotCount> virtualSlot{};
    std::vector<UINT> freeSlots;
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        virtualSlot[slot] = HasSection(joysticks, SlotSectionName(slot));
        if (virtualSlot[slot]) {
            continue;
        }
        if (!bindings[slot]) {
            freeSlots.push_back(slot);
            continue;
        }
        const auto owner = std::find_if(order.begin(), order.end(), [&](std::size_t index) {
            return candidates[index].identity == *bindings[slot];
        });
        if (owner != order.end()) {
            plan.device[slot] = *owner;
            plan.bound[slot] = true;
            order.erase(owner);
        }
    }
    if (order.size() > freeSlots.size()) {
        std::vector<std::size_t> byRank = order;
        std::stable_sort(byRank.begin(), byRank.end(), [&](std::size_t a, std::size_t b) {
            return Rank(candidates[a]) < Rank(candidates[b]);
        });
        byRank.erase(byRank.begin(),
                     byRank.begin() + static_cast<std::ptrdiff_t>(freeSlots.size()));
        std::erase_if(order, [&](std::size_t index) {
            const bool out = std::find(byRank.begin(), byRank.end(), index) != byRank.end();
            if (out) {
                plan.leftOut.push_back(index);
            }
            return out;
        });
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        plan.device[freeSlots[i]] = order[i];
    }
    const bool realTracker = std::any_of(plan.device.begin(), plan.device.end(), [&](auto index) {
        return index && candidates[*index].tracker;
    });
    for (UINT slot = 0; slot < kSlotCount; ++slot) {
        plan.steppedAside[slot] = realTracker && virtualSlot[slot] &&
                                  DescribeSlot(joysticks, slot).kind == DeviceKind::kHeadTracker;
    }
    return plan;
}

}  // namespace emulated
