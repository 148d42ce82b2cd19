// The grid of the ride analysis: its numbers against a count made from the known path of a
// synthetic ride, its layout on the map's axes, the grey of cells with few samples, the
// difference of two logs, the colours and their legibility, and the copied text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLocale>
#include <QTest>
#include <cmath>
#include <ostream>

#include "tests/ui/analysis/synthetic_ride.h"
#include "ui/analysis/cell_colours.h"
#include "ui/analysis/cell_grid.h"

namespace korvan::testing {
namespace {

// The numbers as an English user reads them, whatever the machine's locale.
class LocaleGuard {
  public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

QString Shown(const CellGrid& grid, int row, int column) {
    return grid.model()->data(grid.model()->index(row, column), Qt::DisplayRole).toString();
}
QColor Background(const CellGrid& grid, int row, int column) {
    return grid.model()->data(grid.model()->index(row, column), Qt::BackgroundRole).value<QColor>();
}
QColor Foreground(const CellGrid& grid, int row, int column) {
    return grid.model()->data(grid.model()->index(row, column), Qt::ForegroundRole).value<QColor>();
}
bool Greyed(const CellGrid& grid, int row, int column) {
    return grid.model()
        ->data(grid.model()->index(row, column), CellGridModel::kGreyedRole)
        .toBool();
}

TEST(CellColours, TextReadsOnEveryColourOfBothScales) {
    constexpr double kLegible = 4.5;
    for (int i = 0; i <= 100; ++i) {
        const double share = i / 100.0;
        const QColor value = ValueColour(share);
        EXPECT_GE(ContrastRatio(value, TextColourOn(value)), kLegible) << share;
        const QColor difference = DifferenceColour(2 * share - 1, 1);
        EXPECT_GE(ContrastRatio(difference, TextColourOn(difference)), kLegible) << share;
    }
    EXPECT_GE(ContrastRatio(GreyedBackground(), GreyedText()), kLegible);
}

TEST(CellColours, LowIsBlueHighIsRedAndNoDifferenceIsPale) {
    EXPECT_GT(ValueColour(0).blue(), ValueColour(0).red());
    EXPECT_GT(ValueColour(1).red(), ValueColour(1).blue());
    EXPECT_GT(DifferenceColour(-3, 3).blue(), DifferenceColour(-3, 3).red());
    EXPECT_GT(DifferenceColour(3, 3).red(), DifferenceColour(3, 3).blue());
    const QColor none = DifferenceColour(0, 3);
    EXPECT_GT(std::min({none.red(), none.green(), none.blue()}), 0xE0);
    // Out of range and not a number stay on the scale.
    EXPECT_EQ(ValueColour(7), ValueColour(1));
    EXPECT_EQ(ValueColour(std::nan("")), ValueColour(0));
}

struct QuantityCase {
    CellQuantity quantity;
    const char* name;
};
void PrintTo(const QuantityCase& c, std::ostream* os) {
    *os << c.name;
}

class GridValues : public ::testing::TestWithParam<QuantityCase> {};

TEST_P(GridValues, EqualTheCountOfTheKnownPath) {
    const LocaleGuard english(QLocale(QLocale::English));
    const SyntheticRide ride(600);
    const CellTable table =
        ComputeCellTable(ride.log.rows, SyntheticRide::Tune(), true, kChannelLambda);
    CellGrid grid;
    grid.Cells().ShowTable(table, GetParam().quantity, kDefaultMinSamples);
    const auto expected = ride.Expected();
    const QLocale locale;
    int visited = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const ExpectedCell& e = expected[static_cast<std::size_t>(row * kMapColumns + column)];
            QString want;
            if (e.samples > 0) {
                ++visited;
                switch (GetParam().quantity) {
                    case CellQuantity::Seconds:
                        want = locale.toString(e.seconds, 'f', 1);
                        break;
                    case CellQuantity::Samples:
                        want = QString::number(e.samples);
                        break;
                    case CellQuantity::Mean:
                        want = locale.toString(e.Mean(), 'f', 1);
                        break;
                    case CellQuantity::Min:
                        want = QString::number(e.min);
                        break;
                    case CellQuantity::Max:
                        want = QString::number(e.max);
                        break;
                }
            }
            EXPECT_EQ(Shown(grid, row, column), want) << row << "/" << column;
        }
    }
    EXPECT_GT(visited, 10) << "the path should cross much of the map";
}

INSTANTIATE_TEST_SUITE_P(Quantities, GridValues,
                         ::testing::Values(QuantityCase{CellQuantity::Seconds, "Seconds"},
                                           QuantityCase{CellQuantity::Samples, "Samples"},
                                           QuantityCase{CellQuantity::Mean, "Mean"},
                                           QuantityCase{CellQuantity::Min, "Min"},
                                           QuantityCase{CellQuantity::Max, "Max"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct GreyCase {
    std::size_t minSamples;
};
void PrintTo(const GreyCase& c, std::ostream* os) {
    *os << "least " << c.minSamples;
}

class GreyedCells : public ::testing::TestWithParam<GreyCase> {};

TEST_P(GreyedCells, AreThoseWithFewerSamplesAndEmptyInTheCopy) {
    const LocaleGuard english(QLocale(QLocale::English));
    const std::size_t least = GetParam().minSamples;
    SyntheticRide ride(400);
    const CellTable table =
        ComputeCellTable(ride.log.rows, SyntheticRide::Tune(), true, kChannelLambda);
    CellGrid grid;
    grid.Cells().ShowTable(table, CellQuantity::Mean, least);
    const QStringList lines = grid.CopyText().split("\r\n");
    const auto expected = ride.Expected();
    int greyed = 0;
    for (int row = 0; row < kMapRows; ++row) {
        const QStringList fields = lines.value(row + 1).split('\t');
        for (int column = 0; column < kMapColumns; ++column) {
            const std::size_t n =
                expected[static_cast<std::size_t>(row * kMapColumns + column)].samples;
            const bool grey = n > 0 && n < least;
            greyed += grey;
            EXPECT_EQ(Greyed(grid, row, column), grey) << row << "/" << column << ": " << n;
            if (grey) {
                EXPECT_EQ(Background(grid, row, column), GreyedBackground());
                EXPECT_EQ(Foreground(grid, row, column), GreyedText());
                // Shown in the window, but a spreadsheet gets no number it could trust.
                EXPECT_FALSE(Shown(grid, row, column).isEmpty());
            }
            EXPECT_EQ(fields.value(column + 1).isEmpty(), n == 0 || n < least)
                << row << "/" << column;
        }
    }
    if (least > 1) {
        EXPECT_GT(greyed, 0) << "the path should leave a few thin cells";
    }
}

INSTANTIATE_TEST_SUITE_P(Least, GreyedCells,
                         ::testing::Values(GreyCase{1}, GreyCase{3}, GreyCase{8}, GreyCase{30}),
                         [](const auto& info) {
                             return "Least" + std::to_string(info.param.minSamples);
                         });

TEST(CellGrid, ColoursSpanTheCellsWithEnoughSamplesOnly) {
    SyntheticRide ride(600);
    const CellTable table =
        ComputeCellTable(ride.log.rows, SyntheticRide::Tune(), true, kChannelLambda);
    CellGrid grid;
    grid.Cells().ShowTable(table, CellQuantity::Mean, 5);
    double low = 1e9, high = -1e9;
    for (const ExpectedCell& e : ride.Expected()) {
        if (e.samples < 5) continue;
        low = std::min(low, e.Mean());
        high = std::max(high, e.Mean());
    }
    EXPECT_DOUBLE_EQ(grid.Cells().ScaleLow(), low);
    EXPECT_DOUBLE_EQ(grid.Cells().ScaleHigh(), high);
    // The lowest cell is the scale's blue end, the highest its red end.
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const QVariant v =
                grid.model()->data(grid.model()->index(row, column), CellGridModel::kValueRole);
            if (!v.isValid() || Greyed(grid, row, column)) continue;
            if (v.toDouble() == low) {
                EXPECT_EQ(Background(grid, row, column), ValueColour(0));
            }
            if (v.toDouble() == high) {
                EXPECT_EQ(Background(grid, row, column), ValueColour(1));
            }
            EXPECT_EQ(Foreground(grid, row, column), TextColourOn(Background(grid, row, column)));
        }
    }
}

TEST(CellGrid, IsLaidOutLikeTheMapWithAndWithoutTheThrottleAxis) {
    SyntheticRide ride(300);
    const DeviceImage tune = SyntheticRide::Tune();
    CellGrid grid;
    grid.Cells().ShowTable(ComputeCellTable(ride.log.rows, tune, true), CellQuantity::Samples, 1);
    ASSERT_EQ(grid.model()->rowCount(), kMapRows);
    ASSERT_EQ(grid.model()->columnCount(), kMapColumns);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), "0 %");
    EXPECT_EQ(grid.model()->headerData(kMapRows - 1, Qt::Vertical).toString(), "100 %");
    for (int c = 0; c < kMapColumns; ++c) {
        EXPECT_EQ(grid.model()->headerData(c, Qt::Horizontal).toString(),
                  QString::number(tune[field::RpmAdv + static_cast<std::size_t>(c)] * 100));
    }
    // Without the axis every row is the map's last: one row of all the samples per column.
    grid.Cells().ShowTable(ComputeCellTable(ride.log.rows, tune, false), CellQuantity::Samples, 1);
    ASSERT_EQ(grid.model()->rowCount(), 1);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), "100 %");
    std::array<std::size_t, kMapColumns> perColumn{};
    for (const SyntheticRow& r : ride.rows) ++perColumn[static_cast<std::size_t>(r.rpmColumn)];
    for (int c = 0; c < kMapColumns; ++c) {
        const std::size_t n = perColumn[static_cast<std::size_t>(c)];
        EXPECT_EQ(Shown(grid, 0, c), n ? QString::number(n) : QString()) << c;
    }
}

