// Resources as data: dialog templates, string and icon resources. The program defines them
// (panel/), the windowing backends build windows from them and find them by identifier, as a
// platform's resource loader would.
#pragma once

#include "platform/win32api.h"

#include <span>

enum class ControlKind { PushButton, CheckBox, ScrollBar, EditBox, Label, GroupBox, Icon };

// Control style bits, platform-neutral; each backend maps them to its own.
namespace ControlStyle {
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kTabStop = 1u << 0;        // reached with Tab
inline constexpr unsigned kGroupStart = 1u << 1;     // first control of a group
inline constexpr unsigned kDefaultButton = 1u << 2;  // push button pressed by Enter
inline constexpr unsigned kAutoCheck = 1u << 3;      // check box toggles itself when clicked
inline constexpr unsigned kVertical = 1u << 4;       // vertical scroll bar
inline constexpr unsigned kBorder = 1u << 5;         // edit box with a border
inline constexpr unsigned kAutoHScroll = 1u << 6;    // edit box scrolls its text horizontally
inline constexpr unsigned kAlignLeft = 1u << 7;      // label text left-aligned
inline constexpr unsigned kAlignCenter = 1u << 8;    // label text centred
inline constexpr unsigned kNoPrefix = 1u << 9;       // label shows '&' literally
}  // namespace ControlStyle

// Dialog style bits.
namespace DialogStyle {
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kPopup = 1u << 0;
inline constexpr unsigned kVisible = 1u << 1;
inline constexpr unsigned kCaption = 1u << 2;
inline constexpr unsigned kSystemMenu = 1u << 3;
inline constexpr unsigned kModalFrame = 1u << 4;
inline constexpr unsigned kAppWindow = 1u << 5;  // extended style: own taskbar entry
}  // namespace DialogStyle

// One control of a template. Rectangles are in dialog units.
struct DialogControl {
    int id;  // -1 for controls the program never addresses
    ControlKind kind;
    const char* text;  // caption or initial text; empty for none
    int x;
    int y;
    int cx;
    int cy;
    unsigned style;
    UINT iconId = 0;  // for ControlKind::Icon: the icon resource shown
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    const char* fontFace;
    int pointSize;
    int x;
    int y;
    int cx;
    int cy;
    unsigned style;
    std::span<const DialogControl> controls;  // template order, which is also tab order
};

// An icon resource: its artwork is shipped as <name>.svg and <name>-<size>.png files.
struct IconResource {
    UINT id;
    const char* name;
};

// What assistive technology announces for a control: a name for one whose own text says
// nothing (a bar, a value box) and, where it helps, a description of what it does.
struct AccessibleText {
    int controlId;
    const char* name;         // nullptr: the control's own text
    const char* description;  // nullptr: none
};

// Lookups over the program's resources; nullptr when the identifier is unknown.
const DialogTemplate* FindDialogTemplate(UINT id);
const char* FindStringResource(UINT id);
const IconResource* FindIconResource(UINT id);
const AccessibleText* FindAccessibleText(int controlId);
