#include "ui/ridelog/curve_points.h"

#include <algorithm>
#include <cmath>

#include "params/binding.h"

namespace korvan {

std::uint8_t PointScale::Snap(double shown) const {
    const double steps = std::round(shown / step);
    const double lowest = std::ceil(static_cast<double>(min) / step);
    const double highest = std::floor(static_cast<double>(max) / step);
    return static_cast<std::uint8_t>(std::clamp(steps, lowest, highest));
}

std::uint8_t PointScale::Stepped(std::uint8_t raw, int steps) const {
    return Snap(Shown(raw) + static_cast<double>(steps) * step);
}

std::optional<PointScale> ScaleOf(std::size_t imageIndex) {
    for (const NumericField& f : NumericFields()) {
        // The dragged curves are plain scaled bytes; a field shown from an offset is not one.
        if (f.imageIndex == imageIndex && f.shownOffset == 0)
            return PointScale{f.scale, f.min, f.max};
    }
    return std::nullopt;
}

}  // namespace korvan
