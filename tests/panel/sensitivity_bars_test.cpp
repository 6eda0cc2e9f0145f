// The "Headset Sensitivity" group: start-up from the stored record, each notification
// rewriting the record and notifying the driver, and the degrees shown.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tracker/TrackerLink.h"

#include <cstring>

namespace {

const JOYREGHWCONFIG kSeeded = ConfigWithMinimums(512, 853, 853);  // 1023, 341, 341

class Sensitivity : public PanelTest {
protected:
    void StartWith(const JOYREGHWCONFIG& config) {
        m_machine.Add({.slot = 0, .config = config}).Start();
    }

    static std::size_t ConfigChangedMessages() {
        std::size_t count = 0;
        for (const emulated::DriverMessage& m : emulated::DriverMessages()) {
            count += m.driver == "msjstick" && m.message == JDD_CONFIGCHANGED && m.lParam1 == 0 &&
                     m.lParam2 == 0;
        }
        return count;
    }
};

TEST_F(Sensitivity, StartsFromTheStoredRecord) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    headless::PressEscape();
    panel.DoModal();

    const int bars[] = {IDC_YAW_BAR, IDC_PITCH_BAR, IDC_ROLL_BAR};
    const int boxes[] = {IDC_YAW_VALUE, IDC_PITCH_VALUE, IDC_ROLL_VALUE};
    const char* texts[] = {"179", "59", "59"};
    const int positions[] = {1023, 341, 341};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(headless::Range(panel, bars[i]), std::make_pair(0, 2047));
        EXPECT_EQ(headless::ThumbPos(panel, bars[i]), positions[i]);
        EXPECT_EQ(headless::Text(panel, boxes[i]), texts[i]);
    }
    EXPECT_EQ(panel.State().rollPosition, 341);
    EXPECT_TRUE(emulated::DriverMessages().empty());  // start-up writes nothing
}

struct ShownCase {
    const char* name;
    DWORD storedMin;
    int thumb;  // where the platform shows the position
    const char* atStart;
    const char* afterNotification;
};

class DegreesShown : public Sensitivity, public ::testing::WithParamInterface<ShownCase> {};

// An end-of-scroll notification keeps the position, so only the text rule differs.
TEST_P(DegreesShown, AtStartAndAfterANotification) {
    StartWith(ConfigWithMinimums(GetParam().storedMin, 853, 853));
    CHeadsetDlg panel;
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(headless::ThumbPos(dlg, IDC_YAW_BAR), GetParam().thumb);
        EXPECT_EQ(headless::Text(dlg, IDC_YAW_VALUE), GetParam().atStart);
    });
    headless::Scroll(IDC_YAW_BAR, SB_ENDSCROLL);
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), GetParam().afterNotification);
}

INSTANTIATE_TEST_SUITE_P(Positions, DegreesShown,
                         ::testing::Values(ShownCase{"P2047", 0, 2047, "359", "359"},
                                           ShownCase{"P7", 1020, 7, "1", "1"},
                                           ShownCase{"P5", 1021, 5, "0", "1"},
                                           ShownCase{"PMinus353", 1200, 0, "0", "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NotifyCase {
    const char* name;
    DWORD storedMinX;
    void (*user)();
    LONG position;
    std::size_t stores;  // records stored, each followed by a driver notification
    const char* text;
};

class Notifications : public Sensitivity, public ::testing::WithParamInterface<NotifyCase> {};

TEST_P(Notifications, MoveThePositionAndStoreEveryTime) {
    StartWith(ConfigWithMinimums(GetParam().storedMinX, 853, 853));
    CHeadsetDlg panel;
    ClearLogsNow();
    GetParam().user();
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().yawPosition, GetParam().position);
    EXPECT_EQ(headless::ThumbPos(panel, IDC_YAW_BAR), GetParam().position);
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), GetParam().text);
    EXPECT_EQ(ConfigChangedMessages(), GetParam().stores);
    const AxisRange range = PositionToRange(GetParam().position);
    const JOYRANGE stored = StoredConfig(0).value().hwv.jrvHardware;
    EXPECT_EQ(stored.jpMin.dwX, range.min);
    EXPECT_EQ(stored.jpMax.dwX, range.max);
    EXPECT_EQ(stored.jpCenter.dwX, 1024u);  // stored 1023: rewritten on the moved axis only
    EXPECT_EQ(stored.jpCenter.dwY, 1023u);
    EXPECT_EQ(stored.jpCenter.dwZ, 1023u);
}

