// The names and descriptions assistive technology announces for a dialog's controls.
#pragma once

#include "platform/dialog_template.h"

class QWidget;

namespace zarven::qt {

// The program's accessible text for the control where it has one; otherwise Qt's own, the
// control's text without its mnemonic marker. An icon is announced as "Icon". Nothing drawn
// changes.
void SetAccessibleText(QWidget& widget, const DialogControl& control);

}  // namespace zarven::qt
