// The real link over a real pseudo-terminal against the simulated unit, ticked in real time.
#pragma once

#include <chrono>
#include <vector>

#include <QCoreApplication>

#include "../device/fake_port.h"
#include "device/device_link.h"
#include "device/qt_serial_port.h"
#include "params/defaults.h"
#include "sim_process.h"

namespace korvan::test {

// Records what the link writes, and passes everything on to the real port.
class RecordingPort : public SerialPort {
  public:
    explicit RecordingPort(SerialPort& inner) : inner_(inner) {}
    bool Open(const std::string& name) override { return inner_.Open(name); }
    void Close() override { inner_.Close(); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    long BytesQueued() override { return inner_.BytesQueued(); }
    long Read(std::uint8_t* data, std::size_t max) override { return inner_.Read(data, max); }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (size > 0) commands.push_back(data[0]);
        return inner_.Write(data, size);
    }
    bool WaitUntilSent() override { return inner_.WaitUntilSent(); }
    PortOpenFailure OpenFailure() const override { return inner_.OpenFailure(); }

    std::vector<std::uint8_t> commands;

  private:
    SerialPort& inner_;
};

class LinkHarness {
  public:
    static constexpr std::chrono::milliseconds kTick{55};

    LinkHarness() : recording(qtPort), listener(image), link(image, recording, listener) {
        SetDefaults(image);
    }

    bool Open(const SimProcess& sim) { return sim.Started() && link.OpenComPort(sim.PtyPath()); }

    // One tick at the timer's pace: the event loop moves received bytes into the port's
    // buffer between ticks, as in the window.
    void Tick() {
        next_ = (next_.time_since_epoch().count() == 0 ? std::chrono::steady_clock::now() : next_) +
                kTick;
        while (std::chrono::steady_clock::now() < next_) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        link.Tick();
        ++ticks;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) Tick();
    }
    // Ticks until the operation has ended (bounded); returns the ticks it took.
    int RunOperation(int limit = 200) {
        int n = 0;
        while (link.Mode() != OperationMode::None && n < limit) {
            Tick();
            ++n;
        }
        return n;
    }
    bool Sent(std::uint8_t command) const {
        for (std::uint8_t c : recording.commands) {
            if (c == command) return true;
        }
        return false;
    }

    DeviceImage image;
    QtSerialPort qtPort;
    RecordingPort recording;
    RecordingListener listener;
    DeviceLink link;
    int ticks = 0;

  private:
    std::chrono::steady_clock::time_point next_{};
};

}  // namespace korvan::test
