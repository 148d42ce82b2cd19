#include "ui/ridelog/curve_axes.h"

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {
// Room left beyond the first and the last point, as a share of their span.
constexpr double kPointRoom = 0.03;
constexpr double kSteps[] = {1.0, 2.0, 5.0};
}  // namespace

double RoundTickInterval(double span, int maxTicks) {
    if (!(span > 0.0) || !std::isfinite(span) || maxTicks < 1) return 1.0;
    double power = std::pow(10.0, std::floor(std::log10(span / maxTicks)));
    for (;;) {
        for (double step : kSteps) {
            if (span / (step * power) <= maxTicks + 1e-9) return step * power;
        }
        power *= 10.0;
    }
}

AxisScale AxisOverPoints(const std::vector<double>& values, double minimumSpan, int maxTicks) {
    AxisScale axis;
    if (values.empty()) {
        axis.high = minimumSpan;
    } else {
        const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
        axis.low = *lowest;
        axis.high = *highest;
        if (axis.high - axis.low < minimumSpan) {
            const double middle = (axis.low + axis.high) / 2.0;
            axis.low = middle - minimumSpan / 2.0;
            axis.high = middle + minimumSpan / 2.0;
        }
        const double room = (axis.high - axis.low) * kPointRoom;
        axis.low -= room;
        axis.high += room;
        if (axis.low < 0.0) {
            axis.high -= axis.low;
            axis.low = 0.0;
        }
    }
    axis.tickInterval = RoundTickInterval(axis.high - axis.low, maxTicks);
    return axis;
}

AxisScale AxisUpTo(double limit, int maxTicks) {
    AxisScale axis;
    const double top = limit > 0.0 ? limit : 1.0;
    axis.tickInterval = RoundTickInterval(top, maxTicks);
    axis.high = std::ceil(top / axis.tickInterval - 1e-9) * axis.tickInterval;
    return axis;
}

}  // namespace korvan
