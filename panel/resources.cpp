// The program's resources as data: the two dialog templates, the about-menu string and the
// panel icon. Windowing backends find them by identifier.
#include "panel/resource.h"
#include "platform/dialog_template.h"

#include <array>

namespace {

using namespace ControlStyle;

constexpr unsigned kValueBox = kBorder | kAutoHScroll | kTabStop;

constexpr std::array kPanelControls{
    DialogControl{IDOK, ControlKind::PushButton, "OK", 153, 127, 50, 16, kDefaultButton | kTabStop},
    DialogControl{IDCANCEL, ControlKind::PushButton, "Cancel", 58, 127, 50, 16, kTabStop},
    DialogControl{IDC_STEREO_MODE, ControlKind::CheckBox, "Enable Stereo Mode", 17, 21, 80, 9,
                  kAutoCheck | kTabStop},
    DialogControl{IDC_POWER_SAVER, ControlKind::CheckBox, "Enable Power Saver", 17, 36, 79, 9,
                  kAutoCheck | kTabStop},
    DialogControl{IDC_SET_ZERO, ControlKind::PushButton, "Set Zero", 31, 53, 49, 12, kTabStop},
    DialogControl{IDC_YAW_BAR, ControlKind::ScrollBar, "", 137, 27, 10, 69, kVertical},
    DialogControl{IDC_PITCH_BAR, ControlKind::ScrollBar, "", 159, 27, 10, 69, kVertical},
    DialogControl{IDC_ROLL_BAR, ControlKind::ScrollBar, "", 179, 27, 10, 69, kVertical},
    DialogControl{IDC_YAW_LABEL, ControlKind::Label, "Yaw", 135, 19, 15, 8,
                  kAlignLeft | kGroupStart},
    DialogControl{IDC_PITCH_LABEL, ControlKind::Label, "Pitch", 155, 19, 16, 8,
                  kAlignLeft | kGroupStart},
    DialogControl{IDC_ROLL_LABEL, ControlKind::Label, "Roll", 177, 19, 13, 8,
                  kAlignLeft | kGroupStart},
    DialogControl{IDC_SENSITIVITY_GROUP, ControlKind::GroupBox, "Headset Sensitivity", 118, 6, 85,
                  115, kNone},
    DialogControl{IDC_OPTIONS_GROUP, ControlKind::GroupBox, "Headset Options", 7, 6, 100, 65,
                  kNone},
    DialogControl{IDC_MAX_LABEL, ControlKind::Label, "Max", 123, 37, 14, 8,
                  kAlignCenter | kGroupStart},
    DialogControl{IDC_MIN_LABEL, ControlKind::Label, "Min", 122, 79, 15, 8,
                  kAlignCenter | kGroupStart},
    DialogControl{IDC_YAW_VALUE, ControlKind::EditBox, "", 131, 100, 19, 13, kValueBox},
    DialogControl{IDC_PITCH_VALUE, ControlKind::EditBox, "", 154, 100, 19, 13, kValueBox},
    DialogControl{IDC_ROLL_VALUE, ControlKind::EditBox, "", 177, 100, 19, 13, kValueBox},
    DialogControl{IDC_AXIS_X_OUT, ControlKind::EditBox, "", 25, 100, 19, 13, kValueBox},
    DialogControl{IDC_AXIS_Y_OUT, ControlKind::EditBox, "", 48, 100, 19, 13, kValueBox},
    DialogControl{IDC_AXIS_Z_OUT, ControlKind::EditBox, "", 71, 100, 19, 13, kValueBox},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Axes Output", 7, 80, 101, 41, kNone},
};

constexpr std::array kAboutControls{
    DialogControl{IDC_STATIC, ControlKind::Icon, "", 7, 7, 21, 20, kNone, IDI_PANEL},
    DialogControl{IDC_STATIC, ControlKind::Label, "ZARVEN Controls Version 1.2", 40, 10, 130, 8,
                  kAlignLeft | kNoPrefix | kGroupStart},
    DialogControl{IDC_STATIC, ControlKind::Label, "Copyright (C) 2026 ZARVEN Controls", 37, 21, 141,
                  8, kAlignLeft | kGroupStart},
    DialogControl{IDOK, ControlKind::PushButton, "OK", 178, 7, 32, 14,
                  kDefaultButton | kGroupStart | kTabStop},
};

using namespace DialogStyle;

constexpr DialogTemplate kPanelTemplate{
    IDD_CONTROL_PANEL,
    "ZARVEN Controls",
    "MS Sans Serif",
    8,
    0,
    0,
    210,
    175,
    kPopup | kVisible | kCaption | kSystemMenu | kModalFrame | kAppWindow,
    kPanelControls};

constexpr DialogTemplate kAboutTemplate{IDD_ABOUTBOX,
                                        "About ZARVEN Controls",
                                        "MS Sans Serif",
                                        8,
                                        0,
                                        0,
                                        217,
                                        37,
                                        kPopup | kCaption | kSystemMenu | kModalFrame,
                                        kAboutControls};

constexpr IconResource kPanelIcon{IDI_PANEL, "zarven-controls"};

}  // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
    switch (id) {
        case IDD_CONTROL_PANEL:
            return &kPanelTemplate;
        case IDD_ABOUTBOX:
            return &kAboutTemplate;
        default:
            return nullptr;
    }
}

const char* FindStringResource(UINT id) {
    return id == IDS_ABOUT_MENU ? "&About ZARVEN Controls..." : nullptr;
}

const IconResource* FindIconResource(UINT id) {
    return id == IDI_PANEL ? &kPanelIcon : nullptr;
}
