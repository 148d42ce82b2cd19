// The cells the engine passed through last, newest last, for the trail the 3D view draws
// behind the live cell. A cell is added when the engine moves into it, so a long stay in one
// cell does not wash the trail out.
#pragma once

#include <cstddef>
#include <deque>

#include "surface/surface_map.h"

namespace korvan {

class CellTrail {
  public:
    static constexpr std::size_t kLength = 50;
    // The oldest cell still shows faintly.
    static constexpr double kOldestOpacity = 0.08;

    // Adds `cell` unless it is the newest already; the oldest falls off beyond kLength.
    void Push(MapCell cell);
    void Clear() { cells_.clear(); }

    const std::deque<MapCell>& Cells() const { return cells_; }
    // Opacity of entry `index` (0 the oldest): rising evenly to 1 for the newest.
    double Opacity(std::size_t index) const;

  private:
    std::deque<MapCell> cells_;
};

}  // namespace korvan
