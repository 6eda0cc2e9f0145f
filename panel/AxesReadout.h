// The "Axes Output" group: the tracker's yaw, pitch and roll in whole degrees, polled every
// 20 ms; a box is rewritten only when its raw value changed.
#pragma once

#include "panel/PanelState.h"
#include "platform/framework.h"

inline constexpr UINT_PTR kReadoutTimerId = 0xE001;
inline constexpr UINT kReadoutPeriodMs = 20;

// (v * 360) >> 16 in unsigned 32-bit arithmetic: 0..65535 maps onto 0..359.
constexpr UINT AxisToDegrees(DWORD v) {
    return (v * 360u) >> 16;
}

// Shows the first values and starts the readout timer.
void StartAxesReadout(CDialog& panel, PanelState& state);

// One timer tick: one axes read, and each box whose raw value changed rewritten.
void RefreshAxesReadout(CDialog& panel, PanelState& state);
