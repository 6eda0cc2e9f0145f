// The framework's start-up: naming the program, with and without a display. Runs without a
// test application: AfxWinMain makes its own.
#include "panel/resource.h"
#include "platform/framework.h"
#include "platform/qt/display.h"

#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

namespace zarven::qt::test {
namespace {

struct Environment {
    const char* qpa;
    const char* display;
    const char* wayland;
};

TEST(DisplayTest, DecidesFromTheEnvironmentWhetherQtCanStart) {
    const std::pair<Environment, bool> cases[] = {
        {{nullptr, nullptr, nullptr}, false},    {{nullptr, ":0", nullptr}, true},
        {{"offscreen", nullptr, nullptr}, true}, {{"vnc:size=800x600", nullptr, nullptr}, true},
        {{"xcb", nullptr, nullptr}, false},  // Qt would abort
        {{"wayland", ":0", nullptr}, false},     {{"wayland-egl;xcb:nograb", ":0", nullptr}, true},
    };
    for (const auto& [env, available] : cases) {
        EXPECT_EQ(DisplayAvailable(env.qpa, env.display, env.wayland), available)
            << (env.qpa ? env.qpa : "-") << " " << (env.display ? env.display : "-") << " "
            << (env.wayland ? env.wayland : "-");
    }
}

void SetEnvironment(const Environment& environment) {
    const std::pair<const char*, const char*> variables[] = {
        {"QT_QPA_PLATFORM", environment.qpa},
        {"DISPLAY", environment.display},
        {"WAYLAND_DISPLAY", environment.wayland}};
    for (const auto& [name, value] : variables) {
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
}

// A panel that closes itself with OK as soon as it is initialised.
class SelfClosingPanel final : public CDialog {
public:
    SelfClosingPanel() : CDialog(IDD_CONTROL_PANEL) {}

protected:
    BOOL OnInitDialog() override {
        EndDialog(IDOK);
        return TRUE;
    }
};

class ProbeApp final : public CWinApp {
public:
    using CWinApp::CWinApp;
    BOOL InitInstance() override {
        modalResult = SelfClosingPanel().DoModal();
        return FALSE;
    }
    INT_PTR modalResult = 0;
};

int RunAfxWinMain(std::string argv0) {
    char* argv[] = {argv0.data(), nullptr};
    return AfxWinMain(1, argv);
}

TEST(AfxWinMainTest, WithoutADisplaySaysSoOnceAndFails) {
    SetEnvironment({nullptr, nullptr, nullptr});
    ProbeApp app;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunAfxWinMain("/opt/zarven/bin/zarven-controls.bin"), 1);
    EXPECT_EQ(RunAfxWinMain("/opt/zarven/bin/zarven-controls.bin"), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app.modalResult, -1);
    EXPECT_EQ(app.m_exeName, "zarven-controls");
    EXPECT_EQ(app.m_appName, "zarven-controls");
    EXPECT_NE(said.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << said;
    EXPECT_NE(said.find("Xvfb"), std::string::npos) << said;
    EXPECT_EQ(said.find("no display"), said.rfind("no display")) << "said more than once";
}

TEST(AfxWinMainTest, WithADisplayRunsTheDialogsInsideItsApplication) {
    SetEnvironment({"offscreen", nullptr, nullptr});
    ProbeApp app("Given Name");
    EXPECT_EQ(RunAfxWinMain("./build.dir/zarven-controls"), 0);
    EXPECT_EQ(app.modalResult, IDOK);
    EXPECT_EQ(app.m_exeName, "zarven-controls");
    EXPECT_EQ(app.m_appName, "Given Name");
    EXPECT_EQ(QCoreApplication::instance(), nullptr);  // gone with AfxWinMain
}

}  // namespace
}  // namespace zarven::qt::test
