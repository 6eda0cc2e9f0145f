// What a scan makes of /dev/input and sysfs, over a tree laid out as the kernel lays it out.
#include "platform/linux_input/device_scan.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class DeviceScan : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "zarven-scan-XXXXXX").string();
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        root_ = dir;
        roots_ = {root_ / "dev", root_ / "sys" / "class", root_ / "boot_id"};
        fs::create_directories(roots_.dev);
        Write(roots_.bootId, "b0-07\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    static void Write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    // /dev/input/jsN and eventM, and sysfs's input device inputK with its jsN and eventM.
    void AddJoystick(int js, int event, int input, const std::string& name,
                     const std::string& phys) {
        const fs::path device = root_ / "sys" / "devices" / ("input" + std::to_string(input));
        Write(device / "name", name + "\n");
        Write(device / "phys", phys + "\n");
        Write(device / "id" / "bustype", "0003\n");
        Write(device / "id" / "vendor", "1234\n");
        Write(device / "id" / "product", "00a1\n");
        Write(device / "id" / "version", "0110\n");
        fs::create_directories(device / ("event" + std::to_string(event)));
        fs::create_directories(device / ("js" + std::to_string(js)));
        fs::create_directories(roots_.sys / ("js" + std::to_string(js)));
        fs::create_directory_symlink(device, roots_.sys / ("js" + std::to_string(js)) / "device");
        Write(roots_.dev / ("js" + std::to_string(js)), "");
        Write(roots_.dev / ("event" + std::to_string(event)), "");
    }

    fs::path root_;
    linux_input::ScanRoots roots_;
};

TEST_F(DeviceScan, DescribesEachJoystickNode) {
    AddJoystick(1, 7, 12, "ZARVEN HMD Tracker", "usb-0000:00:14.0-2/input0");
    AddJoystick(0, 4, 9, "Pad", "");
    Write(roots_.dev / "mice", "");
    fs::create_directories(roots_.dev / "by-id");
    fs::create_symlink("../js1", roots_.dev / "by-id" / "usb-ZARVEN_HMD-joystick");
    fs::create_symlink("../event7", roots_.dev / "by-id" / "usb-ZARVEN_HMD-event-joystick");

    const std::vector<linux_input::DeviceDescription> found = linux_input::ScanJoysticks(roots_);
    ASSERT_EQ(found.size(), 2u);
    const linux_input::DeviceDescription& pad = found[0];
    EXPECT_EQ(pad.node, (roots_.dev / "js0").string());
    EXPECT_EQ(pad.eventNode, (roots_.dev / "event4").string());
    EXPECT_EQ(pad.name, "Pad");
    EXPECT_EQ(pad.identity, "0003:1234:00a1:0110:Pad");  // no by-id link
    EXPECT_EQ(pad.physicalPath, fs::canonical(root_ / "sys" / "devices" / "input9").string());
    EXPECT_EQ(pad.instance, "input9@b0-07");
    EXPECT_EQ(pad.vendor, 0x1234);
    EXPECT_EQ(pad.product, 0xa1);

    const linux_input::DeviceDescription& tracker = found[1];
    EXPECT_EQ(tracker.identity, "usb-ZARVEN_HMD-joystick");
    EXPECT_EQ(tracker.physicalPath, "usb-0000:00:14.0-2/input0");
    EXPECT_EQ(tracker.instance, "input12@b0-07");
}

TEST_F(DeviceScan, FindsNothingWithoutTheFolders) {
    EXPECT_TRUE(
        linux_input::ScanJoysticks({root_ / "none", root_ / "none", root_ / "none"}).empty());
}

}  // namespace
