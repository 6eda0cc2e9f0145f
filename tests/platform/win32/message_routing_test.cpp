#include "platform/win32/message_routing.h"

#include <gtest/gtest.h>

namespace {

using zarven::win32::CenteredOrigin;
using zarven::win32::CommandEvent;
using zarven::win32::DecodeScroll;
using zarven::win32::RouteCommand;

struct CommandCase {
    int id;
    unsigned notifyCode;
    CommandEvent event;
};

class RouteCommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(RouteCommandTest, GivesTheEvent) {
    EXPECT_EQ(RouteCommand(GetParam().id, GetParam().notifyCode), GetParam().event);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RouteCommandTest,
    testing::Values(CommandCase{IDOK, 0, CommandEvent::Ok},          // OK button or Enter
                    CommandCase{IDCANCEL, 0, CommandEvent::Cancel},  // Escape, close box
                    CommandCase{1000, 0, CommandEvent::Clicked},
                    CommandCase{1014, 0x0300, CommandEvent::EditChange},
                    CommandCase{1014, 0x0100, CommandEvent::None},  // edit box got the focus
                    CommandCase{1000, 5, CommandEvent::None},       // double click
                    CommandCase{IDOK, 0x0300, CommandEvent::EditChange}));

struct ScrollCase {
    WPARAM wParam;
    UINT code;
    UINT position;
};

class DecodeScrollTest : public testing::TestWithParam<ScrollCase> {};

TEST_P(DecodeScrollTest, SplitsCodeAndPosition) {
    const auto scroll = DecodeScroll(GetParam().wParam);
    EXPECT_EQ(scroll.code, GetParam().code);
    EXPECT_EQ(scroll.position, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Notifications, DecodeScrollTest,
                         testing::Values(ScrollCase{SB_LINEDOWN, SB_LINEDOWN, 0},
                                         ScrollCase{0x03FF0005u, SB_THUMBTRACK, 1023},
                                         ScrollCase{0xFFFF0004u, SB_THUMBPOSITION, 0xFFFF},
                                         ScrollCase{0x00000008u, SB_ENDSCROLL, 0}));

struct CentreCase {
    const char* name;
    RECT window;
    RECT area;
    RECT bounds;
    LONG x;
    LONG y;
};

class CenteredOriginTest : public testing::TestWithParam<CentreCase> {};

TEST_P(CenteredOriginTest, PlacesTheWindow) {
    const CentreCase& c = GetParam();
    const auto origin = CenteredOrigin(c.window, c.area, c.bounds);
    EXPECT_EQ(origin.x, c.x);
    EXPECT_EQ(origin.y, c.y);
}

constexpr RECT kScreen{0, 0, 1024, 768};

INSTANTIATE_TEST_SUITE_P(
    Placements, CenteredOriginTest,
    testing::Values(
        CentreCase{"OnTheScreen", {0, 0, 372, 308}, kScreen, kScreen, 326, 230},
        CentreCase{"OverTheOwner", {0, 0, 100, 50}, {200, 100, 600, 400}, kScreen, 350, 225},
        CentreCase{"OwnerAtTheRightEdge", {0, 0, 400, 300}, {800, 0, 1024, 200}, kScreen, 624, 0},
        CentreCase{"LargerThanTheScreen", {0, 0, 2000, 1000}, kScreen, kScreen, 0, 0},
        CentreCase{"ScreenLeftOfTheOrigin",
                   {0, 0, 200, 100},
                   {-1280, 0, 0, 1024},
                   {-1280, 0, 0, 1024},
                   -740,
                   462},
        CentreCase{"NearTheCoordinateLimit",
                   {0, 0, 100, 100},
                   {2147483000, 0, 2147483600, 100},
                   {2147483000, 0, 2147483600, 100},
                   2147483250,
                   0}),
    [](const testing::TestParamInfo<CentreCase>& info) { return info.param.name; });

}  // namespace
