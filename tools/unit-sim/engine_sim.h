// The engine behind the simulated unit's monitor frames: speed, throttle and lambda sweep
// slowly so every read-out and the live map cursor move, and the switch inputs toggle now
// and then. Everything is a pure function of the time since start and the pages the unit
// holds, so a test asks for any moment directly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "device/frame.h"
#include "params/device_image.h"

namespace korvan::sim {

// Positions in the monitor frame (answer 0xB0); 16-bit values are least significant byte first.
namespace monitor {
constexpr std::size_t Rpm = 1;
constexpr std::size_t TpsRaw = 3;
constexpr std::size_t LambdaRaw = 5;
constexpr std::size_t ServoMeasuredRaw = 7;
constexpr std::size_t ServoDesiredRaw = 9;
constexpr std::size_t ProgramCount = 11;
constexpr std::size_t Test1 = 13;  // eight diagnostic words
constexpr std::size_t TpsPercent = 29;
constexpr std::size_t Advance = 30;
constexpr std::size_t StartLimiter = 31;
constexpr std::size_t RpmRedFlag = 32;
constexpr std::size_t Blocking1 = 33;
constexpr std::size_t Blocking2 = 34;
constexpr std::size_t RpmYellowFlag = 35;
constexpr std::size_t ServoOk = 36;
constexpr std::size_t ClutchMaster = 37;
constexpr std::size_t TachoMode = 38;
constexpr std::size_t N2oActive = 39;
}  // namespace monitor

// Sweep ranges and periods.
constexpr std::uint16_t kRpmLow = 800;
constexpr std::uint16_t kRpmHigh = 12000;
constexpr std::int64_t kRpmPeriodMs = 30000;
constexpr std::int64_t kTpsPeriodMs = 22000;
constexpr std::uint16_t kLambdaLowMv = 100;
constexpr std::uint16_t kLambdaHighMv = 1000;
constexpr std::int64_t kLambdaPeriodMs = 7000;

// Millivolts to the unit's raw sensor value. The tool converts back with raw * 5000 / 8184
// truncated, so the raw value is rounded up here: then the tool shows exactly `mv` (plain
// truncation both ways would show 799 for 800).
std::uint16_t RawFromMillivolts(std::uint16_t mv);

// Index of the breakpoint of an increasing 10-entry table nearest to `x`, ties to the lower
// one; below the first entry gives 0. The same rule places the tool's live map cursor, so the
// advance the unit reports is the one in the highlighted cell.
int NearestBreakpoint(const std::uint8_t* table, unsigned x);

struct EngineState {
    std::uint16_t rpm = 0;
    std::uint8_t tpsPercent = 0;
    std::uint16_t tpsMv = 0;
    std::uint16_t lambdaMv = 0;
    std::uint16_t servoDesiredMv = 0;
    std::uint16_t servoMeasuredMv = 0;
    std::uint8_t advance = 0;
    int mapRow = 0;
    int mapColumn = 0;
    bool startLimiter = false;
    bool rpmRed = false;
    bool rpmYellow = false;
    bool blocking1 = false;
    bool blocking2 = false;
    bool servoOk = true;
    bool clutch = false;
    bool tacho = true;
    bool n2o = false;
};

struct EngineHold {
    std::optional<std::uint16_t> rpm;
    std::optional<std::uint8_t> tpsPercent;
    std::optional<std::uint16_t> tpsMv;
};

class EngineSim {
  public:
    explicit EngineSim(const EngineHold& hold = {}) : hold_(hold) {}

    // The engine `ms` milliseconds after start, running on the parameters in `pages`.
    EngineState At(std::int64_t ms, const DeviceImage& pages) const;

  private:
    EngineHold hold_;
};

// The 0xB0 frame that reports `state`.
DeviceFrame MonitorFrame(const EngineState& state, std::uint16_t programCount,
                         const std::array<std::uint16_t, 8>& diagnostics);

}  // namespace korvan::sim
