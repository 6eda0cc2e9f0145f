#include "panel/AxesReadout.h"

#include "panel/resource.h"
#include "tracker/TrackerLink.h"

#include <cstdio>

namespace {

// A timer id the framework may have left on the window; stopped before the readout starts.
constexpr UINT_PTR kStaleTimerId = 0xE000;

struct ReadoutAxis {
    int boxId;
    DWORD TrackerAxes::*value;
    DWORD PanelState::*last;
};

constexpr ReadoutAxis kAxes[] = {
    {IDC_AXIS_X_OUT, &TrackerAxes::x, &PanelState::lastX},
    {IDC_AXIS_Y_OUT, &TrackerAxes::y, &PanelState::lastY},
    {IDC_AXIS_Z_OUT, &TrackerAxes::z, &PanelState::lastZ},
};

void ShowAxis(CDialog& panel, int boxId, DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03u", AxisToDegrees(value));
    panel.SetDlgItemText(boxId, text);
}

}  // namespace

void StartAxesReadout(CDialog& panel, PanelState& state) {
    const TrackerAxes axes = ReadTrackerAxes(state.selectedSlot);
    for (const ReadoutAxis& axis : kAxes) {
        state.*axis.last = axes.*axis.value;
    }
    for (const ReadoutAxis& axis : kAxes) {
        ShowAxis(panel, axis.boxId, state.*axis.last);
    }
    panel.KillTimer(kStaleTimerId);
    panel.KillTimer(kReadoutTimerId);
    panel.SetTimer(kReadoutTimerId, kReadoutPeriodMs);
}

void RefreshAxesReadout(CDialog& panel, PanelState& state) {
    const TrackerAxes axes = ReadTrackerAxes(state.selectedSlot);
    for (const ReadoutAxis& axis : kAxes) {
        const DWORD value = axes.*axis.value;
        if (value != state.*axis.last) {
            state.*axis.last = value;
            ShowAxis(panel, axis.boxId, value);
        }
    }
}
