// The joystick slots: joysticks.ini's virtual devices, then stand-ins for the kernel's devices.
#include "platform/emulated/seed.h"
#include "tests/support/fake_input_devices.h"
#include "tests/support/param_name.h"
#include "tests/support/test_machine.h"

#include <gmock/gmock.h>

namespace emulated_test {
namespace {

namespace li = linux_input;
using ::testing::HasSubstr;

constexpr char kSeededIni[] = "[Joystick1]\nDevice=HeadTracker\nRegKey=MSJSTICK.DRV\n";
constexpr char kHmd[] = "ZARVEN HMD Tracker=usb-hmd";

using JoystickApi = MachineTest;

int Offset(DWORD axis) {
    return static_cast<int>(axis) - 32768;
}

TEST_F(JoystickApi, RefusesBadRecordsAndEmptySlots) {
    for (const auto& [slot, capsSize, infoSize, result] :
         {std::tuple{0u, 400u, 48u, JOYERR_PARMS}, std::tuple{16u, 404u, 52u, JOYERR_PARMS},
          std::tuple{~0u, 404u, 52u, JOYERR_PARMS}, std::tuple{1u, 404u, 52u, JOYERR_UNPLUGGED},
          std::tuple{15u, 404u, 52u, JOYERR_UNPLUGGED}}) {
        JOYCAPSA caps{};
        EXPECT_EQ(joyGetDevCapsA(slot, &caps, capsSize), result) << slot;
        JOYINFOEX info{};
        info.dwSize = infoSize;
        EXPECT_EQ(joyGetPosEx(slot, &info), result) << slot;
    }
    EXPECT_EQ(joyGetDevCapsA(0, nullptr, sizeof(JOYCAPSA)), JOYERR_PARMS);
    EXPECT_EQ(joyGetPosEx(0, nullptr), JOYERR_PARMS);
}

// Status bit 0 stereo, bit 1 power saver: V reads, X zeroes, Y/Z and R/U turn them off/on; other
// flags are no command. joysticks.ini keeps each as 0 or 1, only "1" turning it on.
TEST_F(JoystickApi, EachCommandFlagAnswersWithTheStatusAfterIt) {
    for (const auto& [flags, statusAfter] :
         {std::pair{JOY_CAL_READVONLY, 1u}, std::pair{JOY_CAL_READXONLY, 1u},
          std::pair{JOY_CAL_READYONLY, 0u}, std::pair{JOY_CAL_READZONLY, 1u},
          std::pair{JOY_CAL_READRONLY, 1u}, std::pair{JOY_CAL_READUONLY, 3u},
          std::pair{JOY_RETURNALL, 1u}, std::pair{JOY_CAL_READUONLY | JOY_CAL_READYONLY, 1u}}) {
        Write("joysticks.ini", "[Joystick1]\nDevice=HeadTracker\nStereoMode=1\nPowerSaver=yes\n");
        Reload();
        const Reply reply = Query(0, flags);
        ASSERT_EQ(reply.result, JOYERR_NOERROR) << flags;
        EXPECT_EQ(reply.info.dwVpos, statusAfter) << flags;
        EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos, statusAfter) << flags;
        EXPECT_THAT(Read("joysticks.ini"),
                    HasSubstr("StereoMode=" + std::to_string(statusAfter & 1)));
        Reload();
        EXPECT_EQ(Query(0, JOY_CAL_READVONLY).info.dwVpos, statusAfter) << flags;
    }
}

TEST_F(JoystickApi, APlainJoystickAnswersCentredAndIgnoresCommands) {
    const std::string ini = "[Joystick3]\nDevice=joystick\nRegKey=MSJSTICK.DRV\n";
    Write("joysticks.ini", ini);
    now_ = 1234.5;  // a tracker is well away from centre here
    EXPECT_EQ(Query(2, JOY_RETURNALL).info.dwXpos, 32768u);
    const Reply reply = Query(2, JOY_CAL_READZONLY);
    EXPECT_EQ(std::tuple(reply.result, reply.info.dwVpos), std::tuple(JOYERR_NOERROR, 0u));
    EXPECT_EQ(Read("joysticks.ini"), ini);
}

// Zero makes the present attitude the resting one; the sensor counts whole units, so over ten
// seconds of 20 ms polls the yaw changes a few dozen times, not on every poll.
TEST_F(JoystickApi, TheRestingHeadsReadingChangesOnlyWhenItMovesAWholeUnit) {
    now_ = 1234.5;
    ASSERT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_NOERROR);
    const JOYINFOEX zeroed = Query(0, JOY_RETURNALL).info;
    EXPECT_EQ(std::tuple(zeroed.dwXpos, zeroed.dwYpos, zeroed.dwZpos),
              std::tuple(32768u, 32768u, 32768u));
    int changes = 0;
    DWORD last = zeroed.dwXpos;
    for (int poll = 0; poll < 500; ++poll) {
        now_ += 0.02;
        const DWORD x = Query(0, JOY_RETURNALL).info.dwXpos;
        changes += x != last ? 1 : 0;
        last = x;
    }
    EXPECT_GT(changes, 5) << "the head sways";
    EXPECT_LT(changes, 100);
}

