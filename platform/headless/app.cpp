// The application object, the framework's start-up and resource loading.
#include "platform/headless/handles.h"
#include "platform/headless/session.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// Live application objects in construction order. A function-local static, so that a static
// application object constructed before main finds it ready.
std::vector<CWinApp*>& LiveApps() {
    static std::vector<CWinApp*> apps;
    return apps;
}

// "C:\dir\prog.exe" or "/usr/bin/prog" -> "prog": the file name without directory and
// extension. A leading dot starts a name, not an extension.
std::string ExecutableName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot != 0) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_appName(appName != nullptr ? appName : "") {
    LiveApps().push_back(this);
}

CWinApp::~CWinApp() {
    auto& apps = LiveApps();
    apps.erase(std::remove(apps.begin(), apps.end(), this), apps.end());
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

void CWinApp::Enable3dControls() {
    headless::detail::TheSession().threeDControls = true;
}

HICON CWinApp::LoadIcon(UINT id) const {
    return FindIconResource(id) != nullptr ? headless::detail::IconHandle(id) : nullptr;
}

CWinApp* AfxGetApp() {
    const auto& apps = LiveApps();
    return apps.empty() ? nullptr : apps.back();
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    app->m_exeName =
        ExecutableName(argc > 0 && argv != nullptr && argv[0] != nullptr ? argv[0] : "");
    if (app->m_appName.empty()) {
        app->m_appName = app->m_exeName;
    }
    app->InitInstance();
    return 0;
}

std::string AfxLoadString(UINT id) {
    const char* text = FindStringResource(id);
    return text != nullptr ? text : "";
}
