#include "ui/surface/surface_view.h"

#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QStyleHints>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ui/languages/qt_fill.h"
#include "ui/surface/surface_colours.h"
#include "ui/surface/surface_texts.h"

namespace korvan {

namespace {

// Turning and zooming as the hand expects: a drag across a typical window turns the surface by
// about half a turn, a wheel notch zooms by an eighth.
constexpr double kDegreesPerPixel = 0.4;
constexpr double kDegreesPerKey = 5.0;
constexpr double kZoomPerNotch = 1.125;
constexpr double kZoomPerKey = 1.25;
constexpr int kWheelNotch = 120;
// The labels need about three lines of text around the box; a tiny window goes without them.
constexpr double kMarginLines = 3.2;
constexpr int kLabelledSide = 160;
// Without labels the box keeps only this much room from the edges.
constexpr double kBareMargin = 4.0;
// The marks shrink with a window smaller than this, so they never hide the surface.
constexpr double kFullMarksSide = 320.0;
constexpr double kSmallestMarks = 0.35;
// A click lands on a curve seen edge-on when it is this near to a cell's point.
constexpr double kPickSlack = 6.0;
constexpr double kLiveRadius = 7.0;
constexpr double kTrailDotRadius = 3.0;
constexpr double kTrailWidth = 2.5;
constexpr double kSelectionWidth = 3.0;
constexpr double kCurveWidth = 2.5;
constexpr double kTickLength = 5.0;
// Distances an axis title tries, half a line apart, before it is left out.
constexpr int kTitleTries = 5;
// Pixels beyond a mark that its smoothed edge may touch.
constexpr double kRegionRoom = 3.0;
// Light from above, a little from the front left: a slope facing it is lighter.
constexpr double kLight[3] = {-0.3, -0.45, 0.84};
constexpr double kAmbient = 0.55;
constexpr int kCompareAlpha = 70;
constexpr int kWallAlpha = 110;
constexpr QSize kPaperSize(800, 600);
constexpr QSize kSmallestPrintSource(200, 150);

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

std::string Signed(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

QPointF Screen(const ScreenPoint& p) {
    return {p.x, p.y};
}

// How much a piece faces the light, 0..1.
double Lighting(const Facet& f) {
    const Vec3& a = f.corners[0];
    const Vec3& b = f.corners[1];
    const Vec3& c = f.corners[2];
    const Vec3& d = f.corners[3];
    // The normal of the piece from its diagonals.
    const double ux = c.x - a.x, uy = c.y - a.y, uz = c.z - a.z;
    const double vx = d.x - b.x, vy = d.y - b.y, vz = d.z - b.z;
    double nx = uy * vz - uz * vy;
    double ny = uz * vx - ux * vz;
    double nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length < 1e-12) return 1.0;
    nx /= length;
    ny /= length;
    nz /= length;
    // Both faces are seen (from below too), so the side towards the light counts.
    const double facing = std::abs(nx * kLight[0] + ny * kLight[1] + nz * kLight[2]);
    return kAmbient + (1.0 - kAmbient) * facing;
}

QPolygonF Polygon(const ProjectedFacet& p) {
    QPolygonF polygon;
    for (const ScreenPoint& corner : p.corners) polygon << Screen(corner);
    return polygon;
}

}  // namespace

struct SurfaceView::Colours {
    QColor background;
    QColor text;
    QColor grid;     // floor and back walls
    QColor mesh;     // the lines joining the values
    QColor neutral;  // a cell without difference
    QColor compare;  // the other tune's see-through fill
    QColor selection;
};

SurfaceView::SurfaceView(std::uint8_t language, QWidget* parent)
    : QWidget(parent), language_(language) {
    setObjectName("SurfaceView");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SurfaceMap empty;
    for (int c = 0; c < kMapColumns; ++c) empty.rpm[static_cast<std::size_t>(c)] = 1000 * (c + 1);
    for (int r = 0; r < kMapRows; ++r)
        empty.throttle[static_cast<std::size_t>(r)] = kTpsAxisPercent[static_cast<std::size_t>(r)];
    map_ = empty;
    SceneChanged();
    SetLanguage(language);
}

SurfaceView::~SurfaceView() = default;

std::optional<MapCell> SurfaceView::LiveCellOf(const MapCursor& cursor) {
    if (cursor.Cleared || cursor.BelowRpmAxis) return std::nullopt;
    return MapCell{cursor.TpsIndex, cursor.RpmIndex};
}

void SurfaceView::SetMap(const SurfaceMap& map) {
    if (map == map_) return;
    // Without the throttle axis the unit reads the last row whatever the throttle: a trail
    // of those cells would show a ride along full throttle once the axis is switched on.
    if (map.throttleAxis != map_.throttleAxis) trail_.Clear();
    map_ = map;
    if (live_ && !map_.InUse(*live_)) live_.reset();
    SceneChanged();
}

void SurfaceView::SetCompare(const std::optional<SurfaceMap>& other, const QString& name) {
    if (other == compare_ && name == compareName_) return;
    compare_ = other;
    compareName_ = name;
    SceneChanged();
}

void SurfaceView::SetLiveCell(const std::optional<MapCell>& cell) {
    std::optional<MapCell> shown = cell;
    if (shown && !map_.InUse(*shown)) shown.reset();
    if (shown == live_) return;
    live_ = shown;
    if (live_) trail_.Push(*live_);
    LiveChanged();
}

void SurfaceView::ClearTrail() {
    if (trail_.Cells().empty()) return;
    trail_.Clear();
    LiveChanged();
}

void SurfaceView::LiveChanged() {
    // Only where the marks were and are now: a live move every frame must not repaint (and
    // blend) the whole picture, which costs milliseconds in a large window.
    const QRect now = LiveBounds();
    update(liveShown_ | now);
    liveShown_ = now;
}

QRect SurfaceView::LiveBounds() const {
    const SceneView& view = CurrentView();
    const double marks = MarksScale(view);
    // One rectangle: a region of many small ones would make every fill clip against it.
    QRectF bounds;
    auto around = [&](QPointF a, QPointF b, double reach) {
        bounds |= QRectF(a, b).normalized().adjusted(-reach, -reach, reach, reach);
    };
    for (const TrailMark& m : TrailMarks()) {
        around(Screen(view.CellScreen(m.from)), Screen(view.CellScreen(m.to)),
               (m.from == m.to ? kTrailDotRadius : kTrailWidth) * marks + kRegionRoom);
    }
    if (live_) {
        const Vec3 point = view.Scene().CellPoint(*live_);
        const QPointF at = Screen(view.CellScreen(*live_));
        around(at, at, (kLiveRadius + 2.0) * marks + kRegionRoom);
        around(at, Screen(view.Proj().Project({point.x, point.y, 0.0})), kRegionRoom);
    }
    return bounds.toAlignedRect();
}

double SurfaceView::MarksScale(const SceneView& view) {
    const double shorter = std::min(view.Proj().Width(), view.Proj().Height());
    return std::clamp(shorter / kFullMarksSide, kSmallestMarks, 1.0);
}

void SurfaceView::SetSelection(const std::optional<CellRange>& range) {
    if (range == selection_) return;
    selection_ = range;
    stillValid_ = false;
    update();
}

void SurfaceView::SetView(const ViewAngle& view) {
    const ViewAngle clamped = ClampView(view);
    if (clamped == view_) return;
    view_ = clamped;
    ViewMoved(false);
}

void SurfaceView::ResetView() {
    SetView(ViewAngle{});
}

void SurfaceView::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(Text(surfacetext::kTitle, language));
    setWhatsThis(Text(surfacetext::kMouseHelp, language));
    setAccessibleName(Text(surfacetext::kTitle, language));
    setAccessibleDescription(Text(surfacetext::kMouseHelp, language));
    stillValid_ = false;
    update();
}