TEST_F(JoystickApi, ANewCalibrationAppliesOnlyAfterTheDriverIsTold) {
    now_ = 27.85;  // the head is pitched well away from straight ahead here
    const DWORD narrow = Query(0, JOY_RETURNALL).info.dwYpos;
    ASSERT_GT(std::abs(Offset(narrow)), 800);
    JOYREGHWCONFIG config = emulated::SeedJoystickConfig();
    config.hwv.jrvHardware.jpMin.dwY = 0;
    config.hwv.jrvHardware.jpMax.dwY = 2047;
    ASSERT_EQ(SetValue(kSettings, "Joystick1Configuration", REG_BINARY, &config, sizeof config),
              ERROR_SUCCESS);
    EXPECT_EQ(Query(0, JOY_RETURNALL).info.dwYpos, narrow) << "the registry alone changes nothing";

    StoreRecord(config);
    const DWORD full = Query(0, JOY_RETURNALL).info.dwYpos;
    EXPECT_LT(std::abs(Offset(full)) * 4, std::abs(Offset(narrow))) << "a wider range swings less";
    EXPECT_EQ(Offset(full) > 0, Offset(narrow) > 0);
}

TEST_F(JoystickApi, TheDriverOpensOnlyWithItsDriversEntry) {
    EXPECT_NE(OpenDriver(L"MSJSTICK", L"drivers", 0), nullptr);
    for (const char* systemIni : {"[Drivers]\n;msjstick=msjstick.drv\n", "[Drivers]\nmsjstick=\n",
                                  "[Other]\nmsjstick=msjstick.drv\n"}) {
        Write("system.ini", systemIni);
        Reload();
        EXPECT_EQ(OpenDriver(L"msjstick", L"Drivers", 0), nullptr) << systemIni;
    }
}

// The szPname of every slot up to the last device, "-" for no device, joined by "|".
std::string DeviceNames() {
    std::string names;
    for (const std::string& name : SlotNames(16)) {
        names += name + "|";
    }
    return names.substr(0, names.find_last_not_of("-|") + 1);
}

// Devices from "name=identity[@physical path]" items joined by ";", a leading "!" unopenable.
std::vector<FakeDevice> Devices(const std::string& list) {
    std::vector<FakeDevice> devices;
    std::istringstream items(list);
    for (std::string item; std::getline(items, item, ';');) {
        const bool locked = item.starts_with('!');
        const std::size_t equals = item.find('='), at = item.find('@', equals);
        devices.push_back(MakeFakeDevice(devices.size(), item.substr(locked, equals - locked),
                                         item.substr(equals + 1, at - equals - 1)));
        if (at != item.npos) {
            devices.back().description.physicalPath = item.substr(at + 1);
        }
        devices.back().openError = locked ? EACCES : 0;
    }
    return devices;
}

