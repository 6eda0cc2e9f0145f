// The machine, the panel, the program and the udev rule against the kernel's own joystick
// devices, made through uinput. Runs as root inside a virtual machine.
#include "panel/resource.h"
#include "platform/linux_input/axis_calibration.h"
#include "tests/panel/panel_fixture.h"
#include "tests/platform/linux_input/uinput_device.h"
#include "tracker/TrackerLink.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/joystick.h>
#include <regex>

namespace {

namespace fs = std::filesystem;
namespace li = linux_input;
using emulated_test::ReadText;
using emulated_test::WriteText;

// Slots: 0 the virtual tracker of joysticks.ini, then the real devices by identity.
constexpr UINT kTrackerSlot = 1;
const std::vector<UinputAxis> kTrackerAxes{{ABS_X, 0, 2047}, {ABS_Y, 0, 2047}, {ABS_Z, 0, 2047}};
const std::vector<UinputAxis> kPadAxes{{ABS_X, -32768, 32767}, {ABS_Y, -32768, 32767}};

// What every reader gets from the kernel for joydev's axis `n` (ABS_X + n on these devices).
li::AxisCalibration Kernel(const UinputDevice& device, unsigned n = 0) {
    input_absinfo info{};
    js_corr corrections[ABS_CNT] = {};
    const int event = ::open(device.eventNode().c_str(), O_RDONLY | O_CLOEXEC);
    const int joystick = ::open(device.joystickNode().c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::ioctl(event, EVIOCGABS(ABS_X + n), &info), 0);
    EXPECT_EQ(::ioctl(joystick, JSIOCGCORR, corrections), 0);
    ::close(event);
    ::close(joystick);
    const auto& coef = corrections[n].coef;
    return {{{info.minimum, info.maximum}, info.flat}, {{coef[0], coef[1], coef[2], coef[3]}}};
}

li::RawRange Range(const UinputDevice& device, unsigned n = 0) {
    return Kernel(device, n).evdev.range;
}

// Joystick2Configuration at the panel's start-up positions 1023 / 341 / 341 with the centre the
// panel writes, so that a zero shift taken over it stays exact when a bar rewrites it.
std::string TrackerRecord() {
    JOYREGHWCONFIG record = ConfigWithMinimums(512, 853, 853);
    record.hwv.jrvHardware.jpCenter = JOYPOS{1024, 1024, 1024, 1024, 1024, 1024};
    return "\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\"
           "MSJSTICK.DRV\\CurrentJoystickSettings]\n\"Joystick2Configuration\"=" +
           RegistryHex(&record, sizeof record) + "\n";
}

// The panel opened, the yaw bar clicked up once, closed: the user calibrating slot by slot.
void LineUpOnYaw() {
    CHeadsetDlg panel;
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::PressEscape();
    panel.DoModal();
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A shell command's exit status and its standard output and error, joined.
std::pair<int, std::string> Shell(const std::string& command) {
    const fs::path output = fs::temp_directory_path() / "command-output";
    const int status = std::system((command + " >" + output.string() + " 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(output)};
}

// The product's udev rule in place, as the package installs it, while this lives.
struct InstalledUdevRule {
    const fs::path installed = "/etc/udev/rules.d/60-input-zarven-controls.rules";
    InstalledUdevRule() {
        fs::copy_file(ZARVEN_SOURCE_DIR "/packaging/linux" / installed.filename(), installed,
                      fs::copy_options::overwrite_existing);
    }
    ~InstalledUdevRule() { fs::remove(installed); }
};

// What udev makes of a node being plugged in: its properties and tags, "NAME=value" lines. Its
// database goes first, so that nothing said of an earlier device with the same number remains.
std::string UdevAdd(const std::string& node) {
    fs::remove_all("/run/udev/data");
    return Shell("udevadm test --action=add /sys/class/input/" + fs::path(node).filename().string())
        .second;
}

class KernelTest : public PanelTest {
protected:
    void SetUp() override { m_machine.WithKernelDevices(); }

    // The seeded virtual tracker in slot 0, and Joystick2's record bound to the HMD tracker of
    // product 1 or (as a record of an earlier version) to nothing.
    void StartWithRecord(bool bound = true) {
        if (bound) {
            WriteText(m_machine.File("input-slots.ini"),
                      "[Joystick2]\nIdentity=0003:1234:0001:0001:ZARVEN HMD Tracker\n");
        }
        m_machine.Add({.slot = 0}).ExtraRegistry(TrackerRecord()).Start();
    }
    // A later start of the program: a fresh machine over the same prefix, loaded.
    void StartAgain() const {
        m_machine.Reload();
        SlotNames(1);
    }
    // The program itself, started as a user's desktop would, over the test's machine folder.
    std::pair<int, std::string> RunProgram(const std::string& arguments) const {
        return Shell("XDG_DATA_HOME=" + m_machine.Prefix().parent_path().string() +
                     " " ZARVEN_PROGRAM " " + arguments);
    }
};

class RealKernel : public KernelTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(tracker_.ok() && pad_.ok() && odd_.ok()) << "uinput devices not created";
        KernelTest::SetUp();
    }

    // A start over the virtual tracker in slot 0: the names of the first `count` slots, the
    // slot discovery picks, then what was said on standard error. It asks and stores nothing.
    std::string Discovered(UINT count) {
        ::testing::internal::CaptureStderr();
        m_machine.Add({.slot = 0}).Start();
        const std::string registry = m_machine.ReadFile("system.reg");
        std::string seen;
        for (const std::string& name : SlotNames(count)) {
            seen += name + "; ";
        }
        seen += "tracker " + std::to_string(FindTrackerSlot()) + "\n";
        EXPECT_TRUE(headless::Boxes().empty());
        EXPECT_EQ(m_machine.ReadFile("system.reg"), registry);
        EXPECT_EQ(m_machine.ReadFile("input-devices.ini") + m_machine.ReadFile("input-slots.ini"),
                  "");
        return seen + ::testing::internal::GetCapturedStderr();
    }

    UinputDevice tracker_{"ZARVEN HMD Tracker", 1, kTrackerAxes};
    UinputDevice pad_{"ZARVEN Game Pad", 2, kPadAxes, true};
    UinputDevice odd_{"ZARVEN Odd Range", 3, {{ABS_X, -512, 511}, {ABS_Y, -512, 511}}};
};

TEST_F(RealKernel, DiscoveryPicksTheRealTrackerWithoutAQuestion) {
    EXPECT_EQ(Discovered(4),
              "-; ZARVEN HMD Tracker; ZARVEN Game Pad; ZARVEN Odd Range; tracker 1\n");
    JOYCAPSA caps{};
    ASSERT_EQ(joyGetDevCapsA(2, &caps, sizeof caps), JOYERR_NOERROR);
    EXPECT_EQ(caps.wNumAxes, 2u);
    EXPECT_EQ(caps.wMid, 0x1234);
    EXPECT_EQ(caps.wPid, 2);
}

// More devices than free slots: the tracker, sorting last, still gets one; each device left out
// is named once.
TEST_F(RealKernel, ManyJoysticksLeaveTheTrackerASlot) {
    tracker_.Destroy();
    std::vector<std::unique_ptr<UinputDevice>> pads;
    std::string slots = "-; ZARVEN Game Pad; ZARVEN Odd Range; ";
    std::string leftOut;
    for (std::uint16_t n = 16; n <= 32; ++n) {
        const std::string name = "ZARVEN Pad " + std::to_string(n);
        pads.push_back(std::make_unique<UinputDevice>(name, n, kPadAxes, true));
        ASSERT_TRUE(pads.back()->ok());
        if (n < 28) {
            slots += name + "; ";
        } else {
            leftOut += "zarven-controls: " + pads.back()->joystickNode() + " (" + name +
                       "): no free joystick slot\n";
        }
    }
    const UinputDevice late{"ZARVEN HMD Tracker", 0xFF, kTrackerAxes};
    ASSERT_TRUE(late.ok());
    EXPECT_EQ(Discovered(16), slots + "ZARVEN HMD Tracker; tracker 15\n" + leftOut);
}

// The registry compares key names without case: two devices whose names differ only in case
// still each have their own OEM name, and discovery finds the tracker among them.
TEST_F(RealKernel, NamesDifferingOnlyInCaseDoNotHideTheTracker) {
    tracker_.Destroy();
    const UinputDevice upper{"FOO TRACKER", 5, kTrackerAxes};
    const UinputDevice mixed{"Foo Tracker", 5, kTrackerAxes};
    ASSERT_TRUE(upper.ok() && mixed.ok());
    EXPECT_EQ(Discovered(5),
              "-; ZARVEN Game Pad; ZARVEN Odd Range; FOO TRACKER; Foo Tracker; tracker 4\n");
}

TEST_F(RealKernel, ATrackerWithoutXYAndZSaysWhatItLacks) {
    tracker_.Destroy();
    // joydev serves a device without X or Z only when it has a joystick's buttons.
    const UinputDevice rx{
        "ZARVEN RX Tracker", 7, {{ABS_RX, 0, 2047}, {ABS_RY, 0, 2047}, {ABS_RZ, 0, 2047}}, true};
    ASSERT_TRUE(rx.ok());
    const std::string seen = Discovered(4);
    EXPECT_EQ(
        seen.substr(seen.find('\n') + 1),
        "zarven-controls: " + rx.joystickNode() +
            " (ZARVEN RX Tracker): a head tracker needs X, Y and Z axes; it has no X, Y, Z\n");
}

// With the panel open the readout follows the tracker; unplugged, it reads zeros and a bar click
// says nothing; plugged in again, within a second it is read again, calibrated by the record the
// click stored.
TEST_F(RealKernel, TheReadoutFollowsTheTrackerThroughAnUnplug) {
    StartWithRecord();
    double now = 0;
    emulated::SetClock([&now] { return now; });
    const auto readout = [](const CDialog& dlg) {
        return headless::Text(dlg, IDC_AXIS_X_OUT) + " " + headless::Text(dlg, IDC_AXIS_Y_OUT) +
               " " + headless::Text(dlg, IDC_AXIS_Z_OUT);
    };
    std::unique_ptr<UinputDevice> replugged;
    ::testing::internal::CaptureStderr();
    CHeadsetDlg panel;
    headless::Run([this](CDialog&) { tracker_.Move({{ABS_X, 2047}, {ABS_Y, 1024}, {ABS_Z, 0}}); });
    headless::Tick();
    headless::Run([&](CDialog& dlg) {
        EXPECT_EQ(readout(dlg), "359 180 000");
        tracker_.Destroy();
    });
    headless::Tick();
    headless::Tick();
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::Run([&](CDialog& dlg) {
        EXPECT_EQ(readout(dlg), "000 000 000");
        EXPECT_EQ(ReadTrackerAxes(kTrackerSlot).x, 0u);
        replugged = std::make_unique<UinputDevice>("ZARVEN HMD Tracker", 1, kTrackerAxes);
        replugged->Move({{ABS_X, 1534}});
        now = 1.0;
    });
    headless::Tick();
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(panel.State().selectedSlot, kTrackerSlot);
    EXPECT_EQ(headless::Text(panel, IDC_AXIS_X_OUT), "359");
    ASSERT_TRUE(replugged && replugged->ok());
    EXPECT_EQ(Range(*replugged), (li::RawRange{512, 1534}));
    EXPECT_TRUE(headless::Boxes().empty());
}

TEST_F(RealKernel, LineUpClickCalibratesTheKernelForEveryReader) {
    StartWithRecord();
    LineUpOnYaw();
    EXPECT_EQ(Kernel(tracker_), li::CalibrationFor({512, 1024, 1534}, {{0, 2047}, 0}, 0));
    for (const auto& [raw, read] : {std::pair{512, -32767}, std::pair{1024, 0},
                                    std::pair{1534, 32767}, std::pair{0, -32767}}) {
        tracker_.Move({{ABS_X, raw}});
        EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), read) << raw;
    }
}

