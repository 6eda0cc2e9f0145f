#include "platform/qt/scroll_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace zarven::qt {

std::optional<UINT> ScrollCodeOf(QAbstractSlider::SliderAction action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return SB_LINEUP;
        case QAbstractSlider::SliderSingleStepAdd:
            return SB_LINEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return SB_PAGEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return SB_PAGEDOWN;
        case QAbstractSlider::SliderToMinimum:
            return SB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return SB_BOTTOM;
        case QAbstractSlider::SliderNoAction:
        case QAbstractSlider::SliderMove:
            break;
    }
    return std::nullopt;
}

std::optional<UINT> ScrollCodeOfKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            return SB_LINEUP;
        case Qt::Key_Down:
        case Qt::Key_Right:
            return SB_LINEDOWN;
        case Qt::Key_PageUp:
            return SB_PAGEUP;
        case Qt::Key_PageDown:
            return SB_PAGEDOWN;
        case Qt::Key_Home:
            return SB_TOP;
        case Qt::Key_End:
            return SB_BOTTOM;
        default:
            return std::nullopt;
    }
}

Win32ScrollBar::Win32ScrollBar(Qt::Orientation orientation, QWidget* parent, CodeSink sink)
    : QScrollBar(orientation, parent), sink_(std::move(sink)) {
    // Qt's value only ever shows the program's position; a drag moves the thumb alone.
    setTracking(false);
    setRange(0, 0);  // a Win32 scroll bar control starts with an empty range
    setPageStep(0);  // and no page: a thumb of the standard size
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &QAbstractSlider::actionTriggered, this, &Win32ScrollBar::OnAction);
    connect(this, &QAbstractSlider::sliderMoved, this, &Win32ScrollBar::OnDragged);
    connect(this, &QAbstractSlider::sliderReleased, this, &Win32ScrollBar::OnReleased);
}

void Win32ScrollBar::SetScrollRange(int minPos, int maxPos) {
    setRange(minPos, maxPos);
    pos_ = std::clamp(pos_, minimum(), maximum());
    if (!isSliderDown()) {
        ShowThumbAt(pos_);
    }
}

int Win32ScrollBar::SetScrollPos(int pos) {
    const int previous = pos_;
    pos_ = std::clamp(pos, minimum(), maximum());
    if (!isSliderDown()) {
        ShowThumbAt(pos_);
    }
    return previous;
}

int Win32ScrollBar::TrackPos() const {
    if (delivering_) {
        return deliveringTrackPos_;
    }
    return isSliderDown() ? sliderPosition() : pos_;
}

void Win32ScrollBar::mousePressEvent(QMouseEvent* event) {
    countAtPress_ = reportedCount_;
    QScrollBar::mousePressEvent(event);
}

void Win32ScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasDragging = isSliderDown();
    QScrollBar::mouseReleaseEvent(event);
    const bool actionButton =
        event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton;
    if (actionButton && (wasDragging || reportedCount_ != countAtPress_)) {
        Report(SB_ENDSCROLL, pos_);
    }
}

void Win32ScrollBar::keyPressEvent(QKeyEvent* event) {
    const std::optional<UINT> code = ScrollCodeOfKey(event->key());
    if (!code || (event->modifiers() & Qt::AltModifier) != 0) {
        event->ignore();  // Return, Escape, Tab and the rest are the dialog's
        return;
    }
    // One code for each press, no end of scroll: the Win32 control sends nothing on release.
    // A key held while the program is still busy with an earlier code repeats nothing.
    if (!(delivering_ && event->isAutoRepeat())) {
        Report(*code, pos_);
    }
}

void Win32ScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // A focused Win32 bar shows the focus on its thumb; Qt's styles draw none on a bar.
    QStyleOptionSlider slider;
    initStyleOption(&slider);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect =
        style()
            ->subControlRect(QStyle::CC_ScrollBar, &slider, QStyle::SC_ScrollBarSlider, this)
            .adjusted(2, 2, -2, -2);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void Win32ScrollBar::wheelEvent(QWheelEvent* event) {
    // A Win32 scroll bar control does not scroll with the wheel.
    event->ignore();
}

void Win32ScrollBar::OnAction(int action) {
    // Qt has moved the slider to its proposal; only the program moves the thumb.
    setSliderPosition(pos_);
    const std::optional<UINT> code = ScrollCodeOf(static_cast<SliderAction>(action));
    if (!code) {
        return;
    }
    if (delivering_) {
        setRepeatAction(SliderNoAction);  // the program is busy (a message box): stop repeating
        return;
    }
    Report(*code, pos_);
}

void Win32ScrollBar::OnDragged(int trackPos) {
    if (!delivering_) {
        Report(SB_THUMBTRACK, trackPos);
    }
}

void Win32ScrollBar::OnReleased() {
    Report(SB_THUMBPOSITION, sliderPosition());
}

void Win32ScrollBar::Report(UINT code, int trackPos) {
    ++reportedCount_;
    pending_.push_back({code, trackPos});
    if (delivering_) {
        return;
    }
    delivering_ = true;
    while (!pending_.empty()) {
        const Pending next = pending_.front();
        pending_.pop_front();
        deliveringTrackPos_ = next.trackPos;
        const bool thumbCode = next.code == SB_THUMBTRACK || next.code == SB_THUMBPOSITION;
        sink_(next.code, thumbCode ? static_cast<UINT>(next.trackPos) : 0u);
        if (!isSliderDown()) {
            ShowThumbAt(pos_);
        }
    }
    delivering_ = false;
}

void Win32ScrollBar::ShowThumbAt(int pos) {
    setValue(pos);
}

}  // namespace zarven::qt
