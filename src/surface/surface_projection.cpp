#include "surface/surface_projection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

namespace korvan {

namespace {

constexpr double kPi = 3.14159265358979323846;
// A tiny window keeps most of itself for the surface: the labels give way first.
constexpr double kMaxMarginShare = 0.2;
// Points on a piece's edge count as on it, so a cell's own point is never missed between the
// pieces that meet there.
constexpr double kEdgeTolerance = 1e-9;

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

double Finite(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

}  // namespace

ViewAngle ClampView(const ViewAngle& view) {
    const ViewAngle standard;
    ViewAngle v;
    v.yaw = std::remainder(Finite(view.yaw, standard.yaw), 360.0);
    if (v.yaw == -180.0) v.yaw = 180.0;
    v.pitch = std::clamp(Finite(view.pitch, standard.pitch), -90.0, 90.0);
    v.zoom = std::clamp(Finite(view.zoom, standard.zoom), kMinZoom, kMaxZoom);
    v.panX = std::clamp(Finite(view.panX, standard.panX), -kMaxPan, kMaxPan);
    v.panY = std::clamp(Finite(view.panY, standard.panY), -kMaxPan, kMaxPan);
    return v;
}

std::string ViewAngleText(const ViewAngle& view) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << view.yaw << ' ' << view.pitch << ' ' << view.zoom << ' ' << view.panX << ' '
        << view.panY;
    return out.str();
}

std::optional<ViewAngle> ParseViewAngle(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    ViewAngle v;
    if (!(in >> v.yaw >> v.pitch >> v.zoom >> v.panX >> v.panY)) return std::nullopt;
    in >> std::ws;
    if (!in.eof()) return std::nullopt;
    return ClampView(v);
}

ViewAngle Rotated(const ViewAngle& view, double yawDegrees, double pitchDegrees) {
    ViewAngle v = view;
    v.yaw += yawDegrees;
    v.pitch += pitchDegrees;
    return ClampView(v);
}

ViewAngle Panned(const ViewAngle& view, double dx, double dy, double width, double height) {
    const double side = std::max(1.0, std::min(width, height));
    ViewAngle v = view;
    v.panX += dx / side;
    v.panY += dy / side;
    return ClampView(v);
}

ViewAngle ZoomedAt(const ViewAngle& view, double factor, double x, double y, double width,
                   double height) {
    ViewAngle v = view;
    v.zoom = view.zoom * factor;
    v = ClampView(v);
    // The picture's centre moves so that the point under (x, y) stays there: its offset from
    // the centre grows by the same ratio as the zoom.
    const double side = std::max(1.0, std::min(width, height));
    const double ratio = v.zoom / view.zoom;
    const double centreX = width / 2.0 + view.panX * side;
    const double centreY = height / 2.0 + view.panY * side;

    v.panX = (x - (x - centreX) * ratio - width / 2.0) / side;
    v.panY = (y - (y - centreY) * ratio - height / 2.0) / side;
    return ClampView(v);
}

Projection::Projection(const ViewAngle& view, double width, double height, double margin)
    : view_(ClampView(view)), width_(std::max(1.0, width)), height_(std::max(1.0, height)) {
    sinYaw_ = std::sin(Radians(view_.yaw));
    cosYaw_ = std::cos(Radians(view_.yaw));
    sinPitch_ = std::sin(Radians(view_.pitch));
    cosPitch_ = std::cos(Radians(view_.pitch));
    // Across the screen the box never reaches farther from its middle than the radius of its
    // floor, up and down never farther than the radius of the whole box, whatever the angle:
    // fitted to those, the picture keeps its size while it turns.
    const double floorRadius = std::hypot(kBoxHalfWidth, kBoxHalfDepth);
    const double boxRadius = std::hypot(floorRadius, kBoxHeight / 2.0);
    const double shorter = std::min(width_, height_);
    const double m = std::clamp(margin, 0.0, shorter * kMaxMarginShare);
    const double across = (width_ - 2.0 * m) / (2.0 * floorRadius);
    const double upDown = (height_ - 2.0 * m) / (2.0 * boxRadius);
    scale_ = std::max(1e-6, std::min(across, upDown)) * view_.zoom;
    centreX_ = width_ / 2.0 + view_.panX * shorter;
    centreY_ = height_ / 2.0 + view_.panY * shorter;
}

ScreenPoint Projection::Project(const Vec3& p) const {
    const double z = p.z - kBoxHeight / 2.0;
    const double across = p.x * cosYaw_ - p.y * sinYaw_;
    const double away = p.x * sinYaw_ + p.y * cosYaw_;
    const double up = z * cosPitch_ + away * sinPitch_;
    const double depth = -away * cosPitch_ + z * sinPitch_;
    return {centreX_ + scale_ * across, centreY_ - scale_ * up, depth};
}

std::optional<double> DepthAt(const ProjectedFacet& facet, double x, double y) {
    static constexpr int kTriangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& t : kTriangles) {
        const ScreenPoint& a = facet.corners[static_cast<std::size_t>(t[0])];
        const ScreenPoint& b = facet.corners[static_cast<std::size_t>(t[1])];
        const ScreenPoint& c = facet.corners[static_cast<std::size_t>(t[2])];
        const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        if (std::abs(area) < 1e-12) continue;  // seen edge-on
        const double u = ((b.x - x) * (c.y - y) - (c.x - x) * (b.y - y)) / area;
        const double v = ((c.x - x) * (a.y - y) - (a.x - x) * (c.y - y)) / area;
        const double w = 1.0 - u - v;
        if (u >= -kEdgeTolerance && v >= -kEdgeTolerance && w >= -kEdgeTolerance)
            return u * a.depth + v * b.depth + w * c.depth;
    }
    return std::nullopt;
}

