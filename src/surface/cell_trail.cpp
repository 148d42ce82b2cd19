#include "surface/cell_trail.h"

namespace korvan {

void CellTrail::Push(MapCell cell) {
    if (!cells_.empty() && cells_.back() == cell) return;

    cells_.push_back(cell);
    while (cells_.size() > kLength) cells_.pop_front();
}

double CellTrail::Opacity(std::size_t index) const {
    if (cells_.size() <= 1) return 1.0;
    // Measured against the full length, so a short trail's first cell is not yet faint.
    const std::size_t age = cells_.size() - 1 - index;
    return 1.0 - (1.0 - kOldestOpacity) * static_cast<double>(age) / (kLength - 1);
}

}  // namespace korvan
