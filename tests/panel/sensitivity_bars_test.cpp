// The "Headset Sensitivity" bars: start-up from the record, each notification storing it.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tests/support/param_name.h"

#include <algorithm>
#include <cstring>

namespace {

const JOYREGHWCONFIG kSeeded = ConfigWithMinimums(512, 853, 853);  // 1023, 341, 341

std::size_t ConfigChangedMessages() {
    return std::ranges::count_if(emulated::DriverMessages(), [](const emulated::DriverMessage& m) {
        return m.driver == "msjstick" && m.message == JDD_CONFIGCHANGED && m.lParam1 == 0 &&
               m.lParam2 == 0;
    });
}

struct Bar {
    int id;
    int valueBox;
    DWORD JOYPOS::*axis;
    LONG PanelState::*position;
};
constexpr Bar kYaw{IDC_YAW_BAR, IDC_YAW_VALUE, &JOYPOS::dwX, &PanelState::yawPosition};
constexpr Bar kPitch{IDC_PITCH_BAR, IDC_PITCH_VALUE, &JOYPOS::dwY, &PanelState::pitchPosition};
constexpr Bar kRoll{IDC_ROLL_BAR, IDC_ROLL_VALUE, &JOYPOS::dwZ, &PanelState::rollPosition};

struct BarCase {
    const char* name;
    Bar bar;
    DWORD storedMin;  // the bar's axis minimum in the stored record; the others as kSeeded
    int thumbAtStart;
    const char* textAtStart;
    void (*user)(int bar);
    LONG position;  // afterwards; the thumb shows it clamped into 0..2047
    const char* text;
    std::size_t stores;              // records stored, each followed by one driver notification
    std::optional<DWORD> minStored;  // the bar's axis minimum in the record stored last
    std::optional<std::vector<TestSlot>> slots = {};  // instead of a tracker with it in slot 0
};

class SensitivityBar : public PanelTest, public ::testing::WithParamInterface<BarCase> {};

// Every notification from the bar stores the record, also one that does not move it.
TEST_P(SensitivityBar, MovesTheThumbShowsDegreesAndStoresTheRecord) {
    const BarCase& c = GetParam();
    JOYREGHWCONFIG config = kSeeded;
    config.hwv.jrvHardware.jpMin.*c.bar.axis = c.storedMin;
    for (const TestSlot& slot :
         c.slots.value_or(std::vector{TestSlot{.slot = 0, .config = config}})) {
        m_machine.Add(slot);
    }
    m_machine.Start();
    const std::string registry = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    headless::Run([&](CDialog& dlg) {
        EXPECT_EQ(headless::Range(dlg, c.bar.id), std::make_pair(0, 2047));
        EXPECT_EQ(headless::ThumbPos(dlg, c.bar.id), c.thumbAtStart);
        EXPECT_EQ(headless::Text(dlg, c.bar.valueBox), c.textAtStart);
        EXPECT_TRUE(emulated::DriverMessages().empty());
    });
    c.user(c.bar.id);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().*c.bar.position, c.position);
    EXPECT_EQ(headless::ThumbPos(panel, c.bar.id), std::clamp<LONG>(c.position, 0, 2047));
    EXPECT_EQ(headless::Text(panel, c.bar.valueBox), c.text);
    EXPECT_EQ(ConfigChangedMessages(), c.stores);
    if (c.minStored) {
        EXPECT_EQ(StoredConfig(0).value().hwv.jrvHardware.jpMin.*c.bar.axis, *c.minStored);
    } else {
        EXPECT_TRUE(emulated::DriverMessages().empty());
        EXPECT_EQ(m_machine.ReadFile("system.reg"), registry);
    }
}

const std::vector<TestSlot> kNoDevice;
const std::vector<TestSlot> kNoSettingsKey{{.slot = 0, .regKey = "OTHER.DRV", .registered = false}};

constexpr auto LineUp = [](int bar) { headless::ArrowClick(bar, true); };
constexpr auto LineDown = [](int bar) { headless::ArrowClick(bar, false); };
constexpr auto EndScroll = [](int bar) { headless::Scroll(bar, SB_ENDSCROLL); };

