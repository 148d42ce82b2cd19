#include "ui/ridelog/curve_view.h"

#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "ui/languages/qt_fill.h"
#include "ui/ridelog/curve_axes.h"
#include "ui/ridelog/curve_texts.h"
#include "ui/ridelog/ridelog_texts.h"

namespace korvan {

namespace {
constexpr int kRpmPerAxisUnit = 100;  // the RPM axes hold hundreds of rpm
constexpr double kMarkerSize = 14.0;
constexpr double kSelectedSize = 20.0;
constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 520;
// The advance chart above, the servo chart below it and smaller.
constexpr int kAdvanceStretch = 3;
constexpr int kServoStretch = 2;
// A press this near a point takes it.
constexpr double kGrabRadius = 10.0;
// Points closer than this to each other are on the same place of the screen.
constexpr double kSamePlace = 0.5;
// PageUp and PageDown move by this many steps of the unit's resolution.
constexpr int kPageSteps = 5;
constexpr double kComparePenWidth = 1.5;
constexpr int kCompareAlpha = 190;
constexpr double kCurvePenWidth = 2.0;
constexpr int kDarkLightness = 128;
// A dark chart shows the same hues lighter, so they stand out from its background.
constexpr int kDarkLighter = 140;
// The RPM axes never span less than this, so two close points still have room between them.
constexpr double kMinimumRpmSpan = 1000.0;
constexpr int kRpmTicks = 8;
constexpr int kValueTicks = 6;

// One colour and line style for each curve (the single curve without the throttle axis takes
// the first), told apart on screen and on a black and white print. The compared tune's curves
// are dashed, a style no curve of this tune uses.
struct RowLook {
    QRgb colour;
    Qt::PenStyle style;
};
constexpr RowLook kRowLooks[kMapRows] = {
    {0x1f77b4, Qt::SolidLine},      {0xff7f0e, Qt::DashDotLine},    {0x2ca02c, Qt::DotLine},
    {0xd62728, Qt::DashDotDotLine}, {0x9467bd, Qt::SolidLine},      {0x8c564b, Qt::DashDotLine},
    {0xe377c2, Qt::DotLine},        {0x7f7f7f, Qt::DashDotDotLine}, {0xbcbd22, Qt::SolidLine},
    {0x17becf, Qt::DashDotLine},
};

void SetAxis(QValueAxis* axis, const AxisScale& scale) {
    axis->setRange(scale.low, scale.high);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(scale.tickInterval);
    axis->setMinorTickCount(0);
}

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

bool TpsAxisInUse(const DeviceImage& image) {
    return image[field::TpsMapa] != 0;
}

int FirstRow(const DeviceImage& image) {
    // Without the throttle axis the map is its last row alone.
    return TpsAxisInUse(image) ? 0 : kMapRows - 1;
}

double RpmOf(const DeviceImage& image, std::size_t axis, int point) {
    return image[axis + static_cast<std::size_t>(point)] * kRpmPerAxisUnit;
}

// The scale of a byte the curves show; every one of them has a field.
PointScale Scale(std::size_t index) {
    return ScaleOf(index).value_or(PointScale{1, 0, 255});
}

void HideFromLegend(QChart* chart, QAbstractSeries* series) {
    for (QLegendMarker* marker : chart->legend()->markers(series)) marker->setVisible(false);
}

std::vector<QPointF> Points(const QLineSeries* series) {
    const QList<QPointF> points = series->points();
    return {points.begin(), points.end()};
}

QScatterSeries* SelectionMarker(QChart* chart) {
    auto* marker = new QScatterSeries(chart);
    marker->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    marker->setMarkerSize(kSelectedSize);
    marker->setColor(Qt::transparent);
    return marker;
}

}  // namespace

CurveView::CurveView(std::uint8_t language, QWidget* parent)
    : QWidget(parent),
      language_(language),
      chart_(new QChart),
      view_(new QChartView(chart_, this)),
      rpmAxis_(new QValueAxis(chart_)),
      advanceAxis_(new QValueAxis(chart_)),
      marker_(new QScatterSeries(chart_)),
      servoChart_(new QChart),
      servoView_(new QChartView(servoChart_, this)),
      servoRpmAxis_(new QValueAxis(servoChart_)),
      servoAxis_(new QValueAxis(servoChart_)),
      servo_(new QLineSeries(servoChart_)),
      selectedMarker_(SelectionMarker(chart_)),
      servoSelectedMarker_(SelectionMarker(servoChart_)) {
    setObjectName("CurveView");
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, kAdvanceStretch);
    layout->addWidget(servoView_, kServoStretch);
    for (QChartView* v : {view_, servoView_}) {
        v->setRenderHint(QPainter::Antialiasing);
        // The keys belong to the whole view; a press in a chart gives it the focus.
        v->setFocusPolicy(Qt::NoFocus);
        v->viewport()->installEventFilter(this);
    }
    // Ten rows and the cell in use, one above the other beside the plot: every name whole,
    // each with a sample of its line.
    chart_->legend()->setAlignment(Qt::AlignRight);
    chart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    chart_->addAxis(rpmAxis_, Qt::AlignBottom);
    chart_->addAxis(advanceAxis_, Qt::AlignLeft);
    marker_->setMarkerSize(kMarkerSize);
    marker_->setColor(Qt::green);
    chart_->addSeries(marker_);
    marker_->attachAxis(rpmAxis_);
    marker_->attachAxis(advanceAxis_);