TEST(CellGrid, ADifferenceIsSignedAndColouredBySign) {
    const LocaleGuard english(QLocale(QLocale::English));
    CellTable axes = ComputeCellTable({}, SyntheticRide::Tune(), true);
    CellComparison comparison;
    const auto set = [&](int cell, double before, double after) {
        comparison.cells[static_cast<std::size_t>(cell)] = {true, before, after};
    };
    set(0, 800, 805);     // richer: +
    set(1, 800, 797);     // leaner: -
    set(2, 800, 800.02);  // no difference worth a sign
    CellGrid grid;
    grid.Cells().ShowDifference(comparison, axes);
    EXPECT_EQ(Shown(grid, 0, 0), "+5.0");
    EXPECT_EQ(Shown(grid, 0, 1), "-3.0");
    EXPECT_EQ(Shown(grid, 0, 2), "0.0");
    EXPECT_EQ(Shown(grid, 0, 3), "");
    EXPECT_GT(Background(grid, 0, 0).red(), Background(grid, 0, 0).blue());
    EXPECT_GT(Background(grid, 0, 1).blue(), Background(grid, 0, 1).red());
    EXPECT_EQ(Background(grid, 0, 0), DifferenceColour(5, 5));
    EXPECT_FALSE(Greyed(grid, 0, 0));
    EXPECT_EQ(grid.CopyText().split("\r\n").value(1).split('\t').mid(1, 3),
              QStringList({"+5.0", "-3.0", "0.0"}));
}

TEST(CellGrid, CtrlCCopiesTheGridWithTheUsersDecimalComma) {
    const LocaleGuard czech(QLocale(QLocale::Czech));
    SyntheticRide ride(300);
    const CellTable table =
        ComputeCellTable(ride.log.rows, SyntheticRide::Tune(), true, kChannelLambda);
    CellGrid grid;
    grid.SetTitle("Lambda mean");
    grid.Cells().ShowTable(table, CellQuantity::Mean, 3);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QApplication::clipboard()->clear();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(),
              CellTableText(table, CellQuantity::Mean, 3, "Lambda mean", ','));
    EXPECT_TRUE(copied.contains(',')) << copied.toStdString();
    EXPECT_TRUE(copied.startsWith("Lambda mean\t1000\t2000"));
}

}  // namespace
}  // namespace korvan::testing
