// The about box: the program's name, version and notice, from its template.
#pragma once

#include "panel/resource.h"
#include "platform/framework.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CDialog* parent) : CDialog(IDD_ABOUTBOX, parent) {}
};
