#include "ui/window/window_placement.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace korvan {

namespace {

long long OverlapArea(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// How far the point lies outside the area, along both axes.
long long DistanceTo(const QRect& area, QPoint p) {
    const long long dx = p.x() < area.left() ? area.left() - p.x()
                                             : (p.x() > area.right() ? p.x() - area.right() : 0);
    const long long dy = p.y() < area.top() ? area.top() - p.y()
                                            : (p.y() > area.bottom() ? p.y() - area.bottom() : 0);
    return dx + dy;
}

int Fit(int position, int length, int start, int areaLength) {
    if (length <= areaLength) return std::clamp(position, start, start + areaLength - length);
    // Longer than the area: it can only be partly seen. It keeps a place from which it still
    // fills at least half of the area, else it starts where the area starts; never before the
    // start, where the title bar and the menu would go.
    return position >= start && position <= start + areaLength / 2 ? position : start;
}

}  // namespace

QPoint FitWindowPosition(QPoint saved, QSize size, const QList<QRect>& areas) {
    if (areas.isEmpty()) return saved;
    const QRect window(saved, size);
    const QRect* best = nullptr;
    long long bestOverlap = 0;
    for (const QRect& area : areas) {
        const long long overlap = OverlapArea(window, area);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &area;
        }
    }
    if (best == nullptr) {
        long long nearest = std::numeric_limits<long long>::max();
        for (const QRect& area : areas) {
            const long long distance = DistanceTo(area, window.center());
            if (distance < nearest) {
                nearest = distance;
                best = &area;
            }
        }
    }
    return {Fit(saved.x(), size.width(), best->x(), best->width()),
            Fit(saved.y(), size.height(), best->y(), best->height())};
}

}  // namespace korvan