void SurfaceView::SceneChanged() {
    // The view refers to the scene: it goes first.
    sceneView_.reset();
    scene_ = std::make_unique<SurfaceScene>(map_, compare_);
    stillValid_ = false;
    update();
}

void SurfaceView::ViewMoved(bool report) {
    sceneView_.reset();
    stillValid_ = false;
    update();
    if (report) emit ViewChanged(view_);
}

double SurfaceView::LabelMargin() const {
    return MarginFor(size());
}

double SurfaceView::MarginFor(QSize size) const {
    return Labelled(size) ? kMarginLines * fontMetrics().height() : kBareMargin;
}

bool SurfaceView::Labelled(QSize size) {
    return std::min(size.width(), size.height()) >= kLabelledSide;
}

const SceneView& SurfaceView::CurrentView() const {
    if (!sceneView_) {
        sceneView_ = std::make_unique<SceneView>(
            *scene_, Projection(view_, width(), height(), MarginFor(size())));
    }
    return *sceneView_;
}

SurfaceView::Colours SurfaceView::ColoursFor(Look look) const {
    Colours c;
    if (look == Look::Paper) {
        c.background = Qt::white;
        c.text = Qt::black;
        c.selection = QColor(0x20, 0x50, 0xD0);
    } else {
        c.background = palette().color(QPalette::Base);
        c.text = palette().color(QPalette::Text);
        c.selection = palette().color(QPalette::Highlight);
    }
    c.grid = Mixed(c.background, c.text, 0.25);
    c.mesh = Mixed(c.background, c.text, 0.55);
    c.neutral = Mixed(c.background, c.text, 0.2);
    c.compare = Mixed(c.background, c.text, 0.5);
    c.compare.setAlpha(kCompareAlpha);
    return c;
}

