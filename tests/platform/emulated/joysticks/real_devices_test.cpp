// The kernel's joystick devices in the machine's slots, over stand-in devices: which slots they
// take, what they report, their OEM names, and the calibrations they are given.
#include "platform/emulated/emulated_machine.h"
#include "tests/support/fake_input_devices.h"
#include "tests/support/test_machine.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace emulated_test {
namespace {

namespace li = linux_input;

constexpr char kSeededIni[] = "[Joystick1]\nDevice=HeadTracker\nRegKey=MSJSTICK.DRV\n";

// The szPname of every slot up to the last device, "-" for a slot that is no device.
std::vector<std::string> DeviceNames() {
    std::vector<std::string> names = SlotNames(16);
    while (!names.empty() && names.back() == "-") {
        names.pop_back();
    }
    return names;
}

void StoreRecord(UINT slot, const JOYREGHWCONFIG& record) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettings, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const std::string name = "Joystick" + std::to_string(slot + 1) + "Configuration";
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(&record), sizeof record),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void NotifyJoystickDriver() {
    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    ASSERT_NE(driver, nullptr);
    SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0);
    CloseDriver(driver, 0, 0);
}

class RealDevices : public MachineTest {
protected:
    // The prefix's joysticks.ini and the devices, then a fresh machine.
    void Start(const std::string& joysticksIni, std::vector<FakeDevice> devices,
               const std::string& registry = "REGEDIT4\n", const std::string& bindings = "") {
        WriteText(File("joysticks.ini"), joysticksIni);
        WriteText(File("input-slots.ini"), bindings);
        WriteText(File("system.reg"), registry);
        WriteText(File("system.ini"), "[Drivers]\nmsjstick=msjstick.drv\n");
        source_ = UseFakeDevices(std::move(devices));
        Reload();
    }

    FakeDeviceState& Device(std::size_t index) { return *source_->devices[index].state; }

    std::shared_ptr<FakeDeviceSource> source_;
};

struct SlotCase {
    const char* name;
    std::string joysticksIni;
    std::string bindings;  // input-slots.ini
    std::vector<FakeDevice> devices;
    std::vector<std::string> slots;
};

class RealSlots : public RealDevices, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(RealSlots, TakeTheirSlots) {
    Start(GetParam().joysticksIni, GetParam().devices, "REGEDIT4\n", GetParam().bindings);
    EXPECT_EQ(DeviceNames(), GetParam().slots);
}

FakeDevice WithPath(FakeDevice device, std::string path) {
    device.description.physicalPath = std::move(path);
    return device;
}

std::string EmptySections(UINT count) {
    std::string text;
    for (UINT slot = 1; slot <= count; ++slot) {
        text += "[Joystick" + std::to_string(slot) + "]\n";
    }
    return text;
}

