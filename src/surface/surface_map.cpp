#include "surface/surface_map.h"

namespace korvan {

namespace {
constexpr int kRpmPerAxisUnit = 100;  // the RPM breakpoints are held in hundreds of rpm
}

SurfaceMap SurfaceMapFromImage(const DeviceImage& image, bool throttleAxisInUse) {
    SurfaceMap map;
    for (int column = 0; column < kMapColumns; ++column) {
        map.rpm[static_cast<std::size_t>(column)] =
            image[field::RpmAdv + static_cast<std::size_t>(column)] * kRpmPerAxisUnit;
    }
    for (int row = 0; row < kMapRows; ++row)
        map.throttle[static_cast<std::size_t>(row)] =
            kTpsAxisPercent[static_cast<std::size_t>(row)];
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            map.advance[static_cast<std::size_t>(row * kMapColumns + column)] =
                image[AdvanceIndex(row, column)];
        }
    }
    map.throttleAxis = throttleAxisInUse;
    return map;
}

}  // namespace korvan