SceneView::SceneView(const SurfaceScene& scene, const Projection& projection)
    : scene_(scene), projection_(projection) {
    const std::vector<Facet>& facets = scene.Facets();
    projected_.resize(facets.size());
    for (std::size_t i = 0; i < facets.size(); ++i) {
        ProjectedFacet& p = projected_[i];
        double depth = 0.0;
        for (std::size_t k = 0; k < 4; ++k) {
            p.corners[k] = projection_.Project(facets[i].corners[k]);
            depth += p.corners[k].depth;
        }
        p.depth = depth / 4.0;
    }

    // Each surface from its back corner forwards: a ray from the eye crosses the grid with its
    // row and its column each running one way only, so a piece can only hide pieces that come
    // earlier in this order.
    const bool rowsUp = projection_.BackIsLowThrottle();
    const bool columnsUp = !projection_.BackIsHighRpm();
    std::array<std::vector<std::size_t>, 2> layers;
    for (std::size_t i = 0; i < facets.size(); ++i)
        layers[facets[i].layer == 0 ? 0 : 1].push_back(i);
    for (std::vector<std::size_t>& layer : layers) {
        std::stable_sort(layer.begin(), layer.end(), [&](std::size_t a, std::size_t b) {
            const Facet& fa = facets[a];
            const Facet& fb = facets[b];
            const int rowA = rowsUp ? fa.gridRow : -fa.gridRow;
            const int rowB = rowsUp ? fb.gridRow : -fb.gridRow;
            if (rowA != rowB) return rowA < rowB;
            const int columnA = columnsUp ? fa.gridColumn : -fa.gridColumn;
            const int columnB = columnsUp ? fb.gridColumn : -fb.gridColumn;
            return columnA < columnB;
        });
    }
    // The two tunes' surfaces cross each other, so no order is exact for both; merging by
    // depth keeps each one's own order and puts the nearer of two neighbours last.
    order_.reserve(facets.size());
    std::size_t a = 0;
    std::size_t b = 0;
    while (a < layers[0].size() || b < layers[1].size()) {
        const bool takeSecond = a == layers[0].size() ||
                                (b < layers[1].size() &&
                                 projected_[layers[1][b]].depth < projected_[layers[0][a]].depth);
        order_.push_back(takeSecond ? layers[1][b++] : layers[0][a++]);
    }
}

ScreenPoint SceneView::CellScreen(MapCell cell, int layer) const {
    return projection_.Project(scene_.CellPoint(cell, layer));
}

std::optional<MapCell> SceneView::Pick(double x, double y, double slack) const {
    const std::vector<Facet>& facets = scene_.Facets();
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        if (facets[*it].layer != 0) continue;
        if (DepthAt(projected_[*it], x, y)) return facets[*it].cell;
    }
    std::optional<MapCell> nearest;
    double best = slack * slack;
    const SurfaceMap& map = scene_.Map();
    for (int row = map.FirstRow(); row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const ScreenPoint p = CellScreen({row, column});
            const double d = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
            if (d <= best) {
                best = d;
                nearest = MapCell{row, column};
            }
        }
    }
    return nearest;
}

}  // namespace korvan
