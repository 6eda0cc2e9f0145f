// What a screen reader says for the panel's controls, beside what the templates show.
#include "panel/resource.h"
#include "platform/dialog_template.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kAccessibleTexts{
    AccessibleText{IDC_STEREO_MODE, nullptr, "Switches the headset's stereo display on or off"},
    AccessibleText{IDC_POWER_SAVER, nullptr, "Switches the headset's power saving on or off"},
    AccessibleText{IDC_SET_ZERO, nullptr, "Takes the present head attitude as straight ahead"},
    AccessibleText{IDC_YAW_BAR, "Yaw sensitivity",
                   "Up, towards Max, a smaller head turn covers the whole yaw axis"},
    AccessibleText{IDC_PITCH_BAR, "Pitch sensitivity",
                   "Up, towards Max, a smaller head nod covers the whole pitch axis"},
    AccessibleText{IDC_ROLL_BAR, "Roll sensitivity",
                   "Up, towards Max, a smaller head tilt covers the whole roll axis"},
    AccessibleText{IDC_YAW_VALUE, "Yaw sensitivity, degrees",
                   "The head turn that covers the whole yaw axis"},
    AccessibleText{IDC_PITCH_VALUE, "Pitch sensitivity, degrees",
                   "The head nod that covers the whole pitch axis"},
    AccessibleText{IDC_ROLL_VALUE, "Roll sensitivity, degrees",
                   "The head tilt that covers the whole roll axis"},
    AccessibleText{IDC_AXIS_X_OUT, "Yaw, degrees", "Where the head points, 000 to 359"},
    AccessibleText{IDC_AXIS_Y_OUT, "Pitch, degrees", "How far the head is nodded, 000 to 359"},
    AccessibleText{IDC_AXIS_Z_OUT, "Roll, degrees", "How far the head is tilted, 000 to 359"},
};

}  // namespace

const AccessibleText* FindAccessibleText(int controlId) {
    const auto* found = std::find_if(
        kAccessibleTexts.begin(), kAccessibleTexts.end(),
        [controlId](const AccessibleText& text) { return text.controlId == controlId; });
    return found != kAccessibleTexts.end() ? &*found : nullptr;
}
