// The ride analysis window on a synthetic ride of a known path: every filter changes every
// view as a count made from the path says, the time range comes from the replay or two
// markers, the scatter plot thins and bands, the summary follows the filter, two logs give
// the difference of the cells both filled, and views are computed only when shown.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <ostream>

#include "log/ride_summary.h"
#include "tests/ui/analysis/synthetic_ride.h"
#include "ui/analysis/analysis_window.h"
#include "ui/analysis/cell_grid.h"
#include "ui/analysis/filter_panel.h"
#include "ui/analysis/scatter_view.h"

namespace korvan::testing {
namespace {

constexpr int kCellsTab = 0;
constexpr int kScatterTab = 1;
constexpr int kSummaryTab = 2;
constexpr int kCompareTab = 3;

SharedLog Shared(const RideLogReadResult& log) {
    return std::make_shared<const RideLogReadResult>(log);
}

class AnalysisWindowTest : public ::testing::Test {
  public:
    AnalysisWindowTest() : ride(600), window(1) {
        QLocale::setDefault(QLocale(QLocale::English));
        window.SetTune(SyntheticRide::Tune());
        window.SetLog(Shared(ride.log), "/logs/ride.msl");
    }
    ~AnalysisWindowTest() override { QLocale::setDefault(QLocale::c()); }

    FilterPanel& Filter() { return *window.Filters(); }
    // The grid's samples against the count of the rows `take` keeps.
    void ExpectSamples(const std::function<bool(const LogSample&)>& take) {
        window.Tabs()->setCurrentIndex(kCellsTab);
        window.QuantityBox()->setCurrentIndex(static_cast<int>(CellQuantity::Samples));
        const auto expected = ride.Expected(take);
        const auto* model = window.Grid()->model();
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                const std::size_t n =
                    expected[static_cast<std::size_t>(row * kMapColumns + column)].samples;
                EXPECT_EQ(model->data(model->index(row, column)).toString(),
                          n ? QString::number(n) : QString())
                    << row << "/" << column;
            }
        }
        std::size_t kept = 0;
        for (const SyntheticRow& r : ride.rows) kept += !take || take(r.sample);
        EXPECT_TRUE(window.RowsLabel()->text().startsWith(
            QString("Rows in the filter: %1 of %2").arg(kept).arg(ride.rows.size())))
            << window.RowsLabel()->text().toStdString();
    }

    SyntheticRide ride;
    AnalysisWindow window;
};

struct FilterCase {
    const char* name;
    std::function<void(FilterPanel&)> apply;
    std::function<bool(const LogSample&)> keeps;
};
void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

unsigned Limiter() {
    return LimiterRpm(SyntheticRide::Tune());
}

const FilterCase kFilterCases[] = {
    {"Throttle",
     [](FilterPanel& f) {
         f.ThrottleMinBox()->setValue(5);
         f.ThrottleMaxBox()->setValue(20);
         f.ThrottleBox()->setChecked(true);
     },
     [](const LogSample& s) { return s.Channels.TpsPercent >= 5 && s.Channels.TpsPercent <= 20; }},
    {"Rpm",
     [](FilterPanel& f) {
         f.RpmBox()->setChecked(true);
         f.RpmMinBox()->setValue(5000);  // typed in either order
         f.RpmMaxBox()->setValue(3000);
     },
     [](const LogSample& s) { return s.Channels.Rpm >= 3000 && s.Channels.Rpm <= 5000; }},
    {"WithoutClutch", [](FilterPanel& f) { f.WithoutClutchBox()->setChecked(true); },
     [](const LogSample& s) { return !s.Channels.Clutch; }},
    {"WithoutN2o", [](FilterPanel& f) { f.WithoutN2oBox()->setChecked(true); },
     [](const LogSample& s) { return !s.Channels.N2o; }},
    {"WithoutLimiter", [](FilterPanel& f) { f.WithoutLimiterBox()->setChecked(true); },
     [](const LogSample& s) { return !s.Channels.Limiter1 && s.Channels.Rpm < Limiter(); }},
    {"TypedTime",
     [](FilterPanel& f) {
         f.FromBox()->setValue(5);
         f.ToBox()->setValue(12.3);
     },
     [](const LogSample& s) { return s.TimeS >= 5 - 1e-9 && s.TimeS <= 12.3 + 1e-9; }},
    {"BetweenMarkers", [](FilterPanel& f) { f.BetweenMarksButton()->click(); },
     [](const LogSample& s) { return s.TimeS >= 10 - 1e-9 && s.TimeS <= 20 + 1e-9; }},
    {"Cleared",
     [](FilterPanel& f) {
         f.WithoutN2oBox()->setChecked(true);
         f.ThrottleBox()->setChecked(true);
         f.ThrottleMaxBox()->setValue(0);
         f.Clear();
     },
     nullptr},
};

class FilterEffect : public AnalysisWindowTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterEffect, GridCountsOnlyTheRowsTheFilterKeeps) {
    GetParam().apply(Filter());
    ExpectSamples(GetParam().keeps);
}

