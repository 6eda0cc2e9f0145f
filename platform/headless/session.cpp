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

void DropLeftoverSteps(const std::string& ended) {
    auto& steps = TheSession().steps;
    if (!steps.empty()) {
        Fault(std::to_string(steps.size()) + " scripted step" + (steps.size() > 1 ? "s" : "") +
              " left when " + ended + " ended");
        steps.clear();
    }
}

CDialog* InnermostDialog() {
    const auto& open = TheSession().openDialogs;
    return open.empty() ? nullptr : open.back();
}

}  // namespace headless::detail
