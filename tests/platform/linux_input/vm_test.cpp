// The machine and the panel against the kernel's own joystick devices (made through uinput):
// discovery, the readout, the bars calibrating joydev and evdev for every reader, zero,
// unplugging and a device without permission. Runs as root inside a virtual machine.
#include "panel/resource.h"
#include "platform/linux_input/axis_calibration.h"
#include "tests/panel/panel_fixture.h"
#include "tests/platform/linux_input/uinput_device.h"
#include "tracker/TrackerLink.h"

#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <linux/input.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace li = linux_input;

constexpr char kSettingsKey[] =
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\"
    "MSJSTICK.DRV\\CurrentJoystickSettings]\n";
constexpr int kReadoutBoxes[] = {IDC_AXIS_X_OUT, IDC_AXIS_Y_OUT, IDC_AXIS_Z_OUT};

// Slots: 0 the virtual tracker of joysticks.ini, then the real devices by identity.
constexpr UINT kTrackerSlot = 1;
constexpr UINT kOddSlot = 3;

js_corr CorrectionOf(const std::string& joystickNode, unsigned number) {
    js_corr corrections[ABS_CNT] = {};
    const int fd = ::open(joystickNode.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::ioctl(fd, JSIOCGCORR, corrections), 0);
    ::close(fd);
    return corrections[number];
}

li::RawRange EvdevRange(const std::string& eventNode, unsigned code) {
    input_absinfo info{};
    const int fd = ::open(eventNode.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::ioctl(fd, EVIOCGABS(code), &info), 0);
    ::close(fd);
    return li::RawRange{info.minimum, info.maximum};
}

li::BrokenLine Line(const js_corr& correction) {
    return li::BrokenLine{
        {correction.coef[0], correction.coef[1], correction.coef[2], correction.coef[3]}};
}

class RealKernel : public PanelTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(tracker_.ok() && pad_.ok() && odd_.ok()) << "uinput devices not created";
        m_machine.WithKernelDevices();
    }

    // The seeded virtual tracker in slot 0, and for the real tracker the record the panel
    // stores at its start-up positions 1023 / 341 / 341.
    void StartWithRecord() {
        JOYREGHWCONFIG record = ConfigWithMinimums(512, 853, 853);
        // The centre the panel writes, so that a zero shift taken over this record stays exact
        // when a bar rewrites it.
        record.hwv.jrvHardware.jpCenter = JOYPOS{1024, 1024, 1024, 1024, 1024, 1024};
        m_machine.Add({.slot = 0})
            .ExtraRegistry(std::string("\n") + kSettingsKey + "\"Joystick2Configuration\"=" +
                           RegistryHex(&record, sizeof record) + "\n")
            .Start();
    }

    UinputDevice tracker_{
        "ZARVEN HMD Tracker", 1, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    UinputDevice pad_{"ZARVEN Game Pad", 2, {{ABS_X, -32768, 32767}, {ABS_Y, -32768, 32767}}, true};
    UinputDevice odd_{"ZARVEN Odd Range", 3, {{ABS_X, -512, 511}, {ABS_Y, -512, 511}}};
};

TEST_F(RealKernel, DiscoveryPicksTheRealTrackerWithoutAQuestion) {
    m_machine.Add({.slot = 0}).Start();
    const std::string registry = m_machine.ReadFile("system.reg");
    EXPECT_EQ(FindTrackerSlot(), kTrackerSlot);
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_EQ(SlotNames(4), (std::vector<std::string>{"-", "ZARVEN HMD Tracker", "ZARVEN Game Pad",
                                                      "ZARVEN Odd Range"}));
    JOYCAPSA caps{};
    ASSERT_EQ(joyGetDevCapsA(2, &caps, sizeof caps), JOYERR_NOERROR);
    EXPECT_EQ(caps.wNumAxes, 2u);
    EXPECT_EQ(caps.wMid, 0x1234);
    EXPECT_EQ(caps.wPid, 2);
    EXPECT_EQ(m_machine.ReadFile("system.reg"), registry);  // nothing stored for a device found
    EXPECT_EQ(m_machine.ReadFile("input-devices.ini"), "");
}