TEST_F(RealKernel, OddRangeIsMappedOntoItsOwnScaleAndOthersAreLeftAlone) {
    m_machine.Add({.slot = 0}).Start();
    const li::AxisCalibration padBefore = Kernel(pad_);
    EXPECT_TRUE(WriteJoystickConfig(3, "MSJSTICK.DRV", ConfigWithMinimums(512, 0, 0)));
    EXPECT_EQ(Range(odd_), (li::RawRange{-256, 255}));
    EXPECT_EQ(Range(odd_, 1), (li::RawRange{-512, 511}));
    for (const auto& [raw, read] : {std::pair{-256, -32767}, std::pair{255, 32767}}) {
        odd_.Move({{ABS_X, raw}});
        EXPECT_EQ(ReadJoystickAxis(odd_.joystickNode(), 0), read) << raw;
    }
    EXPECT_EQ(Kernel(pad_), padBefore);
}

// Zero from the command line, then from the panel at another attitude: the present attitude
// reads as the centre, and the shift stays through a recalibration.
TEST_F(RealKernel, SetZeroMakesThePresentAttitudeTheCentre) {
    StartWithRecord();
    SlotNames(1);
    tracker_.Move({{ABS_X, 1100}, {ABS_Y, 900}});
    EXPECT_EQ(RunProgram("--set-zero"),
              std::pair(0, std::string("Joystick2 (ZARVEN HMD Tracker): zero set\n")));
    EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), 0);
    EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 1), 0);
    EXPECT_EQ(RunProgram("--set-zero --slot 3"),
              std::pair(1, std::string("zarven-controls: Joystick3 is not a head tracker\n")));
    tracker_.Move({{ABS_X, 1200}, {ABS_Y, 800}});
    CHeadsetDlg panel;
    headless::Click(IDC_SET_ZERO);
    headless::Run([this](CDialog& dlg) {
        EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), 0);
        EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 1), 0);
        EXPECT_EQ(headless::Checked(dlg, IDC_STEREO_MODE), 0u);  // the options start off
    });
    headless::ArrowClick(IDC_YAW_BAR, true);
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(Range(tracker_), (li::RawRange{512 + 176, 1534 + 176}));
    EXPECT_EQ(Range(tracker_, 1), (li::RawRange{853 - 224, 1194 - 224}));
    EXPECT_EQ(ReadJoystickAxis(tracker_.joystickNode(), 0), 0);
    EXPECT_TRUE(headless::Boxes().empty());
}

