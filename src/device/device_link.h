// The conversation with the ignition unit: the per-tick poll, the read, verify and program
// operations with their resend and time-out rules, the checks on the unit's answers, the
// program-on-change decision, and the two counters of the tick (message countdown and the
// "No Connection" indicator). Plain C++: it talks to a SerialPort and reports to a listener.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "device/colour.h"
#include "device/frame.h"
#include "device/monitor.h"
#include "device/serial_port.h"
#include "params/device_image.h"

namespace korvan {

enum class OperationMode : std::uint8_t { None = 0, Program = 1, Verify = 2, Read = 3 };

// How an operation that a start command began came to its end. A read or program hands over
// to a verification; `started` is still the command that began it.
struct OperationEnd {
    OperationMode started = OperationMode::None;
    bool ok = false;             // its last page verified ("Verify OK")
    bool separateImage = false;  // a read into an image of the caller's (StartReadInto)
};

// What the window shows for the link. Every call comes from inside Tick() or a start command,
// on the window's thread.
class LinkListener {
  public:
    virtual ~LinkListener() = default;
    // The message label: its text and background colour. The label's visibility is set apart.
    virtual void SetMessage(const LocalizedText& text, Colour colour) = 0;
    virtual void SetMessageVisible(bool visible) = 0;
    // The operation progress gauge (0..5).
    virtual void SetGaugeProgress(int progress) = 0;
    virtual void SetGaugeVisible(bool visible) = 0;
    virtual void SetNoConnectionVisible(bool visible) = 0;
    // A modal message box. The running operation has already ended when this is called, so a
    // tick that runs while the box is open finds none.
    virtual void ShowModalMessage(const LocalizedText& text) = 0;
    // Pages arrived from the unit: normalise the image and show it in the controls. Called
    // before the link sends the image on.
    virtual void ShowReceivedImage() = 0;
    // The identity page arrived: the version, date and time texts to show.
    virtual void ShowIdentity(const IdentityTexts& texts) = 0;
    // A valid monitor frame arrived (102 bytes; LiveValues already updated).
    virtual void ShowMonitorFrame(const std::uint8_t* frame) = 0;
    // The operation ended: verified, failed, refused, or replaced by a new start command
    // (which counts as failed: a burn broken off leaves the unit unknown). Called once per
    // start command, after the link has gone idle and before any modal message of the end.
    virtual void OperationFinished(const OperationEnd& end) { (void)end; }
};

class DeviceLink {
  public:
    static constexpr std::size_t kReceiveBufferSize = 1024;
    static constexpr std::size_t kOversizeRead = 1000;  // read when more than the buffer waits
    static constexpr std::uint8_t kResendTicks = 4;     // a request is resent every 4th tick
    static constexpr std::uint8_t kMaxSends = 5;        // then the operation fails
    static constexpr std::uint8_t kMonitorTicks = 6;    // monitor request every 6th tick
    static constexpr std::uint8_t kMessageTicks = 200;  // a message stays this long
    static constexpr std::uint8_t kNoConnectionTicks = 18;

    DeviceLink(DeviceImage& image, SerialPort& port, LinkListener& listener);

    // The port. OpenComPort returns false when the device cannot be opened.
    bool OpenComPort(const std::string& deviceName);
    void CloseComPort();
    bool PortOpen() const { return port_.IsOpen(); }

    // One 55 ms tick, in order: poll, operation step, message countdown, "No Connection".
    void Tick();
    void PollComPort();
    void OperationTick();

    // The start commands. The window refreshes the image from its controls first (verify and
    // program). A start command replaces whatever operation runs.
    void StartRead();
    void StartVerify();
    void StartProgram();
    // A read like StartRead, with the same requests, identity checks and verification, whose
    // pages go into `target` instead of the link's image: the shown image stays untouched,
    // ShowReceivedImage and ShowIdentity are not called, and `target` is normalised the way
    // the window normalises a read. `target` must outlive the operation.
    void StartReadInto(DeviceImage& target);
    // After every committed edit: starts programming when the option is ticked and a
    // parameter byte changed since it was last seen (or the option was just ticked).
    void CheckProgramOnChange(bool optionChecked);

