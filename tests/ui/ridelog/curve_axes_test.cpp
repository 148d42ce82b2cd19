#include "ui/ridelog/curve_axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace korvan {
namespace {

TEST(CurveAxes, TickIntervalIsOneTwoOrFiveTimesAPowerOfTen) {
    struct Case {
        double span;
        int maxTicks;
        double interval;
    } cases[] = {
        {60, 6, 10},       {47, 4, 20},     {9700, 8, 2000}, {10000, 10, 1000},
        {10001, 10, 2000}, {5000, 6, 1000}, {1.2, 6, 0.2},   {300, 8, 50},
        {19900, 8, 5000},  {0, 6, 1},       {-5, 6, 1},      {100, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(RoundTickInterval(c.span, c.maxTicks), c.interval)
            << c.span << " in " << c.maxTicks;
    }
}

struct PointsCase {
    const char* name;
    std::vector<double> values;
    double low, high;  // the axis holds at least this
    double interval;
};

void PrintTo(const PointsCase& c, std::ostream* os) {
    *os << c.name;
}

class AxisOverPointsTest : public ::testing::TestWithParam<PointsCase> {};

// The axis starts near the first point and ends near the last, never at 0 for its own sake,
// with a little room beyond both, and round ticks.
TEST_P(AxisOverPointsTest, SpansTheBreakpointsWithRoomAndRoundTicks) {
    const PointsCase& c = GetParam();
    const AxisScale axis = AxisOverPoints(c.values, 1000.0, 8);
    EXPECT_LT(axis.low, c.low);
    EXPECT_GT(axis.high, c.high);
    EXPECT_GE(axis.low, 0.0);
    // The room is a few per cent of the span, not a stretch down to 0 rpm.
    const double span = c.high - c.low;
    EXPECT_GT(axis.low, c.low - 0.1 * span);
    EXPECT_LT(axis.high, c.high + 0.1 * span);
    EXPECT_DOUBLE_EQ(axis.tickInterval, c.interval);
}

INSTANTIATE_TEST_SUITE_P(
    Breakpoints, AxisOverPointsTest,
    ::testing::Values(PointsCase{"Evenly", {1000, 2000, 3000, 10000}, 1000, 10000, 2000},
                      PointsCase{"Unordered", {6000, 800, 11000}, 800, 11000, 2000},
                      PointsCase{"HighOnly", {15000, 16000, 20100}, 15000, 20100, 1000},
                      PointsCase{"Close", {5000, 5100}, 4550, 5550, 200}));

TEST(CurveAxes, NoPointsOrANearZeroStartStaysAtOrAboveZero) {
    const AxisScale none = AxisOverPoints({}, 1000.0, 8);
    EXPECT_EQ(none.low, 0.0);
    EXPECT_EQ(none.high, 1000.0);
    const AxisScale low = AxisOverPoints({100, 200}, 1000.0, 8);
    EXPECT_EQ(low.low, 0.0);
    EXPECT_GE(low.high, 1000.0);
}

TEST(CurveAxes, ValueAxisReachesTheLimitOnARoundTick) {
    struct Case {
        double limit;
        double high;
        double interval;
    } cases[] = {{60, 60, 10}, {4980, 5000, 1000}, {5000, 5000, 1000}, {0, 1, 0.2}};
    for (const Case& c : cases) {
        const AxisScale axis = AxisUpTo(c.limit, 6);
        EXPECT_EQ(axis.low, 0.0);
        EXPECT_DOUBLE_EQ(axis.high, c.high) << c.limit;
        EXPECT_DOUBLE_EQ(axis.tickInterval, c.interval) << c.limit;
    }
}

}  // namespace
}  // namespace korvan
