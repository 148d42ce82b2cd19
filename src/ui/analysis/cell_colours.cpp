#include "ui/analysis/cell_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvan {

namespace {

struct Stop {
    double at;
    QColor colour;
};

// Light enough that black text reads on every one of them.
const std::array<Stop, 4> kValueStops = {{
    {0.0, QColor(0x6F, 0xA8, 0xDC)},
    {1.0 / 3, QColor(0x93, 0xC4, 0x7D)},
    {2.0 / 3, QColor(0xFF, 0xD9, 0x66)},
    {1.0, QColor(0xE0, 0x66, 0x66)},
}};
const std::array<Stop, 3> kDifferenceStops = {{
    {0.0, QColor(0x3D, 0x85, 0xC6)},
    {0.5, QColor(0xF3, 0xF3, 0xF3)},
    {1.0, QColor(0xCC, 0x33, 0x33)},
}};

template <std::size_t N>
QColor Along(const std::array<Stop, N>& stops, double at) {
    at = std::isfinite(at) ? std::clamp(at, 0.0, 1.0) : 0.0;
    for (std::size_t i = 1; i < N; ++i) {
        if (at > stops[i].at && i + 1 < N) continue;
        const Stop& a = stops[i - 1];
        const Stop& b = stops[i];
        const double t = (at - a.at) / (b.at - a.at);
        const auto mix = [t](int x, int y) {
            return static_cast<int>(std::lround(x + (y - x) * t));
        };
        return QColor(mix(a.colour.red(), b.colour.red()), mix(a.colour.green(), b.colour.green()),
                      mix(a.colour.blue(), b.colour.blue()));
    }
    return stops.back().colour;
}

}  // namespace

QColor ValueColour(double share) {
    return Along(kValueStops, share);
}

QColor DifferenceColour(double difference, double largest) {
    const double share = largest > 0 ? 0.5 + 0.5 * difference / largest : 0.5;
    return Along(kDifferenceStops, share);
}

QColor GreyedBackground() {
    return QColor(0xC8, 0xC8, 0xC8);
}

QColor GreyedText() {
    return QColor(0x40, 0x40, 0x40);
}

}  // namespace korvan
