// One cell of the advance map: row 0 is the 0 % throttle row, column 0 the first RPM
// breakpoint. The map tools, the grid and the 3D view all name cells this way.
#pragma once

namespace korvan {

struct MapCell {
    int row = 0;
    int column = 0;

    bool operator==(const MapCell& o) const { return row == o.row && column == o.column; }
    bool operator!=(const MapCell& o) const { return !(*this == o); }
};

}  // namespace korvan
