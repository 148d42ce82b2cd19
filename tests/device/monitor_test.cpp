#include "device/monitor.h"

#include <gtest/gtest.h>

#include <functional>

#include "device/frame.h"

namespace korvan {
namespace {

// A valid monitor frame with the given frame bytes set.
DeviceFrame Monitor(const std::function<void(std::uint8_t*)>& fill = {}) {
    DeviceFrame f{};
    f[0] = kMonitorAnswer;
    if (fill) fill(f.data());
    f[kFrameCheckOffset] = FrameCheckByte(f.data());
    return f;
}

void Put16(std::uint8_t* f, std::size_t at, unsigned v) {
    f[at] = static_cast<std::uint8_t>(v & 0xFF);
    f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

TEST(Monitor, Validation) {
    DeviceFrame f = Monitor();
    EXPECT_TRUE(MonitorFrameValid(f.data()));
    f[kFrameCheckOffset] ^= 1;  // all bytes now XOR to 0xFE
    EXPECT_FALSE(MonitorFrameValid(f.data()));
    DeviceFrame reply = BuildFrame(0xC0, nullptr);
    EXPECT_FALSE(MonitorFrameValid(reply.data()));
}

TEST(Monitor, MillivoltsAndLambdaBar) {
    struct Case {
        unsigned raw;
        int mv;
        int bar;
    } cases[] = {{0, 0, 0},         {1, 0, 0},         {1310, 800, 66},
                 {8183, 4999, 100}, {8184, 5000, 100}, {655, 400, 0},
                 {1637, 1000, 100}, {1638, 1000, 100}, {65535, 40038, 100}};
    for (const Case& c : cases) {
        const DeviceFrame f = Monitor([&](std::uint8_t* b) { Put16(b, 5, c.raw); });
        EXPECT_EQ(RawToMillivolts(static_cast<std::uint16_t>(c.raw)), c.mv) << c.raw;
        const MonitorReadout r = BuildMonitorReadout(f.data(), {});
        EXPECT_EQ(r.gaugeLambda, c.bar) << c.raw;
        EXPECT_EQ(r.lambda.text, "LAMBDA = " + std::to_string(c.mv) + " [mV]");
    }
}

TEST(Monitor, EngineSpeedTextColourAndBar) {
    struct Case {
        unsigned rpm;
        std::uint8_t limiter2, red, yellow;
        int bar;
        Colour colour;
    } cases[] = {
        {11000, 110, 0, 0, 100, Colour::ButtonFace}, {12000, 110, 0, 0, 109, Colour::ButtonFace},
        {5000, 110, 1, 1, 45, Colour::Red},          {5000, 110, 0, 7, 45, Colour::Yellow},
        {5000, 0, 0, 0, 0, Colour::ButtonFace},  // no limiter: an empty bar, no division
    };
    for (const Case& c : cases) {
        const DeviceFrame f = Monitor([&](std::uint8_t* b) {
            Put16(b, 1, c.rpm);
            b[32] = c.red;
            b[35] = c.yellow;
        });
        MonitorInputs in;
        in.limiter2 = c.limiter2;
        const MonitorReadout r = BuildMonitorReadout(f.data(), in);
        EXPECT_EQ(r.rpm.text, "RPM = " + std::to_string(c.rpm) + " ");
        EXPECT_EQ(r.gaugeRpm, c.bar);
        EXPECT_EQ(r.rpm.colour, c.colour);
    }
}

TEST(Monitor, ThrottleReadout) {
    struct Case {
        std::uint8_t percent;
        bool extended;
        const char* text;
        Colour colour;
        int bar;
    } cases[] = {
        {100, false, "TP= 100 [%]", Colour::ButtonFace, 100},
        {40, true, "TP= 40 [%]= 1000 [mV]", Colour::ButtonFace, 40},
        {101, false, "TP=error = 1000 [mV]", Colour::Red, 0},
        {255, true, "TP=error = 1000 [mV]", Colour::Red, 0},
    };
    for (const Case& c : cases) {
        const DeviceFrame f = Monitor([&](std::uint8_t* b) {
            Put16(b, 3, 1637);  // 1000 mV
            b[29] = c.percent;
        });
        MonitorInputs in;
        in.extendedMonitor = c.extended;
        const MonitorReadout r = BuildMonitorReadout(f.data(), in);
        EXPECT_EQ(r.tps.text, c.text);
        EXPECT_EQ(r.tps.colour, c.colour);
        EXPECT_EQ(r.gaugeTps, c.bar);
        EXPECT_EQ(DecodeLiveValues(f.data()).TpsPercent, c.percent);
    }
}

TEST(Monitor, SwitchLabelsServoAndCounters) {
    const DeviceFrame off = Monitor([](std::uint8_t* b) {
        Put16(b, 7, 1637);
        Put16(b, 9, 3274);
        Put16(b, 11, 1234);
        for (int i = 0; i < 8; ++i) Put16(b, 13 + 2 * i, 100 * (i + 1));
        b[30] = 200;
    });
    MonitorInputs in;
    in.servoGroupVisible = true;
    in.gasChecked = false;
    in.extendedMonitor = true;
    MonitorReadout r = BuildMonitorReadout(off.data(), in);
    EXPECT_EQ(r.blok1.text, "Blocking1 = OFF");
    EXPECT_EQ(r.clutch.text, "Clutch master = OFF");
    EXPECT_EQ(r.limiter1.text, "Start limiter = OFF");
    EXPECT_EQ(r.tachoLambda.text, "Tacho/Lambda = Lambda");
    EXPECT_EQ(r.tachoLambda.colour, Colour::Fuchsia);
    EXPECT_EQ(r.n2oEnable.text, "Activation N2O = OFF");
    EXPECT_EQ(r.n2oEnable.visible, std::optional<bool>(false));
    EXPECT_EQ(r.servoMeasured.text, "Servo measured= 1000 [mV]");
    EXPECT_EQ(r.servoDesired.text, "Servo desired= 2000 [mV]");
    EXPECT_EQ(r.servoDesired.colour, Colour::Red);  // servo flag clear
    EXPECT_EQ(r.servoDesired.visible, std::optional<bool>(true));
    EXPECT_EQ(r.advance.text, "ADVANCE = 200 [\u00b0]");
    EXPECT_EQ(r.programCount.text, "Number of Programing= 1234 ");
    EXPECT_EQ(r.programCount.visible, std::optional<bool>(true));
    EXPECT_EQ(r.test[0], "Test1 = 100 ");
    EXPECT_EQ(r.test[7], "Test8 = 800 ");
    EXPECT_FALSE(r.blok1.visible.has_value());

    const DeviceFrame on = Monitor([](std::uint8_t* b) {
        for (int i = 31; i <= 39; ++i) b[i] = 1;
    });
    r = BuildMonitorReadout(on.data(), {});
    EXPECT_EQ(r.blok1.text, "Blocking1 = ON");
    EXPECT_EQ(r.blok1.colour, Colour::Red);
    EXPECT_EQ(r.blok2.text, "Blocking2 = ON");
    EXPECT_EQ(r.clutch.colour, Colour::Lime);
    EXPECT_EQ(r.limiter1.text, "Start Limiter = ON");
    EXPECT_EQ(r.limiter1.colour, Colour::White);
    EXPECT_EQ(r.tachoLambda.text, "Tacho/Lambda = Tacho");
    EXPECT_EQ(r.tachoLambda.colour, Colour::ButtonFace);
    EXPECT_EQ(r.n2oEnable.colour, Colour::Lime);
    EXPECT_EQ(r.servoMeasured.colour, Colour::ButtonFace);
    EXPECT_EQ(r.programCount.visible, std::optional<bool>(false));
}

}  // namespace
}  // namespace korvan

namespace korvan {
namespace {

// A replayed reading goes back into a frame: every millivolt and switch must decode as logged,
// and values beyond a 16-bit raw word are held at the largest that fits.
TEST(Monitor, ChannelsEncodeToAFrameThatDecodesBack) {
    struct Case {
        std::uint16_t mv;
        std::uint16_t decoded;
    } cases[] = {{0, 0},       {1, 1},       {799, 799},     {800, 800},
                 {4999, 4999}, {5000, 5000}, {40038, 40038}, {65535, 40038}};
    for (const Case& c : cases) {
        MonitorChannels in;
        in.Rpm = 12345;
        in.TpsPercent = 101;
        in.TpsMv = in.LambdaMv = in.ServoDesiredMv = in.ServoMeasuredMv = c.mv;
        in.Advance = 255;
        in.Blocking2 = in.Limiter1 = in.N2o = true;
        const DeviceFrame f = EncodeMonitorFrame(in);
        ASSERT_TRUE(MonitorFrameValid(f.data()));
        MonitorChannels expected = in;
        expected.TpsMv = expected.LambdaMv = expected.ServoDesiredMv = expected.ServoMeasuredMv =
            c.decoded;
        EXPECT_EQ(DecodeMonitorChannels(f.data()), expected) << c.mv;
        EXPECT_EQ(DecodeLiveValues(f.data()).LambdaMv, c.decoded);
        // The servo reads as in order and no speed warning shows.
        const MonitorReadout r = BuildMonitorReadout(f.data(), {});
        EXPECT_EQ(r.servoDesired.colour, Colour::ButtonFace);
        EXPECT_EQ(r.rpm.colour, Colour::ButtonFace);
    }
}

}  // namespace
}  // namespace korvan