std::vector<std::string> Names(std::size_t emptySlots, std::vector<std::string> then) {
    then.insert(then.begin(), emptySlots, "-");
    return then;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RealSlots,
    ::testing::Values(
        SlotCase{"NoDevicesAsToday", kSeededIni, "", {}, {"Emulated head tracker"}},
        SlotCase{"PadBesideTheVirtualTracker",
                 kSeededIni,
                 "",
                 {MakeFakeDevice(0, "Game Pad", "usb-pad")},
                 {"Emulated head tracker", "Game Pad"}},
        SlotCase{"RealTrackerTakesOverFromTheVirtualOne",
                 kSeededIni + std::string("[Joystick2]\nDevice=Joystick\n"),
                 "",
                 {MakeFakeDevice(0, "ZARVEN HMD Tracker", "usb-hmd")},
                 {"-", "Emulated joystick", "ZARVEN HMD Tracker"}},
        SlotCase{"LowerCaseTrackerIsNoTracker",
                 kSeededIni,
                 "",
                 {MakeFakeDevice(0, "hmd tracker", "usb-hmd")},
                 {"Emulated head tracker", "hmd tracker"}},
        SlotCase{"OrderedByIdentityThenPath",
                 "[Joystick2]\nDevice=Joystick\n",
                 "",
                 {MakeFakeDevice(0, "B", "usb-b"), WithPath(MakeFakeDevice(1, "A2", "usb-a"), "p2"),
                  WithPath(MakeFakeDevice(2, "A1", "usb-a"), "p1")},
                 {"A1", "Emulated joystick", "A2", "B"}},
        SlotCase{"AnEmptySectionKeepsItsSlot",
                 "[Joystick1]\n",
                 "",
                 {MakeFakeDevice(0, "Game Pad", "usb-pad")},
                 {"-", "Game Pad"}},
        SlotCase{"LongNameIsCut",
                 "",
                 "",
                 {MakeFakeDevice(0, std::string(40, 'n'), "usb-long")},
                 {std::string(31, 'n')}},
        SlotCase{"BoundSlotKeepsItsDeviceAheadOfTheOrder",
                 "",
                 "[Joystick2]\nIdentity=usb-b\n",
                 {MakeFakeDevice(0, "B", "usb-b"), MakeFakeDevice(1, "A", "usb-a"),
                  MakeFakeDevice(2, "C", "usb-c")},
                 {"A", "B", "C"}},
        SlotCase{"BoundSlotStaysEmptyWhileItsDeviceIsAway",
                 "",
                 "[Joystick1]\nIdentity=usb-gone\n[Joystick2]\nIdentity=USB-A\n",
                 {MakeFakeDevice(0, "A", "usb-a")},
                 {"-", "-", "A"}},
        SlotCase{"IdenticalDevicesTakeTheirIdentitysSlotsByPath",
                 "",
                 "[Joystick3]\nIdentity=usb-a\n[Joystick2]\nIdentity=usb-a\n",
                 {WithPath(MakeFakeDevice(0, "A2", "usb-a"), "p2"),
                  WithPath(MakeFakeDevice(1, "A1", "usb-a"), "p1")},
                 {"-", "A1", "A2"}},
        SlotCase{"ASectionOfJoysticksIniWinsOverABinding",
                 "[Joystick1]\nDevice=Joystick\n",
                 "[Joystick1]\nIdentity=usb-a\n",
                 {MakeFakeDevice(0, "A", "usb-a")},
                 {"Emulated joystick", "A"}},
        SlotCase{"TrackersFirstWhenSlotsRunShort",
                 EmptySections(14),
                 "",
                 {MakeFakeDevice(0, "Pad 1", "usb-a"), MakeFakeDevice(1, "Pad 2", "usb-b"),
                  MakeFakeDevice(2, "ZARVEN HMD Tracker", "usb-z")},
                 Names(14, {"Pad 1", "ZARVEN HMD Tracker"})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealDevices, LeftWithoutASlotSayOnceWhich) {
    FakeDevice locked = MakeFakeDevice(3, "Locked", "usb-0");
    locked.openError = EACCES;
    ::testing::internal::CaptureStderr();
    Start(EmptySections(15), {MakeFakeDevice(0, "Pad", "usb-a"),
                              MakeFakeDevice(1, "ZARVEN HMD Tracker", "usb-z"), locked});
    EXPECT_EQ(DeviceNames(), Names(15, {"ZARVEN HMD Tracker"}));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: /dev/input/js3: Permission denied\n"
              "zarven-controls: /dev/input/js0 (Pad): no free joystick slot\n");
}

// Discovery reads the kernel name as the OEM name; nothing of it is stored, and it cannot be
// overwritten.
TEST_F(RealDevices, ShowTheirOemNamesWithoutStoringThem) {
    Start("", {MakeFakeDevice(0, "ZARVEN HMD Tracker", "usb-ZARVEN\\HMD")});
    const std::string oemType = "Linux input usb-ZARVEN/HMD (Joystick1)";
    EXPECT_EQ(QueryTextAt(kSettings, "Joystick1OEMName"), oemType);
    const std::string oemKey =
        "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\" +
        oemType;
    EXPECT_EQ(QueryTextAt(oemKey.c_str(), "OEMName"), "ZARVEN HMD Tracker");
    EXPECT_EQ(QueryTextAt(kSettings, "Joystick2OEMName"), "error 2");
    EXPECT_EQ(SetText(kSettings, "Joystick1OEMName", "other"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadText(File("system.reg")), "REGEDIT4\n");
    EXPECT_FALSE(std::filesystem::exists(File("input-devices.ini")));
    EXPECT_EQ(ReadText(File("input-slots.ini")), "");

    // The settings key exists only in memory; a record stored there creates it in the file.
    EXPECT_EQ(SetText(kSettings, "Joystick1Configuration", "x"), ERROR_SUCCESS);
    EXPECT_NE(ReadText(File("system.reg")).find("\"Joystick1Configuration\"=\"x\""),
              std::string::npos);
}

// The registry compares key names without case; each slot's OEM key is its own all the same.
TEST_F(RealDevices, NamesDifferingOnlyInCaseKeepTheirOwnOemNames) {
    Start("", {MakeFakeDevice(0, "Foo Tracker", "usb-Foo Tracker"),
               MakeFakeDevice(1, "FOO TRACKER", "usb-FOO TRACKER")});
    for (const auto& [value, name] : {std::pair{"Joystick1OEMName", "FOO TRACKER"},
                                      std::pair{"Joystick2OEMName", "Foo Tracker"}}) {
        const std::string oemKey =
            "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\"
            "OEM\\" +
            QueryTextAt(kSettings, value);
        EXPECT_EQ(QueryTextAt(oemKey.c_str(), "OEMName"), name);
    }
}

TEST_F(RealDevices, ThatCannotBeOpenedAreNoDeviceAndSaySoOnce) {
    FakeDevice locked = MakeFakeDevice(4, "ZARVEN HMD Tracker", "usb-hmd");
    locked.openError = EACCES;
    ::testing::internal::CaptureStderr();
    Start(kSeededIni, {locked});
    const std::vector<std::string> first = DeviceNames();
    Reload();
    const std::vector<std::string> second = DeviceNames();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: /dev/input/js4: Permission denied\n");
    // A tracker that cannot be opened leaves the virtual one in place.
    EXPECT_EQ(first, (std::vector<std::string>{"Emulated head tracker"}));
    EXPECT_EQ(second, first);
    EXPECT_EQ(Query(1, JOY_RETURNALL).result, JOYERR_UNPLUGGED);
}

TEST_F(RealDevices, ReportTheLatestAxesAndTakeNoOptionCommands) {
    Start("", {MakeFakeDevice(0, "ZARVEN HMD Tracker", "usb-hmd")});
    Device(0).joydev = {-32767, 0, 32767};
    const Reply axes = Query(0, JOY_RETURNALL);
    ASSERT_EQ(axes.result, JOYERR_NOERROR);
    EXPECT_EQ(axes.info.dwXpos, 0u);
    EXPECT_EQ(axes.info.dwYpos, 32768u);
    EXPECT_EQ(axes.info.dwZpos, 65535u);

    const Reply status = Query(0, JOY_CAL_READVONLY);
    EXPECT_EQ(status.result, JOYERR_NOERROR);
    EXPECT_EQ(status.info.dwVpos, 0u);
    for (DWORD command :
         {JOY_CAL_READYONLY, JOY_CAL_READZONLY, JOY_CAL_READRONLY, JOY_CAL_READUONLY}) {
        EXPECT_EQ(Query(0, command).result, JOYERR_NOCANDO) << command;
    }
    EXPECT_TRUE(Device(0).applied.empty());
}

TEST_F(RealDevices, UnpluggedAnswerUnpluggedWithoutReadingAgain) {
    Start("", {MakeFakeDevice(0, "Stick", "usb-stick")});
    ::testing::internal::CaptureStderr();
    Device(0).readError = ENODEV;
    EXPECT_EQ(Query(0, JOY_RETURNALL).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Query(0, JOY_RETURNALL).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_UNPLUGGED);
    EXPECT_EQ(Device(0).reads, 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

JOYREGHWCONFIG RecordWithX(DWORD min, DWORD center, DWORD max) {
    JOYREGHWCONFIG config{};
    JOYRANGE& r = config.hwv.jrvHardware;
    r.jpMin = JOYPOS{min, 0, 0, 0, 0, 0};
    r.jpCenter = JOYPOS{center, 1024, 1024, 0, 0, 0};
    r.jpMax = JOYPOS{max, 2047, 2047, 0, 0, 0};
    return config;
}

std::string RegistryWithRecord(UINT slot, const JOYREGHWCONFIG& config) {
    return "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\" + std::string(kSettings) + "]\n\"Joystick" +
           std::to_string(slot + 1) + "Configuration\"=" + RegistryHex(&config, sizeof config) +
           "\n";
}

li::RawRange KernelX(const FakeDeviceState& device) {
    return device.kernel[0]->evdev.range;
}

// A record applies to the device bound to its slot, never to whichever device sorts into it;
// the panel changing a slot's record binds its device.
TEST_F(RealDevices, RecordsBelongToTheirBoundDevices) {
    Start("", {MakeFakeDevice(0, "Stick", "usb-b"), MakeFakeDevice(1, "Other", "usb-c")},
          RegistryWithRecord(0, RecordWithX(512, 1024, 1534)));
    DeviceNames();
    EXPECT_TRUE(Device(0).applied.empty());  // a record of a slot nobody is bound to
    NotifyJoystickDriver();                  // nothing changed: nobody calibrated
    EXPECT_TRUE(Device(0).applied.empty());
    EXPECT_EQ(ReadText(File("input-slots.ini")), "");

    StoreRecord(0, RecordWithX(600, 1024, 1500));
    NotifyJoystickDriver();
    EXPECT_EQ(KernelX(Device(0)), (li::RawRange{600, 1500}));
    EXPECT_TRUE(Device(1).applied.empty());
    EXPECT_NE(ReadText(File("input-slots.ini")).find("[Joystick1]\nIdentity=usb-b\n"),
              std::string::npos);

    // A device sorting ahead is plugged in: the record stays with its device.
    source_->devices.insert(source_->devices.begin(), MakeFakeDevice(2, "Pad", "usb-a"));
    Reload();
    EXPECT_EQ(DeviceNames(), (std::vector<std::string>{"Stick", "Pad", "Other"}));
    EXPECT_EQ(KernelX(Device(1)), (li::RawRange{600, 1500}));
    EXPECT_TRUE(Device(0).applied.empty());
    EXPECT_TRUE(Device(2).applied.empty());
}

TEST_F(RealDevices, RefusedCalibrationIsReportedOnceAndTheRecordStaysStored) {
    FakeDevice stick = MakeFakeDevice(0, "Stick", "usb-a");
    stick.state->applyError = EINVAL;
    ::testing::internal::CaptureStderr();
    Start("", {stick}, RegistryWithRecord(0, RecordWithX(512, 1024, 1534)),
          "[Joystick1]\nIdentity=usb-a\n");
    DeviceNames();
    StoreRecord(0, RecordWithX(100, 1024, 1900));
    NotifyJoystickDriver();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "zarven-controls: /dev/input/js0: calibration not applied: Invalid argument\n");
    Reload();
    EXPECT_EQ(StoredConfig(0)->hwv.jrvHardware.jpMin.dwX, 100u);
}

// Zero makes the present raw position the centre, on top of the stored record; the shift and the
// device's own ranges outlive the machine, so a later run does not take the narrowed evdev range
// for the device's own.
TEST_F(RealDevices, ZeroShiftsTheCalibrationAndIsRememberedForThePlugIn) {
    Start("", {MakeFakeDevice(0, "ZARVEN HMD Tracker", "usb-hmd")},
          RegistryWithRecord(0, RecordWithX(512, 1024, 1534)), "[Joystick1]\nIdentity=usb-hmd\n");
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
    const std::string state = ReadText(File("input-devices.ini"));
    EXPECT_NE(
        state.find("[input20@boot]\nIdentity=usb-hmd\nXMin=0\nXMax=2047\nXFlat=0\nXShift=76\n"),
        std::string::npos)
        << state;
}

TEST_F(RealDevices, StateOfOtherPlugInsIsDroppedAtTheNextWrite) {
    WriteText(File("input-devices.ini"),
              "[input3@oldboot]\nIdentity=usb-hmd\nXMin=5\nXMax=6\nXShift=1\n");
    Start("", {MakeFakeDevice(0, "ZARVEN HMD Tracker", "usb-hmd")});
    Device(0).raw = {1024, 1024, 1024};
    ASSERT_EQ(Query(0, JOY_CAL_READXONLY).result, JOYERR_NOERROR);
    EXPECT_EQ(KernelX(Device(0)), (li::RawRange{1, 2048}));  // another plug-in's state unused
    const std::string state = ReadText(File("input-devices.ini"));
    EXPECT_EQ(state.find("oldboot"), std::string::npos) << state;
    EXPECT_NE(state.find("[input20@boot]"), std::string::npos) << state;
}

}  // namespace
}  // namespace emulated_test
