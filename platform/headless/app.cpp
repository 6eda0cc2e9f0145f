// The application object, the framework's start-up and resource loading.
#include "platform/framework_common.h"
#include "platform/headless/handles.h"
#include "platform/headless/session.h"

void CWinApp::Enable3dControls() {
    headless::detail::TheSession().threeDControls = true;
}

HICON CWinApp::LoadIcon(UINT id) const {
    return FindIconResource(id) != nullptr ? headless::detail::IconHandle(id) : nullptr;
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    AfxNameApplication(*app, argc > 0 && argv != nullptr && argv[0] != nullptr ? argv[0] : "");
    app->InitInstance();
    return 0;
}

std::string AfxLoadString(UINT id) {
    const char* text = FindStringResource(id);
    return text != nullptr ? text : "";
}
