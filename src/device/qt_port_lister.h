// The serial ports the system has now, from QSerialPortInfo. It does not list pseudo-terminals.
#pragma once

#include <string>
#include <vector>

#include "device/port_choice.h"

namespace korvan {

class QtPortLister : public PortLister {
  public:
    // `ttyClassFolder` is where the kernel lists its terminals; while its entries stay the same,
    // the last list is given again without asking QSerialPortInfo, which reads several sysfs
    // files per port and is far too slow to run every second. "" always asks.
    explicit QtPortLister(std::string ttyClassFolder = "/sys/class/tty");

    std::vector<PortDescription> List() override;
    int FullListings() const { return fullListings_; }

  private:
    std::string folder_;
    std::vector<std::string> lastNames_;
    std::vector<PortDescription> last_;
    bool haveList_ = false;
    int fullListings_ = 0;
};

}  // namespace korvan
