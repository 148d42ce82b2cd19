// The colours the 3D view and the difference grid share: height, difference, and a text colour
// that stays legible on any of them in a light or a dark palette.
#pragma once

#include <QColor>

namespace korvan {

// The live cell, lime as the cursor in the map grid.
inline const QColor kLiveCellColour(0x00, 0xFF, 0x00);
// The engine's trail behind it.
inline const QColor kTrailColour(0xFF, 0x8C, 0x00);

// Along the advance axis: blue for the lowest (0) to red for the highest (1).
QColor HeightColour(double share);

// A signed difference in degrees over `background`: none is the background itself, more advance
// is redder and less is bluer, full strength from kFullDifference degrees on.
constexpr int kFullDifference = 10;
QColor DifferenceColour(int degrees, const QColor& background);

// Black or white, whichever reads better on `background`.
QColor TextOn(const QColor& background);

// `colour` with `share` (0..1) of `tint` mixed in.
QColor Mixed(const QColor& colour, const QColor& tint, double share);

}  // namespace korvan
