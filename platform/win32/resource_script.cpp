#include "platform/win32/resource_script.h"

#include <cstdint>
#include <limits>
#include <string_view>

namespace zarven::win32 {

namespace {

// Identifiers are 16-bit in resources.
constexpr UINT kLastResourceId = std::numeric_limits<std::uint16_t>::max();

struct StyleName {
    unsigned bit;
    const char* name;
};

void AppendStyle(std::string& expression, std::string_view name) {
    expression += " | ";
    expression += name;
}

const char* WindowClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::GroupBox:
            return "Button";
        case ControlKind::ScrollBar:
            return "ScrollBar";
        case ControlKind::EditBox:
            return "Edit";
        case ControlKind::Label:
        case ControlKind::Icon:
            return "Static";
    }
    return "Static";
}

// The window-class style that the kind and its kind-specific bits select.
const char* KindStyle(const DialogControl& control) {
    using namespace ControlStyle;
    switch (control.kind) {
        case ControlKind::PushButton:
            return (control.style & kDefaultButton) != 0 ? "BS_DEFPUSHBUTTON" : "BS_PUSHBUTTON";
        case ControlKind::CheckBox:
            return (control.style & kAutoCheck) != 0 ? "BS_AUTOCHECKBOX" : "BS_CHECKBOX";
        case ControlKind::GroupBox:
            return "BS_GROUPBOX";
        case ControlKind::ScrollBar:
            return (control.style & kVertical) != 0 ? "SBS_VERT" : "SBS_HORZ";
        case ControlKind::EditBox:
            return "ES_LEFT";
        case ControlKind::Label:
            return (control.style & kAlignCenter) != 0 ? "SS_CENTER" : "SS_LEFT";
        case ControlKind::Icon:
            return "SS_ICON";
    }
    return "0";
}

// Bits that add a style of their own, whatever the kind.
constexpr StyleName kExtraStyles[] = {
    {ControlStyle::kAutoHScroll, "ES_AUTOHSCROLL"}, {ControlStyle::kNoPrefix, "SS_NOPREFIX"},
    {ControlStyle::kBorder, "WS_BORDER"},           {ControlStyle::kGroupStart, "WS_GROUP"},
    {ControlStyle::kTabStop, "WS_TABSTOP"},
};

constexpr StyleName kDialogStyles[] = {
    {DialogStyle::kPopup, "WS_POPUP"},           {DialogStyle::kVisible, "WS_VISIBLE"},
    {DialogStyle::kCaption, "WS_CAPTION"},       {DialogStyle::kSystemMenu, "WS_SYSMENU"},
    {DialogStyle::kModalFrame, "DS_MODALFRAME"},
};

std::string Rectangle(int x, int y, int cx, int cy) {
    return std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " +
           std::to_string(cy);
}

// An icon control names its icon by number; other controls show their text.
std::string ControlText(const DialogControl& control) {
    return control.kind == ControlKind::Icon ? std::to_string(control.iconId)
                                             : QuotedText(control.text);
}

}  // namespace

std::string QuotedText(const char* text) {
    std::string quoted = "\"";
    for (const char* c = text != nullptr ? text : ""; *c != '\0'; ++c) {
        if (*c == '"') {
            quoted += "\"\"";
        } else if (*c == '\\') {
            quoted += "\\\\";
        } else {
            quoted += *c;
        }
    }
    return quoted + "\"";
}

std::string ControlStyleExpression(const DialogControl& control) {
    std::string expression = "WS_CHILD | WS_VISIBLE";
    AppendStyle(expression, KindStyle(control));
    for (const StyleName& extra : kExtraStyles) {
        if ((control.style & extra.bit) != 0) {
            AppendStyle(expression, extra.name);
        }
    }
    return expression;
}

std::string ControlStatement(const DialogControl& control) {
    return "CONTROL " + ControlText(control) + ", " + std::to_string(control.id) + ", \"" +
           WindowClass(control.kind) + "\", " + ControlStyleExpression(control) + ", " +
           Rectangle(control.x, control.y, control.cx, control.cy);
}

std::string DialogStatement(const DialogTemplate& dialog) {
    std::string style;
    for (const StyleName& name : kDialogStyles) {
        if ((dialog.style & name.bit) != 0) {
            style += style.empty() ? name.name : std::string(" | ") + name.name;
        }
    }
    std::string text = std::to_string(dialog.id) + " DIALOGEX " +
                       Rectangle(dialog.x, dialog.y, dialog.cx, dialog.cy) + "\n";
    text += "STYLE " + (style.empty() ? std::string("0") : style) + "\n";
    if ((dialog.style & DialogStyle::kAppWindow) != 0) {
        text += "EXSTYLE WS_EX_APPWINDOW\n";
    }
    text += "CAPTION " + QuotedText(dialog.caption) + "\n";
    text += "FONT " + std::to_string(dialog.pointSize) + ", " + QuotedText(dialog.fontFace) + "\n";
    text += "BEGIN\n";
    for (const DialogControl& control : dialog.controls) {
        text += "    " + ControlStatement(control) + "\n";
    }
    return text + "END\n";
}

void WriteResourceScript(std::ostream& out) {
    out << "// Generated from the program's resource data by zarven-rcgen: do not edit.\n";
    std::string strings;
    for (UINT id = 0; id <= kLastResourceId; ++id) {
        if (const char* text = FindStringResource(id)) {
            strings += "    " + std::to_string(id) + ", " + QuotedText(text) + "\n";
        }
    }
    if (!strings.empty()) {  // an empty STRINGTABLE is an error to windres
        out << "STRINGTABLE\nBEGIN\n" << strings << "END\n";
    }
    for (UINT id = 0; id <= kLastResourceId; ++id) {
        if (const IconResource* icon = FindIconResource(id)) {
            out << id << " ICON " << QuotedText((std::string(icon->name) + ".ico").c_str()) << "\n";
        }
    }
    for (UINT id = 0; id <= kLastResourceId; ++id) {
        if (const DialogTemplate* dialog = FindDialogTemplate(id)) {
            out << "\n" << DialogStatement(*dialog);
        }
    }
}

}  // namespace zarven::win32