// A user without access to the nodes (nobody) starting the machine twice in one process: one
// line for each node, in /dev/input order, said once; an unusable tracker does not push the
// virtual one aside.
TEST_F(RealKernel, DevicesWithoutPermissionAreSkippedWithOneLineEach) {
    m_machine.Add({.slot = 0}).Start();
    std::vector<std::string> nodes;
    for (const UinputDevice* device : {&tracker_, &pad_, &odd_}) {
        ASSERT_EQ(::chmod(device->joystickNode().c_str(), 0600), 0);
        ASSERT_EQ(::chmod(device->eventNode().c_str(), 0600), 0);
        nodes.push_back(device->joystickNode());
    }
    const fs::path prefix = m_machine.Prefix();
    for (const fs::path& dir : {prefix.parent_path(), prefix}) {
        ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
    }
    std::sort(nodes.begin(), nodes.end());
    std::string said;
    for (const std::string& node : nodes) {
        said += "zarven-controls: " + node + ": Permission denied\n";
    }
    const auto asNobody = [&] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        for (int run = 0; run < 2; ++run) {
            emulated::UsePrefix(prefix);
            for (const std::string& name : SlotNames(4)) {
                std::fprintf(stderr, "%s;", name.c_str());
            }
            std::fputc('\n', stderr);
        }
        ::_exit(0);
    };
    EXPECT_EXIT(asNobody(), ::testing::ExitedWithCode(0),
                "^" + said + "Emulated head tracker;-;-;-;\nEmulated head tracker;-;-;-;\n$");
}

