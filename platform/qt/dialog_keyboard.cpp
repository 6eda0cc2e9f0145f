#include "platform/qt/dialog_keyboard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

namespace zarven::qt {
namespace {

bool StartsGroup(const DialogControl& control) {
    return (control.style & ControlStyle::kGroupStart) != 0;
}

// The members of the group that control `index` belongs to, in order from its start.
std::vector<std::size_t> GroupOf(std::span<const DialogControl> controls, std::size_t index) {
    const std::size_t count = controls.size();
    std::size_t start = index;
    // Back to the group start, around the ring; without any, the whole dialog is one group.
    for (std::size_t steps = 0; steps < count && !StartsGroup(controls[start]); ++steps) {
        start = (start + count - 1) % count;
    }
    std::vector<std::size_t> members{start};
    for (std::size_t next = (start + 1) % count; next != start && !StartsGroup(controls[next]);
         next = (next + 1) % count) {
        members.push_back(next);
    }
    return members;
}

// An arrow in a Win32 edit box moves the caret one character from where it stands, Up as Left
// and Down as Right, and Shift extends the selection from its anchor; a selection made by Tab
// collapses to one character before or after its end. Qt's Left and Right would jump to the
// selection's start or end instead. Other modifiers (Ctrl: by words) stay with Qt.
bool MoveEditCaret(QLineEdit& edit, const QKeyEvent& key, bool backward) {
    if ((key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != 0) {
        return false;
    }
    const bool extend = (key.modifiers() & Qt::ShiftModifier) != 0;
    if (backward) {
        edit.cursorBackward(extend);
    } else {
        edit.cursorForward(extend);
    }
    return true;
}

}  // namespace

std::size_t NextGroupItem(std::span<const DialogControl> controls, std::size_t from, bool previous,
                          const std::function<bool(std::size_t)>& canTakeFocus) {
    const std::vector<std::size_t> members = GroupOf(controls, from);
    const std::size_t count = members.size();
    const std::size_t position =
        static_cast<std::size_t>(std::find(members.begin(), members.end(), from) - members.begin());
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t candidate =
            members[previous ? (position + count - step) % count : (position + step) % count];
        if (canTakeFocus(candidate)) {
            return candidate;
        }
    }
    return from;
}

DialogKeyboard::DialogKeyboard(std::span<const DialogControl> controls,
                               std::vector<QWidget*> widgets, QObject* parent)
    : QObject(parent), controls_(controls), widgets_(std::move(widgets)) {
    for (QWidget* widget : widgets_) {
        widget->installEventFilter(this);
    }
}

bool DialogKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool previous = key->key() == Qt::Key_Left || key->key() == Qt::Key_Up;
    const bool next = key->key() == Qt::Key_Right || key->key() == Qt::Key_Down;
    if (!previous && !next) {
        return false;
    }
    const auto found = std::find(widgets_.begin(), widgets_.end(), watched);
    if (found == widgets_.end()) {
        return false;
    }
    const auto from = static_cast<std::size_t>(found - widgets_.begin());
    // Edit boxes and scroll bars take the arrows themselves.
    if (controls_[from].kind == ControlKind::EditBox) {
        auto* edit = qobject_cast<QLineEdit*>(*found);
        return edit != nullptr && (key->modifiers() & Qt::AltModifier) == 0 &&
               MoveEditCaret(*edit, *key, previous);
    }
    if (controls_[from].kind == ControlKind::ScrollBar) {
        return false;  // the bar sends their scroll codes
    }
    // With Alt an arrow is a system key, which the dialog manager does not navigate with; Qt's
    // buttons would still move the focus, so the key stops here.
    if ((key->modifiers() & Qt::AltModifier) != 0) {
        return true;
    }
    // Any visible, enabled control may take the focus this way, a label or group box too.
    const std::size_t to = NextGroupItem(controls_, from, previous, [this](std::size_t index) {
        return widgets_[index]->isVisible() && widgets_[index]->isEnabled();
    });
    // As with Tab: an edit box reached this way selects its text.
    widgets_[to]->setFocus(previous ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}

}  // namespace zarven::qt
