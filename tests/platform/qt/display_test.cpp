// Whether a window can open, decided before Qt (which would abort); no test application here.
#include "platform/qt/display.h"

#include "panel/resource.h"
#include "platform/framework.h"

#include <gtest/gtest.h>

namespace zarven::qt {
namespace {

// QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY, and whether a window can open; only ":0" opens.
TEST(DisplayAvailableTest, DecidesFromTheEnvironmentAndTheXServer) {
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {nullptr, nullptr, nullptr, false},      {nullptr, "", nullptr, false},
        {nullptr, ":0", nullptr, true},          {nullptr, ":42", nullptr, false},
        {nullptr, ":42", "wayland-0", true},     {"xcb", ":42", "wayland-0", false},
        {"xcb;offscreen", ":42", nullptr, true}, {"wayland", ":0", nullptr, false},
        {"offscreen", nullptr, nullptr, true}};
    for (const auto& [platform, display, wayland, available] : cases) {
        const auto onlyZeroOpens = [](const char* name) { return std::string(name) == ":0"; };
        EXPECT_EQ(DisplayAvailable(platform, display, wayland, onlyZeroOpens), available)
            << testing::PrintToString(std::tuple(platform, display, wayland));
    }
}

class ProbeApp final : public CWinApp {
public:
    BOOL InitInstance() override {
        modalResult = CDialog(IDD_CONTROL_PANEL).DoModal();
        return FALSE;
    }
    INT_PTR modalResult = 0;
};

// A real X connection attempt (nothing listens on :4242); the dialogs fail, said once.
TEST(AfxWinMainTest, AnUnreachableDisplayIsReportedOnceInsteadOfQtsAbort) {
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("WAYLAND_DISPLAY");
    setenv("DISPLAY", ":4242", 1);
    ASSERT_EQ(OpenXDisplay(":4242"), nullptr);
    ProbeApp app;
    char argv0[] = "/opt/zarven/bin/zarven-controls";
    char* argv[] = {argv0, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app.modalResult, -1);
    EXPECT_EQ(said.find("zarven-controls: cannot open a window: there is no display "
                        "(DISPLAY=:4242 cannot be opened).\n"),
              0u)
        << said;
    EXPECT_NE(said.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << said;
    EXPECT_EQ(said.find("no display"), said.rfind("no display")) << "said more than once";
}

}  // namespace
}  // namespace zarven::qt
