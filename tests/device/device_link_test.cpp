#include "device/device_link.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fake_port.h"
#include "params/defaults.h"

namespace korvan {
namespace {

using test::FakePort;
using test::RecordingListener;
using test::ScriptedUnit;

class LinkTest : public ::testing::Test {
  protected:
    LinkTest() : listener(image), link(image, port, listener) {
        SetDefaults(image);
        port.unit = [this](const DeviceFrame& f) { return unit.Answer(f); };
    }

    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            ++port.tick;
            link.Tick();
        }
    }
    // Ticks until no operation runs (at most `limit`); returns how many ran.
    int RunOperation(int limit = 100) {
        int n = 0;
        while (link.Mode() != OperationMode::None && n < limit) {
            Tick();
            ++n;
        }
        return n;
    }
    std::vector<int> SendTicks(std::uint8_t command) const {
        std::vector<int> ticks;
        for (const auto& s : port.written) {
            if (s.frame[0] == command) ticks.push_back(s.tick);
        }
        return ticks;
    }
    std::vector<std::uint8_t> Commands() const {
        std::vector<std::uint8_t> c;
        for (const auto& s : port.written) c.push_back(s.frame[0]);
        return c;
    }

    DeviceImage image;
    FakePort port;
    ScriptedUnit unit;
    RecordingListener listener;
    DeviceLink link;
};

TEST(Frames, RequestAndAnswerCheckBytes) {
    const DeviceFrame monitor = BuildFrame(kCmdMonitor, nullptr);
    EXPECT_EQ(monitor[0], 0x30);
    for (std::size_t i = 1; i <= 100; ++i) ASSERT_EQ(monitor[i], 0);
    EXPECT_EQ(monitor[101], 0xCF);
    EXPECT_EQ(BuildFrame(0x41, nullptr)[101], 0xBE);
    EXPECT_EQ(BuildFrame(0xC1, nullptr)[101], 0x3E);
    DeviceFrame f = BuildFrame(0x42, nullptr);
    EXPECT_TRUE(FrameCheckOk(f.data()));
    f[50] ^= 1;
    EXPECT_FALSE(FrameCheckOk(f.data()));
}

TEST_F(LinkTest, IdleLinkAsksForLiveValuesEverySixthTick) {
    unit.silent = true;
    Tick(18);
    EXPECT_EQ(SendTicks(kCmdMonitor), (std::vector<int>{6, 12, 18}));
    EXPECT_EQ(port.waits, 0);  // the monitor request is not waited for
}

TEST_F(LinkTest, APausedLinkSendsNothingOnItsOwnAndResumesInStep) {
    // Monitoring runs (the unit answers), then pauses for a replay, then resumes.
    Tick(6);
    ASSERT_EQ(listener.monitorFrames, 0);
    Tick();  // the answer to the tick-6 request
    ASSERT_EQ(listener.monitorFrames, 1);
    link.PauseMonitor(true);
    port.Queue(BuildFrame(kMonitorAnswer, nullptr));  // a late answer still on the line
    Tick(17);                                         // ticks 8..24
    EXPECT_EQ(listener.monitorFrames, 1) << "a frame from the port is not shown while paused";
    EXPECT_EQ(link.NoConnectionTicks(), 17) << "but it counts as a sign of the unit";
    image[field::Limiter2] ^= 1;
    link.CheckProgramOnChange(true);  // a commit during the pause programs nothing
    EXPECT_EQ(link.Mode(), OperationMode::None);

    // An injected frame takes the live path; an invalid one is dropped.
    MonitorChannels replayed;
    replayed.Rpm = 4321;
    replayed.TpsPercent = 37;
    const DeviceFrame frame = EncodeMonitorFrame(replayed);
    link.InjectMonitorFrame(frame.data());
    EXPECT_EQ(listener.monitorFrames, 2);
    EXPECT_EQ(link.Live().Rpm, 4321);
    EXPECT_EQ(link.Live().TpsPercent, 37);
    DeviceFrame broken = frame;
    broken[10] ^= 1;
    link.InjectMonitorFrame(broken.data());
    EXPECT_EQ(listener.monitorFrames, 2);
    EXPECT_EQ(link.Live().Rpm, 4321);
    EXPECT_EQ(SendTicks(kCmdMonitor), (std::vector<int>{6}));

    link.PauseMonitor(false);
    Tick(6);  // ticks 25..30: the 6-tick rhythm went on counting
    EXPECT_EQ(SendTicks(kCmdMonitor), (std::vector<int>{6, 30}));
    link.CheckProgramOnChange(true);  // the change made during the pause is programmed now
    EXPECT_EQ(link.Mode(), OperationMode::Program);
}

