// The in-memory window of one dialog: its controls, timers, system menu, icons and what was
// painted and sent, kept after the dialog ends so that tests can read it back.
#pragma once

#include "platform/headless/headless.h"
#include "platform/headless/recording_menu.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace headless::detail {

struct ControlState {
    int id;
    ControlKind kind;
    unsigned style;
    std::string text;
    int textWrites = 0;
    UINT check = BST_UNCHECKED;
    int rangeMin = 0;  // a scroll bar control starts with the empty range 0..0
    int rangeMax = 0;
    int pos = 0;
    int trackPos = 0;
};

enum class Phase { Closed, Initialising, Shown };

struct WindowState {
    explicit WindowState(UINT templateId);

    // Builds the controls from the template and starts a fresh window.
    void Open();
    // Destroys the window: its timers stop; the controls stay readable.
    void Close();
    bool IsOpen() const { return phase != Phase::Closed; }
    bool IsDisabled() const { return disabledBy > 0; }

    // The first control with `id`, of `kind` when given; otherwise records a fault naming
    // `caller` and gives null.
    const ControlState* Control(int id, const char* caller,
                                std::optional<ControlKind> kind = std::nullopt) const;
    ControlState* Control(int id, const char* caller,
                          std::optional<ControlKind> kind = std::nullopt);

    // True when the window exists; otherwise records a fault naming `caller`.
    bool RequireOpen(const char* caller) const;

    std::string Name() const;  // "dialog 102", for fault messages

    const UINT templateId;
    const DialogTemplate* const dialogTemplate;  // null for an unknown template
    const HWND hwnd;
    const HDC hdc;

    Phase phase = Phase::Closed;
    bool ended = false;
    INT_PTR result = 0;
    int disabledBy = 0;  // open dialogs and message boxes owned by this one

    std::vector<ControlState> controls;
    std::map<UINT_PTR, UINT> timers;  // id -> period in ms
    RecordingMenu systemMenu;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    bool iconic = false;
    std::vector<SentMessage> sentMessages;
    std::vector<DrawnIcon> drawnIcons;
    int defaultPaints = 0;
};

// Disables a window for as long as it lives (an owned dialog or message box is open).
class DisabledWhileOpen {
public:
    explicit DisabledWhileOpen(WindowState* owner) : m_owner(owner) {
        if (m_owner != nullptr) {
            ++m_owner->disabledBy;
        }
    }
    ~DisabledWhileOpen() {
        if (m_owner != nullptr) {
            --m_owner->disabledBy;
        }
    }
    DisabledWhileOpen(const DisabledWhileOpen&) = delete;
    DisabledWhileOpen& operator=(const DisabledWhileOpen&) = delete;

private:
    WindowState* m_owner;
};

}  // namespace headless::detail