// ---- painting ------------------------------------------------------------------------------

void SurfaceView::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!stillValid_ || still_.size() != pixels) {
        still_ = QPixmap(pixels);
        still_.setDevicePixelRatio(ratio);
        QPainter stillPainter(&still_);
        RenderStill(stillPainter, CurrentView(), Look::Screen);
        stillValid_ = true;
    }
    QPainter painter(this);
    // The still picture where it is asked for, the marks over it (clipped to the same).
    const QRect r = event->rect();
    painter.drawPixmap(QRectF(r), still_,
                       QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
    RenderLive(painter, CurrentView(), Look::Screen);
    liveShown_ = LiveBounds();
}

void SurfaceView::RenderAll(QPainter& painter, QSize size, Look look) const {
    if (size == this->size()) {
        RenderStill(painter, CurrentView(), look);
        RenderLive(painter, CurrentView(), look);
        return;
    }
    const SceneView view(*scene_, Projection(view_, size.width(), size.height(), MarginFor(size)));
    RenderStill(painter, view, look);
    RenderLive(painter, view, look);
}

void SurfaceView::RenderStill(QPainter& painter, const SceneView& view, Look look) const {
    const Colours colours = ColoursFor(look);
    const QRectF area(0, 0, view.Proj().Width(), view.Proj().Height());
    painter.fillRect(area, colours.background);
    // Fonts in pixels, so a printer's scaled painter draws them at the size seen on screen.
    QFont font = this->font();
    font.setPixelSize(QFontInfo(this->font()).pixelSize());
    painter.setFont(font);
    DrawBox(painter, view, colours);
    DrawFacets(painter, view, colours);
    DrawSelection(painter, view, colours);
    labels_.clear();
    if (Labelled(area.size().toSize())) {
        DrawLabels(painter, view, colours);
        DrawLegend(painter, colours);
    }
}

