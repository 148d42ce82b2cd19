#include "device/qt_port_lister.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>

namespace korvan {

namespace {
// The entry names of the folder, sorted; empty when it cannot be read.
std::vector<std::string> EntryNames(const std::string& folder) {
    std::vector<std::string> names;
    if (folder.empty()) return names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

QtPortLister::QtPortLister(std::string ttyClassFolder) : folder_(std::move(ttyClassFolder)) {}

std::vector<PortDescription> QtPortLister::List() {
    std::vector<std::string> names = EntryNames(folder_);
    if (haveList_ && !names.empty() && names == lastNames_) return last_;

    std::vector<PortDescription> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortDescription p;
        p.device = info.systemLocation().toStdString();
        p.description = info.description().toStdString();
        p.manufacturer = info.manufacturer().toStdString();
        p.serialNumber = info.serialNumber().toStdString();
        if (info.hasVendorIdentifier()) p.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) p.productId = info.productIdentifier();
        p.usb = info.hasVendorIdentifier();
        out.push_back(std::move(p));
    }
    ++fullListings_;
    lastNames_ = std::move(names);
    last_ = out;
    haveList_ = true;
    return out;
}

}  // namespace korvan
