// The widgets for a template's controls, one per control kind, with the control's style.
#pragma once

#include "platform/dialog_template.h"

#include <QString>

#include <functional>

class QWidget;

namespace zarven::qt {

// What a control reports, by control id.
struct ControlEvents {
    std::function<void(int id)> clicked;                        // push button or check box
    std::function<void(int id)> editChanged;                    // the text of an edit box changed
    std::function<void(int id, UINT code, UINT pos)> scrolled;  // a vertical scroll bar
};

// Creates the control's widget as a child of the dialog, with its text and style; the caller
// places it. Controls are created in template order, which Qt takes as the tab order.
QWidget* CreateControl(QWidget& dialog, const DialogControl& control, const ControlEvents& events);

// A control's text as Win32 keeps it: the raw caption, '&' included. Controls without a text
// (scroll bars, icons) ignore the one given and report an empty one.
void SetControlText(QWidget& widget, const QString& text);
QString ControlText(const QWidget& widget);

// Whether Tab reaches the control.
bool IsTabStop(const QWidget& widget);

}  // namespace zarven::qt
