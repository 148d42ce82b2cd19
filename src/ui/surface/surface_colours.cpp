#include "ui/surface/surface_colours.h"

#include <algorithm>
#include <cstdlib>

namespace korvan {

namespace {
// The hues of the height scale: blue at the bottom, red at the top.
constexpr double kLowHue = 0.66;
constexpr double kHighHue = 0.0;
constexpr double kSaturation = 0.75;
constexpr double kValue = 0.95;
// A difference of one degree already shows clearly.
constexpr double kLeastDifferenceShare = 0.3;
const QColor kMore(0xE0, 0x20, 0x20);
const QColor kLess(0x20, 0x50, 0xE0);
}  // namespace

QColor HeightColour(double share) {
    const double s = std::clamp(share, 0.0, 1.0);
    return QColor::fromHsvF(static_cast<float>(kLowHue + (kHighHue - kLowHue) * s),
                            static_cast<float>(kSaturation), static_cast<float>(kValue));
}

QColor Mixed(const QColor& colour, const QColor& tint, double share) {
    const double s = std::clamp(share, 0.0, 1.0);
    auto mix = [s](int a, int b) { return static_cast<int>(a + (b - a) * s + 0.5); };
    return QColor(mix(colour.red(), tint.red()), mix(colour.green(), tint.green()),
                  mix(colour.blue(), tint.blue()), mix(colour.alpha(), tint.alpha()));
}

QColor DifferenceColour(int degrees, const QColor& background) {
    if (degrees == 0) return background;
    const double strength =
        std::min(std::abs(degrees), kFullDifference) / static_cast<double>(kFullDifference);
    const double share = kLeastDifferenceShare + (1.0 - kLeastDifferenceShare) * strength;
    return Mixed(background, degrees > 0 ? kMore : kLess, share);
}

QColor TextOn(const QColor& background) {
    // Relative luminance by the usual weights; the threshold favours black a little, which
    // reads better on the mid tones of the scales.
    const double luminance =
        0.2126 * background.redF() + 0.7152 * background.greenF() + 0.0722 * background.blueF();
    return luminance > 0.45 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace korvan