void SurfaceView::DrawBox(QPainter& painter, const SceneView& view, const Colours& colours) const {
    const Projection& p = view.Proj();
    const SurfaceScene& scene = view.Scene();
    const SurfaceBox& box = scene.Box();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colours.grid, 1.0));
    auto line = [&](Vec3 a, Vec3 b) {
        painter.drawLine(Screen(p.Project(a)), Screen(p.Project(b)));
    };
    const double backX = p.BackIsHighRpm() ? kBoxHalfWidth : -kBoxHalfWidth;
    const double backY = p.BackIsLowThrottle() ? kBoxHalfDepth : -kBoxHalfDepth;
    // The floor with a line under every breakpoint and every row.
    for (double x : scene.ColumnX()) line({x, -kBoxHalfDepth, 0}, {x, kBoxHalfDepth, 0});
    if (scene.Map().throttleAxis) {
        for (int row = 0; row < kMapRows; ++row) {
            const double y = scene.RowY(scene.Map(), row);
            line({-kBoxHalfWidth, y, 0}, {kBoxHalfWidth, y, 0});
        }
    } else {
        for (double y : {-kBoxHalfDepth, kBoxHalfDepth})
            line({-kBoxHalfWidth, y, 0}, {kBoxHalfWidth, y, 0});
    }
    // The two walls at the back with a line at every mark of the advance axis.
    for (int a = box.advanceLow; a <= box.advanceHigh; a += box.advanceStep) {
        const double z = box.Z(a);
        line({-kBoxHalfWidth, backY, z}, {kBoxHalfWidth, backY, z});
        line({backX, -kBoxHalfDepth, z}, {backX, kBoxHalfDepth, z});
    }
    line({backX, backY, 0}, {backX, backY, kBoxHeight});
    line({-backX, backY, 0}, {-backX, backY, kBoxHeight});
    line({backX, -backY, 0}, {backX, -backY, kBoxHeight});
}

void SurfaceView::DrawFacets(QPainter& painter, const SceneView& view,
                             const Colours& colours) const {
    const SurfaceScene& scene = view.Scene();
    const SurfaceBox& box = scene.Box();
    const std::vector<Facet>& facets = scene.Facets();
    const QPen meshPen(colours.mesh, 1.0);
    QPen comparePen(Mixed(colours.background, colours.text, 0.7), 1.0, Qt::DashLine);
    for (std::size_t index : view.Order()) {
        const Facet& f = facets[index];
        const ProjectedFacet& projected = view.Projected()[index];
        const QPolygonF polygon = Polygon(projected);
        const double light = Lighting(f);
        QColor fill;
        if (f.layer == 0) {
            const int advance = map_.Advance(f.cell);
            fill = compare_ ? DifferenceColour(advance - compare_->Advance(f.cell), colours.neutral)
                            : HeightColour((advance - box.advanceLow) /
                                           double(box.advanceHigh - box.advanceLow));
            if (selection_ && selection_->Contains(f.cell))
                fill = Mixed(fill, colours.selection, 0.45);
            fill = Mixed(fill, Qt::black, 1.0 - light);
            if (f.kind == FacetKind::Wall) fill.setAlpha(kWallAlpha);
        } else {
            fill = colours.compare;
        }
        // Filled without smoothing, so neighbouring pieces meet without a seam.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(polygon);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        const QPointF own = polygon[0];
        if (f.kind == FacetKind::Wall) {
            QPen curve = f.layer == 0 ? QPen(colours.text, kCurveWidth) : comparePen;
            if (f.layer != 0) curve.setWidthF(kCurveWidth);
            curve.setCapStyle(Qt::RoundCap);
            painter.setPen(curve);
            painter.drawLine(own, polygon[1]);
        } else {
            painter.setPen(f.layer == 0 ? meshPen : comparePen);
            painter.drawLine(own, polygon[1]);
            painter.drawLine(own, polygon[3]);
        }
    }
}

void SurfaceView::DrawSelection(QPainter& painter, const SceneView& view,
                                const Colours& colours) const {
    if (!selection_) return;
    const int top = std::max(selection_->TopRow(), map_.FirstRow());
    const int bottom = std::min(selection_->BottomRow(), kMapRows - 1);
    const int left = std::max(selection_->LeftColumn(), 0);
    const int right = std::min(selection_->RightColumn(), kMapColumns - 1);
    if (top > bottom || left > right) return;
    QPolygonF outline;
    auto at = [&](int row, int column) { return Screen(view.CellScreen({row, column})); };
    for (int c = left; c <= right; ++c) outline << at(top, c);
    for (int r = top + 1; r <= bottom; ++r) outline << at(r, right);
    if (bottom > top) {
        for (int c = right - 1; c >= left; --c) outline << at(bottom, c);
        for (int r = bottom - 1; r > top; --r) outline << at(r, left);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colours.selection, kSelectionWidth);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (bottom > top && right > left)
        painter.drawPolygon(outline);
    else
        painter.drawPolyline(outline);
    // A single cell is a point: a ring shows it.
    if (outline.size() == 1) painter.drawEllipse(outline[0], kLiveRadius + 3, kLiveRadius + 3);
}

