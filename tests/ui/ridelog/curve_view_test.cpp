#include "ui/ridelog/curve_view.h"

#include <gtest/gtest.h>

#include "params/defaults.h"
#include "ui/ridelog/heat_map.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

DeviceImage MapImage(bool tpsAxis) {
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = tpsAxis ? 1 : 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            image[AdvanceIndex(row, column)] = static_cast<std::uint8_t>(row * 3 + column);
        }
    }
    return image;
}

TEST(CurveView, OneCurvePerThrottleRowOrOneWithoutTheAxis) {
    struct Case {
        bool tpsAxis;
        int curves;
        int firstRow;
        const char* firstName;
    } cases[] = {{true, 10, 0, "Throttle 0 %"}, {false, 1, 9, "Advance"}};
    CurveView view(kEnglish);
    for (const Case& c : cases) {
        view.SetImage(MapImage(c.tpsAxis));
        ASSERT_EQ(view.CurveCount(), c.curves) << c.tpsAxis;
        EXPECT_EQ(view.CurveName(0), c.firstName);
        for (int curve = 0; curve < c.curves; ++curve) {
            const std::vector<QPointF> points = view.CurvePoints(curve);
            ASSERT_EQ(points.size(), static_cast<std::size_t>(kMapColumns));
            for (int column = 0; column < kMapColumns; ++column) {
                EXPECT_EQ(points[static_cast<std::size_t>(column)],
                          QPointF(1000.0 * (column + 1), (c.firstRow + curve) * 3 + column));
            }
        }
    }
    view.SetImage(MapImage(true));
    EXPECT_EQ(view.CurveName(9), "Throttle 100 %");
}

TEST(CurveView, MarksTheCellInUseAndRedrawsAfterACommit) {
    CurveView view(kEnglish);
    DeviceImage image = MapImage(true);
    view.SetImage(image);
    EXPECT_FALSE(view.MarkedPoint().has_value());
    MapCursor cursor;
    cursor.RpmIndex = 4;
    cursor.TpsIndex = 2;
    view.SetCursor(cursor);
    ASSERT_TRUE(view.MarkedPoint().has_value());
    EXPECT_EQ(*view.MarkedPoint(), QPointF(5000, 2 * 3 + 4));

    image[AdvanceIndex(2, 4)] = 40;  // a commit changes the cell under the cursor
    view.SetImage(image);
    EXPECT_EQ(*view.MarkedPoint(), QPointF(5000, 40));
    EXPECT_EQ(view.CurvePoints(2)[4], QPointF(5000, 40));

    cursor.BelowRpmAxis = true;
    view.SetCursor(cursor);
    EXPECT_FALSE(view.MarkedPoint().has_value());

    view.resize(640, 560);
    const QPixmap picture = view.Picture();
    EXPECT_EQ(picture.size(), QSize(640, 560));
}

TEST(HeatMap, ColoursByTimeAndLeavesUnvisitedCellsAlone) {
    TimeInCells cells;
    auto set = [&](int row, int column, double seconds, std::size_t samples, double lambdaSum) {
        CellTime& c = cells.Cells[static_cast<std::size_t>(row * kMapColumns + column)];
        c.Seconds = seconds;
        c.Samples = samples;
        c.LambdaSumMv = lambdaSum;
    };
    set(0, 0, 100.0, 300, 300 * 850.0);
    set(5, 5, 1.0, 3, 3 * 900.0);
    set(9, 9, 0.0, 1, 700.0);  // the last row of a log: visited, no time
    const HeatMap map = BuildHeatMap(cells, kEnglish);

    struct Case {
        int index;
        bool coloured;
        const char* tooltip;
    } cases[] = {
        {0, true, "100.0 s, lambda 850 mV"},
        {55, true, "1.0 s, lambda 900 mV"},
        {99, true, "0.0 s, lambda 700 mV"},
        {1, false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(map.colours[static_cast<std::size_t>(c.index)].isValid(), c.coloured) << c.index;
        EXPECT_EQ(map.tooltips[static_cast<std::size_t>(c.index)], c.tooltip) << c.index;
    }
    // More time is redder: the hue falls from yellow towards red.
    EXPECT_EQ(map.colours[0].hsvHue(), 0);
    EXPECT_GT(map.colours[55].hsvHue(), map.colours[0].hsvHue());
    EXPECT_GT(map.colours[99].hsvHue(), map.colours[55].hsvHue());
    EXPECT_EQ(BuildHeatMap(cells, 2).tooltips[0], "100.0 s, Lambda 850 mV");
}

}  // namespace
}  // namespace korvan
