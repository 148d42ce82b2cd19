// How the curve window reads: ten curves told apart, every legend name whole, round ticks on
// axes that span the breakpoints in use.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QValueAxis>
#include <cmath>
#include <set>

#include "params/defaults.h"
#include "ui/ridelog/curve_view.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

DeviceImage Tune() {
    DeviceImage image = DefaultImage();
    image[field::TpsMapa] = 1;
    // Breakpoints from 1500 to 12000 rpm, unevenly.
    const std::uint8_t rpm[] = {15, 22, 30, 38, 45, 55, 70, 85, 100, 120};
    for (int k = 0; k < kAxisPoints; ++k)
        image[field::RpmAdv + static_cast<std::size_t>(k)] = rpm[k];
    return image;
}

// Every text the items below `root` show.
void Texts(const QGraphicsItem* root, QStringList& out) {
    for (const QGraphicsItem* child : root->childItems()) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(child))
            out << text->toPlainText();
        Texts(child, out);
    }
}

QChart* AdvanceChart(const CurveView& view) {
    for (QChartView* v : view.findChildren<QChartView*>()) {
        if (v->chart()->series().size() > 2) return v->chart();
    }
    return nullptr;
}

TEST(CurveLook, TenCurvesHaveTenColoursAndNoneIsDashedLikeTheCompare) {
    CurveView view(kEnglish);
    view.SetImage(Tune());
    DeviceImage other = Tune();
    view.SetCompare(other, "old.ign");
    ASSERT_EQ(view.CurveCount(), kMapRows);
    std::vector<QColor> colours;
    for (int c = 0; c < view.CurveCount(); ++c) {
        const QPen pen = view.CurveLine(c);
        EXPECT_NE(pen.style(), Qt::DashLine) << c;
        EXPECT_NE(pen.style(), Qt::NoPen) << c;
        colours.push_back(pen.color());
    }
    // Each pair differs clearly (0 % and 30 % were both green).
    for (std::size_t a = 0; a < colours.size(); ++a) {
        for (std::size_t b = a + 1; b < colours.size(); ++b) {
            const double distance = std::hypot(std::hypot(colours[a].red() - colours[b].red(),
                                                          colours[a].green() - colours[b].green()),
                                               colours[a].blue() - colours[b].blue());
            EXPECT_GT(distance, 60.0) << a << " and " << b;
        }
    }
    // Neighbouring rows also differ in their line.
    for (int c = 1; c < view.CurveCount(); ++c)
        EXPECT_NE(view.CurveLine(c).style(), view.CurveLine(c - 1).style()) << c;
    for (int c = 0; c < view.CompareCurveCount(); ++c)
        EXPECT_EQ(view.CompareCurveStyle(c), Qt::DashLine);
}

TEST(CurveLook, TheSingleCurveWithoutThrottleAxisIsSolid) {
    CurveView view(kEnglish);
    DeviceImage tune = Tune();
    tune[field::TpsMapa] = 0;
    view.SetImage(tune);
    ASSERT_EQ(view.CurveCount(), 1);
    EXPECT_EQ(view.CurveLine(0).style(), Qt::SolidLine);
}

// The legend stands beside the plot, so even at the window's smallest size every name is shown
// whole (they were cut to "Thr...").
TEST(CurveLook, LegendShowsEveryNameWholeAtTheSmallestSize) {
    for (const QSize size : {QSize(1, 1), QSize(800, 640)}) {
        CurveView view(kEnglish);
        view.SetImage(Tune());
        view.resize(size.expandedTo(view.minimumSize()));
        view.show();
        QApplication::processEvents();
        QChart* chart = AdvanceChart(view);
        ASSERT_NE(chart, nullptr);
        QStringList shown;
        Texts(chart->legend(), shown);
        for (int c = 0; c < view.CurveCount(); ++c)
            EXPECT_TRUE(shown.contains(view.CurveName(c)))
                << view.CurveName(c).toStdString() << " in " << shown.join(" | ").toStdString();
        for (const QString& text : shown)
            EXPECT_FALSE(text.endsWith("...") || text.endsWith(QChar(0x2026)))
                << text.toStdString();
    }
}

TEST(CurveLook, AxesSpanTheBreakpointsWithTicksAtRoundValues) {
    CurveView view(kEnglish);
    const DeviceImage tune = Tune();
    view.SetImage(tune);
    view.resize(800, 640);
    view.show();
    QApplication::processEvents();
    int charts = 0;
    for (QChartView* v : view.findChildren<QChartView*>()) {
        ++charts;
        const bool servo = v->chart() != AdvanceChart(view);
        const std::size_t axisField = servo ? field::RpmPriv : field::RpmAdv;
        const double first = tune[axisField] * 100.0;
        const double last = tune[axisField + kAxisPoints - 1] * 100.0;
        for (QAbstractAxis* a : v->chart()->axes()) {
            auto* axis = qobject_cast<QValueAxis*>(a);
            ASSERT_NE(axis, nullptr);
            EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
            EXPECT_EQ(axis->tickAnchor(), 0.0);
            const double interval = axis->tickInterval();
            const double mantissa = interval / std::pow(10.0, std::floor(std::log10(interval)));
            EXPECT_TRUE(mantissa == 1.0 || mantissa == 2.0 || mantissa == 5.0) << interval;
            if (axis->orientation() == Qt::Horizontal) {
                // From about the first breakpoint to about the last, not from 0 rpm.
                EXPECT_GT(axis->min(), first - 0.1 * (last - first)) << servo;
                EXPECT_LT(axis->min(), first);
                EXPECT_GT(axis->max(), last);
                EXPECT_LT(axis->max(), last + 0.1 * (last - first));
            } else {
                EXPECT_EQ(axis->min(), 0.0);
            }
        }
        // Every number written on the chart is a whole multiple of ten.
        QStringList texts;
        for (const QGraphicsItem* item : v->scene()->items()) {
            if (const auto* t = dynamic_cast<const QGraphicsTextItem*>(item))
                texts << t->toPlainText();
        }
        int numbers = 0;
        for (const QString& text : texts) {
            bool isNumber = false;
            const double value = text.toDouble(&isNumber);
            if (!isNumber) continue;
            ++numbers;
            EXPECT_EQ(std::fmod(value, 10.0), 0.0) << text.toStdString();
        }
        EXPECT_GE(numbers, 6) << texts.join(" | ").toStdString();
    }
    EXPECT_EQ(charts, 2);
}

}  // namespace
}  // namespace korvan
