#include "params/map_selection.h"

#include <algorithm>

namespace korvan {

MapRect MapRect::Spanning(MapCell a, MapCell b) {
    return {std::min(a.row, b.row), std::min(a.column, b.column), std::max(a.row, b.row),
            std::max(a.column, b.column)};
}

MapRect MapRect::WholeMap(bool throttleAxis) {
    return {FirstRowInUse(throttleAxis), 0, kMapRows - 1, kMapColumns - 1};
}

bool MapRect::OnMap() const {
    return top >= 0 && left >= 0 && top <= bottom && left <= right && bottom < kMapRows &&
           right < kMapColumns;
}

bool HasThrottleAxis(const DeviceImage& image) {
    return image[field::TpsMapa] != 0;
}

int FirstRowInUse(bool throttleAxis) {
    return throttleAxis ? 0 : kCurveRow;
}

MapSelection::MapSelection(bool throttleAxis) : throttleAxis_(throttleAxis) {
    anchor_ = focus_ = Clamped({0, 0});
}

MapCell MapSelection::Clamped(MapCell cell) const {
    return {std::clamp(cell.row, FirstRowInUse(throttleAxis_), kMapRows - 1),
            std::clamp(cell.column, 0, kMapColumns - 1)};
}

void MapSelection::SetThrottleAxis(bool on) {
    throttleAxis_ = on;
    anchor_ = Clamped(anchor_);
    focus_ = Clamped(focus_);
    selecting_ = selecting_ && anchor_ != focus_;
}

void MapSelection::Press(MapCell cell, bool shift) {
    focus_ = Clamped(cell);
    if (shift) {
        selecting_ = true;
    } else {
        anchor_ = focus_;
        selecting_ = false;
    }
}

void MapSelection::DragTo(MapCell cell) {
    focus_ = Clamped(cell);
    // Back on the cell where the button went down, it is a click again.
    selecting_ = focus_ != anchor_;
}

void MapSelection::Step(int rows, int columns, bool shift) {
    Press({focus_.row + rows, focus_.column + columns}, shift);
}

void MapSelection::SelectAll() {
    Select(MapRect::WholeMap(throttleAxis_));
}

void MapSelection::Select(const MapRect& rect) {
    anchor_ = Clamped({rect.top, rect.left});
    focus_ = Clamped({rect.bottom, rect.right});
    selecting_ = true;
}

void MapSelection::Clear() {
    anchor_ = focus_;
    selecting_ = false;
}

void MapSelection::FocusCell(MapCell cell) {
    Press(cell, false);
}

}  // namespace korvan
