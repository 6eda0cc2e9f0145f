#include "panel/HeadsetDlg.h"

#include "panel/AboutDlg.h"
#include "panel/AxesReadout.h"
#include "panel/SensitivityBars.h"
#include "panel/resource.h"
#include "tracker/TrackerLink.h"

#include <string>

CHeadsetDlg::CHeadsetDlg() : CDialog(IDD_CONTROL_PANEL) {
    const CWinApp* app = AfxGetApp();
    m_hIcon = app != nullptr ? app->LoadIcon(IDI_PANEL) : nullptr;
}

BOOL CHeadsetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AppendAboutItem();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_state.selectedSlot = FindTrackerSlot();
    ShowTrackerStatus();
    StartSensitivityBars(*this, m_state);
    StartAxesReadout(*this, m_state);
    m_state.readoutReady = true;
    return TRUE;  // the platform gives the default control the focus
}

void CHeadsetDlg::AppendAboutItem() {
    const std::string about = AfxLoadString(IDS_ABOUT_MENU);
    CMenu* systemMenu = GetSystemMenu(FALSE);
    if (about.empty() || systemMenu == nullptr) {
        return;
    }
    systemMenu->AppendMenu(MF_SEPARATOR);
    systemMenu->AppendMenu(MF_STRING, IDM_ABOUT, about.c_str());
}

// A failed status query yields an error code, not a status word: the options then start off.
void CHeadsetDlg::ShowTrackerStatus() {
    MMRESULT failure = JOYERR_NOERROR;
    const TrackerStatus status = QueryTrackerStatus(m_state.selectedSlot, &failure);
    const TrackerStatus options = failure == JOYERR_NOERROR ? status : 0;
    m_state.stereoOn = (options & kStereoBit) != 0 ? 1 : 0;
    m_state.powerSaverOn = (options & kPowerSaverBit) != 0 ? 1 : 0;
    CheckDlgButton(IDC_STEREO_MODE, static_cast<UINT>(m_state.stereoOn));
    CheckDlgButton(IDC_POWER_SAVER, static_cast<UINT>(m_state.powerSaverOn));
}

void CHeadsetDlg::OnClicked(int id) {
    switch (id) {
        case IDC_STEREO_MODE:
            ToggleStereo();
            break;
        case IDC_POWER_SAVER:
            TogglePowerSaver();
            break;
        case IDC_SET_ZERO:
            SendTrackerCommand(m_state.selectedSlot, TrackerCommand::Zero);
            break;
        default:
            CDialog::OnClicked(id);
            break;
    }
}

// The check box has already toggled itself; the state and the tracker follow it.
void CHeadsetDlg::ToggleStereo() {
    m_state.stereoOn = m_state.stereoOn == 1 ? 0 : 1;
    SendTrackerCommand(m_state.selectedSlot, m_state.stereoOn == 1 ? TrackerCommand::StereoOn
                                                                   : TrackerCommand::StereoOff);
}

void CHeadsetDlg::TogglePowerSaver() {
    m_state.powerSaverOn = m_state.powerSaverOn == 1 ? 0 : 1;
    SendTrackerCommand(m_state.selectedSlot, m_state.powerSaverOn == 1
                                                 ? TrackerCommand::PowerSaverOn
                                                 : TrackerCommand::PowerSaverOff);
}

void CHeadsetDlg::OnVScroll(UINT code, UINT pos, int barId) {
    CDialog::OnVScroll(code, pos, barId);
    OnSensitivityScroll(*this, m_state, code, barId);
}

// Every timer the panel receives polls the readout, whatever its id.
void CHeadsetDlg::OnTimer(UINT_PTR id) {
    if (m_state.readoutReady) {
        RefreshAxesReadout(*this, m_state);
    }
    CDialog::OnTimer(id);
}

void CHeadsetDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUT) {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void CHeadsetDlg::OnPaint() {
    if (IsIconic()) {
        PaintMinimized();
        return;
    }
    CDialog::OnPaint();
}

// Draws the icon centred in the client area of the minimized panel.
void CHeadsetDlg::PaintMinimized() {
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CHeadsetDlg::OnQueryDragIcon() {
    return m_hIcon;
}