// A calibrated tracker keeps its slot and its record when a device sorting ahead of it comes,
// which is not recalibrated; the tracker's slot stays empty while it is away. Plugged in again,
// the kernel has forgotten its calibration: the command the installed rule has the user's
// service manager run gives it back, with the panel closed, as often as it runs.
TEST_F(RealKernel, ARecordStaysWithItsDeviceWhateverElseIsPluggedAndThroughAReplug) {
    const InstalledUdevRule rule;
    StartWithRecord(false);
    SlotNames(1);
    EXPECT_EQ(Range(tracker_), (li::RawRange{0, 2047}));  // not yet its own
    LineUpOnYaw();
    const li::AxisCalibration calibrated = Kernel(tracker_);
    ASSERT_EQ(calibrated.evdev.range, (li::RawRange{512, 1534}));
    const UinputDevice early{"ZARVEN Early Pad", 0, kPadAxes};
    ASSERT_TRUE(early.ok());
    StartAgain();
    EXPECT_EQ(SlotNames(5), (std::vector<std::string>{"-", "ZARVEN HMD Tracker", "ZARVEN Early Pad",
                                                      "ZARVEN Game Pad", "ZARVEN Odd Range"}));
    EXPECT_EQ(Kernel(tracker_), calibrated);
    EXPECT_EQ(FindTrackerSlot(), kTrackerSlot);
    tracker_.Destroy();
    StartAgain();
    EXPECT_EQ(SlotNames(5),
              (std::vector<std::string>{"Emulated head tracker", "-", "ZARVEN Early Pad",
                                        "ZARVEN Game Pad", "ZARVEN Odd Range"}));
    EXPECT_EQ(FindTrackerSlot(), 0u);
    EXPECT_EQ(Range(early), (li::RawRange{-32768, 32767}));

    const UinputDevice replugged{"ZARVEN HMD Tracker", 1, kTrackerAxes};
    ASSERT_EQ(Range(replugged), (li::RawRange{0, 2047}));
    const std::string js = fs::path(replugged.joystickNode()).filename().string();
    ASSERT_TRUE(Has(UdevAdd(replugged.joystickNode()),
                    "\nSYSTEMD_USER_WANTS=zarven-controls-apply@" + js + ".service\n"));
    std::smatch exec;  // the installed program standing for this one
    const std::string unit =
        ReadText(ZARVEN_SOURCE_DIR "/packaging/linux/zarven-controls-apply@.service");
    ASSERT_TRUE(
        std::regex_search(unit, exec, std::regex("\nExecStart=/usr/bin/zarven-controls (.*)\n")));
    for (int run = 1; run <= 2; ++run) {
        EXPECT_EQ(RunProgram(exec[1]), std::pair(0, std::string()));
        EXPECT_EQ(Kernel(replugged), calibrated) << "run " << run;
    }
    EXPECT_TRUE(headless::Boxes().empty());
}

