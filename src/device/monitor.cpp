#include "device/monitor.h"

#include <cstdio>

#include "device/frame.h"

namespace korvan {

namespace {

std::uint16_t Word(const std::uint8_t* frame, std::size_t offset) {
    return static_cast<std::uint16_t>(frame[offset] | (frame[offset + 1] << 8));
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buf[96];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

// Frame offsets of the monitor answer.
constexpr std::size_t kRpm = 1, kTpsRaw = 3, kLambdaRaw = 5, kServoMeasured = 7, kServoDesired = 9;
constexpr std::size_t kProgramCount = 11, kTestWords = 13, kTpsPercent = 29, kAdvance = 30;
constexpr std::size_t kStartLimiter = 31, kRpmRed = 32, kBlok1 = 33, kBlok2 = 34, kRpmYellow = 35;
constexpr std::size_t kServoOk = 36, kClutch = 37, kTachoLambda = 38, kN2o = 39;

constexpr int kLambdaLowMv = 400;
constexpr int kLambdaHighMv = 1000;

struct Switch {
    std::size_t offset;
    const char* on;
    Colour onColour;
    const char* off;
    Colour offColour;
};

ReadoutLabel SwitchLabel(const std::uint8_t* frame, const Switch& s) {
    const bool on = frame[s.offset] != 0;
    return ReadoutLabel{on ? s.on : s.off, on ? s.onColour : s.offColour, std::nullopt};
}

}  // namespace

std::uint16_t RawToMillivolts(std::uint16_t raw) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(raw) * 5000u / 8184u);
}

bool MonitorFrameValid(const std::uint8_t* frame) {
    return frame[0] == kMonitorAnswer && FrameCheckOk(frame);
}

MonitorChannels DecodeMonitorChannels(const std::uint8_t* frame) {
    MonitorChannels c;
    c.Rpm = Word(frame, kRpm);
    c.TpsPercent = frame[kTpsPercent];
    c.TpsMv = RawToMillivolts(Word(frame, kTpsRaw));
    c.LambdaMv = RawToMillivolts(Word(frame, kLambdaRaw));
    c.Advance = frame[kAdvance];
    c.ServoDesiredMv = RawToMillivolts(Word(frame, kServoDesired));
    c.ServoMeasuredMv = RawToMillivolts(Word(frame, kServoMeasured));
    c.Blocking1 = frame[kBlok1] != 0;
    c.Blocking2 = frame[kBlok2] != 0;
    c.Clutch = frame[kClutch] != 0;
    c.Limiter1 = frame[kStartLimiter] != 0;
    c.TachoLambda = frame[kTachoLambda] != 0;
    c.N2o = frame[kN2o] != 0;
    return c;
}

LiveValues LiveValuesOf(const MonitorChannels& c) {
    LiveValues v;
    v.Rpm = c.Rpm;
    v.LambdaMv = c.LambdaMv;
    v.TpsMv = c.TpsMv;
    v.TpsPercent = c.TpsPercent;
    return v;
}

