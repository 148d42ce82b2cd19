// What the device link shows, handed to the collaborator that shows it: the messages, the
// gauge and "No Connection" to the progress row, everything else to the window's handlers.
// A new collaborator that wants the monitor frames (a ride log, a curve view) adds a handler
// with OnMonitorFrame; the frames are handed on in the order the handlers were added.
#pragma once

#include <functional>
#include <vector>

#include "device/device_link.h"

namespace korvan {

class ProgressRow;

class LinkView : public LinkListener {
  public:
    using FrameHandler = std::function<void(const std::uint8_t* frame)>;

    // The row must outlive the link that reports here.
    explicit LinkView(ProgressRow& progress) : progress_(progress) {}

    std::function<void(const LocalizedText& text)> modalMessage;
    std::function<void()> receivedImage;
    std::function<void(const IdentityTexts& texts)> identity;
    // Told on every tick whether "No Connection" shows.
    std::function<void(bool shown)> noConnection;
    std::function<void(const OperationEnd& end)> operationFinished;
    void OnMonitorFrame(FrameHandler handler) { frameHandlers_.push_back(std::move(handler)); }

    void SetMessage(const LocalizedText& text, Colour colour) override;
    void SetMessageVisible(bool visible) override;
    void SetGaugeProgress(int progress) override;
    void SetGaugeVisible(bool visible) override;
    void SetNoConnectionVisible(bool visible) override;
    void ShowModalMessage(const LocalizedText& text) override;
    void ShowReceivedImage() override;
    void ShowIdentity(const IdentityTexts& texts) override;
    void ShowMonitorFrame(const std::uint8_t* frame) override;
    void OperationFinished(const OperationEnd& end) override;

  private:
    ProgressRow& progress_;
    std::vector<FrameHandler> frameHandlers_;
};

}  // namespace korvan
