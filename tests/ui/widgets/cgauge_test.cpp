#include "ui/widgets/cgauge.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <climits>

namespace korvan {
namespace {

TEST(TCGaugeTest, Defaults) {
    TCGauge gauge;
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_EQ(gauge.ForeColor(), QColor(Qt::black));
    EXPECT_EQ(gauge.BackColor(), QColor(Qt::white));
    EXPECT_TRUE(gauge.ShowText());
    EXPECT_EQ(gauge.focusPolicy(), Qt::NoFocus);
}

TEST(TCGaugeTest, ProgressIsClampedAndPercentFloors) {
    struct Case {
        int min, max, set, progress, percent;
    };
    const Case cases[] = {
        {0, 100, 250, 100, 100},
        {0, 100, -5, 0, 0},
        {0, 5, 3, 3, 60},
        {0, 5, 5, 5, 100},
        {0, 3, 1, 1, 33},
        {0, 3, 2, 2, 66},  // 66.7 floors, never rounds up
        {10, 20, 15, 15, 50},
        {-100, 100, 0, 0, 50},
        {-100, 100, -101, -100, 0},
        {7, 7, 9, 7, 0},               // empty range: no division by zero
        {INT_MIN, INT_MAX, 0, 0, 50},  // the range overflows 32 bits
        {INT_MIN, INT_MAX, INT_MAX, INT_MAX, 100},
    };
    for (const Case& c : cases) {
        TCGauge gauge;
        gauge.SetMaxValue(c.max);
        gauge.SetMinValue(c.min);
        gauge.SetProgress(c.set);
        EXPECT_EQ(gauge.Progress(), c.progress) << c.min << ".." << c.max << " set " << c.set;
        EXPECT_EQ(gauge.PercentDone(), c.percent) << c.min << ".." << c.max << " set " << c.set;
    }
}

TEST(TCGaugeTest, ChangingLimitsKeepsProgressAndLimitsInOrder) {
    TCGauge gauge;
    gauge.SetProgress(80);
    gauge.SetMaxValue(50);
    EXPECT_EQ(gauge.Progress(), 50);
    gauge.SetMinValue(60);  // above the maximum
    EXPECT_EQ(gauge.MaxValue(), 60);
    EXPECT_EQ(gauge.Progress(), 60);
    gauge.SetMaxValue(20);  // below the minimum
    EXPECT_EQ(gauge.MinValue(), 20);
    EXPECT_EQ(gauge.Progress(), 20);
}

void FlushPaints() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TEST(TCGaugeTest, RepaintsOnlyWhenThePercentageChanges) {
    TCGauge gauge;
    gauge.resize(270, 21);
    gauge.SetMaxValue(1000);
    gauge.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    FlushPaints();
    ASSERT_GT(gauge.PaintCount(), 0);

    struct Step {
        int progress;
        bool repaints;
    };
    const Step steps[] = {
        {5, false},                   // still 0 %
        {9, false},                   // still 0 %
        {10, true},                   // 1 %
        {10, false},                  // the same reading again
        {19, false},                  // still 1 %
        {500, true},   {2000, true},  // clamped to 100 %
        {5000, false},                // clamped again, still 100 %
        {-3, true},
    };
    for (const Step& step : steps) {
        const int before = gauge.PaintCount();
        gauge.SetProgress(step.progress);
        FlushPaints();
        EXPECT_EQ(gauge.PaintCount() - before, step.repaints ? 1 : 0)
            << "progress " << step.progress;
    }
}

int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    return count;
}

TEST(TCGaugeTest, FrameAndFilledWidthRoundDown) {
    struct Case {
        int width, max, progress, filled;
    };
    const Case cases[] = {
        {100, 5, 3, 58},  // 60 % of the 98-pixel bar is 58.8 pixels
        {100, 100, 100, 98}, {100, 100, 0, 0}, {100, 100, 1, 0},  // 0.98 pixels
        {12, 3, 1, 3},                                            // 33 % of 10
    };
    for (const Case& c : cases) {
        TCGauge gauge;
        gauge.resize(c.width, 21);
        gauge.SetMaxValue(c.max);
        gauge.SetProgress(c.progress);
        gauge.SetShowText(false);
        gauge.SetForeColor(QColor(0xFF, 0x00, 0xFF));
        const QImage image = gauge.RenderImage();
        ASSERT_EQ(image.size(), QSize(c.width, 21));

        const QRgb black = qRgb(0, 0, 0);
        const QRect outer = image.rect();
        EXPECT_EQ(CountPixels(image, QRect(0, 0, c.width, 1), black), c.width);
        EXPECT_EQ(CountPixels(image, QRect(0, 20, c.width, 1), black), c.width);
        EXPECT_EQ(CountPixels(image, QRect(0, 0, 1, 21), black), 21);
        EXPECT_EQ(CountPixels(image, QRect(outer.right(), 0, 1, 21), black), 21);

        const QRect bar = outer.adjusted(1, 1, -1, -1);
        EXPECT_EQ(CountPixels(image, bar, qRgb(0xFF, 0, 0xFF)), c.filled * bar.height())
            << "width " << c.width << " progress " << c.progress << "/" << c.max;
        EXPECT_EQ(CountPixels(image, bar, qRgb(0xFF, 0xFF, 0xFF)),
                  (bar.width() - c.filled) * bar.height());
        if (c.filled > 0) {
            EXPECT_EQ(image.pixel(c.filled, 10) & 0xFFFFFF, 0xFF00FFu);  // last filled column
        }
    }
}

TEST(TCGaugeTest, TextIsInvertedOverBothParts) {
    TCGauge gauge;
    gauge.resize(297, 21);
    gauge.SetForeColor(QColor(0x00, 0xFF, 0xFF));
    gauge.SetProgress(50);  // the edge of the fill runs through the middle of "50%"
    const QImage image = gauge.RenderImage();
    const QRect bar = image.rect().adjusted(1, 1, -1, -1);
    const int edge = bar.left() + bar.width() / 2;  // first empty column

    // Aqua XOR white is red; white XOR white is black.
    const QRect filled(bar.left(), bar.top(), edge - bar.left(), bar.height());
    const QRect empty(edge, bar.top(), bar.right() - edge + 1, bar.height());
    const int on_fill = CountPixels(image, filled, qRgb(0xFF, 0, 0));
    const int on_empty = CountPixels(image, empty, qRgb(0, 0, 0));
    EXPECT_GT(on_fill, 5);
    EXPECT_GT(on_empty, 5);
    // Nothing but the four colours: no smoothed text edges mixing into other shades.
    EXPECT_EQ(CountPixels(image, filled, qRgb(0, 0xFF, 0xFF)) + on_fill,
              filled.width() * bar.height());
    EXPECT_EQ(CountPixels(image, empty, qRgb(0xFF, 0xFF, 0xFF)) + on_empty,
              empty.width() * bar.height());

    // The text sits in the middle of the bar.
    int left = INT_MAX, right = INT_MIN;
    for (int y = bar.top(); y <= bar.bottom(); ++y)
        for (int x = bar.left(); x <= bar.right(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p == 0xFF0000u || (p == 0u && x >= edge)) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
        }
    EXPECT_NEAR((left + right) / 2.0, bar.center().x(), 4.0);

    gauge.SetShowText(false);
    const QImage plain = gauge.RenderImage();
    EXPECT_EQ(CountPixels(plain, bar, qRgb(0xFF, 0, 0)) + CountPixels(plain, empty, qRgb(0, 0, 0)),
              0);
}

TEST(TCGaugeTest, PaintedWidgetShowsTheRenderedImage) {
    TCGauge gauge;
    gauge.resize(100, 21);
    gauge.SetMaxValue(5);
    gauge.SetProgress(3);
    gauge.SetForeColor(QColor(0x00, 0xFF, 0xFF));
    EXPECT_EQ(gauge.grab().toImage().convertToFormat(QImage::Format_RGB32), gauge.RenderImage());
}

}  // namespace
}  // namespace korvan
