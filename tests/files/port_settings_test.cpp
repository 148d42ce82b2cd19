// Which device a COM number opens on a first run, and storing the choice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "files/atomic_write.h"
#include "files/settings.h"

namespace korvan {
namespace {

TEST(PortSettings, FirstRunTakesTheOneAdapterOnlyWithoutAKey) {
    struct Case {
        const char* what;
        const char* ini;
        int com;
        std::vector<std::string> adapters;
        const char* device;
        bool store;
    } cases[] = {
        {"key wins over the adapter",
         "[PORTS]\nCOM1=/dev/ttyACM3\n",
         1,
         {"/dev/ttyUSB0"},
         "/dev/ttyACM3",
         false},
        {"one adapter, no key",
         "[PORTS]\nCOM2=/dev/ttyACM3\n",
         1,
         {"/dev/serial/by-id/usb-x"},
         "/dev/serial/by-id/usb-x",
         true},
        {"one adapter, no section", "", 4, {"/dev/ttyUSB0"}, "/dev/ttyUSB0", true},
        {"two adapters: no guess", "", 1, {"/dev/ttyUSB0", "/dev/ttyACM0"}, "/dev/ttyS0", false},
        {"no adapter: the built-in port", "", 3, {}, "/dev/ttyS2", false},
        {"an empty key counts as none",
         "[PORTS]\nCOM1=\n",
         1,
         {"/dev/ttyUSB0"},
         "/dev/ttyUSB0",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniStore store;
        store.LoadText(c.ini);
        const PortChoice choice = ChoosePortDevice(store, c.com, c.adapters);
        EXPECT_EQ(choice.device, c.device);
        EXPECT_EQ(choice.storeAsKey, c.store);
        if (c.adapters.empty()) {
            EXPECT_EQ(PortDeviceName(store, c.com), c.device);
        }
    }
}

TEST(PortSettings, StoringAPortKeepsEveryOtherKey) {
    char tmpl[] = "/tmp/korvan-ports-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const std::string path = dir + "/Korvan2.ini";
    ASSERT_TRUE(WriteFileAtomically(
                    path, "[FORM_HLAV]\r\nLeft=5\r\n[PORTS]\r\nCOM1=/dev/a\r\nCOM3=/dev/c\r\n")
                    .ok);
    IniStore store(path);
    ASSERT_TRUE(StorePortDevice(store, 1, "/dev/serial/by-id/usb-FTDI-if00").ok);
    ASSERT_TRUE(StorePortDevice(store, 2, "/dev/ttyACM0").ok);

    IniStore again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(PortDeviceName(again, 1), "/dev/serial/by-id/usb-FTDI-if00");
    EXPECT_EQ(PortDeviceName(again, 2), "/dev/ttyACM0");
    EXPECT_EQ(PortDeviceName(again, 3), "/dev/c");
    EXPECT_EQ(again.ReadInteger("FORM_HLAV", "Left", 0), 5);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvan
