// Scripting and readback for the headless windowing backend: the framework of
// platform/framework.h over controls held in memory, for tests of the panel and the app.
//
// How a test runs a dialog
//   A test queues what the user does (clicks, typing, scroll notifications, timer ticks, system
//   commands, OK/Cancel) and how message boxes are answered, then calls DoModal. DoModal builds
//   the controls from the template, calls OnInitDialog once, then plays the queued steps one at
//   a time on the innermost open dialog until that dialog ends. A dialog opened from a handler
//   (the about box from a system command) runs its own DoModal and plays the next steps, so an
//   OK or Cancel step always ends the innermost dialog.
//
// Faults instead of hangs or silent guesses
//   Whatever the script leaves out or gets wrong is recorded in Faults(), and the run goes on
//   in a defined way:
//   - the script runs out while a dialog is open: that dialog ends with kScriptRanOut (and so
//     does every dialog around it, each recording its own fault);
//   - a Yes/No box with no scripted answer: answered IDNO; an answer the box cannot give (IDYES
//     to an OK box): answered as if unscripted; a box type other than MB_OK or MB_YESNO: 0;
//   - a step or a program call addressing a control the dialog does not have, or a control of
//     the wrong kind (typing into a check box, SetScrollPos on a label): nothing happens;
//   - control services, SetTimer and GetSystemMenu called while the dialog has no window
//     (before DoModal or after it returned), EndDialog on a dialog that is not open, DoModal on
//     a dialog that is already running;
//   - SetScrollRange with a minimum above the maximum: the range is left as it was.
//   - steps still queued when the outermost dialog ends: they are dropped, never played.
//   Readback of a control the dialog does not have records a fault too and gives an empty value.
//
// Platform behaviour reproduced
//   - Automatic check boxes toggle themselves before OnClicked; check states are 0 or 1.
//   - Push button IDOK calls OnOK, IDCANCEL calls OnCancel (defaults: EndDialog(1) / (2)), any
//     other button OnClicked(id). Enter presses the template's default button (IDOK when there
//     is none), Escape sends IDCANCEL, the close box is the system command SC_CLOSE.
//   - Scroll bars start with the empty range 0..0. SetScrollRange and SetScrollPos clamp the
//     thumb into the range. A scroll notification never moves the thumb: it sets the bar's
//     track position and calls OnVScroll(code, pos, bar), pos being the track position for
//     SB_THUMBTRACK and SB_THUMBPOSITION and 0 otherwise. Without an explicit track position
//     (outside a drag) the track position is the thumb position; a scripted one is clamped to
//     the range, since no drag can leave it.
//   - Timers run per dialog until KillTimer or the end of the dialog (its window is destroyed).
//     A tick reaches every running timer of every open dialog, outermost first, also while a
//     nested dialog or a message box is open; a tick with no running timer does nothing.
//   - The default OnSysCommand carries out (id & 0xFFF0): SC_CLOSE calls OnCancel, SC_MINIMIZE
//     and SC_RESTORE set the iconic state; anything else is ignored. Minimizing does not paint:
//     script Paint() after Minimize() as the platform would.
//   - The system menu starts with the platform's items "&Move" (SC_MOVE) and "&Close"
//     (SC_CLOSE); GetSystemMenu(TRUE) restores them and returns null.
//   - A dialog's owner is its parent, or else the innermost dialog open when it starts; the owner
//     is disabled while the dialog runs, and while a message box it owns is open.
//   - Focus: GetFocus() returns the innermost open dialog once its OnInitDialog has returned
//     (it is shown then). During OnInitDialog, and with no dialog open, it returns null, as the
//     dialog being initialised is not shown yet. Message boxes do not take the focus.
//   - GetClientRect is the template size with a 6x13 pixel base unit (cx*6/4, cy*13/8).
//   - HWND, HDC and HICON values are opaque, non-null tokens that are never dereferenced. A
//     dialog keeps one HWND token for its lifetime (GetSafeHwnd gives it only while the dialog
//     is open; Hwnd() always); LoadIcon gives one token per icon resource.
#pragma once

#include "platform/framework.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace headless {

// DoModal's result when the script ran out while the dialog was open.
inline constexpr INT_PTR kScriptRanOut = -2;

// Clears every queued step and answer, every record and fault, and the 3-D look switch.
// Call it between tests; dialog objects keep their own state.
void Reset();

// ---- User actions, queued in order and played by DoModal on the innermost open dialog ----

