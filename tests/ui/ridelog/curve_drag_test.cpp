#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <ostream>

#include "params/defaults.h"
#include "ui/ridelog/curve_points.h"
#include "ui/ridelog/curve_view.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

DeviceImage Tune(bool tpsAxis = true) {
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = tpsAxis ? 1 : 0;
    return image;
}

// The charts place their plot areas once the view is shown and its layout has run.
void Show(CurveView& view) {
    view.resize(800, 700);
    view.show();
    QApplication::processEvents();
}

// Every value the curves show, advance rows first, then the servo voltages.
std::vector<double> AllValues(const CurveView& view) {
    std::vector<double> values;
    for (int c = 0; c < view.CurveCount(); ++c) {
        for (const QPointF& p : view.CurvePoints(c)) values.push_back(p.y());
    }
    for (const QPointF& p : view.ServoPoints()) values.push_back(p.y());
    return values;
}

// To the chart under `pressedAt`, as the mouse grab sends everything between press and release.
void Send(CurveView& view, QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
          QPointF pressedAt) {
    QWidget* target = view.childAt(pressedAt.toPoint());
    ASSERT_NE(target, nullptr);
    const QPointF local = target->mapFrom(&view, at);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A press on the point, a wander past the goal and back, a release at the goal.
void DragTo(CurveView& view, QPointF from, QPointF to) {
    Send(view, QEvent::MouseButtonPress, from, Qt::LeftButton, from);
    Send(view, QEvent::MouseMove, from + (to - from) * 1.5 + QPointF(0, 1), Qt::LeftButton, from);
    Send(view, QEvent::MouseMove, to, Qt::LeftButton, from);
    Send(view, QEvent::MouseButtonRelease, to, Qt::NoButton, from);
}

struct DragCase {
    const char* name;
    std::size_t index;
    double shownDelta;  // where the pointer goes, in degrees or mV from the value
    int expectedRaw;    // the byte afterwards
};

void PrintTo(const DragCase& c, std::ostream* os) {
    *os << c.name;
}

class CurveDrag : public ::testing::TestWithParam<DragCase> {};

// The drag reports the one byte it changed, once, snapped and within the limits, and nothing
// else on the curves moves.
TEST_P(CurveDrag, DragChangesExactlyOneValueByTheDraggedAmount) {
    const DragCase& c = GetParam();
    CurveView view(kEnglish);
    const DeviceImage tune = Tune();
    view.SetImage(tune);
    Show(view);
    QSignalSpy edited(&view, &CurveView::PointEdited);
    const std::vector<double> before = AllValues(view);

    const PointScale scale = *ScaleOf(c.index);
    const double shown = scale.Shown(tune[c.index]);
    DragTo(view, *view.PointPosition(c.index), *view.PositionOf(c.index, shown + c.shownDelta));

    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(0).toInt(), static_cast<int>(c.index));
    EXPECT_EQ(edited.at(0).at(1).toInt(), c.expectedRaw);
    EXPECT_EQ(view.SelectedPoint(), c.index);
    const std::vector<double> after = AllValues(view);
    int changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) {
            ++changed;
            EXPECT_EQ(after[i], scale.Shown(static_cast<std::uint8_t>(c.expectedRaw)));
        }
    }
    EXPECT_EQ(changed, 1);
}

// Row 3 (10 %) column 3 holds 39 degrees, row 3 column 1 19, and no other row the same
// there; servo point 3 holds 115 (2300 mV).
INSTANTIATE_TEST_SUITE_P(
    Points, CurveDrag,
    ::testing::Values(DragCase{"AdvanceUpFive", AdvanceIndex(3, 3), 5.0, 44},
                      DragCase{"AdvanceDownSeven", AdvanceIndex(3, 3), -7.0, 32},
                      DragCase{"AdvanceSnapsDown", AdvanceIndex(3, 3), 2.3, 41},
                      DragCase{"AdvanceSnapsUp", AdvanceIndex(3, 3), -2.7, 36},
                      DragCase{"AdvanceStopsAtSixty", AdvanceIndex(3, 3), 40.0, 60},
                      DragCase{"AdvanceStopsAtZero", AdvanceIndex(3, 1), -30.0, 0},
                      DragCase{"ServoUp200mV", field::NapPriv + 3, 200.0, 125},
                      DragCase{"ServoSnapsTo20mV", field::NapPriv + 3, -47.0, 113},
                      DragCase{"ServoStopsAt5000mV", field::NapPriv + 9, 4000.0, 250},
                      DragCase{"ServoStopsAt20mV", field::NapPriv + 0, -3000.0, 1}));

