// An in-memory serial line for driving the link tick by tick, with an optional scripted unit
// on the other end that answers each request frame.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/frame.h"
#include "params/binding.h"

namespace korvan::test {

class FakePort : public SerialPort {
  public:
    // Called with each frame the link writes; returns the bytes the unit sends back (queued at
    // once, so the next poll finds them).
    std::function<std::vector<std::uint8_t>(const DeviceFrame&)> unit;

    bool Open(const std::string& name) override {
        openedName = name;
        ++opens;
        open = openSucceeds;
        keepReceived = false;
        return open;
    }
    void Close() override {
        open = false;
        keepReceived = false;
    }
    bool IsOpen() const override { return open; }
    long BytesQueued() override {
        if (failQueries) return -1;
        if (!open)
            return keepReceived && !incoming.empty() ? static_cast<long>(incoming.size()) : -1;
        return static_cast<long>(incoming.size());
    }
    long Read(std::uint8_t* data, std::size_t max) override {
        if (!open && !keepReceived) return -1;
        std::size_t n = 0;
        while (n < max && !incoming.empty()) {
            data[n++] = incoming.front();
            incoming.pop_front();
        }
        readSizes.push_back(n);
        return static_cast<long>(n);
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (!open) return false;
        DeviceFrame f{};
        std::memcpy(f.data(), data, std::min(size, f.size()));
        written.push_back({f, tick});
        if (unit) Queue(unit(f));
        return true;
    }
    bool WaitUntilSent() override {
        ++waits;
        return open;
    }
    PortOpenFailure OpenFailure() const override { return openFailure; }

    void Queue(const std::vector<std::uint8_t>& bytes) {
        incoming.insert(incoming.end(), bytes.begin(), bytes.end());
    }
    void Queue(const DeviceFrame& f) { incoming.insert(incoming.end(), f.begin(), f.end()); }
    // The line goes away (cable pulled): the port closes itself, and what had arrived before
    // can still be read, as from the real port.
    void DropLine() {
        open = false;
        keepReceived = true;
    }

    struct Sent {
        DeviceFrame frame;
        int tick;
    };
    std::vector<Sent> written;
    std::vector<std::size_t> readSizes;
    std::deque<std::uint8_t> incoming;
    std::string openedName;
    bool open = true;
    bool keepReceived = false;  // closed by DropLine: `incoming` is still readable
    bool openSucceeds = true;
    PortOpenFailure openFailure;  // what a failed Open reports
    int opens = 0;
    bool failQueries = false;
    int waits = 0;
    int tick = 0;  // set by the test driver, stamped on every write
};

// Records what the link asks the window to show.
class RecordingListener : public LinkListener {
  public:
    explicit RecordingListener(DeviceImage& image) : image_(image) {}

    void SetMessage(const LocalizedText& text, Colour colour) override {
        message = text.english;
        messageColour = colour;
        messages.push_back(message);
    }
    void SetMessageVisible(bool v) override { messageVisible = v; }
    void SetGaugeProgress(int p) override {
        gauge = p;
        gaugeHistory.push_back(p);
    }
    void SetGaugeVisible(bool v) override { gaugeVisible = v; }
    void SetNoConnectionVisible(bool v) override { noConnection = v; }
    void ShowModalMessage(const LocalizedText& text) override { modals.push_back(text.english); }
    void ShowReceivedImage() override {
        NormalizeImage(image_);
        ++imagesShown;
    }
    void ShowIdentity(const IdentityTexts& t) override { identity = t; }
    void ShowMonitorFrame(const std::uint8_t*) override { ++monitorFrames; }
    void OperationFinished(const OperationEnd& end) override { ends.push_back(end); }

    std::string message;
    Colour messageColour = Colour::ButtonFace;
    std::vector<std::string> messages;
    bool messageVisible = false;
    int gauge = -1;
    std::vector<int> gaugeHistory;
    bool gaugeVisible = false;
    std::optional<bool> noConnection;
    std::vector<std::string> modals;
    int imagesShown = 0;
    IdentityTexts identity;
    int monitorFrames = 0;
    std::vector<OperationEnd> ends;

  private:
    DeviceImage& image_;
};

// A unit that answers like the real one: program echoes, read and verify return its pages,
// monitor requests get a monitor frame.
class ScriptedUnit {
  public:
    ScriptedUnit() {
        pages[0][field::ReadEnable] = 1;
        pages[0][field::FormatVersion] = kFormatVersion;
        pages[0][field::BikeMask] = pages[0][field::BikeMask + 1] = pages[0][field::BikeMask + 2] =
            0xFF;
        std::memcpy(pages[0], "KSM", 3);
    }

    std::vector<std::uint8_t> Answer(const DeviceFrame& request) {
        ++requests;
        if (!FrameCheckOk(request.data())) return {};
        if (silent || (answerLimit >= 0 && requests > answerLimit)) return {};
        if (dropEvery > 0 && requests % dropEvery == 0) return {};
        const std::uint8_t cmd = request[0];
        const std::size_t page = cmd & kPageMask;
        DeviceFrame answer;
        if (cmd == kCmdMonitor) {
            std::uint8_t payload[kPageSize] = {};
            payload[0] = 0x10;  // 10000 rpm = 0x2710, low byte first
            payload[1] = 0x27;
            payload[28] = 50;  // throttle percent
            answer = BuildFrame(kMonitorAnswer, payload);
        } else if (page < 3 && (cmd & ~kPageMask) == kCmdReadPage) {
            answer = BuildFrame(cmd | kAnswerBit, pages[page]);
        } else if (page < 3 && (cmd & ~kPageMask) == kCmdProgramPage) {
            if (page > 0) std::memcpy(pages[page], request.data() + 1, kPageSize);
            answer = BuildFrame(cmd | kAnswerBit, pages[page]);
            if (page > 0 && echoTweak) echoTweak(answer);
        } else {
            return {};
        }
        if (corruptEvery > 0 && requests % corruptEvery == 0) answer[kFrameCheckOffset] ^= 0x01;
        return {answer.begin(), answer.end()};
    }

    std::uint8_t pages[3][kPageSize] = {};
    int requests = 0;
    int answerLimit = -1;  // answer only the first N requests
    int dropEvery = 0;
    int corruptEvery = 0;
    bool silent = false;
    std::function<void(DeviceFrame&)> echoTweak;
};

}  // namespace korvan::test