    // The line went away under a running operation: it ends now with its failure message, so a
    // port that comes back later never carries on with it, unless the answer the port received
    // before the loss completes it. Nothing happens without an operation.
    void EndOperationLineLost();

    // While paused the link asks the unit for nothing on its own: no monitor requests (the
    // 6-tick rhythm keeps counting, so monitoring resumes in step) and no programming on
    // change. Monitor frames that still come from the port keep "No Connection" away but are
    // not shown: the paused display belongs to whoever feeds it (a ride log replay).
    void PauseMonitor(bool paused) { monitorPaused_ = paused; }
    bool MonitorPaused() const { return monitorPaused_; }
    // A monitor frame from elsewhere (a replay) shown as if the unit had sent it: the live
    // values and the listener. Invalid frames are ignored; the connection counter is not touched.
    void InjectMonitorFrame(const std::uint8_t* frame);

    // Shows a message for the full countdown, for callers outside the link (printing).
    void ArmMessageCountdown() { messageCountdown_ = kMessageTicks; }

    OperationMode Mode() const { return mode_; }
    std::uint8_t CommandByte() const { return commandByte_; }
    std::uint8_t TickCounter() const { return tickCounter_; }
    std::uint8_t SendCounter() const { return sendCounter_; }
    std::uint8_t MessageCountdown() const { return messageCountdown_; }
    std::uint8_t NoConnectionTicks() const { return noConnectionTicks_; }
    const LiveValues& Live() const { return live_; }
    // Whether Live() holds the values of a frame of the line as it is now: false before the
    // first monitor frame and again from the tick that shows "No Connection" until the next.
    bool LiveValid() const { return liveValid_; }
    // True when the request now being sent (or the one an operation failed on) got an
    // answer of its own with a good check byte whose content did not match: the unit is
    // there but holds something else. False when nothing usable came back, so a caller can
    // tell "differs" from "no answer".
    bool LastRequestAnsweredDiffering() const { return answeredDiffering_; }

    // The link's texts, for the window and the tests.
    static const LocalizedText kReadDevice, kVerifyDevice, kVerifyDeviceCommand, kProgramDevice;
    static const LocalizedText kReadError, kVerifyError, kProgramError;
    static const LocalizedText kNoReading, kVerifyOk, kVersionMismatch, kWrongBikeType;

  private:
    void SendPageFrame();
    void SendMonitorRequest();
    void HandleReplyFrame(const std::uint8_t* frame);
    void HandleMonitorFrame(const std::uint8_t* frame);
    void ReplyWhileReading(const std::uint8_t* frame, std::size_t page);
    void ReplyWhileVerifying(const std::uint8_t* frame, std::size_t page);
    void ReplyWhileProgramming(const std::uint8_t* frame, std::size_t page);
    void NextPage();
    void Begin(OperationMode mode, std::uint8_t command, const LocalizedText& text, int gauge,
               bool sendNow, bool showGauge = true);
    void BeginVerifyPhase(bool showGauge);
    void ShowOperationMessage(const LocalizedText& text, Colour colour);
    void FailOperation();
    // The end of the operation a start command began; the link is idle when this is called.
    void Finish(bool ok);
    // A start command arrives: a running operation ends as replaced.
    void EndReplaced();
    void ShowReceived();

    DeviceImage& image_;
    DeviceImage* work_ = &image_;  // the image the running operation reads into or sends
    OperationMode started_ = OperationMode::None;
    SerialPort& port_;
    LinkListener& listener_;

    OperationMode mode_ = OperationMode::None;
    std::uint8_t commandByte_ = 0;
    std::uint8_t tickCounter_ = 0;
    std::uint8_t sendCounter_ = 0;
    std::uint8_t messageCountdown_ = 0;
    std::uint8_t noConnectionTicks_ = 0;
    int gaugeProgress_ = 0;
    bool answeredDiffering_ = false;
    bool monitorPaused_ = false;

    std::array<std::uint8_t, kParamImageSize> programShadow_{};
    bool programOnChangeArmed_ = false;

    std::array<std::uint8_t, kReceiveBufferSize> receiveBuffer_{};
    LiveValues live_;
    bool liveValid_ = false;
};

}  // namespace korvan
