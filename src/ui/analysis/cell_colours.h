// The colours of the analysis grids: a value scale from blue over green and yellow to red, a
// difference scale from blue over white to red, grey for cells with too few samples, and for
// each background the text colour that reads best on it. Every colour here is fixed, text and
// background together, so a grid reads the same in a light and in a dark palette.
#pragma once

#include <QColor>

#include "ui/widgets/readable_text.h"

namespace korvan {

// `share` 0 (the lowest value shown) .. 1 (the highest): light blue, green, yellow, red.
QColor ValueColour(double share);
// A difference against the largest one shown (either sign): blue below 0, white at 0, red above.
QColor DifferenceColour(double difference, double largest);

// Black or white, whichever stands out more from `background` (the window's one rule).
inline QColor TextColourOn(const QColor& background) {
    return ReadableTextOn(background);
}

// A cell with fewer samples than asked for.
QColor GreyedBackground();
QColor GreyedText();

}  // namespace korvan
