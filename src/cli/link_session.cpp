#include "cli/link_session.h"

#include <QEventLoop>
#include <QTimer>

#include "params/binding.h"

namespace korvan::cli {

bool WatchedPort::Open(const std::string& name) {
    lastWrite_ = std::chrono::steady_clock::now();
    return inner_.Open(name);
}

bool WatchedPort::Write(const std::uint8_t* data, std::size_t size) {
    lastWrite_ = std::chrono::steady_clock::now();
    return inner_.Write(data, size);
}

LinkSession::LinkSession(SerialPort& port, DeviceImage& image, std::uint8_t language,
                         std::ostream* progress)
    : port_(port),
      image_(image),
      link_(image, port_, *this),
      language_(language),
      progress_(progress) {}

bool LinkSession::Open(const std::string& device) {
    ticks_ = 0;
    return link_.OpenComPort(device);
}

Outcome LinkSession::Drive(const std::function<bool(Outcome&)>& finished) {
    Outcome outcome = Outcome::NoAnswer;
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kTickMs);
    // Between two ticks the event loop moves what the port received into its buffer, exactly
    // as under the window.
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        link_.Tick();
        ++ticks_;
        PrintProgress();
        if (finished(outcome)) {
            timer.stop();
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
    return outcome;
}

Outcome LinkSession::Run(const std::function<void(DeviceLink&)>& start,
                         const std::function<bool()>& stop) {
    message_ = nullptr;
    modal_ = nullptr;
    start(link_);
    PrintProgress();
    return Drive([&](Outcome& outcome) {
        if (stop && stop()) {
            outcome = Outcome::Stopped;
            return true;
        }
        if (link_.Mode() == OperationMode::None) {
            outcome = Classify();
            return true;
        }
        if (!link_.PortOpen()) {
            // The last answer may have come just before the line went: the link looks at what
            // the port received, and a completed operation reports its own result.
            link_.EndOperationLineLost();
            outcome = Classify();
            return true;
        }
        if (std::chrono::steady_clock::now() - port_.LastWrite() > kAnswerBound) {
            outcome = Outcome::NoAnswer;
            return true;
        }
        return false;
    });
}

Outcome LinkSession::Monitor(const std::function<bool()>& stop) {
    lastFrame_ = std::chrono::steady_clock::now();
    return Drive([&](Outcome& outcome) {
        if (stop && stop()) {
            outcome = Outcome::Stopped;
            return true;
        }
        if (!link_.PortOpen()) {
            outcome = Outcome::PortLost;
            return true;
        }
        if (std::chrono::steady_clock::now() - lastFrame_ > kAnswerBound) {
            outcome = Outcome::NoAnswer;
            return true;
        }
        return false;
    });
}

Outcome LinkSession::Classify() const {
    if (modal_ == &DeviceLink::kVersionMismatch) return Outcome::VersionMismatch;
    if (modal_ == &DeviceLink::kWrongBikeType) return Outcome::WrongBikeType;
    if (message_ == &DeviceLink::kVerifyOk) return Outcome::Confirmed;
    if (message_ == &DeviceLink::kNoReading) return Outcome::NoReading;
    if (!link_.PortOpen()) return Outcome::PortLost;
    return link_.LastRequestAnsweredDiffering() ? Outcome::Differs : Outcome::NoAnswer;
}

void LinkSession::PrintProgress() {
    if (!progress_ || !message_) return;
    // Once a tick, and only when it changed: the message label and, while it is shown, the
    // gauge's step out of its five.
    std::string line = message_->In(language_);
    if (gaugeVisible_) line += " " + std::to_string(gauge_) + "/5";
    if (line == lastProgressLine_) return;
    lastProgressLine_ = line;
    *progress_ << line << '\n' << std::flush;
}

void LinkSession::SetMessage(const LocalizedText& text, Colour) {
    message_ = &text;
}

void LinkSession::SetGaugeProgress(int progress) {
    gauge_ = progress;
}

void LinkSession::SetGaugeVisible(bool visible) {
    gaugeVisible_ = visible;
}

void LinkSession::ShowModalMessage(const LocalizedText& text) {
    modal_ = &text;
}

void LinkSession::ShowReceivedImage() {
    NormalizeImage(image_);
}

void LinkSession::ShowIdentity(const IdentityTexts& texts) {
    identity_ = texts;
    identityReceived_ = true;
}

void LinkSession::ShowMonitorFrame(const std::uint8_t* frame) {
    ++monitorFrames_;
    lastFrame_ = std::chrono::steady_clock::now();
    if (onMonitorFrame) onMonitorFrame(frame);
}

}  // namespace korvan::cli
