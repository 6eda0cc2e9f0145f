// The program's only way to the head tracker: discovery among the joystick slots, option
// commands and status over the joystick position query, the axes read, the slot's joystick
// configuration record with the driver notification, and the user's questions and notices.
// Free functions without state; the caller owns the selected slot.
#pragma once

#include "platform/win32api.h"

#include <cstddef>

// Status word reported by the tracker: bit 0 stereo mode, bit 1 power saver.
using TrackerStatus = LONG;
inline constexpr TrackerStatus kStereoBit = 0x1;
inline constexpr TrackerStatus kPowerSaverBit = 0x2;

// The joystick flag values the tracker's driver takes as commands.
enum class TrackerCommand : DWORD {
    Zero = JOY_CAL_READXONLY,
    StereoOff = JOY_CAL_READYONLY,
    StereoOn = JOY_CAL_READZONLY,
    PowerSaverOff = JOY_CAL_READRONLY,
    PowerSaverOn = JOY_CAL_READUONLY,
};

// Flag value of the status query, also the priming read before every command.
inline constexpr DWORD kStatusQueryFlags = JOY_CAL_READVONLY;

inline constexpr UINT kJoystickSlots = 16;
inline constexpr std::size_t kOemNameSize = 256;
inline constexpr char kTrackerNeedle[] = "Tracker";

struct TrackerAxes {
    DWORD x;  // yaw
    DWORD y;  // pitch
    DWORD z;  // roll
};

// The status word, or the platform's non-zero error code when either of the two reads
// failed. Callers that must tell the two apart pass `failure`: it receives 0 on success and
// the error code otherwise.
TrackerStatus QueryTrackerStatus(UINT slot, MMRESULT* failure = nullptr);

// A priming status read, then the command; 0 on success, else the platform's error code.
MMRESULT SendTrackerCommand(UINT slot, TrackerCommand command);

// Yaw, pitch and roll; all zero when the read fails.
TrackerAxes ReadTrackerAxes(UINT slot);

// True when the slot holds a device whose OEM name contains `needle` (case-sensitive).
bool IsTrackerSlot(UINT slot, const char* needle);

// Looks up the slot's OEM display name through the driver key `regKeyName` (at most
// MAXPNAMELEN characters are used, terminated or not). On success `oemName` holds a
// zero-terminated name.
bool ReadSlotOemName(UINT slot, const char* regKeyName, char (&oemName)[kOemNameSize]);

// Chooses the tracker's slot, asking the user when there are several and telling them when
// there is none (slot 0 then).
UINT FindTrackerSlot();

// A Yes/No box without icon, Yes the default, owned by the window with the keyboard focus.
int AskYesNo(const char* caption, const char* text);

// An OK box without icon or owner.
void ShowNotice(const char* caption, const char* text);

// Position of a sensitivity bar: normally 0 (narrowest axis range) .. 2047 (full range); a
// stored record can give a value outside.
using SensitivityPosition = LONG;
inline constexpr SensitivityPosition kSensitivityFull = 2047;
inline constexpr DWORD kAxisCenter = 1024;

// The calibrated range of one axis in the configuration record.
struct AxisRange {
    DWORD min;
    DWORD max;
    DWORD center;
};

// max = (p + 2047) / 2, min = (2047 - p) / 2, center = 1024, truncating toward zero.
AxisRange PositionToRange(SensitivityPosition position);

// p = 2047 - 2 * min in signed 32-bit arithmetic with wrap-around, capped at 2047.
SensitivityPosition RangeToPosition(DWORD min);

// The range's width in degrees, where 2047 stands for 360: 0..359.
int SensitivityToDegrees(SensitivityPosition position);

// Reads at most sizeof(JOYREGHWCONFIG) bytes of the slot's stored record into `record`; a
// shorter value succeeds and fills only its own length. On failure `record` is unchanged.
bool ReadJoystickConfig(UINT slot, const char* regKeyName, JOYREGHWCONFIG& record);

// Stores the record, then tells the joystick driver to reload it (an "Error" notice when the
// driver cannot be opened). True when the record was stored.
bool WriteJoystickConfig(UINT slot, const char* regKeyName, const JOYREGHWCONFIG& record);
