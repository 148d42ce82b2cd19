// The values the curve window lets a user drag: each advance cell and each servo voltage,
// shown in its field's unit (degrees, mV) and snapped to the unit's resolution within the
// field's limits, as typing the value into its field would be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace korvan {

struct PointScale {
    int step;  // shown units per raw unit: 1 degree, 20 mV
    int min;   // shown limits
    int max;

    double Shown(std::uint8_t raw) const { return static_cast<double>(raw) * step; }
    // The nearest value the unit can hold, within the limits, as the raw byte.
    std::uint8_t Snap(double shown) const;
    // `raw` moved by `steps` resolution steps, stopped at the limits.
    std::uint8_t Stepped(std::uint8_t raw, int steps) const;
};

// The scale of the field at `imageIndex`; nothing for a byte no field shows.
std::optional<PointScale> ScaleOf(std::size_t imageIndex);

}  // namespace korvan