TEST_F(RealKernel, WithoutARealTrackerTheVirtualOneIsFound) {
    tracker_.Destroy();
    m_machine.Add({.slot = 0}).Start();
    EXPECT_EQ(FindTrackerSlot(), 0u);
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_EQ(SlotNames(4), (std::vector<std::string>{"Emulated head tracker", "ZARVEN Game Pad",
                                                      "ZARVEN Odd Range", "-"}));
}

TEST_F(RealKernel, ReadoutFollowsTheDevice) {
    StartWithRecord();
    CHeadsetDlg panel;
    headless::Run([this](CDialog&) { tracker_.Move({{ABS_X, 2047}, {ABS_Y, 1024}, {ABS_Z, 0}}); });
    headless::Tick();
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(headless::Text(dlg, IDC_AXIS_X_OUT), "359");
        EXPECT_EQ(headless::Text(dlg, IDC_AXIS_Y_OUT), "180");
        EXPECT_EQ(headless::Text(dlg, IDC_AXIS_Z_OUT), "000");
        tracker_.Move({{ABS_X, 1024}});
    });
    headless::Tick();
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(panel.State().selectedSlot, kTrackerSlot);
    EXPECT_EQ(headless::Text(panel, IDC_AXIS_X_OUT), "180");
}

TEST_F(RealKernel, LineUpClickCalibratesTheKernelForEveryReader) {
    StartWithRecord();
    CHeadsetDlg panel;
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::PressEscape();
    panel.DoModal();

    const std::optional<JOYREGHWCONFIG> stored = StoredConfig(kTrackerSlot);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->hwv.jrvHardware.jpMin.dwX, 512u);
    EXPECT_EQ(stored->hwv.jrvHardware.jpMax.dwX, 1534u);

    const js_corr correction = CorrectionOf(tracker_.joystickNode(), 0);
    EXPECT_EQ(correction.type, JS_CORR_BROKEN);
    const li::RawRange device{0, 2047};
    EXPECT_EQ(Line(correction), li::BrokenLineFor(li::ToRaw({512, 1024, 1534}, device, 0), device));
    EXPECT_EQ(EvdevRange(tracker_.eventNode(), ABS_X), (li::RawRange{512, 1534}));
    for (const auto& [raw, read] : {std::pair{512, -32767}, std::pair{1024, 0},
                                    std::pair{1534, 32767}, std::pair{0, -32767}}) {
        tracker_.Move({{ABS_X, raw}});
        EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), read) << raw;
    }

    // The next run applies the same record to the device's own range, not to the narrowed one.
    emulated::UsePrefix(m_machine.Prefix());
    EXPECT_EQ(SlotNames(4)[kTrackerSlot], "ZARVEN HMD Tracker");
    EXPECT_EQ(EvdevRange(tracker_.eventNode(), ABS_X), (li::RawRange{512, 1534}));
}

TEST_F(RealKernel, OddRangeIsMappedOntoItsOwnScaleAndOthersAreLeftAlone) {
    m_machine.Add({.slot = 0}).Start();
    const js_corr padBefore = CorrectionOf(pad_.joystickNode(), 0);
    EXPECT_TRUE(WriteJoystickConfig(kOddSlot, "MSJSTICK.DRV", ConfigWithMinimums(512, 0, 0)));
    EXPECT_EQ(EvdevRange(odd_.eventNode(), ABS_X), (li::RawRange{-256, 255}));
    EXPECT_EQ(EvdevRange(odd_.eventNode(), ABS_Y), (li::RawRange{-512, 511}));
    for (const auto& [raw, read] : {std::pair{-256, -32767}, std::pair{255, 32767}}) {
        odd_.Move({{ABS_X, raw}});
        EXPECT_EQ(ReadJoystickAxis(odd_.joystickNode(), 0), read) << raw;
    }
    EXPECT_EQ(Line(CorrectionOf(pad_.joystickNode(), 0)), Line(padBefore));
    EXPECT_EQ(EvdevRange(pad_.eventNode(), ABS_X), (li::RawRange{-32768, 32767}));
}