INSTANTIATE_TEST_SUITE_P(
    Yaw, Notifications,
    ::testing::Values(NotifyCase{"ArrowDownIsLineThenEnd", 512,
                                 [] { headless::ArrowClick(IDC_YAW_BAR, false); }, 1024, 2, "180"},
                      NotifyCase{"LineDownAt2047StillStores", 0,
                                 [] { headless::ArrowClick(IDC_YAW_BAR, false); }, 2047, 2, "359"},
                      NotifyCase{"LineUpAtZeroStillStores", 1023,
                                 [] {
                                     headless::ArrowClick(IDC_YAW_BAR, true);
                                     headless::ArrowClick(IDC_YAW_BAR, true);
                                 },
                                 0, 4, "1"},
                      NotifyCase{"DragStoresEveryStep", 512,
                                 [] {
                                     headless::Drag(IDC_YAW_BAR, {600, 0});
                                 },
                                 0, 4, "1"},
                      NotifyCase{"OtherCodesKeepThePosition", 512,
                                 [] {
                                     for (UINT code : {2u, 3u, 6u, 7u, 8u, 9u}) {
                                         headless::Scroll(IDC_YAW_BAR, code);
                                     }
                                 },
                                 1023, 6, "179"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sensitivity, WritesOnlyTheMovedAxisAndKeepsEveryOtherByte) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {2047});
    headless::Drag(IDC_PITCH_BAR, {341});
    headless::PressEscape();
    panel.DoModal();

    JOYREGHWCONFIG expected = kSeeded;
    expected.hwv.jrvHardware.jpMin.dwX = 0;        // byte 12
    expected.hwv.jrvHardware.jpMax.dwX = 2047;     // byte 36
    expected.hwv.jrvHardware.jpCenter.dwX = 1024;  // byte 60
    expected.hwv.jrvHardware.jpMin.dwY = 853;
    expected.hwv.jrvHardware.jpMax.dwY = 1194;
    expected.hwv.jrvHardware.jpCenter.dwY = 1024;
    const std::optional<JOYREGHWCONFIG> stored = StoredConfig(0);
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::memcmp(&*stored, &expected, sizeof expected), 0);
}

TEST_F(Sensitivity, RollFromStoredMinimum1200) {
    StartWith(ConfigWithMinimums(512, 853, 1200));
    CHeadsetDlg panel;
    headless::Run([](CDialog& dlg) {
        EXPECT_EQ(headless::ThumbPos(dlg, IDC_ROLL_BAR), 0);  // clamped to the top
        EXPECT_EQ(headless::Text(dlg, IDC_ROLL_VALUE), "0");
    });
    headless::ArrowClick(IDC_ROLL_BAR, true);
    headless::Run([&panel](CDialog& dlg) {
        EXPECT_EQ(panel.State().rollPosition, -353);
        EXPECT_EQ(headless::Text(dlg, IDC_ROLL_VALUE), "1");
        EXPECT_EQ(StoredConfig(0)->hwv.jrvHardware.jpMin.dwZ, 1200u);
    });
    headless::ArrowClick(IDC_ROLL_BAR, false);
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(panel.State().rollPosition, -352);
}

TEST_F(Sensitivity, MissingDriverStoresThenShowsErrorPerNotification) {
    m_machine.Add({.slot = 0, .config = kSeeded}).WithoutDriver().Start();
    CHeadsetDlg panel;
    headless::ArrowClick(IDC_YAW_BAR, false);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(StoredConfig(0)->hwv.jrvHardware.jpMin.dwX, PositionToRange(1024).min);
    ASSERT_EQ(headless::Boxes().size(), 2u);
    for (const headless::ShownBox& box : headless::Boxes()) {
        EXPECT_EQ(box, (headless::ShownBox{"Error", "<MSJSTICK.DRV> Driver not loaded...", MB_OK,
                                           nullptr, IDOK}));
    }
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

// The driver is told only once the record is stored: while the "Error" box of the missing
// driver is open (where the notification failed), the new record is already there.
TEST_F(Sensitivity, RecordIsStoredBeforeTheDriverIsNotified) {
    m_machine.Add({.slot = 0, .config = kSeeded}).WithoutDriver().Start();
    RecordWatchingPanel panel;
    headless::Scroll(IDC_YAW_BAR, SB_THUMBTRACK, 2047);
    headless::AnswerBox(IDOK, 1);
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(panel.storedYawMinimums, std::vector<DWORD>{0});
}

struct UnwritableCase {
    const char* name;
    std::vector<TestSlot> slots;
    LONG pitchAtStart;
    const char* pitchText;
};

class Unwritable : public PanelTest, public ::testing::WithParamInterface<UnwritableCase> {};

// No tracker is found either way, so slot 0 is used: its record can be neither read nor written.
TEST_P(Unwritable, ShowsNothingAndChangesNothing) {
    for (const TestSlot& slot : GetParam().slots) {
        m_machine.Add(slot);
    }
    m_machine.Start();
    const std::string registryBefore = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(headless::Text(dlg, IDC_PITCH_VALUE), GetParam().pitchText);
    });
    headless::ArrowClick(IDC_PITCH_BAR, true);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().pitchPosition, GetParam().pitchAtStart - 1);
    EXPECT_EQ(headless::Boxes().size(), 1u);  // the "NO Tracker" notice only
    EXPECT_TRUE(emulated::DriverMessages().empty());
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registryBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Slot0, Unwritable,
    ::testing::Values(
        // Capabilities unreadable: the defaults, and an empty key name in every path.
        UnwritableCase{"NoDevice", {}, 341, "59"},
        // A device whose driver key has no CurrentJoystickSettings: a zero record, full range.
        UnwritableCase{"NoSettingsKey",
                       {{.slot = 0, .regKey = "OTHER.DRV", .registered = false}},
                       2047,
                       "359"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
