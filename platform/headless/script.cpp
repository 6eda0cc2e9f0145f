// The scripted user actions: each queues steps that the modal loop plays on the innermost
// open dialog, producing the notifications the platform would.
#include "platform/headless/dialog_access.h"
#include "platform/headless/session.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace headless {
namespace {

using detail::ControlState;
using detail::Enqueue;

using Events = AfxDialogEvents;

// What the platform does for a command from a push button (or the keyboard): OK and Cancel
// have their own handlers.
void Command(CDialog& dialog, int id) {
    switch (id) {
        case IDOK:
            Events::OK(dialog);
            break;
        case IDCANCEL:
            Events::Cancel(dialog);
            break;
        default:
            Events::Clicked(dialog, id);
            break;
    }
}

int DefaultButton(const detail::WindowState& window) {
    const auto found =
        std::find_if(window.controls.begin(), window.controls.end(), [](const ControlState& c) {
            return c.kind == ControlKind::PushButton && (c.style & ControlStyle::kDefaultButton);
        });
    return found != window.controls.end() ? found->id : IDOK;
}

// One scroll notification. The thumb stays where it is; only the track position moves.
void QueueScroll(int barId, UINT code, std::optional<int> trackPos) {
    Enqueue([=](CDialog& dialog) {
        ControlState* bar = Events::State(dialog).Control(barId, "Scroll", ControlKind::ScrollBar);
        if (bar == nullptr) {
            return;
        }
        bar->trackPos = std::clamp(trackPos.value_or(bar->pos), bar->rangeMin, bar->rangeMax);
        const bool thumbCode = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
        Events::VScroll(dialog, code, thumbCode ? static_cast<UINT>(bar->trackPos) : 0u, barId);
    });
}

}  // namespace

void Click(int id) {
    Enqueue([id](CDialog& dialog) {
        ControlState* control = Events::State(dialog).Control(id, "Click");
        if (control == nullptr) {
            return;
        }
        switch (control->kind) {
            case ControlKind::CheckBox:
                if (control->style & ControlStyle::kAutoCheck) {
                    control->check = control->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
                }
                Events::Clicked(dialog, id);
                break;
            case ControlKind::PushButton:
                Command(dialog, id);
                break;
            default:
                // Fault message through the lookup, naming the kind the control really is.
                Events::State(dialog).Control(id, "Click", ControlKind::PushButton);
                break;
        }
    });
}

void Type(int id, std::string text) {
    Enqueue([id, text = std::move(text)](CDialog& dialog) {
        ControlState* box = Events::State(dialog).Control(id, "Type", ControlKind::EditBox);
        if (box == nullptr) {
            return;
        }
        box->text = text;
        Events::EditChange(dialog, id);
    });
}

void Scroll(int barId, UINT code) {
    QueueScroll(barId, code, std::nullopt);
}

void Scroll(int barId, UINT code, int trackPos) {
    QueueScroll(barId, code, trackPos);
}

void ArrowClick(int barId, bool up) {
    Scroll(barId, up ? SB_LINEUP : SB_LINEDOWN);
    Scroll(barId, SB_ENDSCROLL);
}

void PageClick(int barId, bool up) {
    Scroll(barId, up ? SB_PAGEUP : SB_PAGEDOWN);
    Scroll(barId, SB_ENDSCROLL);
}

void Drag(int barId, std::vector<int> trackPositions) {
    for (int trackPos : trackPositions) {
        Scroll(barId, SB_THUMBTRACK, trackPos);
    }
    if (trackPositions.empty()) {
        Scroll(barId, SB_THUMBPOSITION);
    } else {
        Scroll(barId, SB_THUMBPOSITION, trackPositions.back());
    }
    Scroll(barId, SB_ENDSCROLL);
}

void Tick() {
    Enqueue([](CDialog&) { detail::DeliverTicks(std::nullopt); });
}

void TickTimer(UINT_PTR id) {
    Enqueue([id](CDialog&) { detail::DeliverTicks(id); });
}

void SysCommand(UINT id) {
    Enqueue([id](CDialog& dialog) { Events::SysCommand(dialog, id, 0); });
}

void Minimize() {
    SysCommand(SC_MINIMIZE);
}

void Restore() {
    SysCommand(SC_RESTORE);
}

void CloseBox() {
    SysCommand(SC_CLOSE);
}

void PressEnter() {
    Enqueue([](CDialog& dialog) { Command(dialog, DefaultButton(Events::State(dialog))); });
}

void PressEscape() {
    Enqueue([](CDialog& dialog) { Command(dialog, IDCANCEL); });
}

void Paint() {
    Enqueue([](CDialog& dialog) { Events::Paint(dialog); });
}

void QueryDragIcon() {
    Enqueue([](CDialog& dialog) {
        detail::TheSession().dragIcons.push_back(Events::QueryDragIcon(dialog));
    });
}

void Run(std::function<void(CDialog&)> action) {
    Enqueue(std::move(action));
}

std::size_t StepsLeft() {
    return detail::TheSession().steps.size();
}

void AnswerBox(int answer, int ticksWhileOpen) {
    detail::TheSession().answers.push_back({answer, ticksWhileOpen});
}

std::size_t AnswersLeft() {
    return detail::TheSession().answers.size();
}

}  // namespace headless