// A record whose X range is `min`..`max` around 1024; Y and Z over the full range.
JOYREGHWCONFIG RecordWithX(DWORD min, DWORD max) {
    JOYREGHWCONFIG config{};
    config.hwv.jrvHardware =
        JOYRANGE{{min, 0, 0, 0, 0, 0}, {max, 2047, 2047, 0, 0, 0}, {1024, 1024, 1024, 0, 0, 0}};
    return config;
}

const JOYREGHWCONFIG kRecord = RecordWithX(512, 1534);
const std::string kRegistry =
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\" + std::string(kSettings) +
    "]\n\"Joystick1Configuration\"=" + RegistryHex(&kRecord, sizeof kRecord) + "\n";
constexpr char kBound[] = "[Joystick1]\nIdentity=usb-hmd\n";

class RealDevices : public MachineTest {
protected:
    void Start(const std::string& joysticksIni, std::vector<FakeDevice> devices,
               const std::string& registry = "REGEDIT4\n", const std::string& bindings = "",
               const std::string& plugStates = "") {
        Write("joysticks.ini", joysticksIni);
        Write("input-slots.ini", bindings);
        Write("input-devices.ini", plugStates);
        Write("system.reg", registry);
        Write("system.ini", "[Drivers]\nmsjstick=msjstick.drv\n");
        source_ = UseFakeDevices(std::move(devices));
        Reload();
    }

    FakeDeviceState& Device(std::size_t index) { return *source_->devices[index].state; }
    li::RawRange KernelX(std::size_t index) { return Device(index).kernel[0]->evdev.range; }

    std::shared_ptr<FakeDeviceSource> source_;
};

struct SlotCase {
    const char* name;
    std::string joysticksIni;
    std::string bindings;   // input-slots.ini
    std::string devices;    // as Devices() reads them
    std::string slots;      // as DeviceNames() gives them
    std::string said = "";  // on standard error over two loads
};

class RealSlots : public RealDevices, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(RealSlots, TakeTheirSlots) {
    const SlotCase& c = GetParam();
    ::testing::internal::CaptureStderr();
    Start(c.joysticksIni, Devices(c.devices), "REGEDIT4\n", c.bindings);
    EXPECT_EQ(DeviceNames(), c.slots);
    Reload();
    EXPECT_EQ(DeviceNames(), c.slots);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.said);
}

const std::string kFourteenSections =
    "[Joystick1]\n[Joystick2]\n[Joystick3]\n[Joystick4]\n[Joystick5]\n[Joystick6]\n[Joystick7]\n"
    "[Joystick8]\n[Joystick9]\n[Joystick10]\n[Joystick11]\n[Joystick12]\n[Joystick13]\n"
    "[Joystick14]\n";

