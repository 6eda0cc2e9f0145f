#include "platform/headless/session.h"

#include <utility>

namespace headless::detail {

Session& TheSession() {
    static Session session;
    return session;
}

void Fault(std::string what) {
    TheSession().faults.push_back(std::move(what));
}

void Enqueue(Step step) {
    TheSession().steps.push_back(std::move(step));
}

std::optional<Step> NextStep() {
    auto& steps = TheSession().steps;
    if (steps.empty()) {
        return std::nullopt;
    }
    Step step = std::move(steps.front());
    steps.pop_front();
    return step;
}

CDialog* InnermostDialog() {
    const auto& open = TheSession().openDialogs;
    return open.empty() ? nullptr : open.back();
}

}  // namespace headless::detail
