// The "Headset Sensitivity" group: start-up from the stored record, each notification
// rewriting the record and notifying the driver, and the degrees shown.
#include "panel/resource.h"
#include "tests/panel/panel_fixture.h"
#include "tracker/TrackerLink.h"

#include <cstring>
#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

const JOYREGHWCONFIG kSeeded = ConfigWithMinimums(512, 853, 853);  // 1023, 341, 341

class Sensitivity : public PanelTest {
protected:
    void StartWith(const JOYREGHWCONFIG& config, bool driver = true) {
        m_machine.Add({.slot = 0, .config = config});
        if (!driver) {
            m_machine.WithoutDriver();
        }
        m_machine.Start();
    }

    static std::size_t ConfigChangedMessages() {
        std::size_t count = 0;
        for (const emulated::DriverMessage& m : emulated::DriverMessages()) {
            count += m.message == JDD_CONFIGCHANGED && m.lParam1 == 0 && m.lParam2 == 0 ? 1 : 0;
        }
        return count;
    }
};

TEST_F(Sensitivity, StartsFromTheStoredRecord) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().yawPosition, 1023);
    EXPECT_EQ(panel.State().pitchPosition, 341);
    EXPECT_EQ(panel.State().rollPosition, 341);
    for (int bar : {IDC_YAW_BAR, IDC_PITCH_BAR, IDC_ROLL_BAR}) {
        EXPECT_EQ(headless::Range(panel, bar), std::make_pair(0, 2047));
    }
    EXPECT_EQ(headless::ThumbPos(panel, IDC_YAW_BAR), 1023);
    EXPECT_EQ(headless::ThumbPos(panel, IDC_PITCH_BAR), 341);
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), "179");
    EXPECT_EQ(headless::Text(panel, IDC_PITCH_VALUE), "59");
    EXPECT_EQ(headless::Text(panel, IDC_ROLL_VALUE), "59");
    EXPECT_TRUE(emulated::DriverMessages().empty());  // start-up writes nothing
}

struct ShownCase {
    const char* name;
    DWORD storedMin;
    const char* atStart;
    const char* afterNotification;
};

class DegreesShown : public Sensitivity, public ::testing::WithParamInterface<ShownCase> {};

// An end-of-scroll notification keeps the position, so only the text rule differs.
TEST_P(DegreesShown, AtStartAndAfterANotification) {
    StartWith(ConfigWithMinimums(GetParam().storedMin, 853, 853));
    CHeadsetDlg panel;
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(headless::Text(dlg, IDC_YAW_VALUE), GetParam().atStart);
    });
    headless::Scroll(IDC_YAW_BAR, SB_ENDSCROLL);
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), GetParam().afterNotification);
}

INSTANTIATE_TEST_SUITE_P(Positions, DegreesShown,
                         ::testing::Values(ShownCase{"P2047", 0, "359", "359"},
                                           ShownCase{"P1023", 512, "179", "179"},
                                           ShownCase{"P7", 1020, "1", "1"},
                                           ShownCase{"P5", 1021, "0", "1"},
                                           ShownCase{"PMinus353", 1200, "0", "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sensitivity, DraggingToZeroShowsOne) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {0});
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(panel.State().yawPosition, 0);
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), "1");
}

TEST_F(Sensitivity, Yaw2047ChangesExactlyBytes12_36_60) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {2047});
    headless::PressEscape();
    panel.DoModal();

    const std::optional<JOYREGHWCONFIG> stored = StoredConfig(0);
    ASSERT_TRUE(stored);
    JOYREGHWCONFIG expected = kSeeded;
    expected.hwv.jrvHardware.jpMin.dwX = 0;
    expected.hwv.jrvHardware.jpMax.dwX = 2047;
    expected.hwv.jrvHardware.jpCenter.dwX = 1024;
    EXPECT_EQ(std::memcmp(&*stored, &expected, sizeof expected), 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&*stored);
    EXPECT_EQ(bytes[12], 0);
    EXPECT_EQ(bytes[36] | bytes[37] << 8, 2047);
    EXPECT_EQ(bytes[60] | bytes[61] << 8, 1024);
    EXPECT_EQ(headless::ThumbPos(panel, IDC_YAW_BAR), 2047);
    EXPECT_EQ(headless::Text(panel, IDC_YAW_VALUE), "359");
}

