// Dialog units to pixels, computed from the dialog font as the Win32 dialog manager does.
#pragma once

#include "platform/dialog_template.h"

#include <QFont>
#include <QRect>

namespace zarven::qt {

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct DialogBaseUnits {
    int x;
    int y;
    friend bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// a × b / c rounded half away from zero, through a 64-bit product; -1 when c is 0 or the result
// does not fit in an int (the Win32 MulDiv contract).
int MulDiv(int a, int b, int c);

// Horizontal: the average width of the 52 letters A–Z a–z, rounded; vertical: the font height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy);
QRect ControlRectInPixels(const DialogBaseUnits& units, const DialogControl& control);

}  // namespace zarven::qt
