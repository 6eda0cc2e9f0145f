// The backend's way into a dialog's protected event handlers (CDialog befriends it).
#pragma once

#include "platform/framework.h"

struct AfxDialogEvents {
    static BOOL InitDialog(CDialog& dialog) { return dialog.OnInitDialog(); }

    // A command from a push button, a check box or a dialog key: OK and Cancel have their own
    // handlers, everything else is a click.
    static void Command(CDialog& dialog, int id) {
        if (id == IDOK) {
            dialog.OnOK();
        } else if (id == IDCANCEL) {
            dialog.OnCancel();
        } else {
            dialog.OnClicked(id);
        }
    }

    static void EditChange(CDialog& dialog, int id) { dialog.OnEditChange(id); }
    static void VScroll(CDialog& dialog, UINT code, UINT pos, int barId) {
        dialog.OnVScroll(code, pos, barId);
    }
    static void Timer(CDialog& dialog, UINT_PTR id) { dialog.OnTimer(id); }
    static void SysCommand(CDialog& dialog, UINT id) { dialog.OnSysCommand(id, 0); }
    static void Paint(CDialog& dialog) { dialog.OnPaint(); }
};
