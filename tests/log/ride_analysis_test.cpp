#include "log/ride_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "log/time_in_cell.h"
#include "params/defaults.h"

namespace korvan {
namespace {

// The default RPM axis runs 1000..10000 rpm in steps of 1000; the throttle rows are fixed:
// 0, 2, 5, 10, 20, 30, 40, 60, 80, 100 %.
constexpr double kPeriodS = 0.05;  // 20 samples a second

struct Leg {
    int column, row;
    double seconds;
};

// A ride along a known path through the map: each leg holds one cell (speed and throttle
// somewhere near that cell's breakpoints, never nearer another), with a little jitter in the
// sample times. Each sample's cell is known by construction, not by the program's rule.
struct KnownRide {
    std::vector<LogSample> rows;
    std::vector<std::pair<int, int>> cellOfRow;  // row, column
};

KnownRide RideAlong(const std::vector<Leg>& legs) {
    KnownRide ride;
    double t = 0;
    unsigned n = 0;
    for (const Leg& leg : legs) {
        const int samples = static_cast<int>(std::lround(leg.seconds / kPeriodS));
        for (int i = 0; i < samples; ++i, ++n) {
            LogSample s;
            const double jitter = (static_cast<int>(n * 7 % 5) - 2) * 0.002;  // -4 .. +4 ms
            s.TimeS = t + i * kPeriodS + jitter;
            // Within 400 rpm of the column's breakpoint; never below the first one.
            const int offset = leg.column == 0 ? static_cast<int>(n * 37 % 400)
                                               : static_cast<int>(n * 37 % 800) - 400;
            s.Channels.Rpm = static_cast<std::uint16_t>(1000 * (leg.column + 1) + offset);
            const int tps = kTpsAxisPercent[static_cast<std::size_t>(leg.row)];
            s.Channels.TpsPercent = static_cast<std::uint8_t>(tps);
            s.Channels.LambdaMv =
                static_cast<std::uint16_t>(600 + 20 * leg.column + leg.row + (n * 13) % 97);
            s.Channels.Advance = static_cast<std::uint8_t>(10 + leg.column + (n % 3));
            ride.rows.push_back(s);
            ride.cellOfRow.push_back({leg.row, leg.column});
        }
        t += samples * kPeriodS;
    }
    return ride;
}

TEST(CellTable, SecondsAndMeansOnAKnownPathMatchTheTruth) {
    const std::vector<Leg> legs = {{0, 0, 2.0}, {1, 2, 3.5}, {4, 5, 10.0}, {9, 9, 4.0},
                                   {4, 5, 6.0}, {7, 8, 1.5}, {2, 3, 0.25}};
    const KnownRide ride = RideAlong(legs);
    const DeviceImage image = DefaultImage();
    const CellTable table = ComputeCellTable(ride.rows, image, true, kChannelLambda);

    // The truth: each leg's time, the last one ending with the log's last sample (nothing
    // says where the engine was after it).
    std::vector<double> legSeconds;
    for (const Leg& leg : legs) legSeconds.push_back(leg.seconds);
    legSeconds.back() -= kPeriodS;
    std::map<std::pair<int, int>, double> truth;
    for (std::size_t i = 0; i < legs.size(); ++i)
        truth[{legs[i].row, legs[i].column}] += legSeconds[i];
    std::map<std::pair<int, int>, std::vector<double>> lambdas;
    for (std::size_t i = 0; i < ride.rows.size(); ++i)
        lambdas[ride.cellOfRow[i]].push_back(ride.rows[i].Channels.LambdaMv);

    std::size_t visited = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            SCOPED_TRACE(testing::Message() << "row " << row << " column " << column);
            const CellStats& c = table.At(row, column);
            const auto known = truth.find({row, column});
            if (known == truth.end()) {
                EXPECT_FALSE(c.Visited());
                continue;
            }
            ++visited;
            EXPECT_NEAR(c.Seconds, known->second, kPeriodS);
            const std::vector<double>& values = lambdas.at({row, column});
            double sum = 0, lo = values[0], hi = values[0];
            for (double v : values) {
                sum += v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
            EXPECT_EQ(c.Samples, values.size());
            EXPECT_NEAR(c.Mean(), sum / static_cast<double>(values.size()), 1e-9);
            EXPECT_EQ(c.Min, lo);
            EXPECT_EQ(c.Max, hi);
        }
    }
    EXPECT_EQ(visited, truth.size());
    EXPECT_EQ(table.secondsBelowAxis, 0);
    EXPECT_EQ(table.rowsUsed, ride.rows.size());
    EXPECT_EQ(table.rpmAxis[0], 1000u);
    EXPECT_EQ(table.rpmAxis[9], 10000u);

