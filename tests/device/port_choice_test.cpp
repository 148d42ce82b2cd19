// The order of the port list, and the stable name of a chosen adapter.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "device/port_choice.h"

namespace korvan {
namespace {

PortDescription Port(const char* device, bool usb = false,
                     std::optional<std::uint16_t> vid = std::nullopt) {
    PortDescription p;
    p.device = device;
    p.usb = usb;
    p.vendorId = vid;
    if (vid) p.productId = 0x6001;
    return p;
}

std::vector<std::string> Devices(const std::vector<PortDescription>& ports) {
    std::vector<std::string> out;
    for (const auto& p : ports) out.push_back(p.device);
    return out;
}

TEST(PortChoice, AdaptersFirstAndLegacyPortsOnlyWhenAllAreShown) {
    const std::vector<PortDescription> present = {
        Port("/dev/ttyS10"),
        Port("/dev/ttyS2"),
        Port("/dev/ttyAMA0"),
        Port("/dev/ttyUSB10", true, 0x0403),
        Port("/dev/ttyACM0"),
        Port("/dev/ttyUSB2", true, 0x0403),
        Port("/dev/ttySAC0"),
        Port("/dev/rfcomm0",
             true),  // a USB-attached port with another name still counts as an adapter
    };
    struct Case {
        bool showAll;
        std::vector<std::string> order;
    } cases[] = {
        {false,
         {"/dev/rfcomm0", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
          "/dev/ttySAC0"}},
        {true,
         {"/dev/rfcomm0", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
          "/dev/ttySAC0", "/dev/ttyS2", "/dev/ttyS10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.showAll);
        EXPECT_EQ(Devices(OrderPorts(present, c.showAll)), c.order);
    }
    EXPECT_EQ(AdapterDevices(present), (std::vector<std::string>{"/dev/rfcomm0", "/dev/ttyACM0",
                                                                 "/dev/ttyUSB2", "/dev/ttyUSB10"}));
    EXPECT_EQ(AdapterDevices({Port("/dev/ttyS0"), Port("/dev/ttyAMA0")}),
              std::vector<std::string>{});
}

TEST(PortChoice, NamesAndIds) {
    const struct {
        const char* device;
        bool legacy;
    } legacy[] = {{"/dev/ttyS0", true},  {"/dev/ttyS15", true},   {"ttyS3", true},
                  {"/dev/ttyS", false},  {"/dev/ttySAC0", false}, {"/dev/ttyUSB0", false},
                  {"/tmp/ttyS0x", false}};
    for (const auto& c : legacy) EXPECT_EQ(IsLegacyPort(c.device), c.legacy) << c.device;
    EXPECT_EQ(VendorProduct(Port("/dev/ttyUSB0", true, 0x0403)), "0403:6001");
    EXPECT_EQ(VendorProduct(Port("/dev/ttyS0")), "");
}

TEST(PortChoice, TheStableNameIsTheLinkInTheFolder) {
    char tmpl[] = "/tmp/korvan-byid-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const std::string byId = dir + "/by-id";
    std::filesystem::create_directory(byId);
    std::ofstream(dir + "/ttyUSB0") << "";
    std::ofstream(dir + "/ttyUSB1") << "";
    std::ofstream(dir + "/ttyACM0") << "";
    std::filesystem::create_symlink("../ttyUSB0", byId + "/usb-FTDI_FT232R-if00-port0");
    std::filesystem::create_symlink("../ttyUSB0", byId + "/usb-FTDI_FT232R-if00-port0-alias");
    std::filesystem::create_symlink("../ttyUSB1", byId + "/usb-Prolific-if00");
    std::filesystem::create_symlink("../gone", byId + "/usb-dangling");
    std::filesystem::create_symlink(dir + "/ttyUSB1", dir + "/mylink");

    const struct {
        std::string device;
        std::string folder;
        std::string stable;
    } cases[] = {
        {dir + "/ttyUSB0", byId, byId + "/usb-FTDI_FT232R-if00-port0"},  // the first name in order
        {dir + "/ttyUSB1", byId, byId + "/usb-Prolific-if00"},
        {dir + "/mylink", byId, byId + "/usb-Prolific-if00"},  // followed to the device
        {byId + "/usb-FTDI_FT232R-if00-port0-alias", byId,
         byId + "/usb-FTDI_FT232R-if00-port0-alias"},
        {dir + "/ttyACM0", byId, dir + "/ttyACM0"},  // no name links to it
        {dir + "/absent", byId, dir + "/absent"},
        {dir + "/ttyUSB0", dir + "/no-such-folder", dir + "/ttyUSB0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(StableDeviceName(c.device, c.folder), c.stable);
    }
    // A first run stores the adapter under the name that survives another socket.
    PortDescription legacy;
    legacy.device = dir + "/ttyS0";
    PortDescription usb1;
    usb1.device = dir + "/ttyUSB1";
    PortDescription acm;
    acm.device = dir + "/ttyACM0";
    EXPECT_EQ(StableAdapterNames({legacy, usb1, acm}, byId),
              (std::vector<std::string>{dir + "/ttyACM0", byId + "/usb-Prolific-if00"}));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvan
