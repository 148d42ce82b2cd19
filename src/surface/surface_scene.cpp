#include "surface/surface_scene.h"

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {

// Below this span the advance axis is widened around the values: a map that varies by a
// degree or two is a nearly flat surface and should look like one.
constexpr int kMinAdvanceSpan = 10;

int AdvanceStepFor(int span) {
    if (span <= 30) return 5;
    if (span <= 80) return 10;
    return 50;
}

int FloorTo(int value, int step) {
    return static_cast<int>(std::floor(static_cast<double>(value) / step)) * step;
}

int CeilTo(int value, int step) {
    return static_cast<int>(std::ceil(static_cast<double>(value) / step)) * step;
}

bool Rising(const std::array<int, kMapColumns>& rpm) {
    for (std::size_t i = 1; i < rpm.size(); ++i) {
        if (rpm[i] <= rpm[i - 1]) return false;
    }
    return true;
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

}  // namespace

double SurfaceBox::X(double rpm) const {
    if (rpmHigh <= rpmLow) return 0.0;
    return -kBoxHalfWidth + 2.0 * kBoxHalfWidth * (rpm - rpmLow) / (rpmHigh - rpmLow);
}

double SurfaceBox::Y(double throttle) const {
    if (throttleHigh <= throttleLow) return 0.0;
    // The 0 % row at the back (+y), the 100 % row in front (-y).
    return kBoxHalfDepth -
           2.0 * kBoxHalfDepth * (throttle - throttleLow) / (throttleHigh - throttleLow);
}

double SurfaceBox::Z(double advance) const {
    return kBoxHeight * (advance - advanceLow) / (advanceHigh - advanceLow);
}

SurfaceBox BoxFor(const SurfaceMap& map, const std::optional<SurfaceMap>& compare) {
    SurfaceBox box;
    std::vector<const SurfaceMap*> maps = {&map};
    if (compare) maps.push_back(&*compare);

    int rpmLow = map.rpm.front();
    int rpmHigh = map.rpm.front();
    bool anyThrottle = false;
    int throttleLow = 0;
    int throttleHigh = 0;
    int lo = map.Advance({map.FirstRow(), 0});
    int hi = lo;
    for (const SurfaceMap* m : maps) {
        for (int rpm : m->rpm) {
            rpmLow = std::min(rpmLow, rpm);
            rpmHigh = std::max(rpmHigh, rpm);
        }
        for (int row = m->FirstRow(); row < kMapRows; ++row) {
            const int throttle = m->throttle[static_cast<std::size_t>(row)];
            if (m->throttleAxis) {
                throttleLow = anyThrottle ? std::min(throttleLow, throttle) : throttle;
                throttleHigh = anyThrottle ? std::max(throttleHigh, throttle) : throttle;
                anyThrottle = true;
            }
            for (int column = 0; column < kMapColumns; ++column) {
                const int advance = m->Advance({row, column});
                lo = std::min(lo, advance);
                hi = std::max(hi, advance);
            }
        }
    }
    box.rpmLow = rpmLow;
    box.rpmHigh = rpmHigh;
    box.throttleLow = throttleLow;
    box.throttleHigh = throttleHigh;

    const int step = AdvanceStepFor(hi - lo);
    int low = FloorTo(lo, step);
    int high = CeilTo(hi, step);
    if (high - low < kMinAdvanceSpan) {
        const double middle = (lo + hi) / 2.0;
        low = static_cast<int>(std::floor((middle - kMinAdvanceSpan / 2.0) / step)) * step;
        if (low < 0 && lo >= 0) low = 0;  // an advance is never below zero
        high = low + kMinAdvanceSpan;
        while (high < hi) high += step;
    }
    box.advanceLow = low;
    box.advanceHigh = high;
    box.advanceStep = step;
    return box;
}

SurfaceScene::SurfaceScene(const SurfaceMap& map, const std::optional<SurfaceMap>& compare)
    : map_(map), compare_(compare), box_(BoxFor(map, compare)) {
    AddLayer(map_, 0);
    if (compare_) AddLayer(*compare_, 1);
}

const std::array<double, kMapColumns>& SurfaceScene::ColumnX(int layer) const {
    return columnX_[layer == 0 ? 0 : 1];
}

double SurfaceScene::RowY(const SurfaceMap& map, int row) const {
    // One row alone is a curve standing in the middle of the box.
    if (!map.throttleAxis) return 0.0;
    return box_.Y(map.throttle[static_cast<std::size_t>(row)]);
}

Vec3 SurfaceScene::CellPoint(MapCell cell, int layer) const {
    const SurfaceMap& map = layer == 0 || !compare_ ? map_ : *compare_;
    return {ColumnX(layer)[static_cast<std::size_t>(cell.column)], RowY(map, cell.row),
            box_.Z(map.Advance(cell))};
}

void SurfaceScene::AddLayer(const SurfaceMap& map, int layer) {
    std::array<double, kMapColumns>& xs = columnX_[static_cast<std::size_t>(layer)];
    const bool rising = Rising(map.rpm);
    for (int column = 0; column < kMapColumns; ++column) {
        xs[static_cast<std::size_t>(column)] =
            rising ? box_.X(map.rpm[static_cast<std::size_t>(column)])
                   : -kBoxHalfWidth + 2.0 * kBoxHalfWidth * column / (kMapColumns - 1);
    }

    const int firstRow = map.FirstRow();
    const int rows = map.RowCount();
    // A point of the surface in half cells from the first row in use and the first column:
    // the values at even positions, the bilinear surface between them.
    auto point = [&](int halfRow, int halfColumn) {
        const int r0 = firstRow + halfRow / 2;
        const int r1 = firstRow + (halfRow + 1) / 2;
        const int c0 = halfColumn / 2;
        const int c1 = (halfColumn + 1) / 2;
        const double x = Lerp(xs[static_cast<std::size_t>(c0)], xs[static_cast<std::size_t>(c1)],
                              0.5 * (halfColumn % 2));
        const double y = Lerp(RowY(map, r0), RowY(map, r1), 0.5 * (halfRow % 2));
        const double advance = (map.Advance({r0, c0}) + map.Advance({r0, c1}) +
                                map.Advance({r1, c0}) + map.Advance({r1, c1})) /
                               4.0;
        return Vec3{x, y, box_.Z(advance)};
    };

    const int halfColumns = 2 * (kMapColumns - 1);
    if (rows == 1) {
        for (int gj = 0; gj < halfColumns; ++gj) {
            const int even = gj % 2 == 0 ? gj : gj + 1;
            const int odd = gj % 2 == 0 ? gj + 1 : gj;
            Facet f;
            const Vec3 top0 = point(0, even);
            const Vec3 top1 = point(0, odd);
            f.corners = {top0, top1, Vec3{top1.x, top1.y, 0.0}, Vec3{top0.x, top0.y, 0.0}};
            f.cell = {firstRow, even / 2};
            f.kind = FacetKind::Wall;
            f.layer = layer;
            f.gridRow = 0;
            f.gridColumn = gj;
            facets_.push_back(f);
        }
        return;
    }
    const int halfRows = 2 * (rows - 1);
    for (int gi = 0; gi < halfRows; ++gi) {
        const int evenRow = gi % 2 == 0 ? gi : gi + 1;
        const int oddRow = gi % 2 == 0 ? gi + 1 : gi;
        for (int gj = 0; gj < halfColumns; ++gj) {
            const int evenColumn = gj % 2 == 0 ? gj : gj + 1;
            const int oddColumn = gj % 2 == 0 ? gj + 1 : gj;
            Facet f;
            f.corners = {point(evenRow, evenColumn), point(evenRow, oddColumn),
                         point(oddRow, oddColumn), point(oddRow, evenColumn)};
            f.cell = {firstRow + evenRow / 2, evenColumn / 2};
            f.kind = FacetKind::Surface;
            f.layer = layer;
            f.gridRow = gi;
            f.gridColumn = gj;
            facets_.push_back(f);
        }
    }
}

}  // namespace korvan
