// A scroll bar control that behaves as a Win32 one: the program moves the thumb, except while
// the user drags it; every mouse action is reported as scroll codes (SB_LINEUP ... SB_BOTTOM,
// SB_THUMBTRACK while dragging, SB_THUMBPOSITION on release) closed by SB_ENDSCROLL, and each
// key press on a focused bar as its one code.
#pragma once

#include "platform/win32api.h"

#include <QScrollBar>

#include <deque>
#include <functional>
#include <optional>

namespace zarven::qt {

// The Win32 code for a slider action; none for a plain move, which only dragging makes.
std::optional<UINT> ScrollCodeOf(QAbstractSlider::SliderAction action);

// The code a key sends on a focused bar, as the Win32 scroll bar control sends it: Up and Left
// line up, Down and Right line down, Page Up/Down, Home top, End bottom; none for other keys.
std::optional<UINT> ScrollCodeOfKey(int key);

class Win32ScrollBar final : public QScrollBar {
public:
    // Receives each code with the position a Win32 scroll message carries: the track position
    // for SB_THUMBTRACK and SB_THUMBPOSITION, 0 otherwise.
    using CodeSink = std::function<void(UINT code, UINT pos)>;

    Win32ScrollBar(Qt::Orientation orientation, QWidget* parent, CodeSink sink);

    void SetScrollRange(int minPos, int maxPos);
    int SetScrollPos(int pos);  // clamped to the range; returns the previous position
    int ScrollPos() const { return pos_; }
    // Where the user holds the thumb while dragging; the position otherwise.
    int TrackPos() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Pending {
        UINT code;
        int trackPos;
    };

    void OnAction(int action);
    void OnDragged(int trackPos);
    void OnReleased();
    void Report(UINT code, int trackPos);
    void ShowThumbAt(int pos);

    CodeSink sink_;
    int pos_ = 0;
    // Codes raised while the program still handles an earlier one (it may run a nested event
    // loop, a message box) wait in order; repeats and drag steps meanwhile are dropped.
    std::deque<Pending> pending_;
    bool delivering_ = false;
    int deliveringTrackPos_ = 0;
    int reportedCount_ = 0;  // codes reported so far; tells whether a press did anything
    int countAtPress_ = 0;
};

}  // namespace zarven::qt
