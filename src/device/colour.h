// Colours the link asks the window to show. Button face and window are the platform's own
// colours (dialog and edit backgrounds); the others are fixed RGB values.
#pragma once

#include <cstdint>

#include "params/localized_text.h"

namespace korvan {

enum class Colour : std::uint8_t {
    ButtonFace,
    Window,
    Red,      // FF0000
    Yellow,   // FFFF00
    Lime,     // 00FF00
    White,    // FFFFFF
    Fuchsia,  // FF00FF
    Aqua,     // 00FFFF
    Blue,     // 0000FF
};

// 0xRRGGBB of a fixed colour; button face and window have none (-1).
constexpr long FixedRgb(Colour c) {
    switch (c) {
        case Colour::Red:
            return 0xFF0000;
        case Colour::Yellow:
            return 0xFFFF00;
        case Colour::Lime:
            return 0x00FF00;
        case Colour::White:
            return 0xFFFFFF;
        case Colour::Fuchsia:
            return 0xFF00FF;
        case Colour::Aqua:
            return 0x00FFFF;
        case Colour::Blue:
            return 0x0000FF;
        default:
            return -1;
    }
}

}  // namespace korvan
