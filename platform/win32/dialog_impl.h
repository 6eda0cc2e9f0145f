// The window state behind a CDialog while it runs: its handle, its system menu and the paint
// context of the paint event in progress.
#pragma once

#include "platform/framework.h"
#include "platform/win32/system_menu.h"

struct CDialog::Impl {
    HWND hwnd = nullptr;  // set at WM_INITDIALOG, cleared when the window is destroyed
    zarven::win32::WindowMenu systemMenu;
    PAINTSTRUCT paint{};
};
