// The advance map as the 3D view sees it: the values with their real axis values (RPM
// breakpoints and throttle openings) and the rows in use. Plain C++, so the geometry built on it
// is tested without a window.
#pragma once

#include <array>

#include "params/device_image.h"
#include "params/map_cell.h"

namespace korvan {

// A rectangle of cells, both corners included, given in either order.
struct CellRange {
    MapCell first;
    MapCell last;

    int TopRow() const { return first.row < last.row ? first.row : last.row; }
    int BottomRow() const { return first.row < last.row ? last.row : first.row; }
    int LeftColumn() const { return first.column < last.column ? first.column : last.column; }
    int RightColumn() const { return first.column < last.column ? last.column : first.column; }
    bool operator==(const CellRange& o) const {
        return TopRow() == o.TopRow() && BottomRow() == o.BottomRow() &&
               LeftColumn() == o.LeftColumn() && RightColumn() == o.RightColumn();
    }
    bool operator!=(const CellRange& o) const { return !(*this == o); }
    bool Contains(MapCell c) const {
        return c.row >= TopRow() && c.row <= BottomRow() && c.column >= LeftColumn() &&
               c.column <= RightColumn();
    }
};

struct SurfaceMap {
    std::array<int, kMapColumns> rpm{};                 // the breakpoints, rpm
    std::array<int, kMapRows> throttle{};               // the row openings, percent
    std::array<int, kMapRows * kMapColumns> advance{};  // degrees, row by row
    // Without the throttle axis the map is its last row alone, shown as one curve.
    bool throttleAxis = true;

    bool operator==(const SurfaceMap& o) const {
        return rpm == o.rpm && throttle == o.throttle && advance == o.advance &&
               throttleAxis == o.throttleAxis;
    }
    bool operator!=(const SurfaceMap& o) const { return !(*this == o); }

    int FirstRow() const { return throttleAxis ? 0 : kMapRows - 1; }
    int RowCount() const { return kMapRows - FirstRow(); }
    bool InUse(MapCell c) const {
        return c.row >= FirstRow() && c.row < kMapRows && c.column >= 0 && c.column < kMapColumns;
    }
    int Advance(MapCell c) const {
        return advance[static_cast<std::size_t>(c.row * kMapColumns + c.column)];
    }
};

// The map of an image. `throttleAxisInUse` is the state of the map's throttle axis switch.
SurfaceMap SurfaceMapFromImage(const DeviceImage& image, bool throttleAxisInUse);

}  // namespace korvan
