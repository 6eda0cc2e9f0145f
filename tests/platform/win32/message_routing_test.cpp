#include "platform/win32/message_routing.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using namespace zarven::win32;

TEST(MessageRoutingTest, CommandsBecomeTheirEvents) {
    const std::tuple<int, unsigned, CommandEvent> cases[] = {
        {IDOK, 0, CommandEvent::Ok},        {IDCANCEL, 0, CommandEvent::Cancel},
        {1000, 0, CommandEvent::Clicked},   {1014, 0x0300, CommandEvent::EditChange},
        {1014, 0x0100, CommandEvent::None},  // the edit box got the focus: nothing
        {1000, 5, CommandEvent::None},      {IDOK, 0x0300, CommandEvent::EditChange}};
    for (const auto& [id, notifyCode, event] : cases) {
        EXPECT_EQ(RouteCommand(id, notifyCode), event) << id << " " << notifyCode;
    }
}

TEST(MessageRoutingTest, ScrollSplitsCodeAndPosition) {
    const std::tuple<WPARAM, UINT, UINT> cases[] = {{SB_LINEDOWN, SB_LINEDOWN, 0},
                                                    {0x03FF0005u, SB_THUMBTRACK, 1023},
                                                    {0xFFFF0004u, SB_THUMBPOSITION, 0xFFFF}};
    for (const auto& [wParam, code, position] : cases) {
        EXPECT_EQ(DecodeScroll(wParam).code, code) << wParam;
        EXPECT_EQ(DecodeScroll(wParam).position, position) << wParam;
    }
}

TEST(MessageRoutingTest, CentresInsideTheBounds) {
    constexpr RECT kScreen{0, 0, 1024, 768}, kFar{2147483000, 0, 2147483600, 100};
    const struct {
        RECT window, area, bounds;
        LONG x, y;
    } cases[] = {
        {{0, 0, 372, 308}, kScreen, kScreen, 326, 230},
        {{0, 0, 100, 50}, {200, 100, 600, 400}, kScreen, 350, 225},  // over the owner
        {{0, 0, 400, 300}, {800, 0, 1024, 200}, kScreen, 624, 0},    // owner at the edge
        {{0, 0, 2000, 1000}, kScreen, kScreen, 0, 0},                // larger than the screen
        {{0, 0, 200, 100}, {-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, -740, 462},
        {{0, 0, 100, 100}, kFar, kFar, 2147483250, 0},  // no overflow near the coordinate limit
    };
    for (const auto& c : cases) {
        const WindowOrigin origin = CenteredOrigin(c.window, c.area, c.bounds);
        EXPECT_EQ(origin.x, c.x) << c.area.left;
        EXPECT_EQ(origin.y, c.y) << c.area.left;
    }
}

}  // namespace
