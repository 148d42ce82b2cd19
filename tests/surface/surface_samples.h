// Maps the geometry tests share.
#pragma once

#include <array>
#include <cstdlib>

#include "params/defaults.h"
#include "surface/surface_map.h"

namespace korvan::samples {

inline SurfaceMap DefaultMap() {
    return SurfaceMapFromImage(DefaultImage(), true);
}

// Every cell the same value.
inline SurfaceMap FlatMap(int advance) {
    SurfaceMap map = DefaultMap();
    map.advance.fill(advance);
    return map;
}

// Rising with RPM and falling with throttle: a tilted plane never hides part of itself.
inline SurfaceMap PlaneMap() {
    SurfaceMap map = DefaultMap();
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            map.advance[static_cast<std::size_t>(row * kMapColumns + column)] =
                10 + 3 * column - row;
    }
    return map;
}

// Alternating 0 and 60 degrees: peaks that hide one another from almost every angle.
inline SurfaceMap SpikyMap() {
    SurfaceMap map = DefaultMap();
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            map.advance[static_cast<std::size_t>(row * kMapColumns + column)] =
                (row + column) % 2 == 0 ? 60 : 0;
    }
    return map;
}

// Breakpoints spaced unevenly, as a tuner sets them: dense where the engine lives.
inline SurfaceMap UnevenMap() {
    SurfaceMap map = PlaneMap();
    map.rpm = {1000, 2000, 3000, 6000, 6500, 7000, 7200, 9000, 12000, 20100};
    return map;
}

inline SurfaceMap OneRowMap() {
    SurfaceMap map = DefaultMap();
    map.throttleAxis = false;
    return map;
}

}  // namespace korvan::samples
