// The application object: runs the control panel modally and, when it closes with OK, writes
// the settings profile.
#pragma once

#include "platform/framework.h"

class CHeadsetApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
