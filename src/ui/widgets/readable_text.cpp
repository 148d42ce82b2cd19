#include "ui/widgets/readable_text.h"

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {

double Linear(double channel) {
    // The sRGB transfer curve undone: the eye's brightness is not the byte's.
    constexpr double kLinearLimit = 0.03928;
    constexpr double kLinearSlope = 12.92;
    constexpr double kOffset = 0.055;
    constexpr double kScale = 1.055;
    constexpr double kGamma = 2.4;
    return channel <= kLinearLimit ? channel / kLinearSlope
                                   : std::pow((channel + kOffset) / kScale, kGamma);
}

}  // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    constexpr double kFlare = 0.05;
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + kFlare) / (std::min(la, lb) + kFlare);
}

QColor ReadableTextOn(const QColor& background) {
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}

QColor ReadableTextOn(const QColor& background, const QColor& preferred) {
    if (preferred.isValid() && ContrastRatio(background, preferred) >= kReadableContrast)
        return preferred;
    return ReadableTextOn(background);
}

}  // namespace korvan