const SlotCase kLayouts[] = {
    {"NoDevicesAsToday", kSeededIni, "", "", "Emulated head tracker"},
    {"PadBesideTheVirtualTracker", kSeededIni, "", "Game Pad=usb-pad",
     "Emulated head tracker|Game Pad"},
    {"RealTrackerTakesOverFromTheVirtualOne",
     kSeededIni + std::string("[Joystick2]\nDevice=Joystick\n"), "", kHmd,
     "-|Emulated joystick|ZARVEN HMD Tracker"},
    {"LockedTrackerLeavesTheVirtualOne", kSeededIni, "", "!" + std::string(kHmd),
     "Emulated head tracker", "zarven-controls: /dev/input/js0: Permission denied\n"},
    {"LowerCaseTrackerIsNoTracker", kSeededIni, "", "hmd tracker=usb-hmd",
     "Emulated head tracker|hmd tracker"},
    {"OrderedByIdentityThenPath", "[Joystick2]\nDevice=Joystick\n", "",
     "B=usb-b;A2=usb-a@2;A1=usb-a@1", "A1|Emulated joystick|A2|B"},
    {"AnEmptySectionKeepsItsSlot", "[Joystick1]\n", "", "Game Pad=usb-pad", "-|Game Pad"},
    {"LongNameIsCut", "", "", std::string(40, 'n') + "=usb-long", std::string(31, 'n')},
    {"BoundSlotKeepsItsDeviceAheadOfTheOrder", "", "[Joystick2]\nIdentity=usb-b\n",
     "B=usb-b;A=usb-a;C=usb-c", "A|B|C"},
    {"BoundSlotStaysEmptyWhileItsDeviceIsAway", "",
     "[Joystick1]\nIdentity=usb-gone\n[Joystick2]\nIdentity=USB-A\n", "A=usb-a", "-|-|A"},
    {"BindingsReadEscapedBytes", "", "[Joystick2]\nIdentity=usb-a%7e\n", "A=usb-a~", "-|A"},
    {"IdenticalDevicesTakeTheirIdentitysSlotsByPath", "",
     "[Joystick3]\nIdentity=usb-a\n[Joystick2]\nIdentity=usb-a\n", "A2=usb-a@2;A1=usb-a@1",
     "-|A1|A2"},
    {"ASectionOfJoysticksIniWinsOverABinding", "[Joystick1]\nDevice=Joystick\n",
     "[Joystick1]\nIdentity=usb-a\n", "A=usb-a", "Emulated joystick|A"},
    {"TrackersThenUsableDevicesFirstWhenSlotsRunShort", kFourteenSections, "",
     "Pad 1=usb-a;Pad 2=usb-b;ZARVEN HMD Tracker=usb-z;!Locked=usb-0",
     "-|-|-|-|-|-|-|-|-|-|-|-|-|-|Pad 1|ZARVEN HMD Tracker",
     "zarven-controls: /dev/input/js3: Permission denied\n"
     "zarven-controls: /dev/input/js1 (Pad 2): no free joystick slot\n"}};

INSTANTIATE_TEST_SUITE_P(Layouts, RealSlots, ::testing::ValuesIn(kLayouts), kByName);

