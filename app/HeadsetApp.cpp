#include "app/HeadsetApp.h"

#include "app/SettingsProfile.h"
#include "panel/HeadsetDlg.h"

BOOL CHeadsetApp::InitInstance() {
    Enable3dControls();

    CHeadsetDlg panel;
    m_pMainWnd = &panel;
    const INT_PTR result = panel.DoModal();
    m_pMainWnd = nullptr;
    if (result == IDOK) {
        WriteSettingsProfile(m_exeName, panel.State());
    }
    return FALSE;  // no message loop after the panel: the program ends
}
