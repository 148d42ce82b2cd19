// The serial line as the link logic sees it. The window uses an adapter on QSerialPort; tests
// use an in-memory fake; nothing in the link knows which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/port_failure.h"

namespace korvan {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens the named device at 57600 baud, no parity, 8 data bits, 1 stop bit.
    virtual bool Open(const std::string& name) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Bytes received and waiting now; -1 when the port cannot say (closed, or it has failed).
    // A port whose line went away may still hand out what had arrived before the loss, until
    // it is opened or closed again.
    virtual long BytesQueued() = 0;
    // Reads up to `max` queued bytes without waiting; returns the count, or -1 on failure.
    virtual long Read(std::uint8_t* data, std::size_t max) = 0;
    // Writes the bytes; false when they could not be handed to the driver.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    // Waits until every written byte has left the port.
    virtual bool WaitUntilSent() = 0;
    // Why the last Open failed. A port that cannot tell says "Other" with no text.
    virtual PortOpenFailure OpenFailure() const { return {PortFailureKind::Other, {}, {}, {}}; }
};

}  // namespace korvan
