// Start-up without a display. Runs without a test application: AfxWinMain makes its own.
#include "panel/resource.h"
#include "platform/framework.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class ProbeApp final : public CWinApp {
public:
    BOOL InitInstance() override {
        modalResult = CDialog(IDD_CONTROL_PANEL).DoModal();
        return FALSE;
    }
    INT_PTR modalResult = 0;
};

TEST(AfxWinMainTest, WithoutADisplaySaysSoOnceAndFails) {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        unsetenv(variable);
    }
    ProbeApp app;
    char argv0[] = "/opt/zarven/bin/zarven-controls";
    char* argv[] = {argv0, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app.modalResult, -1);
    EXPECT_NE(said.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << said;
    EXPECT_EQ(said.find("no display"), said.rfind("no display")) << "said more than once";
}

}  // namespace
