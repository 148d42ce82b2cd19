#include "params/editing_tools.h"

namespace korvan {

namespace {

bool StepWithin(std::uint8_t& v, int delta, std::uint8_t floor, std::uint8_t ceiling) {
    if (delta < 0 && v > floor) {
        --v;
        return true;
    }
    if (delta > 0 && v < ceiling) {
        ++v;
        return true;
    }
    return false;
}

}  // namespace

bool StepAdvance(DeviceImage& image, int delta, bool all, int row, int column, bool belowRpmAxis) {
    bool changed = false;
    if (all) {
        // Rows hidden while the map has no throttle axis move too.
        for (int cell = 0; cell < kMapRows * kMapColumns; ++cell) {
            changed |= StepWithin(image[field::Advance + cell], delta, 0, kMaxAdvance);
        }
        return changed;
    }
    if (belowRpmAxis || row < 0 || row >= kMapRows || column < 0 || column >= kMapColumns)
        return false;
    return StepWithin(image[AdvanceIndex(row, column)], delta, 0, kMaxAdvance);
}

bool StepAdvanceColumn(DeviceImage& image, int delta, int column) {
    if (column < 0 || column >= kMapColumns) return false;
    bool changed = false;
    for (int row = 0; row < kMapRows; ++row)
        changed |= StepWithin(image[AdvanceIndex(row, column)], delta, 0, kMaxAdvance);
    return changed;
}

bool StepServo(DeviceImage& image, int delta, bool all, int servoIndex) {
    bool changed = false;
    for (int k = 0; k < kAxisPoints; ++k) {
        if (all || k == servoIndex)
            changed |= StepWithin(image[field::NapPriv + k], delta, kMinServoStep, kMaxServoStep);
    }
    return changed;
}

bool SetTps0FromLive(DeviceImage& image, int mv) {
    if (mv < 300 || mv > 2500) return false;
    image[field::Tps0] = static_cast<std::uint8_t>(mv / 10);
    return true;
}

bool SetTps100FromLive(DeviceImage& image, int mv) {
    if (mv < 2500 || mv > 4600) return false;
    image[field::Tps100] = static_cast<std::uint8_t>((mv - 2500) / 10);
    return true;
}

}  // namespace korvan