TEST_F(RealKernel, SetZeroMakesThePresentAttitudeTheCentre) {
    StartWithRecord();
    tracker_.Move({{ABS_X, 1100}, {ABS_Y, 900}});
    CHeadsetDlg panel;
    headless::Click(IDC_SET_ZERO);
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), 0);
        EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 1), 0);
        EXPECT_EQ(headless::Checked(dlg, IDC_STEREO_MODE), 0u);  // the options start off
    });
    headless::ArrowClick(IDC_YAW_BAR, true);  // the shift stays through a recalibration
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(EvdevRange(tracker_.eventNode(), ABS_X), (li::RawRange{512 + 76, 1534 + 76}));
    EXPECT_EQ(EvdevRange(tracker_.eventNode(), ABS_Y), (li::RawRange{853 - 124, 1194 - 124}));
    EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), 0);
    EXPECT_TRUE(headless::Boxes().empty());
}

TEST_F(RealKernel, UnpluggedMidSessionReadsZeros) {
    StartWithRecord();
    ::testing::internal::CaptureStderr();
    CHeadsetDlg panel;
    headless::Run([this](CDialog&) { tracker_.Move({{ABS_X, 2047}}); });
    headless::Tick();
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(headless::Text(dlg, IDC_AXIS_X_OUT), "359");
        tracker_.Destroy();
    });
    headless::Tick();
    headless::Tick();
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::Run([](CDialog& dlg) {
        for (int box : kReadoutBoxes) {
            EXPECT_EQ(headless::Text(dlg, box), "000") << box;
        }
    });
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_EQ(ReadTrackerAxes(kTrackerSlot).x, 0u);
}

// What a child running as nobody sees: its standard error and the slot names, twice (the second
// time from a fresh machine in the same process).
struct ChildView {
    std::string errors;
    std::string slots;
    int status = -1;
};

std::string Drain(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

ChildView RunAsNobody(const std::filesystem::path& prefix) {
    int errors[2];
    int slots[2];
    if (::pipe(errors) != 0 || ::pipe(slots) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(errors[1], STDERR_FILENO);
        ::close(errors[0]);
        ::close(slots[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        std::string text;
        for (int run = 0; run < 2; ++run) {
            emulated::UsePrefix(prefix);
            for (const std::string& name : SlotNames(4)) {
                text += name + ";";
            }
            text += "\n";
        }
        const bool written =
            ::write(slots[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(written ? 0 : 4);
    }
    ::close(errors[1]);
    ::close(slots[1]);
    ChildView view;
    view.errors = Drain(errors[0]);
    view.slots = Drain(slots[0]);
    ::waitpid(child, &view.status, 0);
    return view;
}

TEST_F(RealKernel, DevicesWithoutPermissionAreSkippedWithOneLineEach) {
    m_machine.Add({.slot = 0}).Start();
    for (const UinputDevice* device : {&tracker_, &pad_, &odd_}) {
        ASSERT_EQ(::chmod(device->joystickNode().c_str(), 0600), 0);
        ASSERT_EQ(::chmod(device->eventNode().c_str(), 0600), 0);
    }
    for (const std::filesystem::path& dir :
         {m_machine.Prefix().parent_path(), m_machine.Prefix()}) {
        ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
    }
    const ChildView view = RunAsNobody(m_machine.Prefix());
    ASSERT_TRUE(WIFEXITED(view.status) && WEXITSTATUS(view.status) == 0) << view.status;
    // Nodes are found in /dev/input order; each line names one.
    std::string errors = view.errors;
    for (const UinputDevice* device : {&tracker_, &pad_, &odd_}) {
        const std::string line =
            "zarven-controls: " + device->joystickNode() + ": Permission denied\n";
        const std::size_t at = errors.find(line);
        ASSERT_NE(at, std::string::npos) << view.errors;
        errors.erase(at, line.size());
    }
    EXPECT_EQ(errors, "");
    // An unusable tracker does not push the virtual one aside.
    EXPECT_EQ(view.slots,
              "Emulated head tracker;-;-;-;\n"
              "Emulated head tracker;-;-;-;\n");
}

}  // namespace