    // Whole rpm, degrees and millivolts: the unit holds no fractions.
    for (QValueAxis* axis : {rpmAxis_, advanceAxis_, servoRpmAxis_, servoAxis_})
        axis->setLabelFormat(QStringLiteral("%.0f"));
    servoChart_->addAxis(servoRpmAxis_, Qt::AlignBottom);
    servoChart_->addAxis(servoAxis_, Qt::AlignLeft);
    servoChart_->legend()->hide();
    servo_->setPointsVisible(true);
    servoChart_->addSeries(servo_);
    servo_->attachAxis(servoRpmAxis_);
    servo_->attachAxis(servoAxis_);
    for (auto [chart, marker, x, y] :
         {std::tuple{chart_, selectedMarker_, rpmAxis_, advanceAxis_},
          std::tuple{servoChart_, servoSelectedMarker_, servoRpmAxis_, servoAxis_}}) {
        chart->addSeries(marker);
        marker->attachAxis(x);
        marker->attachAxis(y);
        HideFromLegend(chart, marker);
    }
    ApplyTheme();
    SetLanguage(language);
}

void CurveView::ApplyTheme() {
    // The charts follow a dark palette with their dark theme, so text stays legible on them.
    const bool dark = palette().color(QPalette::Window).lightness() < kDarkLightness;
    const QChart::ChartTheme theme = dark ? QChart::ChartThemeDark : QChart::ChartThemeLight;
    for (QChart* chart : {chart_, servoChart_}) {
        if (chart->theme() != theme) chart->setTheme(theme);
    }
    // A theme repaints every series in its own colours: the marks get theirs back.
    marker_->setColor(Qt::green);
    for (QScatterSeries* selected : {selectedMarker_, servoSelectedMarker_}) {
        selected->setColor(Qt::transparent);
        selected->setBorderColor(palette().color(QPalette::Highlight));
    }
}

void CurveView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        ApplyTheme();
        Rebuild();  // the compare curves take the new colours of theirs
    }
}

void CurveView::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(Text(ridelogtext::kMapAsCurves, language));
    setWhatsThis(Text(curvetext::kDragHelp, language));
    setAccessibleDescription(Text(curvetext::kDragHelp, language));
    rpmAxis_->setTitleText(Text(ridelogtext::kRpmAxis, language));
    advanceAxis_->setTitleText(Text(ridelogtext::kAdvanceAxis, language));
    marker_->setName(Text(ridelogtext::kCellInUse, language));
    servoChart_->setTitle(Text(curvetext::kServoTitle, language));
    servoRpmAxis_->setTitleText(Text(ridelogtext::kRpmAxis, language));
    servoAxis_->setTitleText(Text(curvetext::kServoAxis, language));
    servo_->setName(Text(curvetext::kServoCurve, language));
    Rebuild();
}

