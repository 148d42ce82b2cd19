// Coming back by itself: the chosen device is retried every kRetryTicks ticks after the line
// went away, silently, and nothing that ran on the dead line carries on.
#include "device/port_reconnect.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fake_port.h"
#include "params/defaults.h"

namespace korvan {
namespace {

using test::FakePort;
using test::RecordingListener;
using test::ScriptedUnit;

constexpr int kRetry = PortReconnect::kRetryTicks;

class ReconnectTest : public ::testing::Test {
  protected:
    ReconnectTest() : listener(image), link(image, port, listener), reconnect(link, port) {
        SetDefaults(image);
        port.unit = [this](const DeviceFrame& f) { return unit.Answer(f); };
    }

    // One tick as the window runs it: the policy first, then the link.
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            ++port.tick;
            const int opensBefore = port.opens;
            reconnect.Tick();
            if (port.opens != opensBefore) openTicks.push_back(port.tick);
            link.Tick();
        }
    }
    // The line goes away as the Qt port reports it: the port closes itself.
    void PullAdapter() {
        port.open = false;
        port.openSucceeds = false;
        port.openFailure = {PortFailureKind::Missing, "/dev/ttyUSB0", {}, {}};
        port.incoming.clear();
    }
    void PlugAdapterBack() {
        port.openSucceeds = true;
        port.openFailure = {};
    }

    DeviceImage image;
    FakePort port;
    ScriptedUnit unit;
    RecordingListener listener;
    DeviceLink link;
    PortReconnect reconnect;
    std::vector<int> openTicks;
};

TEST_F(ReconnectTest, APulledAdapterIsRetriedEvery18TicksWithoutABox) {
    ASSERT_FALSE(reconnect.OpenRequested("/dev/ttyUSB0").Failed());
    Tick(30);
    EXPECT_EQ(reconnect.State(), PortState::Connected);
    EXPECT_GT(listener.monitorFrames, 0);

    PullAdapter();
    const int lostAt = port.tick + 1;
    Tick(5 * kRetry);
    EXPECT_EQ(reconnect.Losses(), 1);
    // The period written out once: every other test derives its ticks from the constant.
    EXPECT_EQ(openTicks, (std::vector<int>{lostAt + 18, lostAt + 36, lostAt + 54, lostAt + 72}));
    EXPECT_EQ(port.openedName, "/dev/ttyUSB0");  // the same device every time
    EXPECT_EQ(reconnect.State(), PortState::Reconnecting);
    EXPECT_TRUE(listener.modals.empty());
    EXPECT_EQ(listener.noConnection, true);  // "No Connection" shows meanwhile
}

TEST_F(ReconnectTest, MonitorFramesResumeWithinTwoRetriesOfTheDevicesReturn) {
    // The device may come back at any point of the retry cycle.
    for (int offset : {0, 1, kRetry / 2, kRetry - 1}) {
        SCOPED_TRACE(offset);
        PlugAdapterBack();
        ASSERT_FALSE(reconnect.OpenRequested("/dev/ttyACM0").Failed());
        Tick(20);
        PullAdapter();
        Tick(3 * kRetry + offset);
        image[field::Limiter1] = 77;  // edited while the line was down
        const int framesBefore = listener.monitorFrames;

        PlugAdapterBack();
        int ticks = 0;
        while (listener.monitorFrames == framesBefore && ticks < 4 * kRetry) {
            Tick();
            ++ticks;
        }
        EXPECT_LE(ticks, 2 * kRetry);
        EXPECT_GT(listener.monitorFrames, framesBefore);
        EXPECT_EQ(reconnect.State(), PortState::Connected);
        EXPECT_EQ(listener.noConnection, false);
        EXPECT_EQ(image[field::Limiter1], 77);  // untouched by the reconnect
        EXPECT_TRUE(listener.modals.empty());
    }
}

