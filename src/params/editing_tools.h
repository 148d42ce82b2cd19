// The tools that shape the parameters directly: advance minus/plus for the cell in use or the
// whole map, a map column up or down, servo voltage minus/plus, and taking the live throttle
// voltage as the 0 % and 100 % calibration. Each returns whether it changed the image.
#pragma once

#include <cstdint>

#include "params/device_image.h"

namespace korvan {

constexpr std::uint8_t kMaxAdvance = 60;
constexpr std::uint8_t kMinServoStep = 1;    // 20 mV
constexpr std::uint8_t kMaxServoStep = 249;  // 4980 mV; the field itself accepts 5000

// delta is -1 or +1. With `all` every cell moves; otherwise only the cell at (row, column),
// and nothing while the engine runs below the first breakpoint.
bool StepAdvance(DeviceImage& image, int delta, bool all, int row, int column, bool belowRpmAxis);
// Every row of one map column.
bool StepAdvanceColumn(DeviceImage& image, int delta, int column);
// With `all` every servo point; otherwise the one at `servoIndex`.
bool StepServo(DeviceImage& image, int delta, bool all, int servoIndex);

// Take the live throttle voltage (mV) as the 0 % point when it lies within 300..2500, or as
// the 100 % point within 2500..4600; outside those windows nothing happens (false).
bool SetTps0FromLive(DeviceImage& image, int millivolts);
bool SetTps100FromLive(DeviceImage& image, int millivolts);

}  // namespace korvan
