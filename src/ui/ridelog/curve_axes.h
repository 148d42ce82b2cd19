// The axes of the curve window: ranges that hold what is drawn and ticks at round values
// (1, 2 or 5 times a power of ten), so a tuner reads 2000 / 4000 / 6000 rpm instead of
// 11.8 / 23.5 / 35.3. Plain arithmetic, tested without a chart.
#pragma once

#include <vector>

namespace korvan {

struct AxisScale {
    double low = 0.0;
    double high = 1.0;
    double tickInterval = 1.0;  // ticks at every multiple of this within low..high
};

// The smallest of 1, 2, 5, 10, 20, 50, ... that splits `span` into at most `maxTicks` steps.
// A span that is not positive gives 1.
double RoundTickInterval(double span, int maxTicks);

// An axis over the breakpoints `values` (the RPM points): from the lowest to the highest, with
// a little room beyond both so their points are not cut by the plot's edge, never below zero.
// A span under `minimumSpan` is widened about its middle. Nothing given: 0..minimumSpan.
AxisScale AxisOverPoints(const std::vector<double>& values, double minimumSpan, int maxTicks);

// A value axis from zero to `limit` (the highest value a point may be dragged to), the top
// raised to the next round tick so the whole range stays in sight.
AxisScale AxisUpTo(double limit, int maxTicks);

}  // namespace korvan