void Click(int id);                   // a push button or check box
void Type(int id, std::string text);  // the edit box's text becomes `text`, then OnEditChange
void Scroll(int barId, UINT code);    // one notification, track position = thumb position
void Scroll(int barId, UINT code, int trackPos);  // one notification during a drag
void ArrowClick(int barId, bool up);              // SB_LINEUP or SB_LINEDOWN, then SB_ENDSCROLL
void PageClick(int barId, bool up);               // SB_PAGEUP or SB_PAGEDOWN, then SB_ENDSCROLL
// SB_THUMBTRACK at each track position, SB_THUMBPOSITION at the last, then SB_ENDSCROLL.
// With no positions: the thumb clicked and released in place (SB_THUMBPOSITION, SB_ENDSCROLL).
void Drag(int barId, std::vector<int> trackPositions);
void Tick();                  // OnTimer(id) for every running timer of every open dialog
void TickTimer(UINT_PTR id);  // OnTimer(id) for every open dialog running timer `id`
void SysCommand(UINT id);     // OnSysCommand(id, 0)
void Minimize();              // SysCommand(SC_MINIMIZE)
void Restore();               // SysCommand(SC_RESTORE)
void CloseBox();              // SysCommand(SC_CLOSE): close box, system menu Close, Alt+F4
void PressEnter();            // the default push button (IDOK when the template has none)
void PressEscape();           // IDCANCEL
void Paint();                 // OnPaint
void QueryDragIcon();         // OnQueryDragIcon; its answer is appended to DragIcons()
// Runs `action` inside the modal loop with the innermost open dialog, e.g. to check state
// while a nested dialog is open.
void Run(std::function<void(CDialog&)> action);

// Number of queued steps not played yet.
std::size_t StepsLeft();

// ---- Message boxes ----

// The answer for the next message box shown; `ticksWhileOpen` ticks (as Tick()) are delivered
// while that box is open, before it is answered.
void AnswerBox(int answer, int ticksWhileOpen = 0);
std::size_t AnswersLeft();

struct ShownBox {
    std::string caption;  // "Error" when the program passed none, as the platform shows
    std::string text;
    UINT type;
    HWND owner;  // null for a box without owner; compare with Hwnd(dialog)
    int answer;  // what MessageBoxA returned
    bool operator==(const ShownBox&) const = default;
};
const std::vector<ShownBox>& Boxes();  // in the order shown

// ---- Records of the whole test ----

const std::vector<std::string>& Faults();  // see the top of this file
bool ScriptFault();                        // !Faults().empty()
const std::vector<HICON>& DragIcons();     // answers of QueryDragIcon steps, in order
bool ThreeDControlsEnabled();              // CWinApp::Enable3dControls was called
UINT IconId(HICON icon);                   // the resource of a LoadIcon handle; 0 for others

// ---- A dialog's state; readable during and after DoModal while the CDialog object lives ----

HWND Hwnd(const CDialog& dialog);  // the dialog's token, whether or not it is open
bool IsOpen(const CDialog& dialog);
bool IsDisabled(const CDialog& dialog);  // an owned dialog or owned message box is open

std::string Text(const CDialog& dialog, int id);
int TextWrites(const CDialog& dialog, int id);  // SetDlgItemText calls since DoModal started
UINT Checked(const CDialog& dialog, int id);
int ThumbPos(const CDialog& dialog, int id);
int TrackPos(const CDialog& dialog, int id);
std::pair<int, int> Range(const CDialog& dialog, int id);

struct Timer {
    UINT_PTR id;
    UINT periodMs;
    bool operator==(const Timer&) const = default;
};
std::vector<Timer> Timers(const CDialog& dialog);  // running timers by id; none once closed

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
    bool operator==(const MenuItem&) const = default;
};
std::vector<MenuItem> SystemMenu(const CDialog& dialog);

HICON Icon(const CDialog& dialog, bool big);  // as last set by SetIcon

struct DrawnIcon {
    HDC hdc;
    int x;
    int y;
    HICON icon;
    bool operator==(const DrawnIcon&) const = default;
};
std::vector<DrawnIcon> DrawnIcons(const CDialog& dialog);  // CPaintDC::DrawIcon calls

struct SentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const SentMessage&) const = default;
};
std::vector<SentMessage> SentMessages(const CDialog& dialog);  // SendMessage calls

int DefaultPaints(const CDialog& dialog);  // times the default OnPaint ran

// Readable test failure messages.
std::ostream& operator<<(std::ostream& out, const ShownBox& box);
std::ostream& operator<<(std::ostream& out, const Timer& timer);
std::ostream& operator<<(std::ostream& out, const MenuItem& item);
std::ostream& operator<<(std::ostream& out, const DrawnIcon& drawn);
std::ostream& operator<<(std::ostream& out, const SentMessage& sent);

}  // namespace headless
