// A dialog that records its events, and a modal run that acts as the user once it is shown.
#pragma once

#include "platform/qt/dialog_window.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <utility>

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
    std::vector<std::pair<int, UINT>> clicks;  // id, IsDlgButtonChecked(id) at the click
    std::vector<UINT> Codes() const;

protected:
    void OnVScroll(UINT code, UINT pos, int barId) override;
    void OnTimer(UINT_PTR id) override { ticks.push_back(id); }
    void OnClicked(int id) override { clicks.emplace_back(id, IsDlgButtonChecked(id)); }
};

// A dialog still open after `whileShown` ends with kLeftOpen.
inline constexpr int kLeftOpen = 77;
INT_PTR RunModal(RecordingDialog& dialog, const std::function<void(DialogWindow&)>& whileShown);

inline QWidget* Focused() {
    return QApplication::focusWidget();
}
inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Focused(), key, modifiers);
}
// A click delivered to the window, which a modal window in the way blocks.
void ClickControl(DialogWindow& window, int id, Qt::MouseButton button = Qt::LeftButton);

}  // namespace zarven::qt::test
