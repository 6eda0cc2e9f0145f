#include "platform/emulated/emulated_machine.h"
#include "platform/win32api.h"
#include "temp_prefix.h"

#include <gtest/gtest.h>

namespace emulated_test {
namespace {

using DriverApi = TempPrefixTest;

TEST_F(DriverApi, TheSeededDriverOpensByNameInAnyCase) {
    for (const wchar_t* name : {L"msjstick", L"MSJSTICK"}) {
        HDRVR driver = OpenDriver(name, L"drivers", 0);
        EXPECT_NE(driver, nullptr);
        EXPECT_EQ(CloseDriver(driver, 0, 0), TRUE);
    }
    EXPECT_EQ(OpenDriver(L"msjstick", L"Drivers32", 0), nullptr);
    EXPECT_EQ(OpenDriver(L"other", L"Drivers", 0), nullptr);
    EXPECT_EQ(OpenDriver(nullptr, L"Drivers", 0), nullptr);
    EXPECT_EQ(OpenDriver(L"msjstick", nullptr, 0), nullptr);
    EXPECT_EQ(OpenDriver(L"msj\u00e9stick", L"Drivers", 0), nullptr);
}

TEST_F(DriverApi, WithoutItsEntryTheDriverDoesNotOpen) {
    for (const char* systemIni : {"[Drivers]\n;msjstick=msjstick.drv\n", "[Drivers]\nmsjstick=\n",
                                  "[Other]\nmsjstick=x\n"}) {
        WriteText(File("system.ini"), systemIni);
        Reload();
        EXPECT_EQ(OpenDriver(L"msjstick", L"Drivers", 0), nullptr) << systemIni;
    }
}

TEST_F(DriverApi, MessagesAreLoggedAndAnsweredWithZero) {
    emulated::ClearLogs();
    HDRVR driver = OpenDriver(L"msjstick", L"Drivers", 0);
    EXPECT_EQ(SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0), 0);
    EXPECT_EQ(SendDriverMessage(driver, 0x0805, 7, -1), 0);
    EXPECT_EQ(CloseDriver(driver, 0, 0), TRUE);
    EXPECT_EQ(CloseDriver(driver, 0, 0), FALSE) << "closing twice";
    EXPECT_EQ(SendDriverMessage(driver, JDD_CONFIGCHANGED, 0, 0), 0)
        << "a closed handle is harmless";

    const std::vector<emulated::DriverMessage> log = emulated::DriverMessages();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].driver, "msjstick");
    EXPECT_EQ(log[0].message, static_cast<UINT>(JDD_CONFIGCHANGED));
    EXPECT_EQ(log[0].lParam1, 0);
    EXPECT_EQ(log[1].message, 0x0805u);
    EXPECT_EQ(log[1].lParam1, 7);
    EXPECT_EQ(log[1].lParam2, -1);
    EXPECT_EQ(log[2].driver, "");
}

}  // namespace
}  // namespace emulated_test