void SurfaceView::DrawLabels(QPainter& painter, const SceneView& view,
                             const Colours& colours) const {
    const Projection& p = view.Proj();
    const SurfaceScene& scene = view.Scene();
    const SurfaceBox& box = scene.Box();
    const QFontMetricsF metrics(painter.font());
    const QSizeF picture(p.Width(), p.Height());
    std::vector<QRectF> taken;
    painter.setRenderHint(QPainter::Antialiasing, true);

    // A label beside the box: its middle `distance` pixels from `anchor` in the direction
    // `outward`, left out where it would cover one already placed (false).
    auto place = [&](const QString& text, QPointF anchor, QPointF outward, double distance,
                     bool bold) -> bool {
        QFont font = painter.font();
        font.setBold(bold);
        const QFontMetricsF m(font);
        const QSizeF size(m.horizontalAdvance(text), m.height());
        // Far enough that the label's box clears the anchor whichever way it points.
        const double reach = distance + 0.5 * (std::abs(outward.x()) * size.width() +
                                               std::abs(outward.y()) * size.height());
        const QPointF middle = anchor + outward * reach;
        QRectF rect(middle.x() - size.width() / 2, middle.y() - size.height() / 2, size.width(),
                    size.height());
        // Inside the picture, even where the box reaches its edge.
        rect.moveLeft(std::clamp(rect.left(), 0.0, std::max(0.0, picture.width() - rect.width())));
        rect.moveTop(std::clamp(rect.top(), 0.0, std::max(0.0, picture.height() - rect.height())));
        for (const QRectF& other : taken) {
            if (other.intersects(rect)) return false;
        }
        taken.push_back(rect.adjusted(-3, 0, 3, 0));
        labels_.push_back(text);
        painter.setFont(font);
        painter.setPen(colours.text);
        painter.drawText(rect, Qt::AlignCenter, text);
        font.setBold(false);
        painter.setFont(font);
        return true;
    };
    // An axis title beyond its numbers: a short title would sit among them at the first
    // distance (and be left out), so it moves outwards a half line at a time.
    auto placeTitle = [&](const QString& text, QPointF anchor, QPointF outward, double distance) {
        for (int step = 0; step < kTitleTries; ++step) {
            if (place(text, anchor, outward, distance + step * metrics.height() * 0.5, true))
                return;
        }
    };
    auto direction = [](QPointF from, QPointF to) {
        const QPointF d = to - from;
        const double length = std::hypot(d.x(), d.y());
        return length < 1e-9 ? QPointF(0, 1) : d / length;
    };
    const QPointF middle = Screen(p.Project({0, 0, 0}));
    const double nearY = p.BackIsLowThrottle() ? -kBoxHalfDepth : kBoxHalfDepth;
    const double nearX = p.BackIsHighRpm() ? -kBoxHalfWidth : kBoxHalfWidth;
    const double tick = kTickLength;
    const double titleGap = metrics.height() + tick;
    painter.setPen(QPen(colours.text, 1.0));

    // RPM along the front edge of the floor: the first and the last breakpoint first, so they
    // stay when the ones between have no room.
    const QPointF rpmOut = direction(middle, Screen(p.Project({0, nearY, 0})));
    std::vector<int> columns = {0, kMapColumns - 1};
    for (int c = 1; c < kMapColumns - 1; ++c) columns.push_back(c);
    for (int c : columns) {
        const QPointF at =
            Screen(p.Project({scene.ColumnX()[static_cast<std::size_t>(c)], nearY, 0}));
        painter.setPen(QPen(colours.text, 1.0));
        painter.drawLine(at, at + rpmOut * tick);
        place(QString::number(map_.rpm[static_cast<std::size_t>(c)]), at, rpmOut, tick + 2, false);
    }
    placeTitle(Text(surfacetext::kRpmAxis, language_), Screen(p.Project({0, nearY, 0})), rpmOut,
               tick + titleGap);

    // Throttle along the side edge in front, when the map has the axis.
    if (scene.Map().throttleAxis) {
        const QPointF throttleOut = direction(middle, Screen(p.Project({nearX, 0, 0})));
        std::vector<int> rows = {0, kMapRows - 1};
        for (int r = 1; r < kMapRows - 1; ++r) rows.push_back(r);
        for (int r : rows) {
            const QPointF at = Screen(p.Project({nearX, scene.RowY(scene.Map(), r), 0}));
            painter.setPen(QPen(colours.text, 1.0));
            painter.drawLine(at, at + throttleOut * tick);
            place(QString::number(map_.throttle[static_cast<std::size_t>(r)]), at, throttleOut,
                  tick + 2, false);
        }
        placeTitle(Text(surfacetext::kThrottleAxis, language_), Screen(p.Project({nearX, 0, 0})),
                   throttleOut, tick + titleGap);
    }

    // Degrees up the corner that is leftmost on the screen.
    Vec3 corner{-kBoxHalfWidth, -kBoxHalfDepth, 0};
    double leftmost = 1e18;
    for (double x : {-kBoxHalfWidth, kBoxHalfWidth}) {
        for (double y : {-kBoxHalfDepth, kBoxHalfDepth}) {
            const double sx = p.Project({x, y, 0}).x;
            if (sx < leftmost) {
                leftmost = sx;
                corner = {x, y, 0};
            }
        }
    }
    const QPointF left(-1, 0);
    painter.setPen(QPen(colours.text, 1.0));
    painter.drawLine(Screen(p.Project(corner)),
                     Screen(p.Project({corner.x, corner.y, kBoxHeight})));
    for (int a = box.advanceLow; a <= box.advanceHigh; a += box.advanceStep) {
        const QPointF at = Screen(p.Project({corner.x, corner.y, box.Z(a)}));
        painter.setPen(QPen(colours.text, 1.0));
        painter.drawLine(at, at + left * tick);
        place(QString::number(a), at, left, tick + 2, false);
    }
    const QPointF top = Screen(p.Project({corner.x, corner.y, kBoxHeight}));
    place(Text(surfacetext::kAdvanceAxis, language_), top, QPointF(0, -1), metrics.height() * 0.6,
          true);
}