// Every row holds 4 degrees at the first breakpoint: the drag takes the chosen row's point,
// or without a choice the one drawn on top (the last row).
TEST(CurveView, OfPointsOnOnePlaceTheChosenOneIsDragged) {
    CurveView view(kEnglish);
    view.SetImage(Tune());
    Show(view);
    QSignalSpy edited(&view, &CurveView::PointEdited);
    const QPointF shared = *view.PointPosition(AdvanceIndex(0, 0));
    const QPointF up = *view.PositionOf(AdvanceIndex(0, 0), 10.0);
    DragTo(view, shared, up);
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.last().at(0).toInt(), static_cast<int>(AdvanceIndex(9, 0)));

    view.SetImage(Tune());
    view.SelectPoint(AdvanceIndex(4, 0));
    DragTo(view, shared, up);
    ASSERT_EQ(edited.count(), 2);
    EXPECT_EQ(edited.last().at(0).toInt(), static_cast<int>(AdvanceIndex(4, 0)));
    EXPECT_EQ(edited.last().at(1).toInt(), 10);

    // The legend's entry of a row chooses it, in the column chosen before.
    view.SetImage(Tune());
    QChart* chart = view.findChild<QChartView*>()->chart();
    const QList<QLegendMarker*> markers = chart->legend()->markers();
    const auto row6 = std::find_if(markers.begin(), markers.end(),
                                   [](QLegendMarker* m) { return m->label() == "Throttle 40 %"; });
    ASSERT_NE(row6, markers.end());
    emit(*row6)->clicked();
    EXPECT_EQ(view.SelectedPoint(), AdvanceIndex(6, 0));
    DragTo(view, shared, up);
    ASSERT_EQ(edited.count(), 3);
    EXPECT_EQ(edited.last().at(0).toInt(), static_cast<int>(AdvanceIndex(6, 0)));
}

TEST(CurveView, PressWithoutMovingOrBesideThePointsChangesNothing) {
    CurveView view(kEnglish);
    view.SetImage(Tune());
    Show(view);
    QSignalSpy edited(&view, &CurveView::PointEdited);
    const QPointF point = *view.PointPosition(AdvanceIndex(3, 3));
    DragTo(view, point, point);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(view.SelectedPoint(), AdvanceIndex(3, 3));  // the press chose it

    // Away from every point the press does not start a drag.
    const QPointF empty = *view.PositionOf(AdvanceIndex(3, 3), 58.0) + QPointF(20, 0);
    DragTo(view, empty, empty + QPointF(0, 60));
    EXPECT_EQ(edited.count(), 0);

    // A new image under a drag ends it without a change.
    const QPointF up = point + QPointF(0, -40);
    Send(view, QEvent::MouseButtonPress, point, Qt::LeftButton, point);
    Send(view, QEvent::MouseMove, up, Qt::LeftButton, point);
    view.SetImage(Tune());
    Send(view, QEvent::MouseButtonRelease, up, Qt::NoButton, point);
    EXPECT_EQ(edited.count(), 0);
    // Escape puts a dragged point back.
    Send(view, QEvent::MouseButtonPress, point, Qt::LeftButton, point);
    Send(view, QEvent::MouseMove, up, Qt::LeftButton, point);
    EXPECT_NE(view.CurvePoints(3)[3].y(), Tune()[AdvanceIndex(3, 3)]);
    QTest::keyClick(&view, Qt::Key_Escape);
    Send(view, QEvent::MouseButtonRelease, up, Qt::NoButton, point);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(view.CurvePoints(3)[3].y(), Tune()[AdvanceIndex(3, 3)]);
}

