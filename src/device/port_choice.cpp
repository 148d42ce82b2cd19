#include "device/port_choice.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace korvan {

namespace {

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string BaseName(const std::string& device) {
    const std::size_t slash = device.find_last_of('/');
    return slash == std::string::npos ? device : device.substr(slash + 1);
}

// Compares runs of digits by value, so ttyUSB2 sorts before ttyUSB10.
bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            const std::string na = a.substr(i, ei - i);
            const std::string nb = b.substr(j, ej - j);
            const std::string ta = na.substr(std::min(na.find_first_not_of('0'), na.size()));
            const std::string tb = nb.substr(std::min(nb.find_first_not_of('0'), nb.size()));
            if (ta.size() != tb.size()) return ta.size() < tb.size();
            if (ta != tb) return ta < tb;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

int Group(const PortDescription& p) {
    if (IsAdapter(p)) return 0;
    if (IsLegacyPort(p.device)) return 2;
    return 1;
}

}  // namespace

std::string VendorProduct(const PortDescription& port) {
    if (!port.vendorId) return "";
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", *port.vendorId, port.productId.value_or(0));
    return text;
}

bool IsAdapter(const PortDescription& port) {
    const std::string base = BaseName(port.device);
    return port.usb || port.vendorId.has_value() || StartsWith(base, "ttyUSB") ||
           StartsWith(base, "ttyACM");
}

bool IsLegacyPort(const std::string& device) {
    const std::string base = BaseName(device);
    if (!StartsWith(base, "ttyS") || base.size() == 4) return false;
    return std::all_of(base.begin() + 4, base.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::vector<PortDescription> OrderPorts(const std::vector<PortDescription>& ports, bool showAll) {
    std::vector<PortDescription> out;
    for (const PortDescription& p : ports) {
        if (showAll || Group(p) != 2) out.push_back(p);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const PortDescription& a, const PortDescription& b) {
                         if (Group(a) != Group(b)) return Group(a) < Group(b);
                         return NaturalLess(a.device, b.device);
                     });
    return out;
}

std::vector<std::string> AdapterDevices(const std::vector<PortDescription>& ports) {
    std::vector<std::string> out;
    for (const PortDescription& p : OrderPorts(ports, false)) {
        if (IsAdapter(p)) out.push_back(p.device);
    }
    return out;
}

std::string StableDeviceName(const std::string& device, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    if (ec) return device;
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkEc;
        if (fs::canonical(it->path(), linkEc) == target && !linkEc)
            names.push_back(it->path().string());
    }
    if (names.empty()) return device;
    // A name already in the folder is kept as it is.
    if (std::find(names.begin(), names.end(), device) != names.end()) return device;
    std::sort(names.begin(), names.end());
    return names.front();
}

std::vector<std::string> StableAdapterNames(const std::vector<PortDescription>& ports,
                                            const std::string& folder) {
    std::vector<std::string> names = AdapterDevices(ports);
    for (std::string& name : names) name = StableDeviceName(name, folder);
    return names;
}

}  // namespace korvan
