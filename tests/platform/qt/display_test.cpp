// Whether the program can open a window, decided before Qt tries (Qt would end the process),
// and what a run without one says. Runs without a test application: AfxWinMain makes its own.
#include "platform/qt/display.h"

#include "platform/framework.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace zarven::qt {
namespace {

struct Environment {
    const char* name;
    const char* qpaPlatform;
    const char* display;
    const char* waylandDisplay;
    bool available;
};

class DisplayAvailableTest : public ::testing::TestWithParam<Environment> {};

// Only ":0" opens here; every other X display is set but unreachable.
bool OnlyZeroOpens(const char* display) {
    return std::string(display) == ":0";
}

TEST_P(DisplayAvailableTest, DecidesFromTheEnvironmentAndTheXServer) {
    const Environment& environment = GetParam();
    EXPECT_EQ(DisplayAvailable(environment.qpaPlatform, environment.display,
                               environment.waylandDisplay, OnlyZeroOpens),
              environment.available);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayAvailableTest,
    ::testing::Values(Environment{"NothingSet", nullptr, nullptr, nullptr, false},
                      Environment{"EmptyDisplay", nullptr, "", nullptr, false},
                      Environment{"ReachableDisplay", nullptr, ":0", nullptr, true},
                      Environment{"UnreachableDisplay", nullptr, ":42", nullptr, false},
                      Environment{"UnreachableDisplayButWayland", nullptr, ":42", "wayland-0",
                                  true},
                      Environment{"XcbOnUnreachableDisplay", "xcb", ":42", "wayland-0", false},
                      Environment{"XcbThenOffscreen", "xcb;offscreen", ":42", nullptr, true},
                      Environment{"WaylandWithoutItsDisplay", "wayland", ":0", nullptr, false},
                      Environment{"OffscreenNeedsNothing", "offscreen", nullptr, nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A real X connection attempt: no server listens on display 4242 here.
TEST(AfxWinMainTest, AnUnreachableDisplayIsReportedInsteadOfQtsAbort) {
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("WAYLAND_DISPLAY");
    setenv("DISPLAY", ":4242", 1);
    ASSERT_EQ(OpenXDisplay(":4242"), nullptr);
    CWinApp app;
    char argv0[] = "zarven-controls";
    char* argv[] = {argv0, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("zarven-controls: cannot open a window: there is no display "
                        "(DISPLAY=:4242 cannot be opened)."),
              std::string::npos)
        << said;
}

}  // namespace
}  // namespace zarven::qt
