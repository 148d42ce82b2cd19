#include "device/qt_port_lister.h"

#include <QSerialPortInfo>

namespace korvan {

std::vector<PortDescription> QtPortLister::List() {
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
    return out;
}

}  // namespace korvan