void SurfaceView::DrawLegend(QPainter& painter, const Colours& colours) const {
    if (!compare_) return;
    const QFontMetricsF m(painter.font());
    const double line = m.height();
    const double swatch = line * 0.8;
    double y = line * 0.5;
    const double x = line * 0.5;
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The current tune coloured by the difference: less, none, more.
    const int steps[] = {-kFullDifference, -kFullDifference / 2, 0, kFullDifference / 2,
                         kFullDifference};
    double sx = x;
    for (int d : steps) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(DifferenceColour(d, colours.neutral));
        painter.drawRect(QRectF(sx, y, swatch, swatch));
        sx += swatch;
    }
    painter.setPen(colours.text);
    painter.drawText(QPointF(sx + line * 0.4, y + swatch * 0.85),
                     Text(surfacetext::kCurrentTune, language_) + QStringLiteral("  (−") +
                         QString::number(kFullDifference) + QStringLiteral("° … +") +
                         QString::number(kFullDifference) + QStringLiteral("°)"));
    y += line * 1.2;
    painter.setBrush(colours.compare);
    QPen dashed(Mixed(colours.background, colours.text, 0.7), 1.0, Qt::DashLine);
    painter.setPen(dashed);
    painter.drawRect(QRectF(x, y, swatch * 5, swatch));
    painter.setPen(colours.text);
    painter.drawText(QPointF(x + swatch * 5 + line * 0.4, y + swatch * 0.85),
                     QFill(surfacetext::kComparedTune, language_, compareName_));
}

