// The program's resources as resource-script text for windres: the dialog templates, strings
// and icons that panel/ defines as data become DIALOGEX, STRINGTABLE and ICON statements, so
// the native dialogs are built from the same data as the other backends' windows.
#pragma once

#include "platform/dialog_template.h"

#include <ostream>
#include <string>

namespace zarven::win32 {

// Text as a quoted resource-script string: quotes doubled, backslashes escaped.
std::string QuotedText(const char* text);

// The style expression of a control, e.g. "WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP".
std::string ControlStyleExpression(const DialogControl& control);

// One CONTROL statement: text, id, window class, style, x, y, width, height.
std::string ControlStatement(const DialogControl& control);

// A template's DIALOGEX block.
std::string DialogStatement(const DialogTemplate& dialog);

// Every string, icon and dialog that the resource lookups know, in identifier order. Icons
// refer to "<name>.ico", which the build makes from the icon's artwork.
void WriteResourceScript(std::ostream& out);

}  // namespace zarven::win32
