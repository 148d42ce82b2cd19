#include "log/time_in_cell.h"

#include <gtest/gtest.h>

#include "device/map_cursor.h"
#include "params/defaults.h"

namespace korvan {
namespace {

// The default RPM axis runs 1000..10000 rpm in steps of 1000; the throttle rows are fixed.
const char* const kCraftedLog =
    "\"Korvan2 2.0\"\r\n"
    "Time\tRPM\tTPS\tLambda\r\n"
    "s\trpm\t%\tmV\r\n"
    "0.000\t500\t0\t900\r\n"    // below the RPM axis for 0.5 s
    "0.500\t2000\t5\t800\r\n"   // column 1, row 2 (5 %) for 0.5 s
    "1.000\t2040\t6\t900\r\n"   // nearest is still column 1 / row 2; a 2 s gap counts as 1 s
    "3.000\t2500\t7\t1000\r\n"  // midway goes to the lower breakpoint: column 1, row 2; clock runs
                                // back: 0 s
    "MARK 001\r\n"
    "2.900\t9999\t100\t700\r\n"    // column 9, row 9 for 0.3 s
    "3.200\t20000\t100\t900\r\n";  // above the axis: column 9, row 9, the last row lasts no time

TEST(TimeInCell, CraftedLogWithAndWithoutTheThrottleAxis) {
    const RideLogReadResult log = ParseRideLog(kCraftedLog);
    ASSERT_TRUE(log.Ok());
    ASSERT_EQ(log.rows.size(), 6u);
    const DeviceImage image = DefaultImage();

    struct Visit {
        int row, column;
        double seconds;
        std::size_t samples;
        double meanLambda;
    };
    struct Case {
        bool tpsAxis;
        std::vector<Visit> visits;
    } cases[] = {
        {true, {{2, 1, 1.5, 3, 900.0}, {9, 9, 0.3, 2, 800.0}}},
        {false, {{9, 1, 1.5, 3, 900.0}, {9, 9, 0.3, 2, 800.0}}},
    };
    for (const Case& c : cases) {
        const TimeInCells t = ComputeTimeInCells(log.rows, image, c.tpsAxis);
        EXPECT_NEAR(t.SecondsBelowAxis, 0.5, 1e-9);
        EXPECT_NEAR(t.TotalSeconds, 2.3, 1e-9);
        std::size_t visited = 0;
        for (const CellTime& cell : t.Cells) visited += cell.Visited();
        EXPECT_EQ(visited, c.visits.size()) << c.tpsAxis;
        for (const Visit& v : c.visits) {
            const CellTime& cell = t.At(v.row, v.column);
            EXPECT_NEAR(cell.Seconds, v.seconds, 1e-9)
                << c.tpsAxis << " " << v.row << "/" << v.column;
            EXPECT_EQ(cell.Samples, v.samples) << c.tpsAxis << " " << v.row << "/" << v.column;
            EXPECT_DOUBLE_EQ(cell.MeanLambdaMv(), v.meanLambda)
                << c.tpsAxis << " " << v.row << "/" << v.column;
        }
    }
}

TEST(TimeInCell, TheFirstBreakpointCountsInItsCellNotBelowTheAxis) {
    // 1000 rpm is the default axis's first breakpoint: column 0, the first cell of its row.
    const RideLogReadResult log = ParseRideLog(
        "Time\tRPM\tTPS\r\n0\t1000\t0\r\n0.4\t1000\t0\r\n0.6\t990\t0\r\n1.0\t1000\t0\r\n");
    ASSERT_TRUE(log.Ok());
    const DeviceImage image = DefaultImage();
    const int row = ComputeMapCursor(image, LiveValuesOf(log.rows[0].Channels), true).TpsIndex;
    const TimeInCells t = ComputeTimeInCells(log.rows, image, true);
    EXPECT_NEAR(t.At(row, 0).Seconds, 0.6, 1e-9);
    EXPECT_EQ(t.At(row, 0).Samples, 3u);
    EXPECT_NEAR(t.SecondsBelowAxis, 0.4, 1e-9);  // 990 rpm only
    EXPECT_NEAR(t.TotalSeconds, 1.0, 1e-9);
}

TEST(TimeInCell, FollowsTheLiveCursorOnAnEditedAxis) {
    DeviceImage image = DefaultImage();
    // A shifted axis moves the same logged speed to another column, exactly as the cursor.
    for (int i = 0; i < kAxisPoints; ++i)
        image[field::RpmAdv + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(30 + 5 * i);
    const RideLogReadResult log =
        ParseRideLog("Time\tRPM\tTPS\r\n0\t2000\t50\r\n1\t4200\t50\r\n2\t4200\t50\r\n");
    ASSERT_TRUE(log.Ok());
    const TimeInCells t = ComputeTimeInCells(log.rows, image, true);
    for (const LogSample& s : log.rows) {
        const MapCursor cursor = ComputeMapCursor(image, LiveValuesOf(s.Channels), true);
        if (cursor.BelowRpmAxis) continue;
        EXPECT_TRUE(t.At(cursor.TpsIndex, cursor.RpmIndex).Visited());
    }
    EXPECT_NEAR(t.SecondsBelowAxis, 1.0, 1e-9);
    EXPECT_NEAR(t.At(6, 2).Seconds, 1.0,
                1e-9);  // 42 lies nearest 40, the third breakpoint; 50 % nearest 40 %
}

}  // namespace
}  // namespace korvan
