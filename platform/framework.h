// The windowing roles the program builds on: an application object and modal dialogs built
// from templates, with the events and control services the panel needs. Each windowing
// backend (qt/, headless/, win32/) implements these classes; callers cannot tell which.
#pragma once

#include "platform/dialog_template.h"
#include "platform/win32api.h"

#include <memory>
#include <string>

class CDialog;

// A window's menu; the panel only appends to its system menu.
class CMenu {
public:
    virtual ~CMenu() = default;
    virtual BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) = 0;
};

// The application object. Exactly one exists while the framework runs.
class CWinApp {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Instance initialisation; returning FALSE ends the program.
    virtual BOOL InitInstance();

    // Switches on the three-dimensional control look (appearance only).
    void Enable3dControls();
    HICON LoadIcon(UINT id) const;

    CDialog* m_pMainWnd = nullptr;
    std::string m_appName;  // given name, or the executable's file name without extension
    std::string m_exeName;  // the executable's file name without directory and extension
};

CWinApp* AfxGetApp();

// The framework's start-up: names the application after argv[0], runs InitInstance and
// returns the process exit code.
int AfxWinMain(int argc, char** argv);

// A string resource; empty when there is none.
std::string AfxLoadString(UINT id);

struct AfxDialogEvents;

// A dialog built from a template, run modally.
class CDialog {
public:
    explicit CDialog(UINT templateId, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog: IDOK (1), IDCANCEL (2), another EndDialog value, or -1 when the
    // dialog cannot be created.
    INT_PTR DoModal();
    void EndDialog(int result);
    HWND GetSafeHwnd() const;
    UINT GetTemplateId() const { return m_templateId; }

    // Controls by identifier.
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void SetDlgItemText(int id, LPCSTR text);
    std::string GetDlgItemText(int id) const;
    void SetScrollRange(int barId, int minPos, int maxPos, BOOL redraw = TRUE);
    int SetScrollPos(int barId, int pos, BOOL redraw = TRUE);  // returns the previous position
    int GetScrollPos(int barId) const;
    BOOL GetScrollInfo(int barId, LPSCROLLINFO info, UINT mask = SIF_ALL) const;

    // Timers tick on the user-interface thread; killing a missing timer is harmless.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);

    CMenu* GetSystemMenu(BOOL revert);
    HICON SetIcon(HICON icon, BOOL bigIcon);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    // Events; each base version is the framework's default processing.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClicked(int id);     // a push button or check box other than OK/Cancel
    virtual void OnEditChange(int id);  // the text of an edit box changed
    virtual void OnVScroll(UINT code, UINT pos, int barId);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnPaint();
    virtual HCURSOR OnQueryDragIcon();

private:
    friend struct AfxDialogEvents;
    friend class CPaintDC;
    struct Impl;  // the backend's window state

    UINT m_templateId;
    CDialog* m_parent;
    std::unique_ptr<Impl> m_impl;
};

// Paint context for a dialog's paint event.
class CPaintDC {
public:
    explicit CPaintDC(CDialog* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const;
    BOOL DrawIcon(int x, int y, HICON icon);

private:
    CDialog* m_wnd;
    HDC m_hdc;
};
