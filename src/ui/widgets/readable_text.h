// The one rule for text on a background the program colours itself (the live cursor's lime,
// a red failure, the time-in-cell shades): the text colour must read on it under any palette,
// light or dark. Whoever sets a background sets the text colour from here.
#pragma once

#include <QColor>

namespace korvan {

// The relative luminance of a colour (0 black .. 1 white), as the WCAG contrast rule takes it.
double RelativeLuminance(const QColor& colour);
// The contrast ratio of two colours, 1 (none) .. 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The contrast every text on a coloured background must at least have (WCAG AA).
constexpr double kReadableContrast = 4.5;

// A text colour that reads on `background`: `preferred` (the palette's own text colour) when
// it has at least kReadableContrast there, else black or white, whichever reads better.
QColor ReadableTextOn(const QColor& background, const QColor& preferred);
// Black or white, whichever reads better on `background`.
QColor ReadableTextOn(const QColor& background);

}  // namespace korvan
