// Where the window goes when it comes back: the position saved last time, fitted into a screen
// that exists now. A monitor unplugged, a laptop taken off its dock or a larger scale factor
// must never leave the window (or its title bar) out of reach.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace korvan {

// The top-left corner for a window of `size` saved at `saved`, among the screens' available
// areas (without panels): on the area that shows most of it, else the one nearest to it, moved
// only as far as it takes to lie inside. Along a side where the window is larger than the area
// it keeps a saved start in the area's first half, else it starts at the area's edge: its title
// bar and menu stay reachable and it fills at least half the area. No areas: `saved`.
QPoint FitWindowPosition(QPoint saved, QSize size, const QList<QRect>& areas);

}  // namespace korvan
