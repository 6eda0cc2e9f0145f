// CWinApp and the framework's start-up over Qt.
#include "platform/framework_common.h"
#include "platform/qt/display.h"
#include "platform/qt/icons.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

// The path the program was started under; the running executable when argv[0] names none.
std::string ExecutablePath(const char* argv0) {
    if (argv0 != nullptr && AfxExecutableName(argv0) != "") {
        return argv0;
    }
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

}  // namespace

void CWinApp::Enable3dControls() {
    // Qt's controls have their own look; nothing to switch on.
}

HICON CWinApp::LoadIcon(UINT id) const {
    return zarven::qt::LoadIconResource(id);
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
    AfxNameApplication(*app, ExecutablePath(argc > 0 && argv != nullptr ? argv[0] : nullptr));
    zarven::qt::XConnection check;
    if (!zarven::qt::DisplayAvailableInEnvironment(check)) {
        // The program still starts; its dialogs cannot be created and say so by -1.
        zarven::qt::ReportNoDisplay(app->m_exeName, std::getenv("DISPLAY"));
        app->InitInstance();
        return 1;
    }
    QApplication application(argc, argv);
    // Qt holds its own connection now; closing the check's no longer leaves the server empty.
    check.reset();
    // Dialogs run their own loops; a closing last window must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QString::fromStdString(app->m_appName));
    app->InitInstance();
    return 0;
}