// "Min" (the full range) gives the device exactly the calibration the kernel gave it at plug-in,
// dead zone included; a narrower range keeps the dead zone in proportion.
TEST_F(KernelTest, MinGivesTheDeviceItsOwnCalibrationBack) {
    const UinputDevice flat{"ZARVEN Flat Tracker",
                            6,
                            {{ABS_X, 0, 2047, 64}, {ABS_Y, 0, 2047, 64}, {ABS_Z, 0, 2047, 64}}};
    ASSERT_TRUE(flat.ok());
    const li::AxisCalibration pluggedIn = Kernel(flat);
    ASSERT_EQ(pluggedIn.correction.coef[0], 959);
    m_machine.Add({.slot = 0}).Start();
    CHeadsetDlg panel;
    headless::Drag(IDC_YAW_BAR, {1023});
    headless::Run([&](CDialog&) {
        const li::AxisCalibration narrow = Kernel(flat);
        EXPECT_EQ(narrow.evdev, (li::DeviceRange{{512, 1535}, 32}));
        EXPECT_EQ(narrow.correction.coef[1] - narrow.correction.coef[0], 64);
    });
    headless::Drag(IDC_YAW_BAR, {2047});
    headless::PressEscape();
    panel.DoModal();
    EXPECT_EQ(Kernel(flat), pluggedIn);
}

// udev takes X, Y and Z without buttons for an accelerometer: the rule makes this product's
// tracker a joystick on both its nodes, so the desktop gives the user access, and has its
// calibration applied when its joystick node comes; a look-alike keeps what udev found.
TEST(UdevRule, MakesOnlyOurButtonlessTrackerAJoystick) {
    const UinputDevice ours{"ZARVEN HMD Tracker", 9, kTrackerAxes};
    const UinputDevice other{"Other HMD Tracker", 9, kTrackerAxes};
    ASSERT_TRUE(ours.ok() && other.ok());
    // What udev makes of the node plugged in, in words.
    const auto expect = [](const std::string& node, const std::string& expected) {
        const std::string said = UdevAdd(node);
        const std::pair<const char*, const char*> signs[] = {
            {"\nID_INPUT_JOYSTICK=1\n", "joystick"},
            {"\nID_INPUT_ACCELEROMETER=1\n", "accelerometer"},
            {":uaccess:", "uaccess"},
            {":systemd:", "systemd"},
            {"\nSYSTEMD_USER_WANTS=", "service"}};
        std::string words;
        for (const auto& [sign, word] : signs) {
            words += Has(said, sign) ? std::string(word) + " " : "";
        }
        EXPECT_EQ(words, expected) << node << ":\n" << said;
    };
    expect(ours.joystickNode(), "accelerometer ");
    const InstalledUdevRule rule;
    expect(ours.joystickNode(), "joystick uaccess systemd service ");
    expect(ours.eventNode(), "joystick uaccess ");
    expect(other.joystickNode(), "accelerometer ");
    expect(other.eventNode(), "accelerometer ");
}

