// The saved window position fitted into the screens there are now.
#include "ui/window/window_placement.h"

#include <gtest/gtest.h>

#include <ostream>

namespace korvan {
namespace {

struct PlacementCase {
    const char* name;
    QPoint saved;
    QList<QRect> areas;
    QPoint placed;
};
void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

TEST(WindowPlacement, ASavedPositionIsFittedIntoAScreenThereIsNow) {
    const QSize window(973, 611);
    const QRect fullHd(0, 0, 1920, 1080);
    const QRect panelled(0, 32, 1920, 1048);  // a panel along the top
    const QRect right(1920, 0, 1280, 1024);   // a second monitor to the right
    const QRect doubled(0, 0, 960, 600);      // 1920 x 1200 at scale factor 2
    const PlacementCase cases[] = {
        {"inside stays", {40, 30}, {fullHd}, {40, 30}},
        {"off the right edge", {1500, 100}, {fullHd}, {1920 - 973, 100}},
        {"off the bottom", {100, 900}, {fullHd}, {100, 1080 - 611}},
        {"above the top", {100, -400}, {fullHd}, {100, 0}},
        {"under a panel", {100, 0}, {panelled}, {100, 32}},
        {"on the second monitor", {2000, 200}, {fullHd, right}, {2000, 200}},
        {"the monitor unplugged", {2500, 200}, {fullHd}, {1920 - 973, 200}},
        {"mostly on the second", {1800, 100}, {fullHd, right}, {1920, 100}},
        {"far away, the nearest", {-5000, 50}, {right, fullHd}, {0, 50}},
        {"larger, mostly off", {700, 500}, {doubled}, {0, 0}},
        {"larger, a little in", {32, 16}, {doubled}, {32, 16}},
        {"larger, above and left", {-40, -10}, {doubled}, {0, 0}},
        {"no screens", {5, 6}, {}, {5, 6}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        const QPoint placed = FitWindowPosition(c.saved, window, c.areas);
        EXPECT_EQ(placed, c.placed) << placed.x() << "," << placed.y();
    }
}

}  // namespace
}  // namespace korvan
