// The control panel: finds the tracker at start-up, shows and switches its options, and
// hosts the sensitivity bars and the axes readout.
#pragma once

#include "panel/PanelState.h"
#include "platform/framework.h"

class CHeadsetDlg : public CDialog {
public:
    CHeadsetDlg();

    const PanelState& State() const { return m_state; }

protected:
    BOOL OnInitDialog() override;
    void OnClicked(int id) override;
    void OnVScroll(UINT code, UINT pos, int barId) override;
    void OnTimer(UINT_PTR id) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;

private:
    void AppendAboutItem();
    void ShowTrackerStatus();
    void ToggleStereo();
    void TogglePowerSaver();
    void PaintMinimized();

    PanelState m_state;
    HICON m_hIcon;
};
