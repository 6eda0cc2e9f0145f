// The backend's access to a CDialog: its window state and its protected event handlers.
#pragma once

#include "platform/headless/window_state.h"

struct CDialog::Impl : headless::detail::WindowState {
    using WindowState::WindowState;
};

struct AfxDialogEvents {
    static headless::detail::WindowState& State(CDialog& dialog) { return *dialog.m_impl; }
    static const headless::detail::WindowState& State(const CDialog& dialog) {
        return *dialog.m_impl;
    }

    static BOOL InitDialog(CDialog& dialog) { return dialog.OnInitDialog(); }
    static void OK(CDialog& dialog) { dialog.OnOK(); }
    static void Cancel(CDialog& dialog) { dialog.OnCancel(); }
    static void Clicked(CDialog& dialog, int id) { dialog.OnClicked(id); }
    static void EditChange(CDialog& dialog, int id) { dialog.OnEditChange(id); }
    static void VScroll(CDialog& dialog, UINT code, UINT pos, int barId) {
        dialog.OnVScroll(code, pos, barId);
    }
    static void Timer(CDialog& dialog, UINT_PTR id) { dialog.OnTimer(id); }
    static void SysCommand(CDialog& dialog, UINT id, LPARAM lParam) {
        dialog.OnSysCommand(id, lParam);
    }
    static void Paint(CDialog& dialog) { dialog.OnPaint(); }
    static HCURSOR QueryDragIcon(CDialog& dialog) { return dialog.OnQueryDragIcon(); }
};