TEST_P(FilterEffect, SummaryAndScatterTakeTheSameRows) {
    GetParam().apply(Filter());
    window.Tabs()->setCurrentIndex(kScatterTab);
    std::size_t kept = 0;
    for (const SyntheticRow& r : ride.rows) kept += !GetParam().keeps || GetParam().keeps(r.sample);
    EXPECT_EQ(window.Scatter()->PointCount(), kept);
    window.Tabs()->setCurrentIndex(kSummaryTab);
    const RideSummary summary = ComputeRideSummary(ride.log, window.Tune(), Filter().Filter());
    EXPECT_EQ(summary.rows, kept);
    EXPECT_EQ(window.SummaryView()->toPlainText().toStdString(),
              RideSummaryText(summary, "ride.msl", 1));
}

INSTANTIATE_TEST_SUITE_P(Filters, FilterEffect, ::testing::ValuesIn(kFilterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AnalysisWindowTest, TheReplaysPositionSetsTheTimeRange) {
    EXPECT_FALSE(Filter().FromReplayButton()->isEnabled());
    window.SetReplayPosition(12.0);
    ASSERT_TRUE(Filter().FromReplayButton()->isEnabled());
    Filter().FromReplayButton()->click();
    window.SetReplayPosition(31.5);
    Filter().ToReplayButton()->click();
    EXPECT_TRUE(Filter().TimeBox()->isChecked());
    ExpectSamples(
        [](const LogSample& s) { return s.TimeS >= 12 - 1e-9 && s.TimeS <= 31.5 + 1e-9; });
    // Another log, or the replay gone: the buttons say nothing any more.
    window.SetReplayPosition(std::nullopt);
    EXPECT_FALSE(Filter().ToReplayButton()->isEnabled());
}

TEST_F(AnalysisWindowTest, MarkersAreOfferedByNumberAndTime) {
    ASSERT_EQ(Filter().FirstMarkBox()->count(), 2);
    EXPECT_EQ(Filter().FirstMarkBox()->itemText(0), "MARK 001 (10.0 s)");
    EXPECT_EQ(Filter().SecondMarkBox()->currentText(), "MARK 002 (20.0 s)");
    // A log with one marker has no stretch between two.
    RideLogReadResult one = ride.log;
    one.marks = {50};
    window.SetLog(Shared(one), "/logs/one.msl");
    EXPECT_FALSE(Filter().BetweenMarksButton()->isEnabled());
    EXPECT_FALSE(Filter().TimeBox()->isChecked()) << "a new log starts without a time range";
}

TEST_F(AnalysisWindowTest, TheChannelChooserOffersWhatTheLogHoldsLambdaFirst) {
    EXPECT_EQ(window.ChannelBox()->currentText(), "Lambda [mV]");
    QStringList items;
    for (int i = 0; i < window.ChannelBox()->count(); ++i)
        items << window.ChannelBox()->itemText(i);
    EXPECT_FALSE(items.contains("Time [s]"));
    EXPECT_FALSE(items.contains("Map RPM column [cell]"));
    // A foreign log without lambda: the first channel it has.
    RideLogReadResult foreign = ride.log;
    foreign.channels &= ~(1u << kChannelLambda);
    window.SetLog(Shared(foreign), "/logs/foreign.csv");
    EXPECT_EQ(window.ChannelBox()->findText("Lambda [mV]"), -1);
    EXPECT_NE(window.ChannelBox()->currentText(), "");
    // The advance per cell is what the unit used: the tune's map value for every row.
    window.SetLog(Shared(ride.log), "/logs/ride.msl");
    window.ChannelBox()->setCurrentIndex(window.ChannelBox()->findText("Advance [deg]"));
    window.QuantityBox()->setCurrentIndex(static_cast<int>(CellQuantity::Max));
    const auto* model = window.Grid()->model();
    const SyntheticRow& first = ride.rows.front();
    EXPECT_EQ(model->data(model->index(first.tpsRow, first.rpmColumn)).toString(),
              QString::number(10 + first.rpmColumn));
}

TEST_F(AnalysisWindowTest, ScatterThinsALongRideEvenlyAndBandsByColour) {
    const SyntheticRide longRide(20000);
    window.SetLog(Shared(longRide.log), "/logs/long.msl");
    window.Tabs()->setCurrentIndex(kScatterTab);
    const std::size_t shown = window.Scatter()->PointCount();
    EXPECT_LE(shown, AnalysisWindow::kMaxScatterPoints);
    EXPECT_GE(shown, AnalysisWindow::kMaxScatterPoints * 9 / 10);
    // TPS colours: the throttle points fall into the bands of their values.
    int bandsUsed = 0;
    for (const QScatterSeries* band : window.Scatter()->Bands()) bandsUsed += band->count() > 0;
    EXPECT_GE(bandsUsed, 4);
    EXPECT_EQ(window.XBox()->currentText(), "RPM [rpm]");
    EXPECT_EQ(window.YBox()->currentText(), "Lambda [mV]");
}

TEST_F(AnalysisWindowTest, AViewIsComputedOnlyOnceItIsShown) {
    // The window opens on the grid; the plot of a long log waits until it is looked at.
    EXPECT_EQ(window.Scatter()->PointCount(), 0u);
    EXPECT_TRUE(window.SummaryView()->toPlainText().isEmpty());
    window.Tabs()->setCurrentIndex(kSummaryTab);
    EXPECT_FALSE(window.SummaryView()->toPlainText().isEmpty());
    EXPECT_EQ(window.Scatter()->PointCount(), 0u);
}

TEST_F(AnalysisWindowTest, TwoLogsDifferWhereBothHaveEnoughSamples) {
    const SyntheticRide after(500, 11, 40);
    window.SetSecondLog(Shared(after.log), "/logs/after.msl");
    window.Tabs()->setCurrentIndex(kCompareTab);
    const auto before = ride.Expected();
    const auto later = after.Expected();
    const auto* model = window.DifferenceGrid()->model();
    int compared = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const std::size_t i = static_cast<std::size_t>(row * kMapColumns + column);
            const bool both = before[i].samples >= 3 && later[i].samples >= 3;
            compared += both;
            const QVariant v = model->data(model->index(row, column), CellGridModel::kValueRole);
            ASSERT_EQ(v.isValid(), both) << row << "/" << column;
            if (both) {
                EXPECT_NEAR(v.toDouble(), later[i].Mean() - before[i].Mean(), 1e-9);
            }
        }
    }
    EXPECT_GT(compared, 3);
    EXPECT_TRUE(
        window.CompareLabel()->text().startsWith(QString("Cells compared: %1").arg(compared)));
    // A time range belongs to the first ride's clock; the second keeps all its rows.
    Filter().FromBox()->setValue(0);
    Filter().ToBox()->setValue(1);
    const auto* afterModel = window.AfterGrid()->model();
    int afterCells = 0, visited = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            afterCells += afterModel->data(afterModel->index(row, column)).toString().size() > 0;
            visited += later[static_cast<std::size_t>(row * kMapColumns + column)].samples > 0;
        }
    }
    EXPECT_EQ(afterCells, visited);
    EXPECT_TRUE(window.CompareLabel()->text().contains("first log only"));
}

