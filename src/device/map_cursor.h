// The live map cursor: where the engine runs now in the advance map and the servo table.
#pragma once

#include <array>
#include <cstdint>

#include "device/colour.h"
#include "device/monitor.h"
#include "params/device_image.h"

namespace korvan {

struct MapCursor {
    std::uint8_t RpmIndex = 0;
    std::uint8_t TpsIndex = 0;
    std::uint8_t ServoIndex = 0;
    bool BelowRpmAxis = false;
    // No live values (no frame yet, or the line went silent): nothing is highlighted and the
    // one-cell tools have no cell.
    bool Cleared = false;

    bool operator==(const MapCursor& o) const {
        return RpmIndex == o.RpmIndex && TpsIndex == o.TpsIndex && ServoIndex == o.ServoIndex &&
               BelowRpmAxis == o.BelowRpmAxis && Cleared == o.Cleared;
    }
};

struct Breakpoint {
    std::uint8_t index;
    bool below;  // x lies below the first entry
};

// Nearest of ten rising breakpoints; a value midway goes to the lower one.
Breakpoint NearestBreakpoint(const std::uint8_t* table, unsigned x);

// `tpsAxisInUse` is the state of the TPS map box; without the throttle axis the cursor row is 9.
MapCursor ComputeMapCursor(const DeviceImage& image, const LiveValues& live, bool tpsAxisInUse);
// The cursor without live values: below the rpm axis and nothing highlighted.
MapCursor ClearedMapCursor();

// The colour of every control the cursor paints: lime under the cursor, the normal colour
// elsewhere.
struct CursorColours {
    std::array<Colour, 10> rpmAdv;    // EditRpmAdvTable
    std::array<Colour, 10> tpsLabel;  // LabelTpsTable
    std::array<Colour, 10> rpmPriv;   // EditRpmPrivTable
    std::array<Colour, 10> napPriv;   // EditNapPrivTable
    std::array<Colour, 100> map;      // EditMapTable
};
CursorColours CursorColoursFor(const MapCursor& cursor);

}  // namespace korvan
