// The unit's monitor frame (answer 0xB0): validation, the live values other parts use, and
// every read-out of the monitor column as data for the window to show.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "device/colour.h"
#include "device/frame.h"

namespace korvan {

struct LiveValues {
    std::uint16_t Rpm = 0;
    std::uint16_t LambdaMv = 0;
    std::uint16_t TpsMv = 0;
    std::uint8_t TpsPercent = 0;
};

// Every value of the monitor frame that a ride log records or a replay shows again.
struct MonitorChannels {
    std::uint16_t Rpm = 0;
    std::uint8_t TpsPercent = 0;
    std::uint16_t TpsMv = 0;
    std::uint16_t LambdaMv = 0;
    std::uint8_t Advance = 0;  // degrees
    std::uint16_t ServoDesiredMv = 0;
    std::uint16_t ServoMeasuredMv = 0;
    bool Blocking1 = false;
    bool Blocking2 = false;
    bool Clutch = false;
    bool Limiter1 = false;
    bool TachoLambda = false;
    bool N2o = false;

    bool operator==(const MonitorChannels& o) const {
        return Rpm == o.Rpm && TpsPercent == o.TpsPercent && TpsMv == o.TpsMv &&
               LambdaMv == o.LambdaMv && Advance == o.Advance &&
               ServoDesiredMv == o.ServoDesiredMv && ServoMeasuredMv == o.ServoMeasuredMv &&
               Blocking1 == o.Blocking1 && Blocking2 == o.Blocking2 && Clutch == o.Clutch &&
               Limiter1 == o.Limiter1 && TachoLambda == o.TachoLambda && N2o == o.N2o;
    }
};

// Raw sensor value to millivolts: raw * 5000 / 8184, product first, quotient truncated.
std::uint16_t RawToMillivolts(std::uint16_t raw);

// Byte 0 is 0xB0 and the exclusive-or of all 102 bytes is 0xFF.
bool MonitorFrameValid(const std::uint8_t* frame);
LiveValues DecodeLiveValues(const std::uint8_t* frame);
MonitorChannels DecodeMonitorChannels(const std::uint8_t* frame);
LiveValues LiveValuesOf(const MonitorChannels& channels);

// A valid monitor frame that decodes to `channels` (millivolts above what a 16-bit raw value
// gives are clamped), with the servo reported in order and no speed warning, so a replayed
// reading takes the same path to the screen as a live one.
DeviceFrame EncodeMonitorFrame(const MonitorChannels& channels);

// One label of the monitor column. `visible` is unset where the monitor leaves the label's
// visibility to others.
struct ReadoutLabel {
    std::string text;
    Colour colour = Colour::ButtonFace;
    std::optional<bool> visible;
};

// What the window reads besides the frame.
struct MonitorInputs {
    std::uint8_t limiter2 = 0;       // hundreds of rpm
    bool extendedMonitor = false;    // "Extended Monitor" ticked
    bool gasChecked = false;         // N2O enable box ticked
    bool servoGroupVisible = false;  // the servo group is shown
};

struct MonitorReadout {
    ReadoutLabel rpm, tps, lambda, advance, servoDesired, servoMeasured;
    ReadoutLabel blok1, blok2, clutch, limiter1, tachoLambda, n2oEnable, programCount;
    std::array<std::string, 8> test;
    int gaugeRpm = 0;  // percent; the gauge clamps above 100
    int gaugeTps = 0;
    int gaugeLambda = 0;
};

// The read-outs of a valid frame (the caller validates first). Texts are UTF-8.
MonitorReadout BuildMonitorReadout(const std::uint8_t* frame, const MonitorInputs& inputs);

}  // namespace korvan
