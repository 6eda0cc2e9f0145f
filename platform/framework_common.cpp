#include "platform/framework_common.h"

#include <algorithm>
#include <vector>

namespace {

// Live application objects in construction order. A function-local static, so that a static
// application object constructed before main finds it ready.
std::vector<CWinApp*>& LiveApps() {
    static std::vector<CWinApp*> apps;
    return apps;
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

CWinApp* AfxGetApp() {
    const auto& apps = LiveApps();
    return apps.empty() ? nullptr : apps.back();
}

std::string AfxExecutableName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot != 0) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

void AfxNameApplication(CWinApp& app, std::string_view executablePath) {
    app.m_exeName = AfxExecutableName(executablePath);
    if (app.m_appName.empty()) {
        app.m_appName = app.m_exeName;
    }
}

// ---- Default processing of the events every backend handles alike ----

BOOL CDialog::OnInitDialog() {
    return TRUE;  // the platform gives the first tab stop the focus
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnClicked(int) {}

void CDialog::OnEditChange(int) {}

void CDialog::OnVScroll(UINT, UINT, int) {}

void CDialog::OnTimer(UINT_PTR) {}