INSTANTIATE_TEST_SUITE_P(
    Bars, SensitivityBar,
    ::testing::Values(
        BarCase{"YawLineDown", kYaw, 512, 1023, "179", LineDown, 1024, "180", 2, 511},
        BarCase{"YawLineDownAt2047StillStores", kYaw, 0, 2047, "359", LineDown, 2047, "359", 2, 0},
        BarCase{"YawLineUpAt0StillStores", kYaw, 1023, 1, "0",
                [](int bar) {
                    LineUp(bar);
                    LineUp(bar);
                },
                0, "1", 4, 1023},
        // 5 is 0.88 degrees: "0" at start-up, but never less than "1" after a notification.
        BarCase{"Yaw5ShowsOneDegreeOnceNotified", kYaw, 1021, 5, "0", EndScroll, 5, "1", 1, 1021},
        BarCase{"YawDragStoresEveryStep", kYaw, 512, 1023, "179",
                [](int bar) {
                    headless::Drag(bar, {600, 0});
                },
                0, "1", 4, 1023},
        BarCase{"YawThumbReleasedWhereItWasTracked", kYaw, 512, 1023, "179",
                [](int bar) { headless::Scroll(bar, SB_THUMBPOSITION, 1500); }, 1500, "263", 1,
                273},
        BarCase{"YawOtherCodesKeepThePosition", kYaw, 512, 1023, "179",
                [](int bar) {
                    for (UINT code : {2u, 3u, 6u, 7u, 8u, 9u}) {
                        headless::Scroll(bar, code);
                    }
                },
                1023, "179", 6, 512},
        // A stored minimum of 1200 is position -353: the thumb stands at the top end.
        BarCase{"RollBelowTheBarLineUpStays", kRoll, 1200, 0, "0", LineUp, -353, "1", 2, 1200},
        BarCase{"RollBelowTheBarLineDown", kRoll, 1200, 0, "0", LineDown, -352, "1", 2, 1199},
        // No tracker is found, so slot 0 is used: its record can be neither read nor written.
        // Without capabilities the bars start from defaults, with an empty driver key name.
        BarCase{"PitchWithoutDevice", kPitch, 0, 341, "59", LineUp, 340, "59", 0, std::nullopt,
                kNoDevice},
        // A driver key without CurrentJoystickSettings: a zero record, the full range.
        BarCase{"PitchWithoutSettingsKey", kPitch, 0, 2047, "359", LineUp, 2046, "359", 0,
                std::nullopt, kNoSettingsKey}),
    kByName);

class Sensitivity : public PanelTest {};

TEST_F(Sensitivity, WritesOnlyTheMovedAxisAndKeepsEveryOtherByte) {
    m_machine.Add({.slot = 0, .config = kSeeded}).Start();
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {2047});
    headless::Drag(IDC_PITCH_BAR, {341});
    headless::PressEscape();
    panel.DoModal();

    JOYREGHWCONFIG expected = kSeeded;
    JOYRANGE& range = expected.hwv.jrvHardware;
    range.jpMin.dwX = 0;  // bytes 12, 36 and 60
    range.jpMax.dwX = 2047;
    range.jpMax.dwY = 1194;
    range.jpCenter.dwX = range.jpCenter.dwY = 1024;
    const std::optional<JOYREGHWCONFIG> stored = StoredConfig(0);
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::memcmp(&*stored, &expected, sizeof expected), 0);
}

// A panel that looks at the stored record on every timer tick.
class RecordWatchingPanel : public CHeadsetDlg {
public:
    std::vector<DWORD> storedYawMinimums;  // jpMin.dwX as stored, at each tick

protected:
    void OnTimer(UINT_PTR id) override {
        storedYawMinimums.push_back(StoredConfig(0)->hwv.jrvHardware.jpMin.dwX);
        CHeadsetDlg::OnTimer(id);
    }
};

// The driver is told once the record is stored: the first "Error" box's tick sees it stored.
TEST_F(Sensitivity, MissingDriverStoresThenShowsErrorPerNotification) {
    m_machine.Add({.slot = 0, .config = kSeeded}).WithoutDriver().Start();
    RecordWatchingPanel panel;
    ClearLogsNow();
    headless::ArrowClick(IDC_YAW_BAR, false);
    headless::AnswerBox(IDOK, 1);
    headless::AnswerBox(IDOK);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.storedYawMinimums, std::vector<DWORD>{511});
    EXPECT_EQ(QueryFlags(), std::vector<DWORD>{JOY_RETURNALL});
    EXPECT_TRUE(emulated::DriverMessages().empty());
    ASSERT_EQ(headless::Boxes().size(), 2u);
    for (const headless::ShownBox& box : headless::Boxes()) {
        EXPECT_EQ(box, (headless::ShownBox{"Error", "<MSJSTICK.DRV> Driver not loaded...", MB_OK,
                                           nullptr, IDOK}));
    }
}

}  // namespace