// Each slot's kernel name under its own OEM key, case-blind names apart; never stored or written.
TEST_F(RealDevices, ShowTheirOemNamesWithoutStoringThem) {
    Start("", Devices("Foo Tracker=usb-Foo\\Tracker;FOO TRACKER=usb-FOO"));
    const std::string settings =
        "system\\currentcontrolset\\control\\mediaresources\\joystick\\msjstick.drv\\"
        "currentjoysticksettings";
    for (const auto& [slot, type, name] :
         {std::tuple{"2", "Linux input usb-Foo/Tracker (Joystick2)", "Foo Tracker"},
          std::tuple{"1", "Linux input usb-FOO (Joystick1)", "FOO TRACKER"}}) {
        EXPECT_EQ(QueryTextAt(settings, "JOYSTICK" + std::string(slot) + "oemname"), type);
        EXPECT_EQ(QueryTextAt(kOemKey + std::string(type), "oemname"), name);
    }
    EXPECT_EQ(QueryTextAt(kSettings, "Joystick3OEMName"), "error 2");
    EXPECT_EQ(QueryTextAt(std::string(kSettings, 60), "Joystick1OEMName"), "no key");
    EXPECT_EQ(SetText(kSettings, "Joystick1OEMName", "other"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Read("system.reg") + Read("input-devices.ini") + Read("input-slots.ini"),
              "REGEDIT4\n");

    // The settings key exists only in memory; a record stored there creates it in the file.
    EXPECT_EQ(SetText(settings, "Joystick1Configuration", "x"), ERROR_SUCCESS);
    EXPECT_THAT(Read("system.reg"), HasSubstr("[HKEY_LOCAL_MACHINE\\" + std::string(kSettings) +
                                              "]\n\"Joystick1Configuration\"=\"x\""));
}

// A record applies to the device bound to its slot; changing a slot's record binds its device.
TEST_F(RealDevices, RecordsBelongToTheirBoundDevices) {
    Start("", Devices("Stick=usb-b;Other=usb-c"), kRegistry);
    DeviceNames();
    StoreRecord(kRecord);  // nothing changed: nobody calibrated
    EXPECT_TRUE(Device(0).applied.empty());
    EXPECT_EQ(Read("input-slots.ini"), "");

    StoreRecord(RecordWithX(600, 1500));
    EXPECT_EQ(KernelX(0), (li::RawRange{600, 1500}));
    EXPECT_TRUE(Device(1).applied.empty());
    EXPECT_THAT(Read("input-slots.ini"), HasSubstr("[Joystick1]\nIdentity=usb-b\n"));

    // A device sorting ahead is plugged in: the record stays with its device.
    source_->devices.insert(source_->devices.begin(), MakeFakeDevice(2, "Pad", "usb-a"));
    Reload();
    EXPECT_EQ(DeviceNames(), "Stick|Pad|Other");
    EXPECT_EQ(Device(1).applied.size(), 2u);
    EXPECT_EQ(KernelX(1), (li::RawRange{600, 1500}));
    EXPECT_TRUE(Device(0).applied.empty() && Device(2).applied.empty());
}

// Unplugged, a slot looks for its device at most once a second; the same identity gets its record.
TEST_F(RealDevices, UnpluggedAnswerUnpluggedUntilTheSameDeviceComesBack) {
    Start("", Devices("Stick=usb-b"), kRegistry, "[Joystick1]\nIdentity=usb-b\n");
    DeviceNames();
    ::testing::internal::CaptureStderr();
    const FakeDevice unplugged = source_->devices[0];
    source_->devices.clear();
    unplugged.state->readError = ENODEV;
    EXPECT_EQ(Query(0, JOY_RETURNALL).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(unplugged.state->reads, 1);

    source_->devices.push_back(MakeFakeDevice(3, "Stick", "usb-b"));
    source_->devices[0].state->joydev = {32767, 0, 0};
    now_ += 0.5;
    EXPECT_EQ(Query(0, JOY_RETURNALL).result, JOYERR_UNPLUGGED);  // looked for a second ago
    now_ += 0.5;
    const Reply reply = Query(0, JOY_RETURNALL);
    EXPECT_EQ(reply.result, JOYERR_NOERROR);
    EXPECT_EQ(reply.info.dwXpos, 65535u);
    EXPECT_EQ(KernelX(0), (li::RawRange{512, 1534}));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// Identities an INI value cannot hold as they are stay escaped, and are found at the next start.
TEST_F(RealDevices, OddIdentitiesAreKeptEscapedAndFoundAgain) {
    for (const auto& [identity, escaped] :
         {std::pair{" usb\ta%", "%20usb%09a%25"}, std::pair{"usb-\x7f\xe9 ", "usb-%7F%E9%20"}}) {
        SCOPED_TRACE(escaped);
        Start("", Devices(std::string("ZARVEN HMD Tracker=") + identity));
        StoreRecord(RecordWithX(600, 1500));
        EXPECT_THAT(Read("input-slots.ini"), HasSubstr("Identity=" + std::string(escaped) + "\n"));
        EXPECT_THAT(Read("input-devices.ini"),
                    HasSubstr("Identity=" + std::string(escaped) + "\n"));
        Reload();
        DeviceNames();
        EXPECT_EQ(Device(0).applied.size(), 2u) << "the record applied again at the next start";
    }
}

// Zero shifts the stored record to the present raw position; the shift and the device's own
// ranges are remembered for a later run, other plug-ins' states dropped.
TEST_F(RealDevices, ZeroShiftsTheCalibrationAndIsRememberedForThePlugIn) {
    Start("", Devices(kHmd), kRegistry, kBound, "[input3@old]\nIdentity=usb-hmd\nXMin=5\nXMax=6\n");
    Device(0).raw = {1100, 1000, 1024};
    ASSERT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_NOERROR);
    ASSERT_EQ(Device(0).applied.size(), 2u);
    const li::Calibrations& zeroed = Device(0).kernel;
    EXPECT_EQ(zeroed[0]->evdev.range, (li::RawRange{588, 1610}));
    EXPECT_EQ(zeroed[1]->evdev.range, (li::RawRange{-23, 2024}));  // full range, 23 above 1023
    EXPECT_EQ(zeroed[2]->evdev.range, (li::RawRange{1, 2048}));
    EXPECT_EQ(zeroed[0]->correction.coef[0], 1100);

    // The next run: the kernel holds the narrowed range; the remembered one counts.
    Reload();
    DeviceNames();
    ASSERT_EQ(Device(0).applied.size(), 3u);
    EXPECT_EQ(Device(0).applied[2], Device(0).applied[1]);
    const std::string state = Read("input-devices.ini");
    EXPECT_THAT(
        state,
        HasSubstr("[input20@boot]\nIdentity=usb-hmd\nXMin=0\nXMax=2047\nXFlat=0\nXShift=76\n"));
    EXPECT_THAT(state, ::testing::Not(HasSubstr("input3@old")));
}

// A zero stored for this plug-in while the kernel still holds the plug-in calibration (its
// calibration was never applied) moves the record's range when it is applied.
TEST_F(RealDevices, AZeroStoredForAnUntouchedPlugInIsApplied) {
    std::string section = "[input20@boot]\nIdentity=usb-hmd\nXShift=100\n";
    for (const char axis : {'X', 'Y', 'Z'}) {
        section += std::string(1, axis) + "Min=0\n" + axis + "Max=2047\n" + axis + "Flat=0\n";
    }
    Start("", Devices(kHmd), kRegistry, kBound, section);
    DeviceNames();
    EXPECT_EQ(KernelX(0), (li::RawRange{612, 1634}));
}

// input-devices.ini's state counts only when it accounts for what the kernel holds; else one line.
struct PlugStateCase {
    const char* name;
    std::int32_t kernelMin, kernelMax;  // X's evdev range, as an earlier run set it
    std::string stored;                 // X's keys in this plug-in's section
    std::string said = "";              // why the device is left alone
    int error = 0;                      // of reading the kernel's calibration
};

class PlugStates : public RealDevices, public ::testing::WithParamInterface<PlugStateCase> {};

TEST_P(PlugStates, CountWhenTheyAccountForTheKernel) {
    const PlugStateCase& c = GetParam();
    std::vector<FakeDevice> hmd = Devices(kHmd);
    hmd[0].state->kernel[0] = li::AxisCalibration{{{c.kernelMin, c.kernelMax}, 0}, {}};
    hmd[0].state->applyError = c.error;
    ::testing::internal::CaptureStderr();
    Start("", hmd, kRegistry, kBound, "[input20@boot]\nIdentity=usb-hmd\n" + c.stored);
    DeviceNames();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Device(0).applied.size(), c.said.empty() ? 1u : 0u) << said;
    EXPECT_THAT(said, HasSubstr(c.said));
}

const char kNoRange[] = "no range stored for /dev/input/js0";
const PlugStateCase kSections[] = {
    {"Narrowed", 512, 1534, "XMin=0\nXMax=2047\nXFlat=0\nXShift=0\n"},
    {"ShiftedUpWithoutADeadZone", 100, 2147, "XMin=0\nXMax=2047\nXShift=100\n"},
    {"ShiftedDownByTheSpan", -2047, 0, "XMin=0\nXMax=2047\nXShift=-2047\n"},
    {"DeadZoneAsWideAsTheSpan", 512, 1534, "XMin=0\nXMax=2047\nXFlat=2047\n"},
    {"ShiftedBeyondTheSpan", 100, 2147, "XMin=0\nXMax=2047\nXShift=2048\n", kNoRange},
    {"NotANumber", 512, 1534, "XMin=0\nXMax=2047mm\n", kNoRange},
    {"EmptyRange", 512, 1534, "XMin=5\nXMax=5\n", kNoRange},
    {"NarrowerThanTheKernel", 512, 1534, "XMin=600\nXMax=2047\n", kNoRange},
    {"KernelRefusesToBeRead", 512, 1534, "XMin=0\nXMax=2047\n",
     "/dev/input/js0: calibration not applied: Invalid argument", EINVAL}};

INSTANTIATE_TEST_SUITE_P(Sections, PlugStates, ::testing::ValuesIn(kSections), kByName);

}  // namespace
}  // namespace emulated_test
