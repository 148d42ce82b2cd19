// Keeps the chosen serial device open: when the open port fails (adapter pulled, unit's power
// gone) or the device is absent, the same device is tried again every kRetryTicks ticks,
// silently. Only an open the user asked for reports its failure; the retries never do. Plain
// C++, driven by the window's tick.
#pragma once

#include <cstdint>
#include <string>

#include "device/device_link.h"
#include "device/port_failure.h"
#include "device/serial_port.h"

namespace korvan {

// What the status bar shows for the port.
enum class PortState : std::uint8_t {
    Closed,        // nothing chosen, or the path names no serial device
    Connected,     // open, and the unit answers
    NoAnswer,      // open, but the unit has not answered for a while
    Reconnecting,  // not open; the device is tried again every kRetryTicks ticks
    Paused,        // open, but the link asks the unit for nothing while a ride log replays
};

class PortReconnect {
  public:
    static constexpr int kRetryTicks = 18;  // about a second of 55 ms ticks

    PortReconnect(DeviceLink& link, SerialPort& port);

    // An open the user asked for (start-up, a Com menu item, the port dialog). Returns why it
    // failed (kind None on success); after a failure that a later retry could mend, the device
    // is retried from the tick.
    PortOpenFailure OpenRequested(const std::string& device);
    // Closes the port and stops retrying.
    void Close();

    // Call at the start of every tick, before the link's own tick.
    void Tick();

    PortState State() const;
    const std::string& Device() const { return device_; }
    bool Retrying() const { return retrying_; }
    int Attempts() const { return attempts_; }      // retries so far
    int Reconnects() const { return reconnects_; }  // retries that opened the device
    int Losses() const { return losses_; }          // times an open port went away

  private:
    void StartRetrying();

    DeviceLink& link_;
    SerialPort& port_;
    std::string device_;
    bool expectOpen_ = false;  // the port was open at the last look
    bool retrying_ = false;
    int countdown_ = 0;
    int attempts_ = 0;
    int reconnects_ = 0;
    int losses_ = 0;
};

}  // namespace korvan