void CurveView::SetImage(const DeviceImage& image) {
    image_ = image;
    drag_.reset();
    Rebuild();
}

void CurveView::SetCursor(const MapCursor& cursor) {
    cursor_ = cursor;
    haveCursor_ = true;
    PlaceMarker();
}

void CurveView::SetCompare(const std::optional<DeviceImage>& other, const QString& name) {
    compare_ = other;
    compareName_ = name;
    Rebuild();
}

void CurveView::Rebuild() {
    for (QLineSeries* s : curves_) {
        chart_->removeSeries(s);
        delete s;
    }
    curves_.clear();
    editable_.clear();
    const bool tpsAxis = TpsAxisInUse(image_);
    const int firstRow = FirstRow(image_);
    for (int row = firstRow; row < kMapRows; ++row) {
        auto* series = new QLineSeries(chart_);
        series->setName(tpsAxis ? QFill(ridelogtext::kCurveRow, language_,
                                        kTpsAxisPercent[static_cast<std::size_t>(row)])
                                : Text(ridelogtext::kCurveNoThrottle, language_));
        series->setPointsVisible(true);
        Editable editable{series, chart_, view_, {}};
        for (int column = 0; column < kMapColumns; ++column) {
            const std::size_t index = AdvanceIndex(row, column);
            series->append(RpmOf(image_, field::RpmAdv, column), image_[index]);
            editable.indexes.push_back(index);
        }
        chart_->addSeries(series);
        // After adding: the chart gives a new series the theme's colour.
        series->setPen(CurvePen(row - firstRow));
        series->attachAxis(rpmAxis_);
        series->attachAxis(advanceAxis_);
        // A click on the row's legend entry chooses that row, in the column chosen so far.
        for (QLegendMarker* marker : chart_->legend()->markers(series)) {
            connect(marker, &QLegendMarker::clicked, this, [this, row] { ChooseRow(row); });
        }
        curves_.push_back(series);
        editable_.push_back(editable);
    }
    // The whole range a point may be dragged to stays in sight; across, the breakpoints in
    // use (of both tunes when one is compared), not the empty stretch down to 0 rpm.
    SetAxis(advanceAxis_, AxisUpTo(Scale(AdvanceIndex(0, 0)).max, kValueTicks));
    SetAxis(rpmAxis_, AxisOverPoints(AxisPoints(field::RpmAdv), kMinimumRpmSpan, kRpmTicks));

    servo_->clear();
    Editable servo{servo_, servoChart_, servoView_, {}};
    for (int k = 0; k < kAxisPoints; ++k) {
        const std::size_t index = field::NapPriv + static_cast<std::size_t>(k);
        servo_->append(RpmOf(image_, field::RpmPriv, k), Scale(index).Shown(image_[index]));
        servo.indexes.push_back(index);
    }
    editable_.push_back(servo);
    SetAxis(servoAxis_, AxisUpTo(Scale(field::NapPriv).max, kValueTicks));
    SetAxis(servoRpmAxis_, AxisOverPoints(AxisPoints(field::RpmPriv), kMinimumRpmSpan, kRpmTicks));

    // A selection on a row that is no longer drawn is gone.
    if (selected_ && !Locate(*selected_)) selected_.reset();
    RebuildCompare();
    PlaceMarker();
    PlaceSelection();
}

