// The machine and the panel against the kernel's own joystick devices (made through uinput):
// discovery, the readout, the bars calibrating joydev and evdev for every reader, zero,
// unplugging, a device without permission, records staying with their devices, ranges that
// never drift, crowded slots, names alike but for case, dead zones and a tracker without X, Y
// and Z. Runs as root inside a virtual machine.
#include "panel/resource.h"
#include "platform/linux_input/axis_calibration.h"
#include "tests/panel/panel_fixture.h"
#include "tests/platform/linux_input/uinput_device.h"
#include "tracker/TrackerLink.h"

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <linux/input.h>
#include <linux/joystick.h>
#include <memory>
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

li::DeviceRange EvdevAxis(const std::string& eventNode, unsigned code) {
    input_absinfo info{};
    const int fd = ::open(eventNode.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::ioctl(fd, EVIOCGABS(code), &info), 0);
    ::close(fd);
    return li::DeviceRange{li::RawRange{info.minimum, info.maximum}, info.flat};
}

li::RawRange EvdevRange(const std::string& eventNode, unsigned code) {
    return EvdevAxis(eventNode, code).range;
}

li::BrokenLine Line(const js_corr& correction) {
    return li::BrokenLine{
        {correction.coef[0], correction.coef[1], correction.coef[2], correction.coef[3]}};
}

// Slot `n`'s record (as Joystick<n>Configuration) at the panel's start-up positions 1023 / 341 /
// 341 with the centre the panel writes, so that a zero shift taken over it stays exact when a bar
// rewrites it.
std::string RecordText(unsigned n) {
    JOYREGHWCONFIG record = ConfigWithMinimums(512, 853, 853);
    record.hwv.jrvHardware.jpCenter = JOYPOS{1024, 1024, 1024, 1024, 1024, 1024};
    return std::string("\n") + kSettingsKey + "\"Joystick" + std::to_string(n) +
           "Configuration\"=" + RegistryHex(&record, sizeof record) + "\n";
}

// What every reader of the device's X axis gets from the kernel.
li::AxisCalibration KernelX(const UinputDevice& device) {
    return li::AxisCalibration{EvdevAxis(device.eventNode(), ABS_X),
                               Line(CorrectionOf(device.joystickNode(), 0))};
}

// The identity the machine gives a uinput device (no udev, so no by-id link).
std::string Identity(std::uint16_t product, const std::string& name) {
    char ids[32];
    std::snprintf(ids, sizeof ids, "0003:1234:%04x:0001:", product);
    return ids + name;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A later start of the program: a fresh machine over the same prefix, loaded.
void StartAgain(const std::filesystem::path& prefix) {
    emulated::UsePrefix(prefix);
    SlotNames(1);
}

// What a command prints on standard output (and error, joined), and its exit status.
struct Ran {
    std::string output;
    int status = -1;
};

Ran RunCommand(const std::string& command) {
    Ran ran;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return ran;
    }
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        ran.output += buffer.data();
    }
    const int status = ::pclose(pipe);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

// The program itself, started as a user's desktop would, over the test's machine folder.
Ran RunProgram(const std::filesystem::path& prefix, const std::string& arguments) {
    return RunCommand("XDG_DATA_HOME=" + prefix.parent_path().string() + " " ZARVEN_PROGRAM " " +
                      arguments);
}