TEST_F(AnalysisWindowTest, TheTitleAndLogLineNameTheFile) {
    EXPECT_EQ(window.windowTitle(), "Ride analysis – ride.msl");
    window.SetLanguage(2);
    EXPECT_EQ(window.windowTitle(), "Fahrtanalyse – ride.msl");
    EXPECT_EQ(window.Tabs()->tabText(kCellsTab), "Kennfeldzellen");
    // A refused log is not shown: the window says none is open.
    RideLogReadResult refused;
    refused.refusal = LogRefusal::NoRows;
    window.SetLog(Shared(refused), "/logs/empty.msl");
    EXPECT_EQ(window.windowTitle(), "Fahrtanalyse");
    EXPECT_EQ(window.Log(), nullptr);
}

TEST_F(AnalysisWindowTest, TheMarkerBoxesShowTheirWholeText) {
    window.resize(1200, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    for (const QComboBox* mark : {Filter().FirstMarkBox(), Filter().SecondMarkBox()}) {
        ASSERT_FALSE(mark->currentText().isEmpty());
        EXPECT_GE(mark->width(), mark->sizeHint().width()) << mark->currentText().toStdString();
    }
}

struct GridHeightCase {
    const char* name;
    bool throttleAxis;
    int rows;
};
void PrintTo(const GridHeightCase& c, std::ostream* os) {
    *os << c.name;
}

class GridHeight : public AnalysisWindowTest,
                   public ::testing::WithParamInterface<GridHeightCase> {};

TEST_P(GridHeight, TheGridEndsUnderItsLastRow) {
    DeviceImage tune = SyntheticRide::Tune();
    tune[field::TpsMapa] = GetParam().throttleAxis ? 1 : 0;
    window.SetTune(tune);
    window.resize(1200, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    // No empty strip below the rows, none of them cut off; the two logs' grids as well.
    const auto expectFitted = [](const CellGrid& grid, int rows, const char* which) {
        ASSERT_EQ(grid.model()->rowCount(), rows) << which;
        EXPECT_EQ(grid.height(), grid.horizontalHeader()->height() +
                                     grid.verticalHeader()->length() + 2 * grid.frameWidth())
            << which;
    };
    expectFitted(*window.Grid(), GetParam().rows, "cells");
    window.SetSecondLog(Shared(ride.log), "/logs/again.msl");
    window.Tabs()->setCurrentIndex(kCompareTab);
    QApplication::processEvents();
    expectFitted(*window.BeforeGrid(), GetParam().rows, "before");
    expectFitted(*window.AfterGrid(), GetParam().rows, "after");
    expectFitted(*window.DifferenceGrid(), GetParam().rows, "difference");
}

INSTANTIATE_TEST_SUITE_P(Axes, GridHeight,
                         ::testing::Values(GridHeightCase{"throttle", true, kMapRows},
                                           GridHeightCase{"rpmOnly", false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvan::testing
