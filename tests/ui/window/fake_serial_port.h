// An in-memory serial line: what the window writes is kept, what the test queues is read.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "device/frame.h"
#include "device/port_choice.h"
#include "device/serial_port.h"

namespace korvan::testing {

class FakeSerialPort : public SerialPort {
  public:
    bool Open(const std::string& name) override {
        opened.push_back(name);
        open_ = !failOpen;
        return open_;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    long BytesQueued() override { return open_ ? static_cast<long>(incoming.size()) : -1; }
    long Read(std::uint8_t* data, std::size_t max) override {
        if (!open_) return -1;
        std::size_t n = 0;
        for (; n < max && !incoming.empty(); ++n) {
            data[n] = incoming.front();
            incoming.pop_front();
        }
        return static_cast<long>(n);
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (!open_) return false;
        written.insert(written.end(), data, data + size);
        return true;
    }
    bool WaitUntilSent() override { return open_; }
    PortOpenFailure OpenFailure() const override { return openFailure; }
    // The line goes away as when the adapter is pulled: the port closes itself.
    void Lose() { open_ = false; }

    void Queue(const DeviceFrame& frame) {
        incoming.insert(incoming.end(), frame.begin(), frame.end());
    }
    // The command bytes of the frames written so far.
    std::vector<std::uint8_t> SentCommands() const {
        std::vector<std::uint8_t> commands;
        for (std::size_t i = 0; i + kFrameSize <= written.size(); i += kFrameSize)
            commands.push_back(written[i]);
        return commands;
    }

    bool failOpen = false;
    // Why a failed open failed.
    PortOpenFailure openFailure{PortFailureKind::Other, {}, {}, "Input/output error"};
    std::vector<std::string> opened;
    std::deque<std::uint8_t> incoming;
    std::vector<std::uint8_t> written;

  private:
    bool open_ = false;
};

// A fixed list of the system's serial ports.
class FakePortLister : public PortLister {
  public:
    std::vector<PortDescription> List() override {
        ++calls;
        return ports;
    }
    std::vector<PortDescription> ports;
    int calls = 0;
};

}  // namespace korvan::testing