TEST_F(ReconnectTest, AnOperationOnADeadLineEndsWithItsFailureAndNeverResumes) {
    struct Case {
        const char* what;
        void (DeviceLink::*start)();
        const char* failure;
    } cases[] = {
        {"read", &DeviceLink::StartRead, "Read error!"},
        {"verify", &DeviceLink::StartVerify, "Verify error!"},
        {"program", &DeviceLink::StartProgram, "Program error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlugAdapterBack();
        ASSERT_FALSE(reconnect.OpenRequested("/dev/ttyUSB0").Failed());
        Tick(12);
        const DeviceImage before = image;
        listener.messages.clear();
        (link.*c.start)();
        Tick(2);
        ASSERT_NE(link.Mode(), OperationMode::None);

        PullAdapter();
        Tick();  // the policy finds the port closed
        EXPECT_EQ(link.Mode(), OperationMode::None);
        EXPECT_EQ(listener.message, c.failure);
        EXPECT_TRUE(listener.messageVisible);

        PlugAdapterBack();
        const std::size_t writtenBefore = port.written.size();
        Tick(4 * kRetry);
        EXPECT_EQ(link.Mode(), OperationMode::None);
        EXPECT_EQ(listener.message, c.failure) << "never reported as success";
        for (std::size_t i = writtenBefore; i < port.written.size(); ++i) {
            EXPECT_EQ(port.written[i].frame[0], kCmdMonitor)
                << "only monitor requests after the return";
        }
        EXPECT_EQ(std::memcmp(image.Page(1), before.Page(1), kParamImageSize), 0);
        EXPECT_TRUE(listener.modals.empty());
    }
}

TEST_F(ReconnectTest, WhatTheUserAskedForSaysWhyAndOnlyRetriesWhatCanMend) {
    struct Case {
        const char* what;
        PortFailureKind kind;
        NodeType node;
        bool retries;
    } cases[] = {
        {"missing", PortFailureKind::Missing, NodeType::Missing, true},
        {"busy", PortFailureKind::Busy, NodeType::CharDevice, true},
        {"permission", PortFailureKind::Permission, NodeType::CharDevice, true},
        {"other", PortFailureKind::Other, NodeType::CharDevice, true},
        {"regular file", PortFailureKind::NotSerialDevice, NodeType::RegularFile, false},
        {"directory", PortFailureKind::NotSerialDevice, NodeType::Directory, false},
        {"fifo", PortFailureKind::NotSerialDevice, NodeType::Fifo, false},
        {"null device", PortFailureKind::NotSerialDevice, NodeType::NullDevice, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        port.openSucceeds = false;
        port.openFailure = {c.kind, "", {}, {}};
        port.openFailure.node.type = c.node;
        const PortOpenFailure f = reconnect.OpenRequested("/some/path");
        EXPECT_EQ(f.kind, c.kind);
        EXPECT_EQ(f.device, "/some/path");
        const int opens = port.opens;
        Tick(10 * kRetry);
        EXPECT_EQ(port.opens - opens, c.retries ? 10 : 0);
        EXPECT_EQ(reconnect.State(), c.retries ? PortState::Reconnecting : PortState::Closed);
        reconnect.Close();
        EXPECT_EQ(reconnect.State(), PortState::Closed);
        const int afterClose = port.opens;
        Tick(2 * kRetry);
        EXPECT_EQ(port.opens, afterClose) << "a closed port is not retried";
    }
    EXPECT_TRUE(listener.modals.empty());
}

TEST_F(ReconnectTest, APathThatTurnsIntoAFileStopsTheRetries) {
    ASSERT_FALSE(reconnect.OpenRequested("/tmp/link").Failed());
    Tick(3);
    PullAdapter();
    Tick(kRetry + 1);
    EXPECT_EQ(reconnect.Attempts(), 1);
    port.openFailure = {PortFailureKind::NotSerialDevice,
                        "/tmp/link",
                        {NodeType::RegularFile, "", false, false},
                        {}};
    Tick(kRetry);
    EXPECT_EQ(reconnect.Attempts(), 2);
    Tick(5 * kRetry);
    EXPECT_EQ(reconnect.Attempts(), 2);
    EXPECT_EQ(reconnect.State(), PortState::Closed);
}

TEST_F(ReconnectTest, AnOpenPortWithoutAnswersIsNoAnswerNotReconnecting) {
    ASSERT_FALSE(reconnect.OpenRequested("/dev/ttyUSB0").Failed());
    Tick(12);
    EXPECT_EQ(reconnect.State(), PortState::Connected);
    unit.silent = true;  // the unit's power dipped; the adapter is still there
    Tick(DeviceLink::kNoConnectionTicks + 6);
    EXPECT_EQ(reconnect.State(), PortState::NoAnswer);
    EXPECT_EQ(reconnect.Attempts(), 0);
    unit.silent = false;
    Tick(2 * DeviceLink::kMonitorTicks);
    EXPECT_EQ(reconnect.State(), PortState::Connected);
}

TEST_F(ReconnectTest, APausedLinkIsPausedWhileOpenAndItsRealStateAfter) {
    ASSERT_FALSE(reconnect.OpenRequested("/dev/ttyUSB0").Failed());
    Tick(12);
    // A replay: the link asks nothing, so the unit is silent on purpose.
    link.PauseMonitor(true);
    Tick(DeviceLink::kNoConnectionTicks + 6);
    EXPECT_EQ(reconnect.State(), PortState::Paused);
    // A line that really goes away is not hidden behind the pause.
    PullAdapter();
    Tick(1);
    EXPECT_EQ(reconnect.State(), PortState::Reconnecting);
    link.PauseMonitor(false);
    EXPECT_EQ(reconnect.State(), PortState::Reconnecting);
}

}  // namespace
}  // namespace korvan