// The product's udev rule in place, as the package installs it, while this lives.
class InstalledUdevRule {
public:
    InstalledUdevRule() {
        std::filesystem::copy_file(ZARVEN_SOURCE_DIR "/packaging/linux/" + kName, kInstalled,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~InstalledUdevRule() { std::filesystem::remove(kInstalled); }
    InstalledUdevRule(const InstalledUdevRule&) = delete;
    InstalledUdevRule& operator=(const InstalledUdevRule&) = delete;

private:
    inline static const std::string kName = "60-input-zarven-controls.rules";
    inline static const std::string kInstalled = "/etc/udev/rules.d/" + kName;
};

// What udev makes of a device being plugged in: its properties and tags, "NAME=value" lines.
std::string UdevAdd(const std::string& node) {
    const std::string name = std::filesystem::path(node).filename().string();
    return RunCommand("udevadm test --action=add /sys/class/input/" + name).output;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// The command the installed rule resolves to for a joystick: its user service's ExecStart, the
// program's installed path standing for the one built here.
std::string ServiceCommand(const std::string& udevOutput, const std::string& jsName) {
    const std::string wanted = "SYSTEMD_USER_WANTS=zarven-controls-apply@" + jsName + ".service";
    if (!HasLine(udevOutput, wanted)) {
        return "";
    }
    std::ifstream unit(ZARVEN_SOURCE_DIR "/packaging/linux/zarven-controls-apply@.service");
    std::string line;
    while (std::getline(unit, line)) {
        if (line.rfind("ExecStart=/usr/bin/zarven-controls", 0) == 0) {
            return line.substr(std::string("ExecStart=/usr/bin/zarven-controls").size());
        }
    }
    return "";
}

// The panel opened, the yaw bar clicked up once, closed: the user calibrating slot by slot.
void LineUpOnYaw() {
    CHeadsetDlg panel;
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::PressEscape();
    panel.DoModal();
}

class RealKernel : public PanelTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(tracker_.ok() && pad_.ok() && odd_.ok()) << "uinput devices not created";
        m_machine.WithKernelDevices();
    }

    // The seeded virtual tracker in slot 0, and for the real tracker's slot the record the panel
    // stores at its start-up positions 1023 / 341 / 341, bound to the tracker or (as a record of
    // an earlier version) to nothing.
    void StartWithRecord(bool bound = true) {
        if (bound) {
            WriteFile(m_machine.Prefix() / "input-slots.ini",
                      "[Joystick2]\nIdentity=" + Identity(1, "ZARVEN HMD Tracker") + "\n");
        }
        m_machine.Add({.slot = 0}).ExtraRegistry(RecordText(2)).Start();
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
    EXPECT_EQ(m_machine.ReadFile("input-slots.ini"), "");
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
    EXPECT_EQ(Line(correction),
              li::CalibrationFor({512, 1024, 1534}, {{0, 2047}, 0}, 0).correction);
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

// A calibrated tracker keeps its slot and its record when a device sorting ahead of it comes;
// the newcomer is not recalibrated, and the tracker's slot stays empty while it is away.
TEST_F(RealKernel, ARecordStaysWithItsDeviceWhateverElseIsPlugged) {
    StartWithRecord(false);
    SlotNames(1);
    EXPECT_EQ(EvdevRange(tracker_.eventNode(), ABS_X), (li::RawRange{0, 2047}));  // not yet its own
    LineUpOnYaw();
    ASSERT_EQ(EvdevRange(tracker_.eventNode(), ABS_X), (li::RawRange{512, 1534}));
    UinputDevice early{"ZARVEN Early Pad", 0, {{ABS_X, -32768, 32767}, {ABS_Y, -32768, 32767}}};
    ASSERT_TRUE(early.ok());
    StartAgain(m_machine.Prefix());
    EXPECT_EQ(SlotNames(5), (std::vector<std::string>{"-", "ZARVEN HMD Tracker", "ZARVEN Early Pad",
                                                      "ZARVEN Game Pad", "ZARVEN Odd Range"}));
    EXPECT_EQ(EvdevRange(tracker_.eventNode(), ABS_X), (li::RawRange{512, 1534}));
    EXPECT_EQ(EvdevRange(early.eventNode(), ABS_X), (li::RawRange{-32768, 32767}));
    EXPECT_EQ(FindTrackerSlot(), kTrackerSlot);

    tracker_.Destroy();
    StartAgain(m_machine.Prefix());
    EXPECT_EQ(SlotNames(5),
              (std::vector<std::string>{"Emulated head tracker", "-", "ZARVEN Early Pad",
                                        "ZARVEN Game Pad", "ZARVEN Odd Range"}));
    EXPECT_EQ(EvdevRange(early.eventNode(), ABS_X), (li::RawRange{-32768, 32767}));
}

// More devices than free slots: the tracker, sorting last, still gets one; each device left out
// is named once.
TEST_F(RealKernel, ManyJoysticksLeaveTheTrackerASlot) {
    tracker_.Destroy();
    std::vector<std::unique_ptr<UinputDevice>> pads;
    for (std::uint16_t product = 0x10; product < 0x10 + 17; ++product) {
        pads.push_back(std::make_unique<UinputDevice>(
            "ZARVEN Pad " + std::to_string(product), product,
            std::vector<UinputAxis>{{ABS_X, 0, 255}, {ABS_Y, 0, 255}}, true));
        ASSERT_TRUE(pads.back()->ok());
    }
    UinputDevice late{
        "ZARVEN HMD Tracker", 0xFF, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    ASSERT_TRUE(late.ok());
    ::testing::internal::CaptureStderr();
    m_machine.Add({.slot = 0}).Start();
    const UINT slot = FindTrackerSlot();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_EQ(SlotNames(16)[slot], "ZARVEN HMD Tracker");
    EXPECT_EQ(SlotNames(16)[0], "-");  // the virtual tracker stepped aside
    std::size_t lines = 0;
    for (std::size_t at = 0;
         (at = errors.find(": no free joystick slot\n", at)) != std::string::npos; ++at) {
        ++lines;
    }
    EXPECT_EQ(lines, 19u + 1 - 15) << errors;
}

// The registry compares key names without case: two devices whose names differ only in case
// still each have their own OEM name, and discovery finds the tracker among them.
TEST_F(RealKernel, NamesDifferingOnlyInCaseDoNotHideTheTracker) {
    tracker_.Destroy();
    UinputDevice upper{"FOO TRACKER", 5, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    UinputDevice mixed{"Foo Tracker", 5, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    ASSERT_TRUE(upper.ok() && mixed.ok());
    m_machine.Add({.slot = 0}).Start();
    const UINT slot = FindTrackerSlot();
    EXPECT_TRUE(headless::Boxes().empty());
    EXPECT_EQ(SlotNames(6)[slot], "Foo Tracker");
}

// "Min" (the full range) gives the device exactly the calibration the kernel gave it at plug-in,
// dead zone included; a narrower range keeps the dead zone in proportion.
TEST_F(RealKernel, MinGivesTheDeviceItsOwnCalibrationBack) {
    tracker_.Destroy();
    UinputDevice flat{"ZARVEN Flat Tracker",
                      6,
                      {{ABS_X, 0, 2047, 64}, {ABS_Y, 0, 2047, 64}, {ABS_Z, 0, 2047, 64}}};
    ASSERT_TRUE(flat.ok());
    const li::AxisCalibration pluggedIn = KernelX(flat);
    ASSERT_EQ(pluggedIn.correction.coef[0], 959);
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {1023});
    headless::Run([&](CDialog&) {
        const li::AxisCalibration narrow = KernelX(flat);
        EXPECT_EQ(narrow.evdev, (li::DeviceRange{{512, 1535}, 32}));
        EXPECT_EQ(narrow.correction.coef[1] - narrow.correction.coef[0], 64);
    });
    headless::Drag(IDC_YAW_BAR, {2047});
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(KernelX(flat), pluggedIn);
}

TEST_F(RealKernel, ATrackerWithoutXYAndZSaysWhatItLacks) {
    tracker_.Destroy();
    // joydev serves a device without X or Z only when it has a joystick's buttons.
    UinputDevice rotations{
        "ZARVEN RX Tracker", 7, {{ABS_RX, 0, 2047}, {ABS_RY, 0, 2047}, {ABS_RZ, 0, 2047}}, true};
    ASSERT_TRUE(rotations.ok());
    ::testing::internal::CaptureStderr();
    m_machine.Add({.slot = 0}).Start();
    SlotNames(1);
    EXPECT_EQ(
        ::testing::internal::GetCapturedStderr(),
        "zarven-controls: " + rotations.joystickNode() +
            " (ZARVEN RX Tracker): a head tracker needs X, Y and Z axes; it has no X, Y, Z\n");
}

// A replug: the kernel forgets the calibration; the command the installed rule has the user's
// service manager run gives it back, with the panel closed.
TEST_F(RealKernel, APluggedInDeviceGetsItsCalibrationBackThroughTheInstalledRule) {
    const InstalledUdevRule rule;
    StartWithRecord(false);
    LineUpOnYaw();
    const li::AxisCalibration calibrated = KernelX(tracker_);
    ASSERT_EQ(calibrated.evdev.range, (li::RawRange{512, 1534}));
    tracker_.Destroy();
    UinputDevice replugged{
        "ZARVEN HMD Tracker", 1, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    ASSERT_TRUE(replugged.ok());
    ASSERT_EQ(EvdevRange(replugged.eventNode(), ABS_X), (li::RawRange{0, 2047}));

    const std::string js = std::filesystem::path(replugged.joystickNode()).filename().string();
    const std::string udev = UdevAdd(replugged.joystickNode());
    EXPECT_NE(udev.find("TAGS=:"), std::string::npos) << udev;
    EXPECT_TRUE(udev.find(":systemd:") != std::string::npos) << udev;  // seen by systemd
    const std::string arguments = ServiceCommand(udev, js);
    ASSERT_EQ(arguments, " --apply") << udev;
    const Ran applied = RunProgram(m_machine.Prefix(), arguments);
    EXPECT_EQ(applied.status, 0) << applied.output;
    EXPECT_EQ(applied.output, "");
    EXPECT_EQ(KernelX(replugged), calibrated);
    // Any number of runs leaves it there.
    EXPECT_EQ(RunProgram(m_machine.Prefix(), arguments).status, 0);
    EXPECT_EQ(KernelX(replugged), calibrated);
}

// The panel stays open while the tracker is unplugged and plugged in again: within a second it
// reads the device again, calibrated, with no box.
TEST_F(RealKernel, ThePanelReattachesADeviceThatComesBack) {
    StartWithRecord();
    double now = 0;
    emulated::SetClock([&now] { return now; });
    std::unique_ptr<UinputDevice> replugged;
    CHeadsetDlg panel;
    headless::Run([this](CDialog&) { tracker_.Destroy(); });
    headless::Tick();
    headless::Run([&](CDialog& dlg) {
        EXPECT_EQ(headless::Text(dlg, IDC_AXIS_X_OUT), "000");
        replugged = std::make_unique<UinputDevice>(
            "ZARVEN HMD Tracker", 1,
            std::vector<UinputAxis>{{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}});
        replugged->Move({{ABS_X, 1534}});
        now = 1.0;
    });
    headless::Tick();
    headless::PressEscape();
    panel.DoModal();
    ASSERT_TRUE(replugged && replugged->ok());
    EXPECT_EQ(headless::Text(panel, IDC_AXIS_X_OUT), "359");
    EXPECT_EQ(EvdevRange(replugged->eventNode(), ABS_X), (li::RawRange{512, 1535}));
    EXPECT_TRUE(headless::Boxes().empty());
}

TEST_F(RealKernel, SetZeroFromTheCommandLineRecentresTheTracker) {
    StartWithRecord();
    SlotNames(1);
    tracker_.Move({{ABS_X, 1100}, {ABS_Y, 900}});
    const Ran zero = RunProgram(m_machine.Prefix(), "--set-zero");
    EXPECT_EQ(zero.status, 0);
    EXPECT_EQ(zero.output, "Joystick2 (ZARVEN HMD Tracker): zero set\n");
    EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), 0);
    EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 1), 0);
    const Ran notATracker = RunProgram(m_machine.Prefix(), "--set-zero --slot 3");
    EXPECT_EQ(notATracker.status, 1);
    EXPECT_EQ(notATracker.output, "zarven-controls: Joystick3 is not a head tracker\n");
}

// udev takes X, Y and Z without buttons for an accelerometer: the rule makes this product's
// tracker a joystick (so the desktop gives the user access), and leaves a look-alike alone.
TEST_F(RealKernel, TheRuleMakesOnlyOurButtonlessTrackerAJoystick) {
    UinputDevice other{
        "Other HMD Tracker", 9, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    ASSERT_TRUE(other.ok());
    const std::string before = UdevAdd(tracker_.joystickNode());
    EXPECT_TRUE(HasLine(before, "ID_INPUT_ACCELEROMETER=1")) << before;
    const InstalledUdevRule rule;
    for (const std::string& node : {tracker_.joystickNode(), tracker_.eventNode()}) {
        const std::string ours = UdevAdd(node);
        EXPECT_TRUE(HasLine(ours, "ID_INPUT_JOYSTICK=1")) << ours;
        EXPECT_FALSE(HasLine(ours, "ID_INPUT_ACCELEROMETER=1")) << ours;
        EXPECT_NE(ours.find("uaccess"), std::string::npos) << ours;
    }
    for (const std::string& node : {other.joystickNode(), other.eventNode()}) {
        const std::string theirs = UdevAdd(node);
        EXPECT_TRUE(HasLine(theirs, "ID_INPUT_ACCELEROMETER=1")) << theirs;
        EXPECT_FALSE(HasLine(theirs, "ID_INPUT_JOYSTICK=1")) << theirs;
        EXPECT_EQ(theirs.find("SYSTEMD_USER_WANTS"), std::string::npos) << theirs;
    }
}

// Ranges never drift: whatever happens to input-devices.ini, any number of starts leaves the
// device exactly where the first left it, and where the machine cannot be sure of the device's
// own range it leaves the device alone and says so.
struct DriftCase {
    const char* name;
    std::string deviceName;
    std::function<void(const std::filesystem::path& state)> before;  // the panel's first run
    std::function<void(const std::filesystem::path& state)> after;   // and the starts after it
    bool calibrated;   // the first run changes the device
    std::string line;  // a line on standard error, when the machine must say something
};

void Rewrite(const std::filesystem::path& file, const std::string& from, const std::string& to) {
    std::ifstream in(file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << text;
    WriteFile(file, text.replace(at, from.size(), to));
}

void PrintTo(const DriftCase& c, std::ostream* out) {
    *out << c.name;
}

class Drift : public PanelTest, public ::testing::WithParamInterface<DriftCase> {};

TEST_P(Drift, RangesStayWhereTheFirstStartLeftThem) {
    const DriftCase& c = GetParam();
    UinputDevice tracker{c.deviceName, 1, {{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}}};
    ASSERT_TRUE(tracker.ok());
    m_machine.WithKernelDevices();
    const std::filesystem::path state = m_machine.Prefix() / "input-devices.ini";
    if (c.before) {
        c.before(state);
    }
    ::testing::internal::CaptureStderr();
    m_machine.Add({.slot = 0}).ExtraRegistry(RecordText(2)).Start();
    LineUpOnYaw();
    const li::AxisCalibration first = KernelX(tracker);
    EXPECT_EQ(first.evdev.range, (c.calibrated ? li::RawRange{512, 1534} : li::RawRange{0, 2047}));
    if (c.after) {
        c.after(state);
    }
    for (int start = 2; start <= 4; ++start) {
        StartAgain(m_machine.Prefix());
        EXPECT_EQ(KernelX(tracker), first) << "start " << start;
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    if (c.line.empty()) {
        EXPECT_EQ(errors, "");
    } else {
        EXPECT_NE(errors.find(c.line), std::string::npos) << errors;
    }
}

INSTANTIATE_TEST_SUITE_P(
    StateFile, Drift,
    ::testing::Values(
        DriftCase{"NameEndingInABlank", "ZARVEN HMD Tracker ", nullptr, nullptr, true, ""},
        DriftCase{"NameEndingInACarriageReturn", "ZARVEN HMD Tracker\r", nullptr, nullptr, true,
                  ""},
        DriftCase{"Corrupt", "ZARVEN HMD Tracker",
                  [](const auto& state) { WriteFile(state, "not an ini line\n"); }, nullptr, false,
                  "input-devices.ini: cannot store the range: the file cannot be read"},
        DriftCase{"OverItsSizeLimit", "ZARVEN HMD Tracker",
                  [](const auto& state) { WriteFile(state, std::string(2 << 20, ';')); }, nullptr,
                  false, "input-devices.ini: cannot store the range: the file cannot be read"},
        DriftCase{"ReadOnly", "ZARVEN HMD Tracker",
                  [](const auto& state) {
                      WriteFile(state, "; kept as it is\n");
                      std::filesystem::permissions(state, std::filesystem::perms::owner_read);
                  },
                  nullptr, false, "input-devices.ini: cannot store the range: Permission denied"},
        DriftCase{"AFolder", "ZARVEN HMD Tracker",
                  [](const auto& state) { std::filesystem::create_directory(state); }, nullptr,
                  false, "input-devices.ini: cannot store the range: the file cannot be read"},
        DriftCase{"DeletedWhileThePlugStays", "ZARVEN HMD Tracker", nullptr,
                  [](const auto& state) { std::filesystem::remove(state); }, true,
                  "input-devices.ini: no range stored for"},
        DriftCase{"MaxBelowMin", "ZARVEN HMD Tracker", nullptr,
                  [](const auto& state) {
                      Rewrite(state, "XMin=0", "XMin=512");
                      Rewrite(state, "XMax=2047", "XMax=20");
                  },
                  true, "input-devices.ini: no range stored for"},
        DriftCase{"RangeThatCannotHaveGivenTheKernelsOwn", "ZARVEN HMD Tracker", nullptr,
                  [](const auto& state) { Rewrite(state, "XMax=2047", "XMax=1000"); }, true,
                  "input-devices.ini: no range stored for"},
        DriftCase{"ShiftBeyondAnyRange", "ZARVEN HMD Tracker", nullptr,
                  [](const auto& state) { Rewrite(state, "XShift=0", "XShift=4294967296"); }, true,
                  "input-devices.ini: no range stored for"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
