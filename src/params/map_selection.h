// A rectangle of advance map cells, and the selection the tuner makes on the map: an anchor
// cell where the selection started and a focused cell where it ends. The window's map
// collaborator only turns mouse and key events into these calls and draws what Cells() says.
#pragma once

#include "params/device_image.h"
#include "params/map_cell.h"

namespace korvan {

// A rectangle of cells, corners included. The operations take it as it is; MapSelection
// only hands out rectangles that lie on the map.
struct MapRect {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    // The rectangle spanned by two cells, in either order.
    static MapRect Spanning(MapCell a, MapCell b);
    // The whole map, or with `throttleAxis` off the one row in use.
    static MapRect WholeMap(bool throttleAxis = true);

    int Rows() const { return bottom - top + 1; }
    int Columns() const { return right - left + 1; }
    int Cells() const { return Rows() * Columns(); }
    bool Contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    // Not empty and within the 10 x 10 map.
    bool OnMap() const;

    bool operator==(const MapRect& o) const {
        return top == o.top && left == o.left && bottom == o.bottom && right == o.right;
    }
    bool operator!=(const MapRect& o) const { return !(*this == o); }
};

// The row the map uses when it has no throttle axis (TpsMapa off): one advance curve over RPM.
constexpr int kCurveRow = kMapRows - 1;

// Whether the image's map spans throttle as well as RPM (TpsMapa).
bool HasThrottleAxis(const DeviceImage& image);
// The first row in use: 0, or the curve row without the throttle axis.
int FirstRowInUse(bool throttleAxis);

class MapSelection {
  public:
    explicit MapSelection(bool throttleAxis = true);

    // With the throttle axis off only the curve row is in use: the cells move onto it.
    void SetThrottleAxis(bool on);
    bool ThrottleAxis() const { return throttleAxis_; }

    MapCell Focus() const { return focus_; }
    MapCell Anchor() const { return anchor_; }
    // Whether a block is selected; without one the operations act on the focused cell.
    bool HasSelection() const { return selecting_; }
    // The selected block, or the focused cell alone.
    MapRect Cells() const { return MapRect::Spanning(anchor_, focus_); }

    // A click: the focus moves there and the selection goes. With Shift the selection runs
    // from the anchor to there.
    void Press(MapCell cell, bool shift);
    // The mouse moved over `cell` with the button held: the selection runs from where the
    // button went down.
    void DragTo(MapCell cell);
    // An arrow key: the focus moves by `rows` and `columns` and stops at the map's edge. With
    // Shift the selection grows or shrinks from the anchor; without, it goes.
    void Step(int rows, int columns, bool shift);
    // Every cell in use: the whole map, or the curve row without the throttle axis.
    void SelectAll();
    // A given block (after a paste: what was written), clamped to the cells in use.
    void Select(const MapRect& rect);
    // Escape: the selection goes, the focus stays.
    void Clear();
    // Jump to a cell (the one the engine runs in), without a selection.
    void FocusCell(MapCell cell);

  private:
    MapCell Clamped(MapCell cell) const;

    bool throttleAxis_;
    MapCell anchor_;
    MapCell focus_;
    bool selecting_ = false;
};

}  // namespace korvan