    // Without the throttle axis every leg lands in the last row, in its own column.
    const CellTable flat = ComputeCellTable(ride.rows, image, false, kChannelAdvance);
    for (int column = 0; column < kMapColumns; ++column) {
        double seconds = 0;
        for (std::size_t i = 0; i < legs.size(); ++i)
            seconds += legs[i].column == column ? legSeconds[i] : 0;
        EXPECT_NEAR(flat.At(kMapRows - 1, column).Seconds, seconds, kPeriodS) << column;
        for (int row = 0; row < kMapRows - 1; ++row) EXPECT_FALSE(flat.At(row, column).Visited());
    }
    EXPECT_EQ(flat.At(9, 4).Min, 14);  // the advance: 10 + column + 0..2
    EXPECT_EQ(flat.At(9, 4).Max, 16);

    // The map's colours take the same numbers: one rule for both.
    const TimeInCells heat = ComputeTimeInCells(ride.rows, image, true);
    for (std::size_t i = 0; i < kCellCount; ++i) {
        EXPECT_EQ(heat.Cells[i].Seconds, table.cells[i].Seconds);
        EXPECT_EQ(heat.Cells[i].Samples, table.cells[i].Samples);
    }
}

LogSample Sample(double t, std::uint16_t rpm, std::uint8_t tps, bool limiter = false,
                 bool clutch = false, bool n2o = false) {
    LogSample s;
    s.TimeS = t;
    s.Channels.Rpm = rpm;
    s.Channels.TpsPercent = tps;
    s.Channels.Limiter1 = limiter;
    s.Channels.Clutch = clutch;
    s.Channels.N2o = n2o;
    s.Channels.LambdaMv = static_cast<std::uint16_t>(rpm / 10);
    return s;
}

// Ten rows 0.5 s apart, each with one thing that a filter looks at.
std::vector<LogSample> FilterRows() {
    return {
        Sample(0.0, 3000, 10),                      // 0
        Sample(0.5, 3000, 50),                      // 1
        Sample(1.0, 5000, 100),                     // 2
        Sample(1.5, 11000, 100),                    // 3: at the limiter speed (default 11000)
        Sample(2.0, 9000, 100, true),               // 4: start limiter on
        Sample(2.5, 4000, 20, false, true),         // 5: clutch
        Sample(3.0, 6000, 80, false, false, true),  // 6: N2O
        Sample(3.5, 10999, 60),                     // 7: just below the limiter
        Sample(4.0, 800, 0),                        // 8: below the RPM axis
        Sample(4.5, 2000, 5),                       // 9: the last row lasts no time
    };
}

struct FilterCase {
    const char* name;
    LogFilter filter;
    std::vector<std::size_t> rowsTaken;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

std::string FilterCaseName(const ::testing::TestParamInfo<FilterCase>& info) {
    std::string name = info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

LogFilter With(void (*change)(LogFilter&)) {
    LogFilter f;
    change(f);
    return f;
}

class Filters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(Filters, TakeExactlyTheRowsAskedFor) {
    const FilterCase& c = GetParam();
    const std::vector<LogSample> rows = FilterRows();
    const DeviceImage image = DefaultImage();
    const CellTable table = ComputeCellTable(rows, image, true, kChannelRpm, c.filter);
    EXPECT_EQ(table.rowsUsed, c.rowsTaken.size());
    EXPECT_EQ(table.rowsLeftOut, rows.size() - c.rowsTaken.size());
    double seconds = 0;
    for (std::size_t i : c.rowsTaken) seconds += i + 1 < rows.size() ? 0.5 : 0;
    EXPECT_NEAR(table.totalSeconds, seconds, 1e-9);
    // The scatter takes the same rows.
    const ScatterData scatter =
        ComputeScatter(rows, image, kChannelTime, kChannelRpm, kChannelTps, c.filter);
    ASSERT_EQ(scatter.points.size(), c.rowsTaken.size());
    for (std::size_t k = 0; k < c.rowsTaken.size(); ++k) {
        EXPECT_EQ(scatter.points[k].x, rows[c.rowsTaken[k]].TimeS);
        EXPECT_EQ(scatter.points[k].y, rows[c.rowsTaken[k]].Channels.Rpm);
        EXPECT_EQ(scatter.points[k].colour, rows[c.rowsTaken[k]].Channels.TpsPercent);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Filters,
    ::testing::Values(FilterCase{"none", {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                      FilterCase{"time range",
                                 With([](LogFilter& f) {
                                     f.fromS = 1.0;
                                     f.toS = 2.5;
                                 }),
                                 {2, 3, 4, 5}},
                      FilterCase{"throttle range",
                                 With([](LogFilter& f) {
                                     f.tpsMin = 20;
                                     f.tpsMax = 80;
                                 }),
                                 {1, 5, 6, 7}},
                      FilterCase{"rpm range",
                                 With([](LogFilter& f) {
                                     f.rpmMin = 3000;
                                     f.rpmMax = 6000;
                                 }),
                                 {0, 1, 2, 5, 6}},
                      FilterCase{"without limiter",
                                 With([](LogFilter& f) { f.withoutLimiter = true; }),
                                 {0, 1, 2, 5, 6, 7, 8, 9}},
                      FilterCase{"without clutch",
                                 With([](LogFilter& f) { f.withoutClutch = true; }),
                                 {0, 1, 2, 3, 4, 6, 7, 8, 9}},
                      FilterCase{"without n2o",
                                 With([](LogFilter& f) { f.withoutN2o = true; }),
                                 {0, 1, 2, 3, 4, 5, 7, 8, 9}}),
    FilterCaseName);

TEST(CellTable, MarkersSetTheTimeRangeInEitherOrder) {
    RideLogReadResult log;
    log.rows = FilterRows();
    log.marks = {2, 6, 10};  // the last one after every row
    EXPECT_EQ(MarkTimeS(log, 0), 1.0);
    EXPECT_EQ(MarkTimeS(log, 2), 4.5);
    EXPECT_EQ(MarkTimeS(log, 3), 0);  // no such marker
    LogFilter f;
    SetTimeBetweenMarks(f, log, 1, 0);
    EXPECT_EQ(f.fromS, 1.0);
    EXPECT_EQ(f.toS, 3.0);
}

TEST(CellTable, ComparesOnlyCellsBothLogsVisitedEnough) {
    const DeviceImage image = DefaultImage();
    // Before: cell (0, 2) 4 samples at 800 mV, (0, 4) 2 samples; after: (0, 2) 3 samples at
    // 850 mV, (0, 4) 5 samples, (0, 6) only after.
    const auto rows = [](std::vector<std::pair<std::uint16_t, int>> points) {
        std::vector<LogSample> out;
        double t = 0;
        for (const auto& [rpm, count] : points) {
            for (int i = 0; i < count; ++i, t += 0.1) {
                LogSample s = Sample(t, rpm, 0);
                s.Channels.LambdaMv = rpm == 3000 ? (t < 100 ? 800 : 0) : 700;
                out.push_back(s);
            }
        }
        return out;
    };
    std::vector<LogSample> before = rows({{3000, 4}, {5000, 2}});
    std::vector<LogSample> after = rows({{3000, 3}, {5000, 5}, {7000, 4}});
    for (LogSample& s : after) s.Channels.LambdaMv += 50;
    const CellTable a = ComputeCellTable(before, image, true);
    const CellTable b = ComputeCellTable(after, image, true);
    const struct {
        std::size_t minSamples;
        std::size_t compared;
        bool column4;
    } cases[] = {{3, 1, false}, {2, 2, true}, {1, 2, true}, {0, 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minSamples);
        const CellComparison d = CompareCellTables(a, b, c.minSamples);
        EXPECT_EQ(d.comparedCells, c.compared);
        EXPECT_TRUE(d.cells[2].compared);
        EXPECT_DOUBLE_EQ(d.cells[2].Difference(), 50.0);
        EXPECT_EQ(d.cells[4].compared, c.column4);
        EXPECT_FALSE(d.cells[6].compared);  // visited only after
    }
    EXPECT_EQ(CellComparisonText(CompareCellTables(a, b, 2), a, "d", ','),
              "d\t1000\t2000\t3000\t4000\t5000\t6000\t7000\t8000\t9000\t10000\r\n"
              "0\t\t\t+50,0\t\t+50,0\t\t\t\t\t\r\n"
              "2\t\t\t\t\t\t\t\t\t\t\r\n"
              "5\t\t\t\t\t\t\t\t\t\t\r\n"
              "10\t\t\t\t\t\t\t\t\t\t\r\n"
              "20\t\t\t\t\t\t\t\t\t\t\r\n"
              "30\t\t\t\t\t\t\t\t\t\t\r\n"
              "40\t\t\t\t\t\t\t\t\t\t\r\n"
              "60\t\t\t\t\t\t\t\t\t\t\r\n"
              "80\t\t\t\t\t\t\t\t\t\t\r\n"
              "100\t\t\t\t\t\t\t\t\t\t\r\n");
}

TEST(CellTable, GridTextIsLaidOutLikeTheMap) {
    DeviceImage image = DefaultImage();
    const std::vector<LogSample> rows = {
        Sample(0.0, 1000, 100), Sample(0.5, 1000, 100), Sample(1.0, 1000, 100),
        Sample(1.5, 2500, 100),  // 2000 column: two samples, too few for a mean of three
        Sample(2.0, 2400, 100),
    };
    const CellTable flat = ComputeCellTable(rows, image, false, kChannelLambda);
    const struct {
        CellQuantity quantity;
        const char* text;
    } cases[] = {
        {CellQuantity::Seconds,
         "s\t1000\t2000\t3000\t4000\t5000\t6000\t7000\t8000\t9000\t10000\r\n"
         "100\t1.5\t0.5\t\t\t\t\t\t\t\t\r\n"},
        {CellQuantity::Samples,
         "s\t1000\t2000\t3000\t4000\t5000\t6000\t7000\t8000\t9000\t10000\r\n"
         "100\t3\t2\t\t\t\t\t\t\t\t\r\n"},
        {CellQuantity::Mean,
         "s\t1000\t2000\t3000\t4000\t5000\t6000\t7000\t8000\t9000\t10000\r\n"
         "100\t100.0\t\t\t\t\t\t\t\t\t\r\n"},
        {CellQuantity::Max,
         "s\t1000\t2000\t3000\t4000\t5000\t6000\t7000\t8000\t9000\t10000\r\n"
         "100\t100\t\t\t\t\t\t\t\t\t\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(CellTableText(flat, c.quantity, 3, "s"), c.text);
    // Enough samples asked for: the 2000 column shows its mean too.
    EXPECT_NE(CellTableText(flat, CellQuantity::Mean, 2, "s").find("\t245.0\t"), std::string::npos);
    // With the throttle axis, ten rows from 0 % at the top.
    const std::string grid =
        CellTableText(ComputeCellTable(rows, image, true), CellQuantity::Samples);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), '\n'), 11);
    EXPECT_EQ(grid.find("\r\n0\t"), grid.find('\r'));
    EXPECT_NE(grid.find("\r\n100\t3\t2\t"), std::string::npos) << grid;
}

TEST(Scatter, ThinsLongSeriesEvenlyAndKnowsItsRanges) {
    std::vector<LogSample> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back(Sample(i * 0.05, static_cast<std::uint16_t>(2000 + i), 50));
    const ScatterData all =
        ComputeScatter(rows, DefaultImage(), kChannelRpm, kChannelLambda, kChannelTime);
    EXPECT_EQ(all.points.size(), 1000u);
    EXPECT_EQ(all.xMin, 2000);
    EXPECT_EQ(all.xMax, 2999);
    EXPECT_EQ(all.yMin, 200);
    EXPECT_EQ(all.yMax, 299);
    EXPECT_EQ(all.colourMin, 0);
    EXPECT_NEAR(all.colourMax, 49.95, 1e-9);
    const ScatterData thin =
        ComputeScatter(rows, DefaultImage(), kChannelRpm, kChannelLambda, kChannelTime, {}, 300);
    EXPECT_LE(thin.points.size(), 300u);
    EXPECT_GE(thin.points.size(), 250u);
    EXPECT_EQ(thin.rowsInFilter, 1000u);
    EXPECT_EQ(thin.points.front().x, 2000);
    EXPECT_GT(thin.points.back().x, 2990);  // spread over the whole ride
}

}  // namespace
}  // namespace korvan
