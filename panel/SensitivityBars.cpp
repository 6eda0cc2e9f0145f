#include "panel/SensitivityBars.h"

#include "panel/resource.h"
#include "tracker/TrackerLink.h"

#include <cstdio>
#include <optional>

namespace {

struct SensitivityAxis {
    int barId;
    int valueId;
    LONG PanelState::*position;
    DWORD JOYPOS::*field;
    SensitivityPosition fallback;  // when the slot's capabilities cannot be read
};

constexpr SensitivityAxis kAxes[] = {
    {IDC_YAW_BAR, IDC_YAW_VALUE, &PanelState::yawPosition, &JOYPOS::dwX, 1023},
    {IDC_PITCH_BAR, IDC_PITCH_VALUE, &PanelState::pitchPosition, &JOYPOS::dwY, 341},
    {IDC_ROLL_BAR, IDC_ROLL_VALUE, &PanelState::rollPosition, &JOYPOS::dwZ, 341},
};

const SensitivityAxis* FindAxis(int barId) {
    for (const SensitivityAxis& axis : kAxes) {
        if (axis.barId == barId) {
            return &axis;
        }
    }
    return nullptr;
}

void ShowDegrees(CDialog& panel, int valueId, int degrees) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", degrees);
    panel.SetDlgItemText(valueId, text);
}

void ReadStartPositions(PanelState& state) {
    JOYCAPSA caps{};
    if (joyGetDevCapsA(state.selectedSlot, &caps, sizeof(JOYCAPSA)) != JOYERR_NOERROR) {
        for (const SensitivityAxis& axis : kAxes) {
            state.*axis.position = axis.fallback;
        }
        return;
    }
    state.caps = caps;
    // A failed read leaves the record all zero, which gives the full range on every axis.
    ReadJoystickConfig(state.selectedSlot, state.caps.szRegKey, state.config);
    for (const SensitivityAxis& axis : kAxes) {
        state.*axis.position = RangeToPosition(state.config.hwv.jrvHardware.jpMin.*axis.field);
    }
}

// The position a notification code moves the bar to; none for codes that leave it alone.
std::optional<LONG> NextPosition(const CDialog& panel, int barId, UINT code, LONG position) {
    switch (code) {
        case SB_LINEUP:
            return position > 0 ? position - 1 : position;
        case SB_LINEDOWN:
            return position < kSensitivityFull ? position + 1 : position;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            SCROLLINFO info{};
            info.cbSize = sizeof(SCROLLINFO);
            info.fMask = SIF_TRACKPOS;
            panel.GetScrollInfo(barId, &info, SIF_TRACKPOS);
            return info.nTrackPos;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

void StartSensitivityBars(CDialog& panel, PanelState& state) {
    for (const SensitivityAxis& axis : kAxes) {
        panel.SetScrollRange(axis.barId, 0, kSensitivityFull, TRUE);
        state.*axis.position = 0;
    }
    ReadStartPositions(state);
    for (const SensitivityAxis& axis : kAxes) {
        panel.SetScrollPos(axis.barId, state.*axis.position, TRUE);
    }
    for (const SensitivityAxis& axis : kAxes) {
        ShowDegrees(panel, axis.valueId, SensitivityToDegrees(state.*axis.position));
    }
}

void OnSensitivityScroll(CDialog& panel, PanelState& state, UINT code, int barId) {
    const SensitivityAxis* axis = FindAxis(barId);
    if (axis == nullptr) {
        return;
    }
    LONG& position = state.*axis->position;
    if (const std::optional<LONG> next = NextPosition(panel, barId, code, position)) {
        position = *next;
        panel.SetScrollPos(barId, position, TRUE);
    }

    const int degrees = SensitivityToDegrees(position);
    JOYRANGE& ranges = state.config.hwv.jrvHardware;
    const AxisRange range = PositionToRange(position);
    ranges.jpMax.*axis->field = range.max;
    ranges.jpMin.*axis->field = range.min;
    ranges.jpCenter.*axis->field = range.center;
    ShowDegrees(panel, axis->valueId, degrees == 0 ? 1 : degrees);
    WriteJoystickConfig(state.selectedSlot, state.caps.szRegKey, state.config);
}
