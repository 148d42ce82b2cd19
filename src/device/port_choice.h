// The serial ports the system has, in the order a tuner looks for them, and the stable name of
// a chosen one. Plain C++: the list comes from an adapter (QSerialPortInfo in the program, a
// fixed list in the tests).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvan {

struct PortDescription {
    std::string device;  // "/dev/ttyUSB0"
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    bool usb = false;  // reported as a USB device by the system

    bool operator==(const PortDescription& o) const {
        return device == o.device && description == o.description &&
               manufacturer == o.manufacturer && serialNumber == o.serialNumber &&
               vendorId == o.vendorId && productId == o.productId && usb == o.usb;
    }
    bool operator!=(const PortDescription& o) const { return !(*this == o); }
};

// Lists the serial ports present now.
class PortLister {
  public:
    virtual ~PortLister() = default;
    virtual std::vector<PortDescription> List() = 0;
};

// "0403:6001" in lower-case hex, or "" without a vendor.
std::string VendorProduct(const PortDescription& port);

// A USB-serial or ACM adapter: what a tuner plugs in.
bool IsAdapter(const PortDescription& port);

// A built-in legacy port (/dev/ttyS<n>): it nearly always exists and rarely has a unit behind it.
bool IsLegacyPort(const std::string& device);

// Adapters first, then other ports, then (only with showAll) the legacy ports; each group in
// natural order of the device name (ttyUSB2 before ttyUSB10).
std::vector<PortDescription> OrderPorts(const std::vector<PortDescription>& ports, bool showAll);

// The adapters' device names, in the order above.
std::vector<std::string> AdapterDevices(const std::vector<PortDescription>& ports);

// Where the system keeps names that stay the same whichever socket an adapter is in.
constexpr const char* kStableNameFolder = "/dev/serial/by-id";

// The name in `folder` that links to `device` (the first in name order), else `device` itself.
std::string StableDeviceName(const std::string& device,
                             const std::string& folder = kStableNameFolder);

// The adapters' names to store on a first run: each under its stable name when it has one.
std::vector<std::string> StableAdapterNames(const std::vector<PortDescription>& ports,
                                            const std::string& folder = kStableNameFolder);

}  // namespace korvan
