#include "device/port_reconnect.h"

namespace korvan {

PortReconnect::PortReconnect(DeviceLink& link, SerialPort& port) : link_(link), port_(port) {}

PortOpenFailure PortReconnect::OpenRequested(const std::string& device) {
    Close();
    device_ = device;
    if (link_.OpenComPort(device)) {
        expectOpen_ = true;
        return {};
    }
    PortOpenFailure failure = port_.OpenFailure();
    if (failure.kind == PortFailureKind::None) failure.kind = PortFailureKind::Other;
    failure.device = device;
    if (RetryCanHelp(failure)) StartRetrying();
    return failure;
}

void PortReconnect::Close() {
    link_.CloseComPort();
    expectOpen_ = false;
    retrying_ = false;
    countdown_ = 0;
}

void PortReconnect::StartRetrying() {
    retrying_ = true;
    countdown_ = kRetryTicks;
}

void PortReconnect::Tick() {
    if (port_.IsOpen()) {
        expectOpen_ = true;
        return;
    }
    if (expectOpen_) {
        // The port closed itself (read or resource error). Whatever ran on it has failed; the
        // device is tried again from the next retry on.
        expectOpen_ = false;
        ++losses_;
        link_.EndOperationLineLost();
        StartRetrying();
        return;
    }
    if (!retrying_ || --countdown_ > 0) return;
    countdown_ = kRetryTicks;
    ++attempts_;
    if (link_.OpenComPort(device_)) {
        expectOpen_ = true;
        retrying_ = false;
        ++reconnects_;
        return;
    }
    // The path may have been replaced by something that is no serial device at all.
    if (!RetryCanHelp(port_.OpenFailure())) retrying_ = false;
}

PortState PortReconnect::State() const {
    if (port_.IsOpen()) {
        // A silent unit is expected then: the link stopped asking. Saying "no answer" would
        // send the tuner looking for a fault that is not there.
        if (link_.MonitorPaused()) return PortState::Paused;
        return link_.NoConnectionTicks() >= DeviceLink::kNoConnectionTicks ? PortState::NoAnswer
                                                                           : PortState::Connected;
    }
    return retrying_ ? PortState::Reconnecting : PortState::Closed;
}

}  // namespace korvan