namespace {

// The smallest raw value that reads as `mv` millivolts; every millivolt step has one because
// a raw step is smaller than a millivolt.
std::uint16_t MillivoltsToRaw(std::uint16_t mv) {
    constexpr std::uint32_t kMaxMv = 40038;  // RawToMillivolts(0xFFFF)
    const std::uint32_t clamped = mv > kMaxMv ? kMaxMv : mv;
    return static_cast<std::uint16_t>((clamped * 8184u + 4999u) / 5000u);
}

void PutWord(std::uint8_t* frame, std::size_t offset, std::uint16_t v) {
    frame[offset] = static_cast<std::uint8_t>(v & 0xFF);
    frame[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

DeviceFrame EncodeMonitorFrame(const MonitorChannels& c) {
    DeviceFrame f{};
    f[0] = kMonitorAnswer;
    PutWord(f.data(), kRpm, c.Rpm);
    PutWord(f.data(), kTpsRaw, MillivoltsToRaw(c.TpsMv));
    PutWord(f.data(), kLambdaRaw, MillivoltsToRaw(c.LambdaMv));
    PutWord(f.data(), kServoMeasured, MillivoltsToRaw(c.ServoMeasuredMv));
    PutWord(f.data(), kServoDesired, MillivoltsToRaw(c.ServoDesiredMv));
    f[kTpsPercent] = c.TpsPercent;
    f[kAdvance] = c.Advance;
    f[kServoOk] = 1;
    f[kBlok1] = c.Blocking1;
    f[kBlok2] = c.Blocking2;
    f[kClutch] = c.Clutch;
    f[kStartLimiter] = c.Limiter1;
    f[kTachoLambda] = c.TachoLambda;
    f[kN2o] = c.N2o;
    f[kFrameCheckOffset] = FrameCheckByte(f.data());
    return f;
}

LiveValues DecodeLiveValues(const std::uint8_t* frame) {
    LiveValues v;
    v.Rpm = Word(frame, kRpm);
    v.TpsMv = RawToMillivolts(Word(frame, kTpsRaw));
    v.LambdaMv = RawToMillivolts(Word(frame, kLambdaRaw));
    v.TpsPercent = frame[kTpsPercent];
    return v;
}

MonitorReadout BuildMonitorReadout(const std::uint8_t* frame, const MonitorInputs& in) {
    const LiveValues v = DecodeLiveValues(frame);
    MonitorReadout r;

    r.rpm.text = Format("RPM = %d ", v.Rpm);
    // The bar shows the speed as a percentage of limiter 2 (hundreds of rpm). A limiter of 0
    // cannot come from a normalised image; should it ever, the bar stays empty.
    r.gaugeRpm = in.limiter2 == 0 ? 0 : v.Rpm / in.limiter2;
    r.rpm.colour =
        frame[kRpmRed] ? Colour::Red : (frame[kRpmYellow] ? Colour::Yellow : Colour::ButtonFace);

    r.lambda.text = Format("LAMBDA = %d [mV]", v.LambdaMv);
    if (v.LambdaMv < kLambdaLowMv) {
        r.gaugeLambda = 0;
    } else if (v.LambdaMv > kLambdaHighMv) {
        r.gaugeLambda = 100;
    } else {
        r.gaugeLambda = (v.LambdaMv - kLambdaLowMv) / 6;
    }

    if (v.TpsPercent > 100) {
        r.tps.text = Format("TP=error = %d [mV]", v.TpsMv);
        r.tps.colour = Colour::Red;
        r.gaugeTps = 0;
    } else {
        r.tps.text = in.extendedMonitor ? Format("TP= %d [%%]= %d [mV]", v.TpsPercent, v.TpsMv)
                                        : Format("TP= %d [%%]", v.TpsPercent);
        r.tps.colour = Colour::ButtonFace;
        r.gaugeTps = v.TpsPercent;
    }

    const Colour servoColour = frame[kServoOk] ? Colour::ButtonFace : Colour::Red;
    r.servoDesired = {Format("Servo desired= %d [mV]", RawToMillivolts(Word(frame, kServoDesired))),
                      servoColour, in.servoGroupVisible};
    r.servoMeasured = {
        Format("Servo measured= %d [mV]", RawToMillivolts(Word(frame, kServoMeasured))),
        servoColour, in.servoGroupVisible};

    r.blok1 = SwitchLabel(
        frame, {kBlok1, "Blocking1 = ON", Colour::Red, "Blocking1 = OFF", Colour::ButtonFace});
    r.blok2 = SwitchLabel(
        frame, {kBlok2, "Blocking2 = ON", Colour::Red, "Blocking2 = OFF", Colour::ButtonFace});
    r.clutch = SwitchLabel(frame, {kClutch, "Clutch master = ON", Colour::Lime,
                                   "Clutch master = OFF", Colour::ButtonFace});
    r.limiter1 = SwitchLabel(frame, {kStartLimiter, "Start Limiter = ON", Colour::White,
                                     "Start limiter = OFF", Colour::ButtonFace});
    r.tachoLambda = SwitchLabel(frame, {kTachoLambda, "Tacho/Lambda = Tacho", Colour::ButtonFace,
                                        "Tacho/Lambda = Lambda", Colour::Fuchsia});
    r.n2oEnable = SwitchLabel(frame, {kN2o, "Activation N2O = ON", Colour::Lime,
                                      "Activation N2O = OFF", Colour::ButtonFace});
    r.n2oEnable.visible = in.gasChecked;

    r.advance.text = Format("ADVANCE = %u [\u00b0]", static_cast<unsigned>(frame[kAdvance]));
    r.programCount = {Format("Number of Programing= %d ", Word(frame, kProgramCount)),
                      Colour::ButtonFace, in.extendedMonitor};
    for (std::size_t i = 0; i < r.test.size(); ++i) {
        r.test[i] =
            Format("Test%d = %d ", static_cast<int>(i + 1), Word(frame, kTestWords + 2 * i));
    }
    return r;
}

}  // namespace korvan
