// Icon resources as HICON handles. A handle names an icon resource and stays valid for the
// whole process, as a shared icon does; its pixels come from the PNGs embedded in this
// library, built into a multi-size QIcon when first needed (that needs the application).
#pragma once

#include "platform/win32api.h"

#include <QIcon>

class QPainter;

namespace zarven::qt {

inline constexpr int kStandardIconSize = 32;  // SM_CXICON × SM_CYICON

HICON LoadIconResource(UINT id);  // nullptr for an unknown resource
QIcon IconOfHandle(HICON icon);   // a null QIcon for an unknown handle

// Draws the icon at the standard icon size with its top-left corner at (x, y).
bool PaintIcon(QPainter& painter, int x, int y, HICON icon);

}  // namespace zarven::qt
