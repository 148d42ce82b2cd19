#include "device/device_link.h"

#include <algorithm>
#include <cstring>

#include "params/binding.h"

namespace korvan {

const LocalizedText DeviceLink::kReadDevice{"Čtení:", "Read device:", "Lesen:"};
const LocalizedText DeviceLink::kVerifyDevice{"Verifikace:", "Verify device:", "Verifikation:"};
// The verify command's own start text differs from the hand-over text in German only.
const LocalizedText DeviceLink::kVerifyDeviceCommand{
    "Verifikace:", "Verify device:", "Vergleichen:"};
const LocalizedText DeviceLink::kProgramDevice{
    "Programování:", "Program device:", "Programmieren:"};
const LocalizedText DeviceLink::kReadError{"Chyba čtení!", "Read error!", "Lesefehler"};
const LocalizedText DeviceLink::kVerifyError{"Chyba verifikace!", "Verify error!",
                                             "Vergleichsfehler"};
const LocalizedText DeviceLink::kProgramError{"Chyba programování", "Program error!",
                                              "Programmier. Fehler"};
const LocalizedText DeviceLink::kNoReading{"Zákaz čtení!", "No Reading!", "Lesen verboten!"};
const LocalizedText DeviceLink::kVerifyOk{"Verifikace OK", "Verify OK", "Vergleich OK"};
const LocalizedText DeviceLink::kVersionMismatch{
    "Neshodné verze proramu v PC a zapalování!", "Unmatched version of PC and Ignition programs!",
    "Uneinig Version von den PC and Zündung Programme!"};
const LocalizedText DeviceLink::kWrongBikeType{"Toto zapalování není pro zvolený typ motocyklu!",
                                               "These Ignition is not for this type of motorbikes!",
                                               "Diese Zündung ist nicht for gestellte Motorrad!"};

namespace {
constexpr std::uint8_t kVerifyParamPage = kCmdReadPage | kParamPageNumber;  // 0x41
// The one parameter byte a verification does not compare: the unit may report the doubled
// tachometer output differently from what it was programmed with.
constexpr std::size_t kUncomparedParamByte = field::Rpm2 - kParamImageBegin;
}  // namespace

DeviceLink::DeviceLink(DeviceImage& image, SerialPort& port, LinkListener& listener)
    : image_(image), port_(port), listener_(listener) {}

bool DeviceLink::OpenComPort(const std::string& deviceName) {
    return port_.Open(deviceName);
}

void DeviceLink::CloseComPort() {
    port_.Close();
}

void DeviceLink::Tick() {
    PollComPort();
    OperationTick();

    if (messageCountdown_ > 0 && --messageCountdown_ == 0) {
        listener_.SetMessageVisible(false);
        listener_.SetGaugeVisible(false);
    }

    if (noConnectionTicks_ < kNoConnectionTicks) {
        ++noConnectionTicks_;
        listener_.SetNoConnectionVisible(false);
    } else {
        // Values from a dead line must not steer the cursor or a calibration. A replay feeds
        // its own values while the line is silent on purpose; those stay.
        if (!monitorPaused_) {
            liveValid_ = false;
            live_ = LiveValues{};
        }
        listener_.SetNoConnectionVisible(true);
    }
}

void DeviceLink::PollComPort() {
    // Only whole frames are read, and only what is queued now: the read never waits. A failed
    // status query or read hands on nothing, so a lost port never replays an old frame.
    long queued = port_.BytesQueued();
    if (queued < static_cast<long>(kFrameSize)) return;
    if (queued > static_cast<long>(kReceiveBufferSize)) queued = kOversizeRead;
    const long got = port_.Read(receiveBuffer_.data(), static_cast<std::size_t>(queued));
    if (got < static_cast<long>(kFrameSize)) return;

    // At most one frame a tick is interpreted; whatever else came in this poll is dropped.
    if (receiveBuffer_[0] == kMonitorAnswer) {
        HandleMonitorFrame(receiveBuffer_.data());
    } else {
        HandleReplyFrame(receiveBuffer_.data());
    }
}

void DeviceLink::OperationTick() {
    if (mode_ == OperationMode::None) {
        if (++tickCounter_ < kMonitorTicks) return;
        tickCounter_ = 0;
        if (!monitorPaused_) SendMonitorRequest();
        return;
    }
    if (++tickCounter_ < kResendTicks) return;
    tickCounter_ = 0;
    if (++sendCounter_ <= kMaxSends) {
        SendPageFrame();
        return;
    }
    FailOperation();
}

void DeviceLink::FailOperation() {
    const LocalizedText& failure =
        mode_ == OperationMode::Read
            ? kReadError
            : (mode_ == OperationMode::Verify ? kVerifyError : kProgramError);
    mode_ = OperationMode::None;
    listener_.SetMessage(failure, Colour::Red);
    messageCountdown_ = kMessageTicks;
    Finish(false);
}

void DeviceLink::Finish(bool ok) {
    if (started_ == OperationMode::None) return;
    OperationEnd end;
    end.started = started_;
    end.ok = ok;
    end.separateImage = work_ != &image_;
    started_ = OperationMode::None;
    work_ = &image_;
    listener_.OperationFinished(end);
}

void DeviceLink::EndReplaced() {
    if (mode_ == OperationMode::None) return;
    mode_ = OperationMode::None;
    Finish(false);
}

// Pages arrived: the shown image is normalised and shown by the window; an image of the
// caller's gets the same normalisation of its parameters here.
void DeviceLink::ShowReceived() {
    if (work_ == &image_) {
        listener_.ShowReceivedImage();
    } else {
        NormalizeImage(*work_);
    }
}

void DeviceLink::EndOperationLineLost() {
    if (mode_ == OperationMode::None) return;
    // The answer that completes the operation may have come just before the line went: what
    // the port had received is looked at first, and a completed operation keeps its result.
    PollComPort();
    if (mode_ == OperationMode::None) return;
    FailOperation();
    // The message may have timed out during a long operation; the failure must be seen.
    listener_.SetMessageVisible(true);
}

void DeviceLink::SendPageFrame() {
    tickCounter_ = 0;
    const std::size_t page = commandByte_ & kPageMask;
    const std::uint8_t* payload = nullptr;
    if (mode_ != OperationMode::Read && page < kPageCount) payload = work_->Page(page);
    const DeviceFrame frame = BuildFrame(commandByte_, payload);
    // A page request waits until the frame has left the PC, so that the unit's answer is what
    // the next tick finds.
    if (port_.Write(frame.data(), frame.size())) port_.WaitUntilSent();
}

void DeviceLink::SendMonitorRequest() {
    const DeviceFrame frame = BuildFrame(kCmdMonitor, nullptr);
    port_.Write(frame.data(), frame.size());
}

void DeviceLink::ShowOperationMessage(const LocalizedText& text, Colour colour) {
    listener_.SetMessage(text, colour);
    messageCountdown_ = kMessageTicks;
    listener_.SetMessageVisible(true);
}

void DeviceLink::Begin(OperationMode mode, std::uint8_t command, const LocalizedText& text,
                       int gauge, bool sendNow, bool showGauge) {
    mode_ = mode;
    commandByte_ = command;
    sendCounter_ = 1;
    answeredDiffering_ = false;
    if (sendNow) SendPageFrame();
    ShowOperationMessage(text, Colour::ButtonFace);
    gaugeProgress_ = gauge;
    listener_.SetGaugeProgress(gaugeProgress_);
    if (showGauge) listener_.SetGaugeVisible(true);
}

// Nothing is sent now: the first request goes out when the tick counter, left over from the
// monitor cycle, reaches the resend interval.
void DeviceLink::StartRead() {
    EndReplaced();
    started_ = OperationMode::Read;
    Begin(OperationMode::Read, kCmdReadPage | kIdentityPageNumber, kReadDevice, 0, false);
}

void DeviceLink::StartReadInto(DeviceImage& target) {
    EndReplaced();
    started_ = OperationMode::Read;
    work_ = &target;
    Begin(OperationMode::Read, kCmdReadPage | kIdentityPageNumber, kReadDevice, 0, false);
}

void DeviceLink::StartVerify() {
    EndReplaced();
    started_ = OperationMode::Verify;
    Begin(OperationMode::Verify, kVerifyParamPage, kVerifyDeviceCommand, 1, true);
}

void DeviceLink::StartProgram() {
    EndReplaced();
    started_ = OperationMode::Program;
    Begin(OperationMode::Program, kCmdProgramPage | kIdentityPageNumber, kProgramDevice, 0, true);
}

void DeviceLink::CheckProgramOnChange(bool optionChecked) {
    // The shadow is left as it is, so the first check after the pause programs what changed.
    if (monitorPaused_) return;
    if (!optionChecked) {
        programOnChangeArmed_ = false;
        return;
    }
    bool changed = !programOnChangeArmed_;
    programOnChangeArmed_ = true;
    const std::uint8_t* params = image_.bytes.data() + kParamImageBegin;
    for (std::size_t i = 0; i < kParamImageSize; ++i) {
        if (programShadow_[i] != params[i]) {
            changed = true;
            programShadow_[i] = params[i];
        }
    }
    if (!changed) return;
    // Like the program command, but the first request goes out from the tick.
    EndReplaced();
    started_ = OperationMode::Program;
    Begin(OperationMode::Program, kCmdProgramPage | kIdentityPageNumber, kProgramDevice, 0, false);
}

void DeviceLink::HandleMonitorFrame(const std::uint8_t* frame) {
    if (!MonitorFrameValid(frame)) return;
    noConnectionTicks_ = 0;
    if (monitorPaused_) return;
    live_ = DecodeLiveValues(frame);
    liveValid_ = true;
    listener_.ShowMonitorFrame(frame);
}

void DeviceLink::InjectMonitorFrame(const std::uint8_t* frame) {
    if (!MonitorFrameValid(frame)) return;
    live_ = DecodeLiveValues(frame);
    liveValid_ = true;
    listener_.ShowMonitorFrame(frame);
}

void DeviceLink::HandleReplyFrame(const std::uint8_t* frame) {
    if (!FrameCheckOk(frame)) return;
    noConnectionTicks_ = 0;
    const std::size_t page = commandByte_ & kPageMask;
    switch (mode_) {
        case OperationMode::None:
            return;
        case OperationMode::Read:
            ReplyWhileReading(frame, page);
            return;
        case OperationMode::Verify:
            ReplyWhileVerifying(frame, page);
            return;
        case OperationMode::Program:
            ReplyWhileProgramming(frame, page);
            return;
    }
}

void DeviceLink::NextPage() {
    listener_.SetGaugeProgress(++gaugeProgress_);
    ++commandByte_;
    sendCounter_ = 1;
    answeredDiffering_ = false;
    SendPageFrame();
}

// The hand-over from reading or programming: the image's pages go back for comparison.
void DeviceLink::BeginVerifyPhase(bool showGauge) {
    Begin(OperationMode::Verify, kVerifyParamPage, kVerifyDevice, 1, true, showGauge);
}

void DeviceLink::ReplyWhileReading(const std::uint8_t* frame, std::size_t page) {
    if (frame[0] != (commandByte_ ^ kAnswerBit) || page >= kPageCount) return;
    DeviceImage& target = *work_;
    std::memcpy(target.Page(page), frame + kFramePayloadOffset, kPageSize);

    if (page == kIdentityPageNumber) {
        if (work_ == &image_) listener_.ShowIdentity(DecodeIdentity(image_));
        if (target[field::ReadEnable] != 1) {
            listener_.SetMessage(kNoReading, Colour::Red);
            messageCountdown_ = kMessageTicks;
            mode_ = OperationMode::None;
            ShowReceived();
            Finish(false);
            return;
        }
        if (target[field::FormatVersion] != kFormatVersion) {
            mode_ = OperationMode::None;
            ShowReceived();
            Finish(false);
            listener_.ShowModalMessage(kVersionMismatch);
            return;
        }
    }
    if (page < kMapPageNumber) {
        NextPage();
        return;
    }
    // All three pages are in: show them as normalised, then send the normalised parameters
    // back for comparison.
    ShowReceived();
    BeginVerifyPhase(true);
}

void DeviceLink::ReplyWhileVerifying(const std::uint8_t* frame, std::size_t page) {
    if (frame[0] != (commandByte_ ^ kAnswerBit) || page >= kPageCount) return;
    const std::uint8_t* expected = work_->Page(page);
    for (std::size_t i = 0; i < kPageSize; ++i) {
        if (page == kParamPageNumber && i == kUncomparedParamByte) continue;
        if (frame[kFramePayloadOffset + i] != expected[i]) {
            answeredDiffering_ = true;
            return;
        }
    }
    if (page < kMapPageNumber) {
        NextPage();
        return;
    }
    listener_.SetGaugeVisible(false);
    listener_.SetMessage(kVerifyOk, Colour::ButtonFace);
    messageCountdown_ = kMessageTicks;
    mode_ = OperationMode::None;
    Finish(true);
}

void DeviceLink::ReplyWhileProgramming(const std::uint8_t* frame, std::size_t page) {
    if (frame[0] != (commandByte_ ^ kAnswerBit) || page >= kPageCount) return;
    if (page == kIdentityPageNumber) {
        std::memcpy(image_.Page(kIdentityPageNumber), frame + kFramePayloadOffset, kPageSize);
        listener_.ShowIdentity(DecodeIdentity(image_));
        listener_.ShowReceivedImage();
        if (image_[field::FormatVersion] != kFormatVersion) {
            mode_ = OperationMode::None;
            Finish(false);
            listener_.ShowModalMessage(kVersionMismatch);
            return;
        }
        if (!BikeTypeSupported(image_, image_[field::BikeType])) {
            mode_ = OperationMode::None;
            Finish(false);
            listener_.ShowModalMessage(kWrongBikeType);
            return;
        }
    } else if (std::memcmp(frame + kFramePayloadOffset, image_.Page(page), kPageSize) != 0) {
        answeredDiffering_ = true;  // the unit did not store the page as sent
        return;
    }
    if (page < kMapPageNumber) {
        NextPage();
        return;
    }
    BeginVerifyPhase(false);
}

}  // namespace korvan