TEST_F(LinkTest, ProgramAgainstASilentUnitResendsEveryFourthTickAndFailsAtTheTwentieth) {
    unit.silent = true;
    link.StartProgram();
    EXPECT_EQ(listener.message, "Program device:");
    EXPECT_TRUE(listener.messageVisible);
    EXPECT_EQ(listener.gauge, 0);
    EXPECT_TRUE(listener.gaugeVisible);
    for (int t = 1; t < 20; ++t) {
        Tick();
        ASSERT_EQ(link.Mode(), OperationMode::Program) << "tick " << t;
    }
    Tick();
    EXPECT_EQ(link.Mode(), OperationMode::None);
    EXPECT_EQ(SendTicks(0x00), (std::vector<int>{0, 4, 8, 12, 16}));
    EXPECT_EQ(listener.message, "Program error!");
    EXPECT_EQ(listener.messageColour, Colour::Red);
    EXPECT_EQ(listener.gauge, 0);
    EXPECT_TRUE(listener.gaugeVisible);
    EXPECT_EQ(port.waits, 5);  // every page request waits until it has left

    // The failure's countdown starts in the tick that shows it, which already counts.
    Tick(198);
    EXPECT_TRUE(listener.messageVisible);
    Tick();
    EXPECT_FALSE(listener.messageVisible);
    EXPECT_FALSE(listener.gaugeVisible);
}

TEST_F(LinkTest, ReadSendsItsFirstRequestFromTheTickAndFourTimesInAll) {
    unit.silent = true;
    Tick(7);  // the monitor cycle has left the tick counter at 1
    link.StartRead();
    EXPECT_EQ(port.written.size(), 1u);  // only the monitor request so far
    EXPECT_EQ(listener.message, "Read device:");
    const int start = port.tick;
    RunOperation();
    std::vector<int> sends = SendTicks(0x40);
    ASSERT_EQ(sends.size(), 4u);
    EXPECT_EQ(sends[0] - start, 3);  // counter 1 -> 4 after three ticks
    EXPECT_EQ(sends[1] - sends[0], 4);
    EXPECT_EQ(listener.message, "Read error!");
    EXPECT_EQ(listener.messageColour, Colour::Red);
}

TEST_F(LinkTest, ANextRequestIsResentThreeSevenElevenAndFifteenTicksAfterTheAnswer) {
    unit.answerLimit = 1;  // the identity request alone is answered
    link.StartProgram();
    Tick();  // the identity answer arrives; page 1 goes out in the same tick
    const int answered = port.tick;
    RunOperation();
    std::vector<int> sends = SendTicks(0x01);
    ASSERT_EQ(sends.size(), 5u);
    std::vector<int> after;
    for (int s : sends) after.push_back(s - answered);
    EXPECT_EQ(after, (std::vector<int>{0, 3, 7, 11, 15}));
    EXPECT_EQ(port.tick - answered, 19);
    EXPECT_EQ(listener.message, "Program error!");
}

TEST_F(LinkTest, ProgramThenVerifyTakesOneTickPerExchange) {
    image[field::Limiter1] = 77;
    image[AdvanceIndex(3, 4)] = 59;
    link.StartProgram();
    const int ticks = RunOperation();
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
    EXPECT_EQ(listener.message, "Verify OK");
    EXPECT_EQ(listener.messageColour, Colour::ButtonFace);
    EXPECT_FALSE(listener.gaugeVisible);
    EXPECT_EQ(listener.gaugeHistory, (std::vector<int>{0, 1, 2, 1, 2}));
    EXPECT_EQ(std::memcmp(unit.pages[1], image.Page(1), kPageSize), 0);
    EXPECT_EQ(std::memcmp(unit.pages[2], image.Page(2), kPageSize), 0);
    EXPECT_EQ(std::memcmp(unit.pages[0], image.Page(0), kPageSize),
              0);  // the unit's identity came in
    EXPECT_EQ(listener.identity.VersionString, "KSM00");
    EXPECT_EQ(listener.messages,
              (std::vector<std::string>{"Program device:", "Verify device:", "Verify OK"}));
}

TEST_F(LinkTest, ReadFillsTheImageNormalisedAndVerifiesIt) {
    DeviceImage unitImage;
    SetDefaults(unitImage);
    unitImage[field::Limiter1] = 99;
    unitImage[field::ParamReserved + 5] = 0xAB;
    std::memcpy(unit.pages[1], unitImage.Page(1), kPageSize);
    std::memcpy(unit.pages[2], unitImage.Page(2), kPageSize);
    unit.pages[2][7] = 44;

    link.StartRead();
    RunOperation();
    EXPECT_EQ(listener.message, "Verify OK");
    EXPECT_EQ(image[field::Limiter1], 99);
    EXPECT_EQ(image[field::ParamReserved + 5], 0xAB);
    EXPECT_EQ(image[field::Advance + 7], 44);
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{0x40, 0x41, 0x42, 0x41, 0x42}));
    // The verification sends the pages just read.
    EXPECT_EQ(std::memcmp(port.written[3].frame.data() + 1, unit.pages[1], kPageSize), 0);
    // The read requests carry zeros.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(port.written[i].frame[101], FrameCheckByte(BuildFrame(0x40 + i, nullptr).data()));
}

