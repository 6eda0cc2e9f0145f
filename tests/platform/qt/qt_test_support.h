// Shared by the Qt backend's tests: the application they run in, a dialog that records its
// events, and ways to act as the user while a dialog runs modally.
#pragma once

#include "platform/framework.h"
#include "platform/qt/dialog_window.h"

#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>

#include <functional>
#include <vector>

namespace zarven::qt::test {

struct ScrollEvent {
    UINT code;
    UINT pos;
    int bar;
    int trackPos;  // GetScrollInfo(SIF_TRACKPOS) while the event is handled
};

// A dialog over a real template that records what it is told and can be scripted.
class RecordingDialog : public CDialog {
public:
    using CDialog::CDialog;

    DialogWindow* Window() const;
    std::vector<UINT> ScrollCodes() const;

    std::function<void()> onInit;             // runs inside OnInitDialog
    std::function<void(int id)> onClicked;    // runs inside OnClicked, after the recording
    std::function<void(UINT code)> onScroll;  // runs inside OnVScroll, after the recording
    bool followThumb = false;  // move the thumb to the track position on codes 4 and 5
    std::vector<ScrollEvent> scrolls;
    std::vector<int> clicks;
    std::vector<int> editChanges;
    std::vector<UINT> sysCommands;
    std::vector<UINT_PTR> ticks;

protected:
    BOOL OnInitDialog() override;
    void OnClicked(int id) override;
    void OnEditChange(int id) override { editChanges.push_back(id); }
    void OnVScroll(UINT code, UINT pos, int barId) override;
    void OnTimer(UINT_PTR id) override { ticks.push_back(id); }
    void OnSysCommand(UINT id, LPARAM lParam) override;
};

// Runs the dialog modally; `whileShown` acts as the user once its window is shown and active.
// A dialog still open afterwards is ended with kLeftOpen.
inline constexpr int kLeftOpen = 77;
INT_PTR RunModal(RecordingDialog& dialog, const std::function<void(DialogWindow&)>& whileShown);

// Runs `action` as soon as the next nested event loop (a message box, a menu) is running.
void WhenNestedLoopRuns(std::function<void()> action);

// The message box on screen, if any.
QMessageBox* ShownMessageBox();

// The centre of a part of a scroll bar (arrow, page area, thumb), as the style lays it out.
QPoint ScrollBarPartCentre(const QScrollBar& bar, QStyle::SubControl part);

}  // namespace zarven::qt::test
