#include "ui/surface/difference_grid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "params/binding.h"
#include "params/defaults.h"

namespace korvan {
namespace {

TEST(DifferenceGrid, EachCellShowsItsSignedDifferenceInItsColour) {
    DifferenceGrid grid(kLanguageEnglish);
    grid.resize(600, 400);
    const SurfaceMap current = SurfaceMapFromImage(DefaultImage(), true);
    SurfaceMap compared = current;
    compared.advance[1 * kMapColumns + 2] -= 3;   // current has 3 degrees more
    compared.advance[6 * kMapColumns + 8] += 12;  // current has 12 less: full strength
    grid.SetMaps(current, compared);
    const QImage image = grid.grab().toImage();
    const QColor base = grid.palette().color(QPalette::Base);

    struct Case {
        MapCell cell;
        const char* text;
        int sign;
    } cases[] = {{{1, 2}, "+3", 1}, {{6, 8}, "-12", -1}, {{0, 0}, "0", 0}, {{9, 9}, "0", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(grid.CellText(c.cell), c.text);
        EXPECT_EQ(grid.Difference(c.cell), std::stoi(c.text));
        // A corner of the cell, away from its text.
        const QRectF r = grid.CellRect(c.cell);
        const QColor drawn = image.pixelColor((r.topLeft() + QPointF(3, 3)).toPoint());
        EXPECT_EQ(drawn, grid.CellColour(c.cell)) << c.text;
        const int redOverBlue = drawn.red() - drawn.blue();
        if (c.sign == 0) {
            EXPECT_EQ(drawn, base);
        } else {
            EXPECT_GT(redOverBlue * c.sign, 40) << c.text;
        }
    }
    // Full strength is deeper than a small difference.
    EXPECT_LT(grid.CellColour({6, 8}).red(), grid.CellColour({1, 2}).blue());
}

TEST(DifferenceGrid, WithoutTheThrottleAxisOneRowAndClicksPickCells) {
    DifferenceGrid grid(kLanguageEnglish);
    grid.resize(600, 400);
    const SurfaceMap current = SurfaceMapFromImage(DefaultImage(), false);
    grid.SetMaps(current, current);
    EXPECT_TRUE(grid.CellRect({8, 4}).isEmpty());
    ASSERT_FALSE(grid.CellRect({9, 4}).isEmpty());
    EXPECT_EQ(grid.CellText({8, 4}), "");

    QSignalSpy clicked(&grid, &DifferenceGrid::CellClicked);
    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier,
                      grid.CellRect({9, 4}).center().toPoint());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 9);
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 4);
    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));  // the title
    EXPECT_EQ(clicked.count(), 1);

    grid.SetMaps(current, std::nullopt);
    EXPECT_FALSE(grid.HasComparison());
    EXPECT_EQ(grid.CellText({9, 4}), "");
    EXPECT_EQ(grid.Difference({9, 4}), 0);
}

}  // namespace
}  // namespace korvan
