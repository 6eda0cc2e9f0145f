// Shared by the Qt backend's dialog tests: a dialog that records its events, and a modal run
// that acts as the user once the window is up.
#pragma once

#include "platform/framework.h"
#include "platform/qt/dialog_window.h"

#include <functional>
#include <vector>

namespace zarven::qt::test {

struct ScrollEvent {
    UINT code;
    UINT pos;
    int bar;
    int trackPos;  // GetScrollInfo(SIF_TRACKPOS) while the event is handled
    bool operator==(const ScrollEvent&) const = default;
};

class RecordingDialog : public CDialog {
public:
    using CDialog::CDialog;
    bool followThumb = false;  // move the thumb to the track position on codes 4 and 5
    std::function<void(UINT code)> onScroll;  // runs after a code is recorded
    std::vector<ScrollEvent> scrolls;
    std::vector<UINT_PTR> ticks;

protected:
    void OnVScroll(UINT code, UINT pos, int barId) override;
    void OnTimer(UINT_PTR id) override { ticks.push_back(id); }
};

// Runs the dialog modally; `whileShown` acts as the user once its window is shown and active.
// A dialog still open afterwards is ended with kLeftOpen.
inline constexpr int kLeftOpen = 77;
INT_PTR RunModal(RecordingDialog& dialog, const std::function<void(DialogWindow&)>& whileShown);

}  // namespace zarven::qt::test
