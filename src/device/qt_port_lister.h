// The serial ports the system has now, from QSerialPortInfo. It does not list pseudo-terminals.
#pragma once

#include "device/port_choice.h"

namespace korvan {

class QtPortLister : public PortLister {
  public:
    std::vector<PortDescription> List() override;
};

}  // namespace korvan