std::vector<SurfaceView::TrailMark> SurfaceView::TrailMarks() const {
    // Each cell and each step between two cells once, as fresh as its newest pass: an engine
    // going back and forth over the same cells draws them once, not fifty times over.
    std::vector<TrailMark> marks;
    const std::deque<MapCell>& cells = trail_.Cells();
    for (std::size_t i = cells.size(); i-- > 0;) {
        if (!map_.InUse(cells[i])) continue;
        const double opacity = trail_.Opacity(i);
        auto seen = [&](MapCell a, MapCell b) {
            return std::any_of(marks.begin(), marks.end(), [&](const TrailMark& m) {
                return (m.from == a && m.to == b) || (m.from == b && m.to == a);
            });
        };
        if (!seen(cells[i], cells[i])) marks.push_back({cells[i], cells[i], opacity});
        if (i > 0 && map_.InUse(cells[i - 1]) && !seen(cells[i - 1], cells[i]))
            marks.push_back({cells[i - 1], cells[i], opacity});
    }
    // Painted oldest first, so the newest lie on top.
    std::reverse(marks.begin(), marks.end());
    return marks;
}

void SurfaceView::RenderLive(QPainter& painter, const SceneView& view, Look look) const {
    const Colours colours = ColoursFor(look);
    const double marks = MarksScale(view);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const TrailMark& m : TrailMarks()) {
        QColor colour = kTrailColour;
        colour.setAlphaF(static_cast<float>(m.opacity));
        const QPointF at = Screen(view.CellScreen(m.to));
        if (m.from != m.to) {
            QPen pen(colour, kTrailWidth * marks);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawLine(Screen(view.CellScreen(m.from)), at);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(at, kTrailDotRadius * marks, kTrailDotRadius * marks);
        }
    }
    if (!live_) return;
    const Vec3 point = view.Scene().CellPoint(*live_);
    const QPointF at = Screen(view.CellScreen(*live_));
    // A thin line down to the floor shows where over the grid the cell lies.
    QPen drop(colours.text, 1.0, Qt::DotLine);
    painter.setPen(drop);
    painter.drawLine(at, Screen(view.Proj().Project({point.x, point.y, 0.0})));
    painter.setPen(QPen(Qt::black, 2.0 * marks));
    painter.setBrush(kLiveCellColour);
    painter.drawEllipse(at, kLiveRadius * marks, kLiveRadius * marks);
}

// ---- pictures -------------------------------------------------------------------------------

QImage SurfaceView::Picture(QSize size) const {
    const QSize s = size.isValid() && !size.isEmpty() ? size : this->size();
    QImage image(s, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    RenderAll(painter, s, Look::Screen);
    return image;
}

void SurfaceView::CopyToClipboard() const {
    QGuiApplication::clipboard()->setImage(Picture());
}

bool SurfaceView::SavePng(const QString& path, QString* error) const {
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
    } else if (!Picture().save(&file, "PNG")) {
        reason = file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = file.errorString();
    }
    if (reason.isNull()) return true;
    if (error != nullptr) {
        *error = QFill(surfacetext::kSaveFailed, language_, path, reason);
    }
    return false;
}

bool SurfaceView::Print(QPaintDevice& device, QString* error) const {
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error != nullptr) *error = Text(surfacetext::kPrintFailed, language_);
        return false;
    }
    const QSize source =
        width() >= kSmallestPrintSource.width() && height() >= kSmallestPrintSource.height()
            ? size()
            : kPaperSize;
    const double scale = std::min(device.width() / double(source.width()),
                                  device.height() / double(source.height()));
    painter.scale(scale, scale);
    RenderAll(painter, source, Look::Paper);
    return painter.end();
}

// ---- what is where --------------------------------------------------------------------------

QPointF SurfaceView::CellPosition(MapCell cell) const {
    return Screen(CurrentView().CellScreen(cell));
}

std::optional<MapCell> SurfaceView::CellAt(QPointF position) const {
    return CurrentView().Pick(position.x(), position.y(), kPickSlack);
}

