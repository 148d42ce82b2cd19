#include "ui/analysis/scatter_view.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QLocale>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/analysis/cell_colours.h"

namespace korvan {

namespace {
constexpr double kPointSize = 6.0;
constexpr int kDarkLightness = 128;
// Room around the points, so none sits on the frame.
constexpr double kMargin = 0.03;

void Fit(QValueAxis* axis, double low, double high) {
    double span = high - low;
    if (span <= 0) span = std::max(1.0, std::fabs(high));
    axis->setRange(low - span * kMargin, high + span * kMargin);
    axis->applyNiceNumbers();
    // Whole numbers where the ticks are whole: "5000", not "5000.0".
    const double tick = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
    axis->setLabelFormat(tick >= 1 && std::fmod(tick, 1.0) == 0 ? QStringLiteral("%.0f")
                                                                : QStringLiteral("%.1f"));
}
}  // namespace

ScatterView::ScatterView(QWidget* parent)
    : QWidget(parent),
      chart_(new QChart),
      view_(new QChartView(chart_, this)),
      x_(new QValueAxis(chart_)),
      y_(new QValueAxis(chart_)) {
    setObjectName("ScatterView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    chart_->addAxis(x_, Qt::AlignBottom);
    chart_->addAxis(y_, Qt::AlignLeft);
    chart_->legend()->setAlignment(Qt::AlignRight);
    for (int band = 0; band < kColourBands; ++band) {
        auto* series = new QScatterSeries(chart_);
        series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        series->setMarkerSize(kPointSize);
        chart_->addSeries(series);
        series->attachAxis(x_);
        series->attachAxis(y_);
        bands_.push_back(series);
    }
    ApplyTheme();
}

void ScatterView::ApplyTheme() {
    // A dark palette gets the chart's dark theme, so axis texts stay legible.
    const bool dark = palette().color(QPalette::Window).lightness() < kDarkLightness;
    const QChart::ChartTheme theme = dark ? QChart::ChartThemeDark : QChart::ChartThemeLight;
    if (chart_->theme() != theme) chart_->setTheme(theme);
    // The theme paints every series in its own colours: the bands get theirs back.
    for (int band = 0; band < kColourBands; ++band) {
        const QColor colour = ValueColour(band / double(kColourBands - 1));
        bands_[static_cast<std::size_t>(band)]->setColor(colour);
        bands_[static_cast<std::size_t>(band)]->setBorderColor(colour.darker(130));
    }
}

void ScatterView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) ApplyTheme();
}

void ScatterView::Show(const ScatterData& data, const QString& xName, const QString& yName,
                       const QString& colourName) {
    std::vector<QList<QPointF>> points(static_cast<std::size_t>(kColourBands));
    const double span = data.colourMax - data.colourMin;
    for (const ScatterPoint& p : data.points) {
        int band = span > 0 ? static_cast<int>((p.colour - data.colourMin) / span * kColourBands)
                            : kColourBands / 2;
        band = std::clamp(band, 0, kColourBands - 1);
        points[static_cast<std::size_t>(band)].append(QPointF(p.x, p.y));
    }
    const QLocale locale;
    for (int band = 0; band < kColourBands; ++band) {
        QScatterSeries* series = bands_[static_cast<std::size_t>(band)];
        series->replace(points[static_cast<std::size_t>(band)]);
        const double from = data.colourMin + span * band / kColourBands;
        const double to = data.colourMin + span * (band + 1) / kColourBands;
        const int decimals = span >= 10 * kColourBands ? 0 : 1;
        series->setName(colourName + ' ' + locale.toString(from, 'f', decimals) + " – " +
                        locale.toString(to, 'f', decimals));
        // An empty band (a channel of few values) takes no room in the legend.
        series->setVisible(!points[static_cast<std::size_t>(band)].isEmpty());
    }
    if (span <= 0 && !data.points.empty())
        bands_[kColourBands / 2]->setName(colourName + ' ' + locale.toString(data.colourMin));
    x_->setTitleText(xName);
    y_->setTitleText(yName);
    Fit(x_, data.xMin, data.xMax);
    Fit(y_, data.yMin, data.yMax);
}

std::size_t ScatterView::PointCount() const {
    std::size_t n = 0;
    for (const QScatterSeries* s : bands_) n += static_cast<std::size_t>(s->count());
    return n;
}

}  // namespace korvan
