// The Win32 subset the program uses: types, records, constants and functions with their
// platform names and layouts. On Windows this is the system headers; elsewhere the same
// declarations are given here and a backend implements them (the emulated joystick machine
// for joystick, registry, driver and profile calls; the windowing backend for message boxes).
#pragma once

#include <cstddef>

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
// windows.h first: the others use its types. MinGW-w64 declares the joystick configuration
// record (JOYREGHWCONFIG) only in dinputd.h, which needs dinput.h.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <regstr.h>
#include <dinput.h>
#include <dinputd.h>
// clang-format on

#else  // !_WIN32

#include <cstdint>

// Basic types, sized as on 32-bit Windows.
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using CHAR = char;
using WCHAR = wchar_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using MMRESULT = UINT;
using REGSAM = DWORD;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCWSTR = const wchar_t*;

struct HKEY__;
struct HDRVR__;
struct HWND__;
struct HICON__;
struct HDC__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using HDRVR = HDRVR__*;
using HWND = HWND__*;
using HICON = HICON__*;
using HCURSOR = HICON;
using HDC = HDC__*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002u)))

// Joystick records.
struct JOYINFOEX {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwXpos;
    DWORD dwYpos;
    DWORD dwZpos;
    DWORD dwRpos;
    DWORD dwUpos;
    DWORD dwVpos;
    DWORD dwButtons;
    DWORD dwButtonNumber;
    DWORD dwPOV;
    DWORD dwReserved1;
    DWORD dwReserved2;
};
using LPJOYINFOEX = JOYINFOEX*;

#define MAXPNAMELEN 32
#define MAX_JOYSTICKOEMVXDNAME 260

struct JOYCAPSA {
    WORD wMid;
    WORD wPid;
    CHAR szPname[MAXPNAMELEN];
    UINT wXmin;
    UINT wXmax;
    UINT wYmin;
    UINT wYmax;
    UINT wZmin;
    UINT wZmax;
    UINT wNumButtons;
    UINT wPeriodMin;
    UINT wPeriodMax;
    UINT wRmin;
    UINT wRmax;
    UINT wUmin;
    UINT wUmax;
    UINT wVmin;
    UINT wVmax;
    UINT wCaps;
    UINT wMaxAxes;
    UINT wNumAxes;
    UINT wMaxButtons;
    CHAR szRegKey[MAXPNAMELEN];
    CHAR szOEMVxD[MAX_JOYSTICKOEMVXDNAME];
};
using LPJOYCAPSA = JOYCAPSA*;

struct JOYREGHWSETTINGS {
    DWORD dwFlags;
    DWORD dwNumButtons;
};

struct JOYPOS {
    DWORD dwX;
    DWORD dwY;
    DWORD dwZ;
    DWORD dwR;
    DWORD dwU;
    DWORD dwV;
};

struct JOYRANGE {
    JOYPOS jpMin;
    JOYPOS jpMax;
    JOYPOS jpCenter;
};

struct JOYREGHWVALUES {
    JOYRANGE jrvHardware;
    DWORD dwPOVValues[4];
    DWORD dwCalFlags;
};

struct JOYREGHWCONFIG {
    JOYREGHWSETTINGS hws;
    DWORD dwUsageSettings;
    JOYREGHWVALUES hwv;
    DWORD dwType;
    DWORD dwReserved;
};

// Joystick constants.
#define JOY_RETURNALL 0x000000FFu

#define JOYERR_BASE 160
#define JOYERR_NOERROR 0
#define JOYERR_PARMS (JOYERR_BASE + 5)
#define JOYERR_NOCANDO (JOYERR_BASE + 6)
#define JOYERR_UNPLUGGED (JOYERR_BASE + 7)
#define MMSYSERR_NODRIVER 6

#define DRV_RESERVED 0x0800

// Registry constants.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_WRITE_FAULT 29L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define REG_NONE 0
#define REG_SZ 1
#define REG_BINARY 3
#define REG_DWORD 4
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006

// Message boxes and dialog results.
#define MB_OK 0x00000000u
#define MB_YESNO 0x00000004u
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Windowing constants and records the panel uses.
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;

#define SIF_RANGE 0x0001u
#define SIF_PAGE 0x0002u
#define SIF_POS 0x0004u
#define SIF_TRACKPOS 0x0010u
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8

#define BST_UNCHECKED 0u
#define BST_CHECKED 1u

#define MF_STRING 0x00000000u
#define MF_SEPARATOR 0x00000800u

#define SC_SIZE 0xF000u
#define SC_MOVE 0xF010u
#define SC_MINIMIZE 0xF020u
#define SC_MAXIMIZE 0xF030u
#define SC_CLOSE 0xF060u
#define SC_RESTORE 0xF120u

#define WM_ICONERASEBKGND 0x0027u

#define SM_CXICON 11
#define SM_CYICON 12

// Joystick interface.
UINT joyGetNumDevs();
MMRESULT joyGetDevCapsA(UINT_PTR uJoyID, LPJOYCAPSA pjc, UINT cbjc);
MMRESULT joyGetPosEx(UINT uJoyID, LPJOYINFOEX pji);

// Registry.
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData);
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegCloseKey(HKEY hKey);

// Installable drivers.
HDRVR OpenDriver(LPCWSTR szDriverName, LPCWSTR szSectionName, LPARAM lParam2);
LRESULT SendDriverMessage(HDRVR hDriver, UINT message, LPARAM lParam1, LPARAM lParam2);
LRESULT CloseDriver(HDRVR hDriver, LPARAM lParam1, LPARAM lParam2);

// Private profiles.
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName);

// Windowing calls made outside the framework classes (implemented by the windowing backend).
HWND GetFocus();
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
int GetSystemMetrics(int nIndex);

#endif  // _WIN32

// Joystick driver values that not every platform header declares (MinGW-w64's lacks them).
#ifndef JDD_CONFIGCHANGED
#define JDD_CONFIGCHANGED (DRV_RESERVED + 0x0103)
#endif
#ifndef JOY_CAL_READXONLY
#define JOY_CAL_READXONLY 0x00100000u
#define JOY_CAL_READYONLY 0x00200000u
#define JOY_CAL_READZONLY 0x01000000u
#define JOY_CAL_READRONLY 0x02000000u
#define JOY_CAL_READUONLY 0x04000000u
#define JOY_CAL_READVONLY 0x08000000u
#endif

// Record layouts are a stored format: check them on every platform.
static_assert(sizeof(JOYINFOEX) == 52, "JOYINFOEX is 52 bytes");
static_assert(sizeof(JOYCAPSA) == 404, "JOYCAPSA is 404 bytes");
static_assert(sizeof(JOYREGHWCONFIG) == 112, "JOYREGHWCONFIG is 112 bytes");
static_assert(offsetof(JOYCAPSA, szRegKey) == 112, "JOYCAPSA.szRegKey at 112");
static_assert(offsetof(JOYREGHWCONFIG, hwv.jrvHardware.jpMin.dwX) == 12, "jpMin.dwX at 12");
static_assert(offsetof(JOYREGHWCONFIG, hwv.jrvHardware.jpMax.dwX) == 36, "jpMax.dwX at 36");
static_assert(offsetof(JOYREGHWCONFIG, hwv.jrvHardware.jpCenter.dwX) == 60, "jpCenter.dwX at 60");
static_assert(offsetof(JOYREGHWCONFIG, hwv.dwCalFlags) == 100, "dwCalFlags at 100");
static_assert(offsetof(JOYREGHWCONFIG, dwType) == 104, "dwType at 104");
