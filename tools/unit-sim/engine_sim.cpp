#include "unit-sim/engine_sim.h"

#include <algorithm>

#include "unit-sim/command_line.h"

namespace korvan::sim {

namespace {

// A value that climbs from `low` to `high` in the first half of `periodMs` and falls back in
// the second half.
int Triangle(std::int64_t ms, std::int64_t periodMs, int low, int high) {
    const std::int64_t half = periodMs / 2;
    const std::int64_t phase = ms % periodMs;
    const std::int64_t span = high - low;
    if (phase < half) return static_cast<int>(low + span * phase / half);
    return static_cast<int>(high - span * (phase - half) / half);
}

// On for `onMs` of every `periodMs`, starting `offsetMs` into the period.
bool Pulse(std::int64_t ms, std::int64_t periodMs, std::int64_t onMs, std::int64_t offsetMs) {
    return (ms + periodMs - offsetMs % periodMs) % periodMs < onMs;
}

void PutWord(DeviceFrame& frame, std::size_t at, std::uint16_t value) {
    frame[at] = static_cast<std::uint8_t>(value & 0xFF);
    frame[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t ClampMv(int mv) {
    return static_cast<std::uint16_t>(std::clamp(mv, 0, int{kMaxSensorMv}));
}

// Servo voltage wanted at `rpm`: the servo table interpolated between its breakpoints and
// held flat outside them.
int ServoDesiredMv(unsigned rpm, const DeviceImage& pages) {
    constexpr int kServoMvPerStep = 20;
    const std::uint8_t* speeds = pages.bytes.data() + field::RpmPriv;
    const std::uint8_t* volts = pages.bytes.data() + field::NapPriv;
    if (rpm <= speeds[0] * 100u) return volts[0] * kServoMvPerStep;
    for (int k = 1; k < kAxisPoints; ++k) {
        const int lo = speeds[k - 1] * 100, hi = speeds[k] * 100;
        if (static_cast<int>(rpm) <= hi && hi > lo) {
            const int v =
                volts[k - 1] * kServoMvPerStep + (volts[k] - volts[k - 1]) * kServoMvPerStep *
                                                     (static_cast<int>(rpm) - lo) / (hi - lo);
            return v;
        }
    }
    return volts[kAxisPoints - 1] * kServoMvPerStep;
}

}  // namespace

std::uint16_t RawFromMillivolts(std::uint16_t mv) {
    const std::uint32_t scaled = std::uint32_t{mv} * 8184u;
    return static_cast<std::uint16_t>((scaled + 4999u) / 5000u);
}

int NearestBreakpoint(const std::uint8_t* table, unsigned x) {
    int i = 0;
    while (i < kAxisPoints && table[i] <= x) ++i;
    if (i == kAxisPoints) return kAxisPoints - 1;
    if (i == 0) return 0;
    return (unsigned{table[i - 1]} + table[i] >= 2 * x) ? i - 1 : i;
}

EngineState EngineSim::At(std::int64_t ms, const DeviceImage& pages) const {
    ms = std::max<std::int64_t>(ms, 0);
    EngineState s;
    s.rpm = hold_.rpm ? *hold_.rpm
                      : static_cast<std::uint16_t>(Triangle(ms, kRpmPeriodMs, kRpmLow, kRpmHigh));

    // The throttle sensor as calibrated by the parameter page: Tps0 in 10 mV, Tps100 in
    // 10 mV above 2500 mV.
    const int tps0Mv = pages[field::Tps0] * 10;
    const int tps100Mv = 2500 + pages[field::Tps100] * 10;
    if (hold_.tpsPercent) {
        s.tpsPercent = *hold_.tpsPercent;
    } else if (hold_.tpsMv) {
        // A fixed sensor voltage and no fixed opening: the unit works the opening out from
        // its calibration, as a real one does.
        const int span = tps100Mv - tps0Mv;
        const int pct = span > 0 ? ((*hold_.tpsMv - tps0Mv) * 100 + span / 2) / span : 0;
        s.tpsPercent = static_cast<std::uint8_t>(std::clamp(pct, 0, 100));
    } else {
        s.tpsPercent = static_cast<std::uint8_t>(Triangle(ms, kTpsPeriodMs, 0, 100));
    }
    if (hold_.tpsMv) {
        s.tpsMv = *hold_.tpsMv;
    } else if (s.tpsPercent > 100) {
        s.tpsMv = kMaxSensorMv;  // a broken sensor sits at the rail
    } else {
        s.tpsMv = ClampMv(tps0Mv + (tps100Mv - tps0Mv) * s.tpsPercent / 100);
    }

    s.lambdaMv =
        static_cast<std::uint16_t>(Triangle(ms, kLambdaPeriodMs, kLambdaLowMv, kLambdaHighMv));

    const int desired = ServoDesiredMv(s.rpm, pages);
    s.servoDesiredMv = ClampMv(desired);
    s.servoMeasuredMv = ClampMv(desired + Triangle(ms, 3000, -40, 40));

    // Speeds beyond what the 8-bit axis can hold count as above the last breakpoint.
    const unsigned hundreds = std::min(s.rpm / 100u, 255u);
    s.mapColumn = NearestBreakpoint(pages.bytes.data() + field::RpmAdv, hundreds);
    s.mapRow = pages[field::TpsMapa] ? NearestBreakpoint(kTpsAxisPercent.data(), s.tpsPercent)
                                     : kMapRows - 1;
    s.advance = pages[AdvanceIndex(s.mapRow, s.mapColumn)];

    s.rpmRed = s.rpm >= pages[field::Limiter2] * 100u;
    s.rpmYellow = s.rpm >= pages[field::LedRazeni] * 100u;
    s.startLimiter = Pulse(ms, 23000, 3000, 0);
    s.blocking1 = Pulse(ms, 11000, 1000, 5000);
    s.blocking2 = Pulse(ms, 13000, 1500, 9000);
    s.servoOk = !Pulse(ms, 19000, 1500, 12000);
    s.clutch = Pulse(ms, 17000, 2000, 3000);
    s.tacho = !Pulse(ms, 29000, 9000, 20000);
    s.n2o =
        pages[field::N2oEnable] != 0 && s.tpsPercent >= 90 && s.tpsPercent <= 100 && s.rpm >= 3000;
    return s;
}

DeviceFrame MonitorFrame(const EngineState& state, std::uint16_t programCount,
                         const std::array<std::uint16_t, 8>& diagnostics) {
    DeviceFrame f{};
    f[0] = kMonitorAnswer;
    PutWord(f, monitor::Rpm, state.rpm);
    PutWord(f, monitor::TpsRaw, RawFromMillivolts(state.tpsMv));
    PutWord(f, monitor::LambdaRaw, RawFromMillivolts(state.lambdaMv));
    PutWord(f, monitor::ServoMeasuredRaw, RawFromMillivolts(state.servoMeasuredMv));
    PutWord(f, monitor::ServoDesiredRaw, RawFromMillivolts(state.servoDesiredMv));
    PutWord(f, monitor::ProgramCount, programCount);
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        PutWord(f, monitor::Test1 + 2 * i, diagnostics[i]);
    }
    f[monitor::TpsPercent] = state.tpsPercent;
    f[monitor::Advance] = state.advance;
    f[monitor::StartLimiter] = state.startLimiter;
    f[monitor::RpmRedFlag] = state.rpmRed;
    f[monitor::Blocking1] = state.blocking1;
    f[monitor::Blocking2] = state.blocking2;
    f[monitor::RpmYellowFlag] = state.rpmYellow;
    f[monitor::ServoOk] = state.servoOk;
    f[monitor::ClutchMaster] = state.clutch;
    f[monitor::TachoMode] = state.tacho;
    f[monitor::N2oActive] = state.n2o;
    f[kFrameCheckOffset] = FrameCheckByte(f.data());
    return f;
}

}  // namespace korvan::sim