TEST(CurveView, ArrowKeysChooseAPointAndPlusMinusPageKeysChangeIt) {
    CurveView view(kEnglish);
    Show(view);
    DeviceImage tune = Tune();
    tune[AdvanceIndex(0, 1)] = 50;
    view.SetImage(tune);
    MapCursor cursor;
    cursor.RpmIndex = 1;
    cursor.TpsIndex = 0;
    view.SetCursor(cursor);
    QSignalSpy edited(&view, &CurveView::PointEdited);

    struct Step {
        Qt::Key key;
        std::size_t selected;
        int value;  // the byte the key reported; -1 for none
    } steps[] = {
        {Qt::Key_Right, AdvanceIndex(0, 1), -1},  // the first key chooses the cell in use
        {Qt::Key_Plus, AdvanceIndex(0, 1), 51},     {Qt::Key_PageUp, AdvanceIndex(0, 1), 56},
        {Qt::Key_PageUp, AdvanceIndex(0, 1), 60},  // stopped at the limit
        {Qt::Key_Plus, AdvanceIndex(0, 1), -1},    // at the limit: nothing
        {Qt::Key_Down, AdvanceIndex(1, 1), -1},     {Qt::Key_Minus, AdvanceIndex(1, 1), 15},
        {Qt::Key_PageDown, AdvanceIndex(1, 1), 10}, {Qt::Key_Left, AdvanceIndex(1, 0), -1},
        {Qt::Key_Left, AdvanceIndex(1, 0), -1},  // the first point stays chosen
        {Qt::Key_Up, AdvanceIndex(0, 0), -1},       {Qt::Key_Up, AdvanceIndex(0, 0), -1},
    };
    int expectedSignals = 0;
    for (const Step& s : steps) {
        QTest::keyClick(&view, s.key);
        EXPECT_EQ(view.SelectedPoint(), s.selected) << s.key;
        if (s.value >= 0) {
            ++expectedSignals;
            ASSERT_EQ(edited.count(), expectedSignals) << s.key;
            EXPECT_EQ(edited.last().at(0).toInt(), static_cast<int>(s.selected));
            EXPECT_EQ(edited.last().at(1).toInt(), s.value);
        }
        EXPECT_EQ(edited.count(), expectedSignals) << s.key;
    }
    // Below the last advance row comes the servo curve: +/- move it by 20 mV.
    for (int i = 0; i < kMapRows; ++i) QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.SelectedPoint(), field::NapPriv + 0);
    QTest::keyClick(&view, Qt::Key_Plus);
    EXPECT_EQ(edited.last().at(1).toInt(), tune[field::NapPriv] + 1);
    EXPECT_EQ(view.ServoPoints()[0].y(), (tune[field::NapPriv] + 1) * 20.0);
}

TEST(CurveView, CompareTuneIsDashedBesideEachCurve) {
    CurveView view(kEnglish);
    for (bool tpsAxis : {true, false}) {
        const DeviceImage tune = Tune(tpsAxis);
        DeviceImage other = tune;
        other[AdvanceIndex(9, 2)] = 21;
        other[field::NapPriv + 4] = 150;
        view.SetImage(tune);
        view.SetCompare(other, "old.ign");
        const int rows = tpsAxis ? kMapRows : 1;
        ASSERT_EQ(view.CompareCurveCount(), rows + 1) << tpsAxis;
        for (int c = 0; c < view.CompareCurveCount(); ++c)
            EXPECT_EQ(view.CompareCurveStyle(c), Qt::DashLine);
        EXPECT_EQ(view.CompareCurvePoints(rows - 1)[2].y(), 21);  // the 100 % row
        EXPECT_EQ(view.CompareCurvePoints(rows)[4], QPointF(6000, 3000));
        // Only this tune's points can be dragged.
        EXPECT_EQ(view.PointPosition(AdvanceIndex(0, 0)).has_value(), tpsAxis);
    }
    view.SetCompare(std::nullopt);
    EXPECT_EQ(view.CompareCurveCount(), 0);
}

TEST(CurveView, DarkPaletteGivesDarkChartsWithTheirCurvesKept) {
    CurveView view(kEnglish);
    DeviceImage other = Tune();
    other[AdvanceIndex(0, 0)] = 9;
    view.SetImage(Tune());
    view.SetCompare(other, "old.ign");
    QPalette dark = view.palette();
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
    view.setPalette(dark);
    for (QChartView* chart : view.findChildren<QChartView*>()) {
        EXPECT_LT(chart->chart()->backgroundBrush().color().lightness(), 128);
        EXPECT_GT(chart->chart()->titleBrush().color().lightness(), 128);
    }
    ASSERT_EQ(view.CompareCurveCount(), kMapRows + 1);
    EXPECT_EQ(view.CompareCurveStyle(0), Qt::DashLine);
    EXPECT_EQ(view.CompareCurvePoints(0)[0].y(), 9);
}

TEST(CurvePoints, SnapsToTheResolutionWithinTheFieldLimits) {
    struct Case {
        std::size_t index;
        double shown;
        int raw;
    } cases[] = {
        {AdvanceIndex(0, 0), 12.4, 12}, {AdvanceIndex(0, 0), 12.6, 13},
        {AdvanceIndex(0, 0), -3.0, 0},  {AdvanceIndex(9, 9), 61.0, 60},
        {field::NapPriv, 2029.0, 101},  {field::NapPriv, 2031.0, 102},
        {field::NapPriv, 5.0, 1},       {field::NapPriv, 9000.0, 250},
    };
    for (const Case& c : cases) {
        const std::optional<PointScale> scale = ScaleOf(c.index);
        ASSERT_TRUE(scale.has_value());
        EXPECT_EQ(scale->Snap(c.shown), c.raw) << c.index << " " << c.shown;
    }
    EXPECT_FALSE(ScaleOf(field::TpsMapa).has_value());  // a flag, not a scaled value
}

}  // namespace
}  // namespace korvan
