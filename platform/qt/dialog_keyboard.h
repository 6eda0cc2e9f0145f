// The dialog manager's arrow keys over Qt: Left/Up and Right/Down move the focus around the
// group of the focused control, unless the control takes the arrows itself: an edit box moves
// its caret as a Win32 one does, a scroll bar scrolls. Tab and Shift+Tab stay with Qt, whose
// focus chain is the template order.
#pragma once

#include "platform/dialog_template.h"

#include <QObject>

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

class QWidget;

namespace zarven::qt {

// The control an arrow key moves the focus to from control `from` (template indexes). A group
// runs from a control with the group-start style up to the next one; the list is a ring, so
// controls before the first group start belong to the last group. The walk goes around the
// group and takes the first control `canTakeFocus` accepts; `from` when there is none.
// `from` must index `controls`.
std::size_t NextGroupItem(std::span<const DialogControl> controls, std::size_t from, bool previous,
                          const std::function<bool(std::size_t)>& canTakeFocus);

class DialogKeyboard final : public QObject {
public:
    // `widgets` are the controls' widgets in template order; the keyboard watches their keys.
    DialogKeyboard(std::span<const DialogControl> controls, std::vector<QWidget*> widgets,
                   QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::span<const DialogControl> controls_;
    std::vector<QWidget*> widgets_;
};

}  // namespace zarven::qt