TEST_F(LinkTest, AReadUnitOutsideTheRangesIsShownNormalisedAndFailsTheVerify) {
    std::memcpy(unit.pages[1], image.Page(1), kPageSize);
    std::memcpy(unit.pages[2], image.Page(2), kPageSize);
    unit.pages[1][field::Clutch - kParamImageBegin] = 250;  // normalised to 100
    link.StartRead();
    RunOperation();
    EXPECT_EQ(image[field::Clutch], 100);
    EXPECT_EQ(listener.message, "Verify error!");
}

TEST_F(LinkTest, IdentityChecks) {
    struct Case {
        const char* what;
        bool read;
        std::uint8_t readEnable, format;
        std::uint8_t mask0, mask1;
        std::uint8_t bikeType;
        const char* message;  // label text at the end
        const char* modal;    // or nullptr
        bool pagesSent;
    } cases[] = {
        {"a refused read", true, 0, 15, 0xFF, 0xFF, 0, "No Reading!", nullptr, false},
        // Only 1 allows reading: any other value refuses, not only 0.
        {"read enable 2 refuses", true, 2, 15, 0xFF, 0xFF, 0, "No Reading!", nullptr, false},
        {"read enable 255 refuses", true, 255, 15, 0xFF, 0xFF, 0, "No Reading!", nullptr, false},
        {"read enable 1 reads", true, 1, 15, 0xFF, 0xFF, 0, "Verify OK", nullptr, true},
        {"read with another format", true, 1, 14, 0xFF, 0xFF, 0,
         "Read device:", "Unmatched version of PC and Ignition programs!", false},
        {"program with another format", false, 1, 16, 0xFF, 0xFF, 0,
         "Program device:", "Unmatched version of PC and Ignition programs!", false},
        {"format is checked before the bike type", false, 0, 14, 0x00, 0x00, 3,
         "Program device:", "Unmatched version of PC and Ignition programs!", false},
        {"bike type 3 missing from the mask", false, 1, 15, 0xF7, 0xFF, 3,
         "Program device:", "These Ignition is not for this type of motorbikes!", false},
        {"bike type 3 alone in the mask", false, 1, 15, 0x08, 0x00, 3, "Verify OK", nullptr, true},
        {"bike type 9 needs bit 1 of the second byte", false, 1, 15, 0x00, 0x02, 9, "Verify OK",
         nullptr, true},
        {"a unit that refuses reading can still be programmed", false, 0, 15, 0xFF, 0xFF, 0,
         "Verify OK", nullptr, true},
        {"bike type beyond the mask", false, 1, 15, 0xFF, 0xFF, 30,
         "Program device:", "These Ignition is not for this type of motorbikes!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage img;
        SetDefaults(img);
        img[field::BikeType] = c.bikeType;
        FakePort p;
        ScriptedUnit u;
        u.pages[0][field::ReadEnable] = c.readEnable;
        u.pages[0][field::FormatVersion] = c.format;
        u.pages[0][field::BikeMask] = c.mask0;
        u.pages[0][field::BikeMask + 1] = c.mask1;
        u.pages[0][field::BikeMask + 2] = 0;
        std::memcpy(u.pages[1], img.Page(1), kPageSize);
        std::memcpy(u.pages[2], img.Page(2), kPageSize);
        p.unit = [&u](const DeviceFrame& f) { return u.Answer(f); };
        RecordingListener l(img);
        DeviceLink lk(img, p, l);
        const DeviceImage paramsBefore = img;
        if (c.read) {
            lk.StartRead();
        } else {
            lk.StartProgram();
        }
        for (int t = 0; t < 40 && lk.Mode() != OperationMode::None; ++t) lk.Tick();
        EXPECT_EQ(lk.Mode(), OperationMode::None);
        EXPECT_EQ(l.message, c.message);
        // The refusal is a warning: it stands on red, every other end state does not.
        EXPECT_EQ(l.messageColour == Colour::Red, std::string(c.message) == "No Reading!");
        if (c.modal) {
            ASSERT_EQ(l.modals.size(), 1u);
            EXPECT_EQ(l.modals[0], c.modal);
        } else {
            EXPECT_TRUE(l.modals.empty());
        }
        bool pageSent = false;
        for (const auto& s : p.written) pageSent |= (s.frame[0] & kPageMask) != 0;
        EXPECT_EQ(pageSent, c.pagesSent);
        // The identity is always taken over; the parameters only when the operation went on.
        EXPECT_EQ(img[field::FormatVersion], c.format);
        if (!c.pagesSent) {
            EXPECT_EQ(std::memcmp(img.Page(1), paramsBefore.Page(1), 2 * kPageSize), 0);
        }
    }
}

TEST_F(LinkTest, VerifyIgnoresTheTachometerByteButProgrammingDoesNot) {
    // The unit reports Rpm2 differently from what it was sent.
    unit.echoTweak = [](DeviceFrame& answer) {
        if (answer[0] == 0x81) {
            answer[1 + 2] ^= 1;
            answer[101] = FrameCheckByte(answer.data());
        }
    };
    link.StartProgram();
    RunOperation();
    EXPECT_EQ(listener.message, "Program error!");

    std::memcpy(unit.pages[1], image.Page(1), kPageSize);
    std::memcpy(unit.pages[2], image.Page(2), kPageSize);
    unit.pages[1][2] ^= 1;
    link.StartVerify();
    RunOperation();
    EXPECT_EQ(listener.message, "Verify OK");
    unit.pages[1][3] ^= 1;
    link.StartVerify();
    RunOperation();
    EXPECT_EQ(listener.message, "Verify error!");
    unit.pages[1][3] ^= 1;

    // Only the tachometer byte is exempt: byte 2 of the map page is a map cell like any other.
    struct Case {
        std::size_t page, byte;
        const char* message;
    } cases[] = {
        {1, 2, "Verify OK"},      {2, 2, "Verify error!"},  {2, 0, "Verify error!"},
        {2, 99, "Verify error!"}, {1, 99, "Verify error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.page) + "/" + std::to_string(c.byte));
        std::memcpy(unit.pages[1], image.Page(1), kPageSize);
        std::memcpy(unit.pages[2], image.Page(2), kPageSize);
        unit.pages[c.page][c.byte] ^= 1;
        link.StartVerify();
        RunOperation();
        EXPECT_EQ(listener.message, c.message);
    }
}

TEST_F(LinkTest, AProgramWhoseVerificationGetsNoAnswerFailsAsVerify) {
    int answers = 0;
    port.unit = [&](const DeviceFrame& f) {
        return ++answers <= 3 ? unit.Answer(f) : std::vector<std::uint8_t>{};
    };
    link.StartProgram();
    RunOperation();
    EXPECT_EQ(listener.message, "Verify error!");
}

TEST_F(LinkTest, LostAndBrokenAnswersAreResent) {
    struct Case {
        int dropEvery, corruptEvery;
        const char* result;
    } cases[] = {
        {2, 0, "Verify OK"},       // every other request lost
        {0, 2, "Verify OK"},       // every other answer broken
        {0, 1, "Program error!"},  // nothing usable ever comes back
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        unit.dropEvery = c.dropEvery;
        unit.corruptEvery = c.corruptEvery;
        unit.requests = 0;
        link.StartProgram();
        RunOperation(200);
        EXPECT_EQ(listener.message, c.result);
    }
}

TEST_F(LinkTest, AWrongCheckByteDoesNotCountAsASignOfTheUnit) {
    unit.silent = true;
    Tick(10);
    EXPECT_EQ(link.NoConnectionTicks(), 10);
    DeviceFrame bad = BuildFrame(0xC0, nullptr);
    bad[101] ^= 0xFF;
    port.Queue(bad);
    Tick();
    EXPECT_EQ(link.NoConnectionTicks(), 11);
    port.Queue(BuildFrame(0xC5, nullptr));  // any good frame counts, even in no operation
    Tick();
    EXPECT_EQ(link.NoConnectionTicks(), 1);
    EXPECT_EQ(link.Mode(), OperationMode::None);
}

TEST_F(LinkTest, LateAnswerToAnEarlierRequestIsIgnored) {
    unit.answerLimit = 1;
    link.StartRead();
    while (link.CommandByte() == 0x40 && port.tick < 10) Tick();
    ASSERT_EQ(link.CommandByte(), 0x41);
    const int gauge = listener.gauge;
    port.Queue(BuildFrame(0xC0, unit.pages[0]));  // the identity once more
    Tick();
    EXPECT_EQ(link.CommandByte(), 0x41);
    EXPECT_EQ(listener.gauge, gauge);
    EXPECT_EQ(link.NoConnectionTicks(), 1);  // but it is a sign of the unit (reset, then this tick)
}

TEST_F(LinkTest, NoConnectionShowsFromTheNineteenthTickAndAValidFrameHidesIt) {
    unit.silent = true;
    for (int t = 1; t <= 18; ++t) {
        Tick();
        ASSERT_EQ(listener.noConnection, std::optional<bool>(false)) << t;
    }
    Tick();
    EXPECT_EQ(listener.noConnection, std::optional<bool>(true));
    std::uint8_t payload[kPageSize] = {};
    port.Queue(BuildFrame(kMonitorAnswer, payload));
    Tick();
    EXPECT_EQ(listener.noConnection, std::optional<bool>(false));
    EXPECT_EQ(listener.monitorFrames, 1);
    Tick(17);
    EXPECT_EQ(listener.noConnection, std::optional<bool>(false));
    Tick();
    EXPECT_EQ(listener.noConnection, std::optional<bool>(true));
}

TEST_F(LinkTest, PollReadsOnlyWholeFramesAndAtMostOneIsInterpreted) {
    unit.silent = true;
    std::uint8_t payload[kPageSize] = {};
    const DeviceFrame monitor = BuildFrame(kMonitorAnswer, payload);

    port.Queue(std::vector<std::uint8_t>(monitor.begin(), monitor.end() - 1));  // 101 bytes
    Tick();
    EXPECT_TRUE(port.readSizes.empty());
    port.Queue(std::vector<std::uint8_t>{monitor.back()});
    Tick();
    EXPECT_EQ(port.readSizes, (std::vector<std::size_t>{102}));
    EXPECT_EQ(listener.monitorFrames, 1);

    port.Queue(monitor);
    port.Queue(monitor);  // 204 bytes: both read, the second lost
    Tick();
    EXPECT_EQ(port.readSizes.back(), 204u);
    EXPECT_EQ(listener.monitorFrames, 2);

    for (int i = 0; i < 20; ++i) port.Queue(monitor);  // 2040 bytes
    Tick();
    EXPECT_EQ(port.readSizes.back(), 1000u);
    EXPECT_EQ(port.incoming.size(), 1040u);
    Tick();
    EXPECT_EQ(port.readSizes.back(), 1000u);  // still more than the buffer holds
    EXPECT_EQ(port.incoming.size(), 40u);
    const std::size_t reads = port.readSizes.size();
    Tick();
    EXPECT_EQ(port.readSizes.size(), reads);  // less than a frame waits
}

TEST_F(LinkTest, AFailedStatusQueryHandsOnNothing) {
    unit.silent = true;
    std::uint8_t payload[kPageSize] = {};
    port.Queue(BuildFrame(kMonitorAnswer, payload));
    Tick();
    EXPECT_EQ(listener.monitorFrames, 1);
    port.failQueries = true;  // the port went away: the old frame must not come again
    Tick(30);
    EXPECT_EQ(listener.monitorFrames, 1);
    EXPECT_EQ(listener.noConnection, std::optional<bool>(true));
}

TEST_F(LinkTest, ProgramOnChange) {
    link.CheckProgramOnChange(false);
    EXPECT_EQ(link.Mode(), OperationMode::None);

    link.CheckProgramOnChange(true);  // ticking the box programs at once
    EXPECT_EQ(link.Mode(), OperationMode::Program);
    EXPECT_TRUE(port.written.empty());  // the first request goes out from the tick
    EXPECT_EQ(listener.message, "Program device:");
    RunOperation();
    EXPECT_EQ(listener.message, "Verify OK");
    EXPECT_EQ(SendTicks(0x00).size(), 1u);

    link.CheckProgramOnChange(true);  // a commit that changed nothing
    EXPECT_EQ(link.Mode(), OperationMode::None);

    image[AdvanceIndex(9, 2)] += 1;  // one map cell
    link.CheckProgramOnChange(true);
    EXPECT_EQ(link.Mode(), OperationMode::Program);
    RunOperation();
    EXPECT_EQ(unit.pages[2][92], image[AdvanceIndex(9, 2)]);

    link.CheckProgramOnChange(false);  // unticked, then ticked again: programs at once
    link.CheckProgramOnChange(true);
    EXPECT_EQ(link.Mode(), OperationMode::Program);
}

TEST_F(LinkTest, AfterAReadTheFirstCommitProgramsWhenTheReadValuesDiffer) {
    link.CheckProgramOnChange(true);
    RunOperation();
    unit.pages[1][field::Limiter1 - kParamImageBegin] = 60;  // the unit holds another set
    link.StartRead();
    RunOperation();
    ASSERT_EQ(listener.message, "Verify OK");
    link.CheckProgramOnChange(true);  // a commit that changed nothing by itself
    EXPECT_EQ(link.Mode(), OperationMode::Program);
}

TEST_F(LinkTest, AStartCommandReplacesTheRunningOperation) {
    unit.silent = true;
    link.StartRead();
    Tick(5);
    link.StartVerify();
    EXPECT_EQ(link.Mode(), OperationMode::Verify);
    EXPECT_EQ(link.CommandByte(), 0x41);
    EXPECT_EQ(port.written.back().frame[0], 0x41);
    EXPECT_EQ(listener.message, "Verify device:");
    EXPECT_EQ(listener.gauge, 1);
}

TEST_F(LinkTest, AClosedPortFailsEveryOperationWithItsMessage) {
    port.open = false;
    for (auto start :
         {&DeviceLink::StartRead, &DeviceLink::StartVerify, &DeviceLink::StartProgram}) {
        (link.*start)();
        RunOperation();
        EXPECT_EQ(link.Mode(), OperationMode::None);
        EXPECT_EQ(listener.messageColour, Colour::Red);
    }
    EXPECT_EQ(listener.messages.back(), "Program error!");
    EXPECT_EQ(listener.noConnection, std::optional<bool>(true));
}

// A caller tells "the unit is there but holds something else" from "nothing came back".
// One fresh link and unit for each case of a table.
struct LinkRig : LinkTest {
    void TestBody() override {}
    using LinkTest::image;
    using LinkTest::link;
    using LinkTest::listener;
    using LinkTest::port;
    using LinkTest::RunOperation;
    using LinkTest::Tick;
    using LinkTest::unit;
};

TEST(LinkDiffers, AFailureRecordsWhetherTheUnitAnsweredWithOtherContent) {
    struct Case {
        const char* what;
        std::function<void(LinkRig&)> arrange;
        bool program;
        const char* message;
        bool differing;
    };
    const Case cases[] = {
        {"a silent unit", [](LinkRig& t) { t.unit.silent = true; }, false, "Verify error!", false},
        {"only broken check bytes", [](LinkRig& t) { t.unit.corruptEvery = 1; }, false,
         "Verify error!", false},
        {"a unit holding other values",
         [](LinkRig& t) {
             std::memcpy(t.unit.pages[1], t.image.Page(1), kPageSize);
             std::memcpy(t.unit.pages[2], t.image.Page(2), kPageSize);
             t.unit.pages[2][7] ^= 1;
         },
         false, "Verify error!", true},
        {"a unit that stores a page otherwise",
         [](LinkRig& t) {
             t.unit.echoTweak = [](DeviceFrame& f) {
                 f[5] ^= 1;
                 f[kFrameCheckOffset] ^= 1;
             };
         },
         true, "Program error!", true},
        {"a late answer to another request",
         [](LinkRig& t) {
             t.port.unit = [&t](const DeviceFrame& f) {
                 DeviceFrame stale =
                     BuildFrame(static_cast<std::uint8_t>(f[0] ^ kAnswerBit ^ 1), t.image.Page(1));
                 return std::vector<std::uint8_t>(stale.begin(), stale.end());
             };
         },
         false, "Verify error!", false},
        {"a unit holding the same values",
         [](LinkRig& t) {
             std::memcpy(t.unit.pages[1], t.image.Page(1), kPageSize);
             std::memcpy(t.unit.pages[2], t.image.Page(2), kPageSize);
         },
         false, "Verify OK", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto t = std::make_unique<LinkRig>();
        c.arrange(*t);
        if (c.program) {
            t->link.StartProgram();
        } else {
            t->link.StartVerify();
        }
        t->RunOperation(200);
        EXPECT_EQ(t->listener.message, c.message);
        EXPECT_EQ(t->link.LastRequestAnsweredDiffering(), c.differing);
    }
}

// Every start command ends exactly once, with how it began and whether it verified, so the
// window can keep restore points and what the unit holds without reading the message label.
TEST(LinkOperationEnd, EachStartCommandReportsOneEnd) {
    struct Case {
        const char* what;
        std::function<void(LinkRig&)> arrange;
        std::function<void(LinkRig&)> start;
        OperationMode started;
        bool ok;
        const char* message;
    };
    const auto unitHoldsImage = [](LinkRig& t) {
        std::memcpy(t.unit.pages[1], t.image.Page(1), kPageSize);
        std::memcpy(t.unit.pages[2], t.image.Page(2), kPageSize);
    };
    const Case cases[] = {
        {"a read that verifies", unitHoldsImage, [](LinkRig& t) { t.link.StartRead(); },
         OperationMode::Read, true, "Verify OK"},
        {"a read of a silent unit", [](LinkRig& t) { t.unit.silent = true; },
         [](LinkRig& t) { t.link.StartRead(); }, OperationMode::Read, false, "Read error!"},
        {"a refused read", [](LinkRig& t) { t.unit.pages[0][field::ReadEnable] = 0; },
         [](LinkRig& t) { t.link.StartRead(); }, OperationMode::Read, false, "No Reading!"},
        {"a read of another format", [](LinkRig& t) { t.unit.pages[0][field::FormatVersion] = 3; },
         [](LinkRig& t) { t.link.StartRead(); }, OperationMode::Read, false, "Read device:"},
        {"a program that verifies",
         {},
         [](LinkRig& t) { t.link.StartProgram(); },
         OperationMode::Program,
         true,
         "Verify OK"},
        {"a program for another bike type",
         [](LinkRig& t) { t.unit.pages[0][field::BikeMask] = 0; },
         [](LinkRig& t) { t.link.StartProgram(); }, OperationMode::Program, false,
         "Program device:"},
        {"a program whose echo differs",
         [](LinkRig& t) {
             t.unit.echoTweak = [](DeviceFrame& f) {
                 f[5] ^= 1;
                 f[kFrameCheckOffset] ^= 1;
             };
         },
         [](LinkRig& t) { t.link.StartProgram(); }, OperationMode::Program, false,
         "Program error!"},
        {"programming after a change",
         {},
         [](LinkRig& t) { t.link.CheckProgramOnChange(true); },
         OperationMode::Program,
         true,
         "Verify OK"},
        {"a verify of the same set", unitHoldsImage, [](LinkRig& t) { t.link.StartVerify(); },
         OperationMode::Verify, true, "Verify OK"},
        {"a verify of another set",
         {},
         [](LinkRig& t) { t.link.StartVerify(); },
         OperationMode::Verify,
         false,
         "Verify error!"},
        {"a line lost under a program", [](LinkRig& t) { t.unit.silent = true; },
         [](LinkRig& t) {
             t.link.StartProgram();
             t.link.EndOperationLineLost();
         },
         OperationMode::Program, false, "Program error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LinkRig t;
        if (c.arrange) c.arrange(t);
        c.start(t);
        // Nothing ends before it ran, but a lost line ends it at once.
        EXPECT_EQ(t.listener.ends.size(), t.link.Mode() == OperationMode::None ? 1u : 0u);
        t.RunOperation();
        EXPECT_EQ(t.listener.message, c.message);
        ASSERT_EQ(t.listener.ends.size(), 1u);
        EXPECT_EQ(t.listener.ends[0].started, c.started);
        EXPECT_EQ(t.listener.ends[0].ok, c.ok);
        EXPECT_FALSE(t.listener.ends[0].separateImage);
        t.Tick(30);  // idle ticks end nothing further
        EXPECT_EQ(t.listener.ends.size(), 1u);
    }
}

// A line that drops right after the unit's last answer arrived: the answer is still the
// unit's, so the operation ends as it would have with the line up. One answer short, it fails.
TEST(LinkLineLost, TheLastAnswerBeforeTheLossDecidesTheResult) {
    struct Case {
        const char* what;
        std::function<void(LinkRig&)> start;
        int answersBeforeLoss;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {"program, every answer in", [](LinkRig& t) { t.link.StartProgram(); }, 5, true,
         "Verify OK"},
        {"program, its last verify missing", [](LinkRig& t) { t.link.StartProgram(); }, 4, false,
         "Verify error!"},
        {"program, lost before the verify", [](LinkRig& t) { t.link.StartProgram(); }, 2, false,
         "Program error!"},
        {"read, every answer in", [](LinkRig& t) { t.link.StartRead(); }, 5, true, "Verify OK"},
        {"read, its last verify missing", [](LinkRig& t) { t.link.StartRead(); }, 4, false,
         "Verify error!"},
        {"read, lost while reading", [](LinkRig& t) { t.link.StartRead(); }, 2, false,
         "Read error!"},
        {"verify, every answer in", [](LinkRig& t) { t.link.StartVerify(); }, 2, true, "Verify OK"},
        {"verify, one answer short", [](LinkRig& t) { t.link.StartVerify(); }, 1, false,
         "Verify error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto t = std::make_unique<LinkRig>();
        std::memcpy(t->unit.pages[1], t->image.Page(1), kPageSize);
        std::memcpy(t->unit.pages[2], t->image.Page(2), kPageSize);
        int answers = 0;
        t->port.unit = [&](const DeviceFrame& f) {
            std::vector<std::uint8_t> answer = t->unit.Answer(f);
            // The unit vanishes after its last answer: later requests go nowhere.
            if (answers >= c.answersBeforeLoss) return std::vector<std::uint8_t>{};
            ++answers;
            return answer;
        };
        c.start(*t);
        for (int i = 0; i < 100 && answers < c.answersBeforeLoss; ++i) t->Tick();
        ASSERT_EQ(answers, c.answersBeforeLoss);
        ASSERT_NE(t->link.Mode(), OperationMode::None);  // the answer waits unread
        t->port.DropLine();
        t->link.EndOperationLineLost();  // what the reconnect does at the next tick
        EXPECT_EQ(t->link.Mode(), OperationMode::None);
        EXPECT_EQ(t->listener.message, c.message);
        ASSERT_EQ(t->listener.ends.size(), 1u);
        EXPECT_EQ(t->listener.ends[0].ok, c.ok);
        t->Tick(30);  // a closed port starts nothing further
        EXPECT_EQ(t->listener.ends.size(), 1u);
    }
}

TEST_F(LinkTest, AStartCommandEndsTheRunningOperationAsFailed) {
    unit.silent = true;
    link.StartProgram();
    Tick(2);
    link.StartRead();
    ASSERT_EQ(listener.ends.size(), 1u);
    EXPECT_EQ(listener.ends[0].started, OperationMode::Program);
    EXPECT_FALSE(listener.ends[0].ok);
    RunOperation();
    ASSERT_EQ(listener.ends.size(), 2u);
    EXPECT_EQ(listener.ends[1].started, OperationMode::Read);
}

// A read into an image of the caller's sends the same requests, makes the same checks and
// verifies the same way as a read into the shown image, and leaves the shown image alone.
TEST(LinkReadInto, SameRequestsAndChecksAsReadAndTheShownImageStaysUntouched) {
    struct Case {
        const char* what;
        std::function<void(ScriptedUnit&)> arrange;
        const char* message;
        bool ok;
    };
    const Case cases[] = {
        {"a unit with other values", [](ScriptedUnit& u) { u.pages[2][7] = 44; }, "Verify OK",
         true},
        {"a unit outside the ranges",
         [](ScriptedUnit& u) { u.pages[1][field::Clutch - kParamImageBegin] = 250; },
         "Verify error!", false},
        {"a refused read", [](ScriptedUnit& u) { u.pages[0][field::ReadEnable] = 0; },
         "No Reading!", false},
        {"a silent unit", [](ScriptedUnit& u) { u.silent = true; }, "Read error!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Run {
            DeviceImage image, target;
            FakePort port;
            ScriptedUnit unit;
            std::unique_ptr<RecordingListener> listener;
            std::unique_ptr<DeviceLink> link;
        };
        Run runs[2];
        for (int k = 0; k < 2; ++k) {
            Run& r = runs[k];
            SetDefaults(r.image);
            r.image[field::Limiter1] = 77;
            std::memcpy(r.unit.pages[1], r.image.Page(1), kPageSize);
            std::memcpy(r.unit.pages[2], r.image.Page(2), kPageSize);
            r.unit.pages[1][field::Limiter1 - kParamImageBegin] = 60;
            c.arrange(r.unit);
            r.port.unit = [&r](const DeviceFrame& f) { return r.unit.Answer(f); };
            r.target = r.image;
            r.listener = std::make_unique<RecordingListener>(r.image);
            r.link = std::make_unique<DeviceLink>(r.image, r.port, *r.listener);
            if (k == 0) {
                r.link->StartRead();
            } else {
                r.link->StartReadInto(r.target);
            }
            for (int t = 0; t < 60 && r.link->Mode() != OperationMode::None; ++t) {
                ++r.port.tick;
                r.link->Tick();
            }
        }
        const Run& plain = runs[0];
        const Run& into = runs[1];
        EXPECT_EQ(into.listener->messages, plain.listener->messages);
        ASSERT_EQ(into.port.written.size(), plain.port.written.size());
        for (std::size_t i = 0; i < plain.port.written.size(); ++i) {
            EXPECT_EQ(into.port.written[i].frame, plain.port.written[i].frame) << i;
            EXPECT_EQ(into.port.written[i].tick, plain.port.written[i].tick) << i;
        }
        // What the plain read put into the shown image, the other put into the target.
        EXPECT_EQ(into.target.bytes, plain.image.bytes);
        DeviceImage untouched;
        SetDefaults(untouched);
        untouched[field::Limiter1] = 77;
        EXPECT_EQ(into.image.bytes, untouched.bytes);
        EXPECT_EQ(into.listener->imagesShown, 0);
        EXPECT_TRUE(into.listener->identity.VersionString.empty());
        ASSERT_EQ(into.listener->ends.size(), 1u);
        EXPECT_EQ(into.listener->ends[0].started, OperationMode::Read);
        EXPECT_EQ(into.listener->ends[0].ok, c.ok);
        EXPECT_TRUE(into.listener->ends[0].separateImage);
        EXPECT_FALSE(plain.listener->ends.at(0).separateImage);
    }
}

}  // namespace
}  // namespace korvan
