// Readback of the test's records and of a dialog's state.
#include "platform/headless/dialog_access.h"
#include "platform/headless/handles.h"
#include "platform/headless/session.h"

#include <optional>
#include <utility>

namespace headless {
namespace {

using detail::ControlState;

const detail::WindowState& StateOf(const CDialog& dialog) {
    return AfxDialogEvents::State(dialog);
}

const ControlState* ControlOf(const CDialog& dialog, int id, const char* caller,
                              std::optional<ControlKind> kind = std::nullopt) {
    return StateOf(dialog).Control(id, caller, kind);
}

}  // namespace

void Reset() {
    detail::Session& session = detail::TheSession();
    session.steps.clear();
    session.answers.clear();
    session.boxes.clear();
    session.faults.clear();
    session.dragIcons.clear();
    session.threeDControls = false;
}

const std::vector<ShownBox>& Boxes() {
    return detail::TheSession().boxes;
}

const std::vector<std::string>& Faults() {
    return detail::TheSession().faults;
}

bool ScriptFault() {
    return !Faults().empty();
}

const std::vector<HICON>& DragIcons() {
    return detail::TheSession().dragIcons;
}

bool ThreeDControlsEnabled() {
    return detail::TheSession().threeDControls;
}

UINT IconId(HICON icon) {
    return detail::IconIdOf(icon);
}

HWND Hwnd(const CDialog& dialog) {
    return StateOf(dialog).hwnd;
}

bool IsOpen(const CDialog& dialog) {
    return StateOf(dialog).IsOpen();
}

bool IsDisabled(const CDialog& dialog) {
    return StateOf(dialog).IsDisabled();
}

std::string Text(const CDialog& dialog, int id) {
    const ControlState* control = ControlOf(dialog, id, "Text");
    return control != nullptr ? control->text : std::string();
}

int TextWrites(const CDialog& dialog, int id) {
    const ControlState* control = ControlOf(dialog, id, "TextWrites");
    return control != nullptr ? control->textWrites : 0;
}

UINT Checked(const CDialog& dialog, int id) {
    const ControlState* box = ControlOf(dialog, id, "Checked", ControlKind::CheckBox);
    return box != nullptr ? box->check : BST_UNCHECKED;
}

int ThumbPos(const CDialog& dialog, int id) {
    const ControlState* bar = ControlOf(dialog, id, "ThumbPos", ControlKind::ScrollBar);
    return bar != nullptr ? bar->pos : 0;
}

int TrackPos(const CDialog& dialog, int id) {
    const ControlState* bar = ControlOf(dialog, id, "TrackPos", ControlKind::ScrollBar);
    return bar != nullptr ? bar->trackPos : 0;
}

std::pair<int, int> Range(const CDialog& dialog, int id) {
    const ControlState* bar = ControlOf(dialog, id, "Range", ControlKind::ScrollBar);
    return bar != nullptr ? std::pair{bar->rangeMin, bar->rangeMax} : std::pair{0, 0};
}

std::vector<Timer> Timers(const CDialog& dialog) {
    std::vector<Timer> timers;
    for (const auto& [id, periodMs] : StateOf(dialog).timers) {
        timers.push_back({id, periodMs});
    }
    return timers;
}

std::vector<MenuItem> SystemMenu(const CDialog& dialog) {
    return StateOf(dialog).systemMenu.Items();
}

HICON Icon(const CDialog& dialog, bool big) {
    return big ? StateOf(dialog).bigIcon : StateOf(dialog).smallIcon;
}

std::vector<DrawnIcon> DrawnIcons(const CDialog& dialog) {
    return StateOf(dialog).drawnIcons;
}

std::vector<SentMessage> SentMessages(const CDialog& dialog) {
    return StateOf(dialog).sentMessages;
}

int DefaultPaints(const CDialog& dialog) {
    return StateOf(dialog).defaultPaints;
}

}  // namespace headless
