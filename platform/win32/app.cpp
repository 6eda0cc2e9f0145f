// CWinApp and the framework's start-up over the Windows module: the executable's name comes
// from its module file, strings and icons from its resources.
#include "platform/framework_common.h"

#include <string>

namespace {

// The full path of the running executable, however long.
std::string ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {  // not truncated
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

// The dialog manager draws 3-D controls for every program marked for Windows 4.0 or later,
// which MinGW-w64's linker does by default: there is nothing to switch on.
void CWinApp::Enable3dControls() {}

HICON CWinApp::LoadIcon(UINT id) const {
    return ::LoadIcon(::GetModuleHandle(nullptr), MAKEINTRESOURCE(id));
}

std::string AfxLoadString(UINT id) {
    // LoadString truncates to the buffer; a result that fills it may be longer.
    std::string text(256, '\0');
    for (;;) {
        const int length = ::LoadStringA(::GetModuleHandle(nullptr), id, text.data(),
                                         static_cast<int>(text.size()));
        if (length + 1 < static_cast<int>(text.size())) {
            text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

int AfxWinMain(int, char**) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    AfxNameApplication(*app, ModuleFileName());
    app->InitInstance();
    return 0;
}
