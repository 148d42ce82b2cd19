#include "ui/ridelog/curve_view.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "ui/languages/qt_fill.h"
#include "ui/ridelog/ridelog_texts.h"

namespace korvan {

namespace {
constexpr int kRpmPerAxisUnit = 100;  // the RPM axis holds hundreds of rpm
constexpr double kMarkerSize = 14.0;
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 320;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

bool TpsAxisInUse(const DeviceImage& image) {
    return image[field::TpsMapa] != 0;
}
}  // namespace

CurveView::CurveView(std::uint8_t language, QWidget* parent)
    : QWidget(parent),
      language_(language),
      chart_(new QChart),
      view_(new QChartView(chart_, this)),
      rpmAxis_(new QValueAxis(chart_)),
      advanceAxis_(new QValueAxis(chart_)),
      marker_(new QScatterSeries(chart_)) {
    setObjectName("CurveView");
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    chart_->addAxis(rpmAxis_, Qt::AlignBottom);
    chart_->addAxis(advanceAxis_, Qt::AlignLeft);
    marker_->setMarkerSize(kMarkerSize);
    marker_->setColor(Qt::green);
    chart_->addSeries(marker_);
    marker_->attachAxis(rpmAxis_);
    marker_->attachAxis(advanceAxis_);
    SetLanguage(language);
}

void CurveView::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(Text(ridelogtext::kMapAsCurves, language));
    chart_->setTitle(Text(ridelogtext::kCurveTitle, language));
    rpmAxis_->setTitleText(Text(ridelogtext::kRpmAxis, language));
    advanceAxis_->setTitleText(Text(ridelogtext::kAdvanceAxis, language));
    marker_->setName(Text(ridelogtext::kCellInUse, language));
    Rebuild();
}

void CurveView::SetImage(const DeviceImage& image) {
    image_ = image;
    Rebuild();
}

void CurveView::SetCursor(const MapCursor& cursor) {
    cursor_ = cursor;
    haveCursor_ = true;
    PlaceMarker();
}

void CurveView::Rebuild() {
    for (QLineSeries* s : curves_) {
        chart_->removeSeries(s);
        delete s;
    }
    curves_.clear();
    const bool tpsAxis = TpsAxisInUse(image_);
    // Without the throttle axis the map is its last row alone.
    const int firstRow = tpsAxis ? 0 : kMapRows - 1;
    int maxAdvance = 0;
    for (int row = firstRow; row < kMapRows; ++row) {
        auto* series = new QLineSeries(chart_);
        series->setName(tpsAxis ? QFill(ridelogtext::kCurveRow, language_,
                                        kTpsAxisPercent[static_cast<std::size_t>(row)])
                                : Text(ridelogtext::kCurveNoThrottle, language_));
        for (int column = 0; column < kMapColumns; ++column) {
            const int advance = image_[AdvanceIndex(row, column)];
            maxAdvance = std::max(maxAdvance, advance);
            series->append(
                image_[field::RpmAdv + static_cast<std::size_t>(column)] * kRpmPerAxisUnit,
                advance);
        }
        chart_->addSeries(series);
        series->attachAxis(rpmAxis_);
        series->attachAxis(advanceAxis_);
        curves_.push_back(series);
    }
    const int lastRpm = image_[field::RpmAdv + kAxisPoints - 1] * kRpmPerAxisUnit;
    rpmAxis_->setRange(0, std::max(lastRpm, kRpmPerAxisUnit));
    advanceAxis_->setRange(0, std::max(maxAdvance, 1));
    PlaceMarker();
}

void CurveView::PlaceMarker() {
    marker_->clear();
    if (!haveCursor_ || cursor_.BelowRpmAxis) return;
    marker_->append(image_[field::RpmAdv + cursor_.RpmIndex] * kRpmPerAxisUnit,
                    image_[AdvanceIndex(cursor_.TpsIndex, cursor_.RpmIndex)]);
}

QPixmap CurveView::Picture() {
    return grab();
}

int CurveView::CurveCount() const {
    return static_cast<int>(curves_.size());
}

std::vector<QPointF> CurveView::CurvePoints(int curve) const {
    const QList<QPointF> points = curves_.at(static_cast<std::size_t>(curve))->points();
    return {points.begin(), points.end()};
}

QString CurveView::CurveName(int curve) const {
    return curves_.at(static_cast<std::size_t>(curve))->name();
}

std::optional<QPointF> CurveView::MarkedPoint() const {
    if (marker_->count() == 0) return std::nullopt;
    return marker_->at(0);
}

}  // namespace korvan
