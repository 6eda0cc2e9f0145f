// The "Headset Sensitivity" group: three vertical bars (yaw, pitch, roll) that narrow or widen
// the calibrated range of the matching joystick axis, with the width shown in degrees.
#pragma once

#include "panel/PanelState.h"
#include "platform/framework.h"

// Sets the bars from the slot's stored configuration record.
void StartSensitivityBars(CDialog& panel, PanelState& state);

// Handles one vertical scroll notification; notifications from other bars are ignored. Every
// notification from a sensitivity bar stores the record and notifies the driver.
void OnSensitivityScroll(CDialog& panel, PanelState& state, UINT code, int barId);