QString SurfaceView::ToolTipAt(QPointF position) const {
    const std::optional<MapCell> cell = CellAt(position);
    if (!cell) return QString();
    const int rpm = map_.rpm[static_cast<std::size_t>(cell->column)];
    const int advance = map_.Advance(*cell);
    QString tip = map_.throttleAxis
                      ? QFill(surfacetext::kCellTip, language_, rpm,
                              map_.throttle[static_cast<std::size_t>(cell->row)], advance)
                      : QFill(surfacetext::kCurveCellTip, language_, rpm, advance);
    if (compare_) {
        const int other = compare_->Advance(*cell);
        tip += QStringLiteral("; ") +
               QFill(surfacetext::kCompareTip, language_, other, Signed(advance - other));
    }
    return tip;
}

QSize SurfaceView::sizeHint() const {
    return kPaperSize;
}

// ---- input ----------------------------------------------------------------------------------

void SurfaceView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    sceneView_.reset();
    stillValid_ = false;
}

void SurfaceView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        sceneView_.reset();  // the margin follows the font
        stillValid_ = false;
        update();
    }
    QWidget::changeEvent(event);
}

bool SurfaceView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
    pressPosition_ = event->position().toPoint();
    lastPosition_ = pressPosition_;
    pressButton_ = event->button();
    dragging_ = false;
    event->accept();
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
    if (pressButton_ == Qt::NoButton) return;
    const QPoint position = event->position().toPoint();
    if (!dragging_ && (position - pressPosition_).manhattanLength() <
                          QGuiApplication::styleHints()->startDragDistance())
        return;
    dragging_ = true;
    const QPoint delta = position - lastPosition_;
    lastPosition_ = position;
    const bool pan = pressButton_ == Qt::RightButton || pressButton_ == Qt::MiddleButton ||
                     (event->modifiers() & Qt::ShiftModifier);
    view_ = pan ? Panned(view_, delta.x(), delta.y(), width(), height())
                : Rotated(view_, delta.x() * kDegreesPerPixel, delta.y() * kDegreesPerPixel);
    ViewMoved(false);
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != pressButton_) return;
    const Qt::MouseButton button = pressButton_;
    pressButton_ = Qt::NoButton;
    if (dragging_) {
        dragging_ = false;
        emit ViewChanged(view_);
        return;
    }
    if (button == Qt::LeftButton) {
        if (const std::optional<MapCell> cell = CellAt(event->position()))
            emit CellClicked(cell->row, cell->column);
    } else if (button == Qt::RightButton) {
        emit ContextMenuRequested(mapToGlobal(event->position().toPoint()));
    }
}

void SurfaceView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / double(kWheelNotch);
    if (notches == 0.0) return;
    view_ = ZoomedAt(view_, std::pow(kZoomPerNotch, notches), event->position().x(),
                     event->position().y(), width(), height());
    ViewMoved(true);
    event->accept();
}

void SurfaceView::keyPressEvent(QKeyEvent* event) {
    const ViewAngle before = view_;
    switch (event->key()) {
        case Qt::Key_Home:
            view_ = ViewAngle{};
            break;
        case Qt::Key_Left:
            view_ = Rotated(view_, -kDegreesPerKey, 0);
            break;
        case Qt::Key_Right:
            view_ = Rotated(view_, kDegreesPerKey, 0);
            break;
        case Qt::Key_Up:
            view_ = Rotated(view_, 0, -kDegreesPerKey);
            break;
        case Qt::Key_Down:
            view_ = Rotated(view_, 0, kDegreesPerKey);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            view_ = ZoomedAt(view_, kZoomPerKey, width() / 2.0, height() / 2.0, width(), height());
            break;
        case Qt::Key_Minus:
            view_ = ZoomedAt(view_, 1.0 / kZoomPerKey, width() / 2.0, height() / 2.0, width(),
                             height());
            break;
        case Qt::Key_Menu:
            emit ContextMenuRequested(mapToGlobal(rect().center()));
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (view_ != before) ViewMoved(true);
}

}  // namespace korvan
