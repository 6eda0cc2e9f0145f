// CWinApp and the framework's start-up over Qt.
#include "platform/framework.h"
#include "platform/qt/display.h"
#include "platform/qt/icons.h"

#include <QApplication>

#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

CWinApp* currentApp = nullptr;

// The file name without directory and extension; from the running executable when argv[0]
// names none.
std::string ExecutableName(const char* argv0) {
    std::string name = std::filesystem::path(argv0 != nullptr ? argv0 : "").stem().string();
    if (name.empty()) {
        std::error_code error;
        name = std::filesystem::read_symlink("/proc/self/exe", error).stem().string();
    }
    return name;
}

}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_appName(appName != nullptr ? appName : "") {
    currentApp = this;
}

CWinApp::~CWinApp() {
    if (currentApp == this) {
        currentApp = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

void CWinApp::Enable3dControls() {
    // Qt's controls have their own look; nothing to switch on.
}

HICON CWinApp::LoadIcon(UINT id) const {
    return zarven::qt::LoadIconResource(id);
}

CWinApp* AfxGetApp() {
    return currentApp;
}

std::string AfxLoadString(UINT id) {
    const char* text = FindStringResource(id);
    return text != nullptr ? text : "";
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        std::cerr << "AfxWinMain: the program has no application object\n";
        return 1;
    }
    app->m_exeName = ExecutableName(argc > 0 && argv != nullptr ? argv[0] : nullptr);
    if (app->m_appName.empty()) {
        app->m_appName = app->m_exeName;
    }
    if (!zarven::qt::DisplayAvailableInEnvironment()) {
        // The program still starts; its dialogs cannot be created and say so by -1.
        zarven::qt::ReportNoDisplay(app->m_exeName);
        app->InitInstance();
        return 1;
    }
    QApplication application(argc, argv);
    // Dialogs run their own loops; a closing last window must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QString::fromStdString(app->m_appName));
    app->InitInstance();
    return 0;
}
