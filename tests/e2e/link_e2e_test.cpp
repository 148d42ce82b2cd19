// The link against the simulated unit over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstring>

#include "link_harness.h"

namespace korvan::test {
namespace {

bool SameParams(const DeviceImage& a, const DeviceImage& b) {
    return std::memcmp(a.Page(1), b.Page(1), kParamImageSize) == 0;
}

TEST(LinkEndToEnd, ProgramThenReadBackGivesTheSameImage) {
    SimProcess sim({"--quiet"});
    LinkHarness pc;
    ASSERT_TRUE(pc.Open(sim));
    pc.image[field::Limiter1] = 66;
    pc.image[field::Limiter2] = 130;
    pc.image[AdvanceIndex(5, 5)] = 55;
    pc.image[field::ParamReserved + 3] = 0x99;  // carried to the unit untouched
    pc.link.StartProgram();
    pc.RunOperation();
    EXPECT_EQ(pc.listener.message, "Verify OK");
    EXPECT_EQ(pc.listener.identity.VersionString.size(), 5u);
    pc.link.CloseComPort();  // the port is the program's alone while open

    LinkHarness reader;
    ASSERT_TRUE(reader.Open(sim));
    reader.link.StartRead();
    reader.RunOperation();
    EXPECT_EQ(reader.listener.message, "Verify OK");
    EXPECT_TRUE(SameParams(reader.image, pc.image));
    EXPECT_EQ(std::memcmp(reader.image.Page(0), pc.image.Page(0), kPageSize), 0);
}

TEST(LinkEndToEnd, ReadFillsTheImageWithTheUnitsPages) {
    SimProcess sim({"--quiet"});
    LinkHarness pc;
    ASSERT_TRUE(pc.Open(sim));
    pc.image[field::Limiter1] = 11;  // differs from what the unit holds
    pc.link.StartRead();
    pc.RunOperation();
    EXPECT_EQ(pc.listener.message, "Verify OK");
    EXPECT_TRUE(SameParams(pc.image, DefaultImage()));
    EXPECT_EQ(pc.image[field::FormatVersion], kFormatVersion);
    EXPECT_EQ(pc.image[field::ReadEnable], 1);

    pc.link.StartVerify();
    pc.RunOperation();
    EXPECT_EQ(pc.listener.message, "Verify OK");
}

struct RefusalCase {
    const char* what;
    std::vector<std::string> simArgs;
    bool read;
    std::uint8_t bikeType;
    const char* message;  // label text at the end
    const char* modal;    // the modal message, or nullptr
};

TEST(LinkEndToEnd, TheUnitsIdentityStopsWhatItMustStop) {
    const RefusalCase cases[] = {
        {"reading refused", {"--read-enable", "0"}, true, 0, "No Reading!", nullptr},
        {"another format version on read",
         {"--format-version", "14"},
         true,
         0,
         "Read device:",
         "Unmatched version of PC and Ignition programs!"},
        {"another format version on program",
         {"--format-version", "14"},
         false,
         0,
         "Program device:",
         "Unmatched version of PC and Ignition programs!"},
        {"a bike mask without the selected type",
         {"--bike-mask", "0x000008"},
         false,
         2,
         "Program device:",
         "These Ignition is not for this type of motorbikes!"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = c.simArgs;
        args.push_back("--quiet");
        SimProcess sim(args);
        LinkHarness pc;
        ASSERT_TRUE(pc.Open(sim));
        pc.image[field::BikeType] = c.bikeType;
        const DeviceImage before = pc.image;
        if (c.read) {
            pc.link.StartRead();
        } else {
            pc.link.StartProgram();
        }
        pc.RunOperation();
        EXPECT_EQ(pc.listener.message, c.message);
        if (c.modal) {
            ASSERT_EQ(pc.listener.modals.size(), 1u);
            EXPECT_EQ(pc.listener.modals[0], c.modal);
        }
        // Neither page 1 nor page 2 went out, and the parameters are as they were.
        for (std::uint8_t cmd : {0x01, 0x02, 0x41, 0x42}) EXPECT_FALSE(pc.Sent(cmd)) << int(cmd);
        EXPECT_TRUE(SameParams(pc.image, before));
    }
}

TEST(LinkEndToEnd, TheRightBikeTypeIsAccepted) {
    SimProcess sim({"--bike-mask", "0x000008", "--quiet"});
    LinkHarness pc;
    ASSERT_TRUE(pc.Open(sim));
    pc.image[field::BikeType] = 3;
    pc.link.StartProgram();
    pc.RunOperation();
    EXPECT_EQ(pc.listener.message, "Verify OK");
}

TEST(LinkEndToEnd, LostAndBrokenAnswersAreResentAndFailOnlyBeyondFiveSends) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--drop-every", "3"}, "Verify OK"},         {{"--corrupt-every", "2"}, "Verify OK"},
        {{"--delay-ms", "30"}, "Verify OK"},          {{"--drop-every", "1"}, "Program error!"},
        {{"--corrupt-every", "1"}, "Program error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        std::vector<std::string> args = c.args;
        args.push_back("--quiet");
        SimProcess sim(args);
        LinkHarness pc;
        ASSERT_TRUE(pc.Open(sim));
        pc.link.StartProgram();
        pc.RunOperation();
        EXPECT_EQ(pc.listener.message, c.message);
    }
}

TEST(LinkEndToEnd, AHangUpNeverEndsInSuccessAndClosesThePort) {
    for (const char* after : {"1", "3", "4"}) {
        SCOPED_TRACE(after);
        SimProcess sim({"--hangup-after", after, "--quiet"});
        LinkHarness pc;
        ASSERT_TRUE(pc.Open(sim));
        pc.link.StartProgram();
        pc.RunOperation();
        EXPECT_NE(pc.listener.message, "Verify OK");
        EXPECT_EQ(pc.listener.messageColour, Colour::Red);
        pc.Ticks(20);
        EXPECT_FALSE(pc.qtPort.IsOpen());  // closed at the first error: no busy loop
        EXPECT_EQ(pc.listener.noConnection, std::optional<bool>(true));
        // The program goes on: a new operation fails cleanly with its message.
        pc.link.StartRead();
        pc.RunOperation();
        EXPECT_EQ(pc.listener.message, "Read error!");
    }
}

// A program is five answers; the unit hangs up right after the fifth. The link does not tick
// while it comes in, so the answer is in the port's buffer when the line goes: it still
// decides the result.
TEST(LinkEndToEnd, AHangUpRightAfterTheLastAnswerKeepsVerifyOk) {
    SimProcess sim({"--hangup-after", "5", "--quiet"});
    LinkHarness pc;
    ASSERT_TRUE(pc.Open(sim));
    pc.link.StartProgram();
    constexpr auto kLastVerifyRequest = static_cast<std::uint8_t>(kCmdReadPage | kMapPageNumber);
    for (int n = 0; n < 100 && !(pc.link.Mode() == OperationMode::Verify &&
                                 pc.link.CommandByte() == kLastVerifyRequest);
         ++n) {
        pc.Tick();
    }
    ASSERT_EQ(pc.link.CommandByte(), kLastVerifyRequest);
    // Qt 6.4 reports the hang-up as an error event; 6.8 does not, and the port finds it when
    // the tick asks what is queued. Either way the answer that came first stays readable.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (pc.qtPort.IsOpen() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        pc.qtPort.BytesQueued();
    }
    ASSERT_FALSE(pc.qtPort.IsOpen());
    EXPECT_EQ(pc.qtPort.LostCount(), 1);
    ASSERT_NE(pc.link.Mode(), OperationMode::None);
    pc.link.EndOperationLineLost();  // what the reconnect does at the next tick
    EXPECT_EQ(pc.link.Mode(), OperationMode::None);
    EXPECT_EQ(pc.listener.message, "Verify OK");
    ASSERT_EQ(pc.listener.ends.size(), 1u);
    EXPECT_TRUE(pc.listener.ends[0].ok);
    // Nothing of the lost line is read twice.
    EXPECT_EQ(pc.qtPort.BytesQueued(), -1);
}

TEST(LinkEndToEnd, MonitorFramesKeepTheLinkAliveAndCarryTheEngine) {
    SimProcess sim({"--rpm", "4200", "--tps", "30", "--quiet"});
    LinkHarness pc;
    ASSERT_TRUE(pc.Open(sim));
    pc.Ticks(30);
    EXPECT_GE(pc.listener.monitorFrames, 4);
    EXPECT_EQ(pc.listener.noConnection, std::optional<bool>(false));
    EXPECT_EQ(pc.link.Live().Rpm, 4200);
    EXPECT_EQ(pc.link.Live().TpsPercent, 30);
}

TEST(LinkEndToEnd, LineNoiseDoesNotStopTheMonitor) {
    SimProcess sim({"--noise", "--quiet"});
    LinkHarness pc;
    ASSERT_TRUE(pc.Open(sim));
    pc.Ticks(60);
    EXPECT_GE(pc.listener.monitorFrames, 3);
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
