// The chosen device comes back by itself, over QSerialPort and the simulated unit, and an open
// that cannot work says why.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include "device/port_reconnect.h"
#include "device/qt_port_lister.h"
#include "link_harness.h"

namespace korvan::test {
namespace {

constexpr int kRetry = PortReconnect::kRetryTicks;

// The window's tick: a precise 55 ms timer in a real event loop, which sleeps between ticks.
int RunTicks(int limit, const std::function<void()>& tick, const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(static_cast<int>(LinkHarness::kTick.count()));
    int n = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        tick();
        ++n;
        if (done() || n >= limit) loop.quit();
    });
    timer.start();
    loop.exec();
    return n;
}

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class TempFolder {
  public:
    TempFolder() {
        char tmpl[] = "/tmp/korvan-reconnect-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

TEST(ReconnectEndToEnd, TheSimulatorKilledAndRestartedOnTheSamePathIsFoundAgain) {
    TempFolder folder;
    const std::string linkPath = folder.path + "/ttyKorvan";
    auto sim =
        std::make_unique<SimProcess>(std::vector<std::string>{"--quiet", "--link", linkPath});
    ASSERT_TRUE(sim->Started());

    LinkHarness pc;
    PortReconnect reconnect(pc.link, pc.recording);
    int ticks = 0;
    const auto tick = [&] {
        reconnect.Tick();
        pc.link.Tick();
        ++ticks;
    };
    ASSERT_FALSE(reconnect.OpenRequested(linkPath).Failed());
    RunTicks(100, tick, [&] { return pc.listener.monitorFrames >= 2; });
    ASSERT_GE(pc.listener.monitorFrames, 2);
    EXPECT_EQ(reconnect.State(), PortState::Connected);

    // The unit goes away in the middle of a read.
    pc.link.StartRead();
    sim->Stop();
    sim.reset();
    RunTicks(100, tick,
             [&] { return reconnect.Losses() == 1 && pc.link.Mode() == OperationMode::None; });
    EXPECT_EQ(reconnect.Losses(), 1);
    EXPECT_EQ(pc.link.Mode(), OperationMode::None);
    EXPECT_EQ(pc.listener.message, "Read error!");
    EXPECT_FALSE(pc.qtPort.IsOpen());

    // Waiting for the device costs next to nothing.
    const int attemptsBefore = reconnect.Attempts();
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    constexpr int kWaitTicks = 5 * kRetry;
    RunTicks(kWaitTicks, tick, [] { return false; });
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double cpuPercent = 100.0 * cpu / wall;
    std::cout << "CPU while waiting for the device: " << cpuPercent << " % (" << cpu * 1000
              << " ms in " << wall << " s, " << reconnect.Attempts() - attemptsBefore
              << " retries)\n";
    RecordProperty("cpu_percent_waiting", std::to_string(cpuPercent));
    EXPECT_LT(cpuPercent, 1.0);
    EXPECT_EQ(reconnect.Attempts() - attemptsBefore, kWaitTicks / kRetry);
    EXPECT_EQ(reconnect.State(), PortState::Reconnecting);
    EXPECT_TRUE(pc.listener.modals.empty());
    EXPECT_EQ(pc.listener.noConnection, std::optional<bool>(true));

    // A new unit on the same path: monitor frames come back without anything done.
    SimProcess again({"--quiet", "--link", linkPath, "--rpm", "3100"});
    ASSERT_TRUE(again.Started());
    const int framesBefore = pc.listener.monitorFrames;
    const int returnedAt = ticks;
    RunTicks(4 * kRetry, tick, [&] { return pc.listener.monitorFrames > framesBefore; });
    const int toFirstFrame = ticks - returnedAt;
    std::cout << "Ticks from the device's return to the first valid monitor frame: " << toFirstFrame
              << "\n";
    RecordProperty("ticks_to_first_frame", toFirstFrame);
    EXPECT_GT(pc.listener.monitorFrames, framesBefore);
    EXPECT_LE(toFirstFrame, 2 * kRetry);
    EXPECT_EQ(pc.link.Live().Rpm, 3100);
    EXPECT_EQ(reconnect.State(), PortState::Connected);
    EXPECT_EQ(pc.listener.message, "Read error!") << "the read is never resumed";
    EXPECT_EQ(pc.listener.noConnection, std::optional<bool>(false));
}

TEST(ReconnectEndToEnd, PathsThatAreNoSerialPortSayWhyOnceAndAreNotRetried) {
    TempFolder folder;
    const std::string file = folder.path + "/file";
    const std::string fifo = folder.path + "/fifo";
    std::ofstream(file) << "not a port";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    SimProcess sim({"--quiet"});
    ASSERT_TRUE(sim.Started());
    QtSerialPort holder;  // another program holding the port
    ASSERT_TRUE(holder.Open(sim.PtyPath()));

    const struct {
        std::string path;
        PortFailureKind kind;
        bool retried;
    } cases[] = {
        {file, PortFailureKind::NotSerialDevice, false},
        {folder.path, PortFailureKind::NotSerialDevice, false},
        {fifo, PortFailureKind::NotSerialDevice, false},
        {"/dev/null", PortFailureKind::NotSerialDevice, false},
        {folder.path + "/ttyUSB9", PortFailureKind::Missing, true},
        {sim.PtyPath(), PortFailureKind::Busy, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        LinkHarness pc;
        PortReconnect reconnect(pc.link, pc.recording);
        const PortOpenFailure f = reconnect.OpenRequested(c.path);
        EXPECT_EQ(f.kind, c.kind) << OpenFailureText(f, 1);
        EXPECT_FALSE(pc.qtPort.IsOpen());
        for (int i = 0; i < 3 * kRetry; ++i) {  // by hand: a retry must not block either
            reconnect.Tick();
            pc.link.Tick();
        }
        EXPECT_EQ(reconnect.Attempts(), c.retried ? 3 : 0);
        EXPECT_EQ(reconnect.State(), c.retried ? PortState::Reconnecting : PortState::Closed);
    }
}

TEST(ReconnectEndToEnd, ThePortListAsksTheSystemAgainOnlyWhenTerminalsCameOrWent) {
    TempFolder ttyClass;
    std::ofstream(ttyClass.path + "/ttyS0") << "";
    SimProcess sim({"--quiet"});
    ASSERT_TRUE(sim.Started());
    QtPortLister lister(ttyClass.path);
    const std::vector<PortDescription> first = lister.List();
    for (const PortDescription& p : first)
        EXPECT_NE(p.device, sim.SlavePath()) << "pseudo-terminals are not listed";
    EXPECT_EQ(lister.List(), first);
    EXPECT_EQ(lister.FullListings(), 1);
    std::ofstream(ttyClass.path + "/ttyUSB0") << "";  // an adapter was plugged in
    lister.List();
    EXPECT_EQ(lister.FullListings(), 2);
    std::filesystem::remove(ttyClass.path + "/ttyUSB0");
    lister.List();
    lister.List();
    EXPECT_EQ(lister.FullListings(), 3);
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
