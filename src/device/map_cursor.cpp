#include "device/map_cursor.h"

namespace korvan {

Breakpoint NearestBreakpoint(const std::uint8_t* table, unsigned x) {
    std::size_t i = 0;
    while (i < kAxisPoints && table[i] <= x) ++i;
    if (i == kAxisPoints) return {kAxisPoints - 1, false};
    if (i == 0) return {0, true};
    // The nearer breakpoint wins; exactly midway goes to the lower one.
    const unsigned sum = static_cast<unsigned>(table[i - 1]) + table[i];
    return {static_cast<std::uint8_t>(sum >= 2 * x ? i - 1 : i), false};
}

MapCursor ComputeMapCursor(const DeviceImage& image, const LiveValues& live, bool tpsAxisInUse) {
    MapCursor c;
    // Whole hundreds of rpm. Speeds beyond an 8-bit count of hundreds are simply above the
    // last breakpoint (no wrap to a low column).
    const unsigned s = live.Rpm / 100u;
    const Breakpoint column = NearestBreakpoint(image.bytes.data() + field::RpmAdv, s);
    c.BelowRpmAxis = column.below;
    c.RpmIndex = column.index;
    c.ServoIndex = NearestBreakpoint(image.bytes.data() + field::RpmPriv, s).index;
    c.TpsIndex = tpsAxisInUse ? NearestBreakpoint(kTpsAxisPercent.data(), live.TpsPercent).index
                              : static_cast<std::uint8_t>(kMapRows - 1);
    return c;
}

MapCursor ClearedMapCursor() {
    MapCursor c;
    c.BelowRpmAxis = true;
    c.Cleared = true;
    return c;
}

CursorColours CursorColoursFor(const MapCursor& c) {
    CursorColours colours;
    if (c.Cleared) {
        colours.rpmAdv.fill(Colour::Window);
        colours.tpsLabel.fill(Colour::ButtonFace);
        colours.rpmPriv.fill(Colour::Window);
        colours.napPriv.fill(Colour::Window);
        colours.map.fill(Colour::Window);
        return colours;
    }
    for (std::size_t i = 0; i < kAxisPoints; ++i) {
        colours.rpmAdv[i] = (i == c.RpmIndex && !c.BelowRpmAxis) ? Colour::Lime : Colour::Window;
        colours.tpsLabel[i] = i == c.TpsIndex ? Colour::Lime : Colour::ButtonFace;
        colours.rpmPriv[i] = i == c.ServoIndex ? Colour::Lime : Colour::Window;
        colours.napPriv[i] = colours.rpmPriv[i];
    }
    for (std::size_t row = 0; row < kMapRows; ++row) {
        for (std::size_t column = 0; column < kMapColumns; ++column) {
            const bool hit = row == c.TpsIndex && column == c.RpmIndex && !c.BelowRpmAxis;
            colours.map[row * kMapColumns + column] = hit ? Colour::Lime : Colour::Window;
        }
    }
    return colours;
}

}  // namespace korvan
