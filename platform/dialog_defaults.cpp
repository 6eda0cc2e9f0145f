// The framework's default processing of the dialog events that every windowing backend handles
// alike; each backend adds the ones that touch its windows (system command, paint, drag icon).
#include "platform/framework.h"

BOOL CDialog::OnInitDialog() {
    return TRUE;  // the platform gives the first tab stop the focus
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClicked(int) {}

void CDialog::OnEditChange(int) {}

void CDialog::OnVScroll(UINT, UINT, int) {}

void CDialog::OnTimer(UINT_PTR) {}