QPen CurveView::CurvePen(int curve) const {
    const RowLook& look = kRowLooks[static_cast<std::size_t>(curve)];
    QColor colour = QColor::fromRgb(look.colour);
    if (chart_->theme() == QChart::ChartThemeDark) colour = colour.lighter(kDarkLighter);
    QPen pen(colour, kCurvePenWidth, look.style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

std::vector<double> CurveView::AxisPoints(std::size_t axis) const {
    std::vector<double> points;
    for (const DeviceImage* image : {&image_, compare_ ? &*compare_ : nullptr}) {
        if (image == nullptr) continue;
        for (int k = 0; k < kAxisPoints; ++k) points.push_back(RpmOf(*image, axis, k));
    }
    return points;
}

void CurveView::RebuildCompare() {
    for (QLineSeries* s : compareCurves_) {
        s->chart()->removeSeries(s);
        delete s;
    }
    compareCurves_.clear();
    QString title = Text(ridelogtext::kCurveTitle, language_);
    if (compare_) {
        title += QStringLiteral(" (") + QFill(curvetext::kCompareDashed, language_, compareName_) +
                 QStringLiteral(")");
    }
    chart_->setTitle(title);
    if (!compare_) return;
    // Each of the other tune's curves dashed in the colour of the same curve of this one.
    for (const Editable& e : editable_) {
        const bool servo = e.series == servo_;
        auto* series = new QLineSeries(e.chart);
        for (int k = 0; k < kAxisPoints; ++k) {
            const std::size_t index = e.indexes[static_cast<std::size_t>(k)];
            const double rpm =
                servo ? RpmOf(*compare_, field::RpmPriv, k) : RpmOf(*compare_, field::RpmAdv, k);
            series->append(rpm, Scale(index).Shown((*compare_)[index]));
        }
        e.chart->addSeries(series);
        const QList<QAbstractAxis*> axes = e.series->attachedAxes();
        for (QAbstractAxis* axis : axes) series->attachAxis(axis);
        QColor colour = e.series->pen().color();
        colour.setAlpha(kCompareAlpha);
        QPen pen(colour, kComparePenWidth, Qt::DashLine);
        series->setPen(pen);
        HideFromLegend(e.chart, series);
        compareCurves_.push_back(series);
    }
}

void CurveView::PlaceMarker() {
    marker_->clear();
    if (!haveCursor_ || cursor_.BelowRpmAxis) return;
    // Where its curve shows it, so a point being dragged takes the mark along.
    const std::size_t index = AdvanceIndex(cursor_.TpsIndex, cursor_.RpmIndex);
    if (const std::optional<Located> at = Locate(index)) {
        marker_->append(editable_[static_cast<std::size_t>(at->curve)].series->at(at->point));
        return;
    }
    marker_->append(RpmOf(image_, field::RpmAdv, cursor_.RpmIndex), image_[index]);
}

void CurveView::PlaceSelection() {
    selectedMarker_->clear();
    servoSelectedMarker_->clear();
    if (!selected_) return;
    const std::optional<Located> at = Locate(*selected_);
    if (!at) return;
    const Editable& e = editable_[static_cast<std::size_t>(at->curve)];
    QScatterSeries* marker = e.chart == chart_ ? selectedMarker_ : servoSelectedMarker_;
    marker->append(e.series->at(at->point));
}

QPixmap CurveView::Picture() {
    return grab();
}

int CurveView::CurveCount() const {
    return static_cast<int>(curves_.size());
}

std::vector<QPointF> CurveView::CurvePoints(int curve) const {
    return Points(curves_.at(static_cast<std::size_t>(curve)));
}

QString CurveView::CurveName(int curve) const {
    return curves_.at(static_cast<std::size_t>(curve))->name();
}

QPen CurveView::CurveLine(int curve) const {
    return curves_.at(static_cast<std::size_t>(curve))->pen();
}

std::optional<QPointF> CurveView::MarkedPoint() const {
    if (marker_->count() == 0) return std::nullopt;
    return marker_->at(0);
}

std::vector<QPointF> CurveView::ServoPoints() const {
    return Points(servo_);
}

int CurveView::CompareCurveCount() const {
    return static_cast<int>(compareCurves_.size());
}

std::vector<QPointF> CurveView::CompareCurvePoints(int curve) const {
    return Points(compareCurves_.at(static_cast<std::size_t>(curve)));
}

Qt::PenStyle CurveView::CompareCurveStyle(int curve) const {
    return compareCurves_.at(static_cast<std::size_t>(curve))->pen().style();
}

// ---- choosing and changing a point ---------------------------------------------------------

std::optional<CurveView::Located> CurveView::Locate(std::size_t imageIndex) const {
    for (std::size_t c = 0; c < editable_.size(); ++c) {
        const std::vector<std::size_t>& indexes = editable_[c].indexes;
        const auto it = std::find(indexes.begin(), indexes.end(), imageIndex);
        if (it != indexes.end())
            return Located{static_cast<int>(c), static_cast<int>(it - indexes.begin())};
    }
    return std::nullopt;
}

std::optional<std::size_t> CurveView::SelectedPoint() const {
    return selected_;
}

void CurveView::SelectPoint(std::size_t imageIndex) {
    if (!Locate(imageIndex)) return;
    selected_ = imageIndex;
    PlaceSelection();
}

std::optional<QPointF> CurveView::PositionOf(std::size_t imageIndex, double shown) const {
    const std::optional<Located> at = Locate(imageIndex);
    if (!at) return std::nullopt;
    const Editable& e = editable_[static_cast<std::size_t>(at->curve)];
    const QPointF value(e.series->at(at->point).x(), shown);
    const QPointF scene = e.chart->mapToScene(e.chart->mapToPosition(value, e.series));
    return e.view->viewport()->mapTo(this, e.view->viewportTransform().map(scene));
}

std::optional<QPointF> CurveView::PointPosition(std::size_t imageIndex) const {
    const std::optional<Located> at = Locate(imageIndex);
    if (!at) return std::nullopt;
    const Editable& e = editable_[static_cast<std::size_t>(at->curve)];
    return PositionOf(imageIndex, e.series->at(at->point).y());
}

void CurveView::ShowValue(std::size_t index, std::uint8_t raw) {
    const std::optional<Located> at = Locate(index);
    if (!at) return;
    QLineSeries* series = editable_[static_cast<std::size_t>(at->curve)].series;
    const QPointF old = series->at(at->point);
    series->replace(at->point, QPointF(old.x(), Scale(index).Shown(raw)));
    PlaceMarker();
    PlaceSelection();
}

void CurveView::Change(int steps) {
    if (!selected_) return;
    const std::size_t index = *selected_;
    const std::uint8_t now = Scale(index).Stepped(image_[index], steps);
    if (now == image_[index]) return;  // at a limit: nothing changes, nothing to commit
    image_[index] = now;
    ShowValue(index, now);
    emit PointEdited(static_cast<int>(index), now);
}

void CurveView::MoveSelection(int curveStep, int pointStep) {
    if (editable_.empty()) return;
    std::optional<Located> at = selected_ ? Locate(*selected_) : std::nullopt;
    if (!at) {
        // The first key chooses the cell the engine runs in, when there is one.
        const bool live = haveCursor_ && !cursor_.BelowRpmAxis && !cursor_.Cleared;
        at = live ? Locate(AdvanceIndex(cursor_.TpsIndex, cursor_.RpmIndex)) : std::nullopt;
        if (!at) at = Located{0, 0};
    } else {
        const int curves = static_cast<int>(editable_.size());
        at->curve = std::clamp(at->curve + curveStep, 0, curves - 1);
        const int points =
            static_cast<int>(editable_[static_cast<std::size_t>(at->curve)].indexes.size());
        at->point = std::clamp(at->point + pointStep, 0, points - 1);
    }
    selected_ =
        editable_[static_cast<std::size_t>(at->curve)].indexes[static_cast<std::size_t>(at->point)];
    PlaceSelection();
}

void CurveView::ChooseRow(int row) {
    int column = 0;
    if (selected_ && *selected_ >= field::Advance &&
        *selected_ < field::Advance + std::size_t{kMapRows * kMapColumns})
        column = static_cast<int>((*selected_ - field::Advance) % kMapColumns);
    SelectPoint(AdvanceIndex(row, column));
    setFocus(Qt::MouseFocusReason);
}

bool CurveView::event(QEvent* event) {
    // During a drag Escape puts the point back; the window's own Escape (close) waits.
    if (event->type() == QEvent::ShortcutOverride && drag_ &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void CurveView::keyPressEvent(QKeyEvent* event) {
    if (drag_) {
        // Escape puts the point back; other keys wait for the drag to end.
        if (event->key() == Qt::Key_Escape) {
            ShowValue(drag_->index, drag_->start);
            drag_.reset();
        }
        event->accept();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
            MoveSelection(0, -1);
            break;
        case Qt::Key_Right:
            MoveSelection(0, 1);
            break;
        case Qt::Key_Up:
            MoveSelection(-1, 0);
            break;
        case Qt::Key_Down:
            MoveSelection(1, 0);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            Change(1);
            break;
        case Qt::Key_Minus:
            Change(-1);
            break;
        case Qt::Key_PageUp:
            Change(kPageSteps);
            break;
        case Qt::Key_PageDown:
            Change(-kPageSteps);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

// ---- dragging ------------------------------------------------------------------------------

std::optional<std::size_t> CurveView::PointNear(QChartView* view, QPointF position) const {
    struct Candidate {
        std::size_t index;
        double distance;
    };
    std::vector<Candidate> candidates;
    double best = kGrabRadius;
    for (const Editable& e : editable_) {
        if (e.view != view) continue;
        for (std::size_t index : e.indexes) {
            const QPointF p = *PointPosition(index);
            const double d = std::hypot(p.x() - position.x(), p.y() - position.y());
            if (d > kGrabRadius) continue;
            candidates.push_back({index, d});
            best = std::min(best, d);
        }
    }
    // Points on top of each other (rows with the same value): the chosen one wins, so a point
    // picked by the keys or the legend can be dragged apart; else the one drawn on top.
    std::optional<std::size_t> nearest;
    for (const Candidate& c : candidates) {
        if (c.distance > best + kSamePlace) continue;
        if (c.index == selected_) return c.index;
        nearest = c.index;
    }
    return nearest;
}

bool CurveView::eventFilter(QObject* watched, QEvent* event) {
    for (QChartView* v : {view_, servoView_}) {
        if (watched == v->viewport()) return DragEvent(v, event);
    }
    return QWidget::eventFilter(watched, event);
}

bool CurveView::DragEvent(QChartView* view, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF position = view->viewport()->mapTo(this, mouse->position());
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton) return false;
        setFocus(Qt::MouseFocusReason);
        const std::optional<std::size_t> index = PointNear(view, position);
        if (!index) return false;
        selected_ = *index;
        PlaceSelection();
        drag_ = Drag{*index, *Locate(*index), Scale(*index), image_[*index], image_[*index]};
        return true;
    }
    if (!drag_) {
        if (type == QEvent::MouseMove) {
            view->viewport()->setCursor(PointNear(view, position) ? Qt::SizeVerCursor
                                                                  : Qt::ArrowCursor);
        }
        return false;
    }
    const Editable& e = editable_[static_cast<std::size_t>(drag_->at.curve)];
    if (type == QEvent::MouseMove) {
        const QPointF scene =
            e.view->viewportTransform().inverted().map(e.view->viewport()->mapFrom(this, position));
        const double shown = e.chart->mapToValue(e.chart->mapFromScene(scene), e.series).y();
        const std::uint8_t now = drag_->scale.Snap(shown);
        if (now != drag_->now) {
            drag_->now = now;
            ShowValue(drag_->index, now);
        }
        return true;
    }
    if (mouse->button() != Qt::LeftButton) return true;
    const Drag done = *drag_;
    drag_.reset();
    // One change at the release, however far the point travelled on the way.
    if (done.now != done.start) {
        image_[done.index] = done.now;
        emit PointEdited(static_cast<int>(done.index), done.now);
    }
    return true;
}

}  // namespace korvan