// Ranges never drift: whatever happens to input-devices.ini, any number of starts leaves the
// device exactly where the first left it. Where the file is unusable at that first start, the
// machine cannot keep the device's own range: it leaves the device alone and says so.
using StateChange = std::function<void(const fs::path& state)>;

struct DriftCase {
    const char* name;
    StateChange before;  // the panel's first run
    StateChange after;   // and the starts after it
    std::string line;    // a line on standard error, when the machine must say something
    std::string deviceName = "ZARVEN HMD Tracker";
};

StateChange Replace(const std::string& from, const std::string& to) {
    return [from, to](const fs::path& state) {
        std::string text = ReadText(state);
        ASSERT_TRUE(Has(text, from)) << text;
        WriteText(state, text.replace(text.find(from), from.size(), to));
    };
}

class Drift : public KernelTest, public ::testing::WithParamInterface<DriftCase> {};

TEST_P(Drift, RangesStayWhereTheFirstStartLeftThem) {
    const DriftCase& c = GetParam();
    const UinputDevice tracker{c.deviceName, 1, kTrackerAxes};
    ASSERT_TRUE(tracker.ok());
    if (c.before) {
        c.before(m_machine.File("input-devices.ini"));
    }
    ::testing::internal::CaptureStderr();
    m_machine.Add({.slot = 0}).ExtraRegistry(TrackerRecord()).Start();
    LineUpOnYaw();
    const li::AxisCalibration first = Kernel(tracker);
    EXPECT_EQ(first.evdev.range, (c.before ? li::RawRange{0, 2047} : li::RawRange{512, 1534}));
    if (c.after) {
        c.after(m_machine.File("input-devices.ini"));
    }
    for (int start = 2; start <= 4; ++start) {
        StartAgain();
        EXPECT_EQ(Kernel(tracker), first) << "start " << start;
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(c.line.empty() ? errors.empty() : Has(errors, "input-devices.ini: " + c.line))
        << errors;
}

const std::string kUnreadable = "cannot store the range: the file cannot be read";
const std::string kNoRange = "no range stored for";

INSTANTIATE_TEST_SUITE_P(
    StateFile, Drift,
    ::testing::Values(
        DriftCase{"NameEndingInABlank", {}, {}, "", "ZARVEN HMD Tracker "},
        DriftCase{"NameEndingInACarriageReturn", {}, {}, "", "ZARVEN HMD Tracker\r"},
        DriftCase{"Corrupt",
                  [](const fs::path& s) { WriteText(s, "not an ini line\n"); },
                  {},
                  kUnreadable},
        DriftCase{"OverItsSizeLimit",
                  [](const fs::path& s) { WriteText(s, std::string(2 << 20, ';')); },
                  {},
                  kUnreadable},
        DriftCase{"ReadOnly",
                  [](const fs::path& s) {
                      WriteText(s, "; kept as it is\n");
                      fs::permissions(s, fs::perms::owner_read);
                  },
                  {},
                  "cannot store the range: Permission denied"},
        DriftCase{"AFolder", [](const fs::path& s) { fs::create_directory(s); }, {}, kUnreadable},
        DriftCase{
            "DeletedWhileThePlugStays", {}, [](const fs::path& s) { fs::remove(s); }, kNoRange},
        DriftCase{"MaxBelowMin", {}, Replace("XMax=2047", "XMax=-20"), kNoRange},
        DriftCase{"RangeThatCannotHaveGivenTheKernelsOwn",
                  {},
                  Replace("XMax=2047", "XMax=1000"),
                  kNoRange},
        DriftCase{"ShiftBeyondAnyRange", {}, Replace("XShift=0", "XShift=4294967296"), kNoRange}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