TEST_F(Sensitivity, DraggingPitchStoresEveryStep) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::Drag(IDC_PITCH_BAR, {600, 341});  // 5, 5, 4, 8
    headless::PressEscape();
    panel.DoModal();

    const std::optional<JOYREGHWCONFIG> stored = StoredConfig(0);
    ASSERT_TRUE(stored);
    const JOYRANGE& r = stored->hwv.jrvHardware;
    EXPECT_EQ(r.jpMin.dwY, 853u);
    EXPECT_EQ(r.jpMax.dwY, 1194u);
    EXPECT_EQ(r.jpCenter.dwY, 1024u);
    EXPECT_EQ(ConfigChangedMessages(), 4u);
    EXPECT_EQ(emulated::DriverMessages()[0].driver, "msjstick");
    EXPECT_EQ(panel.State().pitchPosition, 341);
    EXPECT_EQ(headless::ThumbPos(panel, IDC_PITCH_BAR), 341);
}

TEST_F(Sensitivity, ArrowClickStoresTwiceAndLineUpAtZeroStillStores) {
    StartWith(ConfigWithMinimums(1023, 853, 853));  // yaw 1
    CHeadsetDlg panel;
    ClearLogsNow();
    headless::ArrowClick(IDC_YAW_BAR, true);  // 1 -> 0
    headless::Run([](CDialog&) { EXPECT_EQ(ConfigChangedMessages(), 2u); });
    headless::ArrowClick(IDC_YAW_BAR, true);  // stays 0
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().yawPosition, 0);
    EXPECT_EQ(ConfigChangedMessages(), 4u);
    EXPECT_EQ(StoredConfig(0)->hwv.jrvHardware.jpMin.dwX, 1023u);
    EXPECT_EQ(StoredConfig(0)->hwv.jrvHardware.jpMax.dwX, 1023u);
}

TEST_F(Sensitivity, PageTopBottomAndOtherCodesLeaveThePositionButStillStore) {
    StartWith(kSeeded);
    CHeadsetDlg panel;
    ClearLogsNow();
    for (int code : {SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM, SB_ENDSCROLL, 9}) {
        headless::Scroll(IDC_ROLL_BAR, static_cast<UINT>(code));
    }
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(panel.State().rollPosition, 341);
    EXPECT_EQ(ConfigChangedMessages(), 6u);
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
    StartWith(kSeeded, /*driver=*/false);
    CHeadsetDlg panel;
    headless::ArrowClick(IDC_YAW_BAR, false);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(StoredConfig(0)->hwv.jrvHardware.jpMin.dwX, PositionToRange(1024).min);
    ASSERT_EQ(headless::Boxes().size(), 2u);
    for (const headless::ShownBox& box : headless::Boxes()) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, "<MSJSTICK.DRV> Driver not loaded...");
        EXPECT_EQ(box.type, MB_OK);
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_TRUE(emulated::DriverMessages().empty());
}

TEST_F(Sensitivity, MissingSettingsKeyShowsNothingAndChangesNothing) {
    // The device reports a driver key with no settings: no tracker is found, and slot 0's
    // record can be neither read nor written.
    m_machine.Add({.slot = 0, .regKey = "OTHER.DRV", .registered = false}).Start();
    const std::string registryBefore = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {100});
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().yawPosition, 100);
    EXPECT_EQ(headless::Boxes().size(), 1u);  // only the "NO Tracker" notice
    EXPECT_TRUE(emulated::DriverMessages().empty());
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registryBefore);
}

TEST_F(Sensitivity, UnreadableCapabilitiesGiveDefaultsAndWritesChangeNothing) {
    m_machine.Start();  // no device at all
    const std::string registryBefore = m_machine.ReadFile("system.reg");
    CHeadsetDlg panel;
    headless::Run([](CDialog& dlg) {
        EXPECT_EQ(headless::Text(dlg, IDC_YAW_VALUE), "179");
        EXPECT_EQ(headless::Text(dlg, IDC_PITCH_VALUE), "59");
    });
    headless::ArrowClick(IDC_PITCH_BAR, true);
    headless::PressEscape();
    panel.DoModal();

    EXPECT_EQ(panel.State().yawPosition, 1023);
    EXPECT_EQ(panel.State().pitchPosition, 340);
    EXPECT_EQ(panel.State().rollPosition, 341);
    EXPECT_EQ(headless::Boxes().size(), 1u);  // the "NO Tracker" notice only
    EXPECT_TRUE(emulated::DriverMessages().empty());
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registryBefore);
}

}  // namespace
