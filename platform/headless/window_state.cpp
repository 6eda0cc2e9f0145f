#include "platform/headless/window_state.h"

#include "platform/headless/handles.h"
#include "platform/headless/session.h"

#include <algorithm>
#include <utility>

namespace headless::detail {
namespace {

// The kind with its article, for fault messages.
const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return "a push button";
        case ControlKind::CheckBox:
            return "a check box";
        case ControlKind::ScrollBar:
            return "a scroll bar";
        case ControlKind::EditBox:
            return "an edit box";
        case ControlKind::Label:
            return "a label";
        case ControlKind::GroupBox:
            return "a group box";
        case ControlKind::Icon:
            return "an icon";
    }
    return "a control";
}

}  // namespace

WindowState::WindowState(UINT id)
    : templateId(id),
      dialogTemplate(FindDialogTemplate(id)),
      hwnd(NewWindowHandle()),
      hdc(NewDeviceContext()) {}

void WindowState::Open() {
    controls.clear();
    for (const DialogControl& control : dialogTemplate->controls) {
        controls.push_back({control.id, control.kind, control.style, control.text});
    }
    phase = Phase::Initialising;
    ended = false;
    result = 0;
    timers.clear();
    systemMenu.Revert();
    bigIcon = nullptr;
    smallIcon = nullptr;
    iconic = false;
    sentMessages.clear();
    drawnIcons.clear();
    defaultPaints = 0;
}

void WindowState::Close() {
    phase = Phase::Closed;
    timers.clear();
}

const ControlState* WindowState::Control(int id, const char* caller,
                                         std::optional<ControlKind> kind) const {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [id](const ControlState& c) { return c.id == id; });
    const std::string where = std::string(caller) + "(" + std::to_string(id) + "): ";
    if (found == controls.end()) {
        Fault(where + Name() + " has no control " + std::to_string(id));
        return nullptr;
    }
    if (kind && found->kind != *kind) {
        Fault(where + "control " + std::to_string(id) + " of " + Name() + " is " +
              KindName(found->kind) + ", not " + KindName(*kind));
        return nullptr;
    }
    return &*found;
}

ControlState* WindowState::Control(int id, const char* caller, std::optional<ControlKind> kind) {
    return const_cast<ControlState*>(std::as_const(*this).Control(id, caller, kind));
}

bool WindowState::RequireOpen(const char* caller) const {
    if (!IsOpen()) {
        Fault(std::string(caller) + ": " + Name() + " has no window");
    }
    return IsOpen();
}

std::string WindowState::Name() const {
    return "dialog " + std::to_string(templateId);
}

}  // namespace headless::detail
