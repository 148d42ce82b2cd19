// The window's link without the window: one DeviceLink on one port, ticked every 55 ms by a
// precise Qt timer in a local event loop, with the listener calls turned into progress lines
// and into one outcome per operation.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "device/device_link.h"

namespace korvan::cli {

// How an operation ended.
enum class Outcome {
    Confirmed,        // "Verify OK"
    Differs,          // the unit answered with other content, and the operation failed
    NoAnswer,         // nothing usable came back: the request was sent five times
    PortLost,         // the port closed under the operation (cable pulled, unit gone)
    NoReading,        // the unit forbids reading
    VersionMismatch,  // another format version
    WrongBikeType,    // the unit does not accept the bike type
    Stopped,          // the caller's stop condition was met (info, monitor)
};

// Decorates the real port: the time of the last write, so that no wait outlives the last
// request by more than a fixed bound whatever the link or the line does.
class WatchedPort : public SerialPort {
  public:
    explicit WatchedPort(SerialPort& inner) : inner_(inner) {}
    bool Open(const std::string& name) override;
    void Close() override { inner_.Close(); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    long BytesQueued() override { return inner_.BytesQueued(); }
    long Read(std::uint8_t* data, std::size_t max) override { return inner_.Read(data, max); }
    bool Write(const std::uint8_t* data, std::size_t size) override;
    bool WaitUntilSent() override { return inner_.WaitUntilSent(); }
    PortOpenFailure OpenFailure() const override { return inner_.OpenFailure(); }

    std::chrono::steady_clock::time_point LastWrite() const { return lastWrite_; }

  private:
    SerialPort& inner_;
    std::chrono::steady_clock::time_point lastWrite_{};
};

class LinkSession : public LinkListener {
  public:
    static constexpr int kTickMs = 55;
    // Longest wait after the last request went out; the link itself gives up well before.
    static constexpr std::chrono::milliseconds kAnswerBound{2000};

    // Progress lines go to `progress` unless it is null (quiet).
    LinkSession(SerialPort& port, DeviceImage& image, std::uint8_t language,
                std::ostream* progress);

    bool Open(const std::string& device);
    void Close() { link_.CloseComPort(); }

    // Starts an operation through `start` (a start command of the link) and ticks until it
    // ends, or until `stop` (checked after every tick) says so.
    Outcome Run(const std::function<void(DeviceLink&)>& start,
                const std::function<bool()>& stop = {});
    // Ticks with no operation (the monitor) until `stop` says so, the port is lost or no
    // monitor frame came for kAnswerBound.
    Outcome Monitor(const std::function<bool()>& stop);

    // Ticks run since the port was opened.
    int Ticks() const { return ticks_; }
    bool IdentityReceived() const { return identityReceived_; }
    const IdentityTexts& Identity() const { return identity_; }
    int MonitorFrames() const { return monitorFrames_; }
    // The message the link showed last (null before the first), for the failure line.
    const LocalizedText* LastMessage() const { return message_; }
    // Called with every valid monitor frame.
    std::function<void(const std::uint8_t* frame)> onMonitorFrame;

    // LinkListener
    void SetMessage(const LocalizedText& text, Colour colour) override;
    void SetMessageVisible(bool) override {}
    void SetGaugeProgress(int progress) override;
    void SetGaugeVisible(bool visible) override;
    void SetNoConnectionVisible(bool) override {}
    void ShowModalMessage(const LocalizedText& text) override;
    void ShowReceivedImage() override;
    void ShowIdentity(const IdentityTexts& texts) override;
    void ShowMonitorFrame(const std::uint8_t* frame) override;

  private:
    Outcome Drive(const std::function<bool(Outcome&)>& finished);
    Outcome Classify() const;
    void PrintProgress();

    WatchedPort port_;
    DeviceImage& image_;
    DeviceLink link_;
    std::uint8_t language_;
    std::ostream* progress_;

    const LocalizedText* message_ = nullptr;
    const LocalizedText* modal_ = nullptr;
    int gauge_ = 0;
    bool gaugeVisible_ = false;
    std::string lastProgressLine_;
    bool identityReceived_ = false;
    IdentityTexts identity_;
    int monitorFrames_ = 0;
    int ticks_ = 0;
    std::chrono::steady_clock::time_point lastFrame_{};
};

}  // namespace korvan::cli
