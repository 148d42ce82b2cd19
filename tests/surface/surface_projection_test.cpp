#include "surface/surface_projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <sstream>

#include "surface_samples.h"

namespace korvan {

// Found by argument lookup, so it stays outside the unnamed namespace.
std::ostream& operator<<(std::ostream& os, const ViewAngle& v) {
    return os << "yaw " << v.yaw << " pitch " << v.pitch << " zoom " << v.zoom;
}

namespace {

// Short and without blanks: the case's part of the test's name.
std::string Short(const ViewAngle& v) {
    std::ostringstream os;
    os << "y" << v.yaw << "_p" << v.pitch;
    if (v.zoom != 1.0) os << "_z" << v.zoom;
    return os.str();
}

// ---- fitting into the window --------------------------------------------------------------

struct FitCase {
    int width;
    int height;
    ViewAngle view;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height << "_" << Short(c.view);
}

class Fit : public ::testing::TestWithParam<FitCase> {};

// The whole box stays inside the window at any angle, and fills a fair part of it.
TEST_P(Fit, BoxFitsTheWindowAndFillsIt) {
    const FitCase& c = GetParam();
    const Projection projection(c.view, c.width, c.height, 40.0);
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (double x : {-kBoxHalfWidth, kBoxHalfWidth}) {
        for (double y : {-kBoxHalfDepth, kBoxHalfDepth}) {
            for (double z : {0.0, kBoxHeight}) {
                const ScreenPoint p = projection.Project({x, y, z});
                left = std::min(left, p.x);
                right = std::max(right, p.x);
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
            }
        }
    }
    // Inside the margin left for the labels, which a small window cuts to a fifth of itself.
    const double shorter = std::min(c.width, c.height);
    const double margin = std::min(40.0, 0.2 * shorter);
    EXPECT_GE(left, margin - 1e-9);
    EXPECT_GE(top, margin - 1e-9);
    EXPECT_LE(right, c.width - margin + 1e-9);
    EXPECT_LE(bottom, c.height - margin + 1e-9);
    EXPECT_GT(std::max(right - left, bottom - top), 0.3 * shorter);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Fit,
                         ::testing::Values(FitCase{50, 50, ViewAngle{}},
                                           FitCase{50, 50, ViewAngle{90, 0, 1, 0, 0}},
                                           FitCase{800, 600, ViewAngle{}},
                                           FitCase{800, 600, ViewAngle{-135, 60, 1, 0, 0}},
                                           FitCase{800, 600, ViewAngle{45, -90, 1, 0, 0}},
                                           FitCase{120, 900, ViewAngle{10, 5, 1, 0, 0}},
                                           // the floor's diagonal across the screen
                                           FitCase{120, 900, ViewAngle{-38.66, 0, 1, 0, 0}},
                                           FitCase{3840, 2160, ViewAngle{}},
                                           FitCase{3840, 2160, ViewAngle{180, 89, 1, 0, 0}}));

// ---- picking --------------------------------------------------------------------------------

struct PickCase {
    const char* name;
    SurfaceMap map;
    ViewAngle view;
};

void PrintTo(const PickCase& c, std::ostream* os) {
    *os << c.name << "_" << Short(c.view);
}

class Picking : public ::testing::TestWithParam<PickCase> {};

// A click on a cell's point picks that cell: picking inverts projecting (views where no part
// of the surface hides another).
TEST_P(Picking, PickingACellsPointGivesThatCell) {
    const PickCase& c = GetParam();
    const SurfaceScene scene(c.map, std::nullopt);
    const SceneView view(scene, Projection(c.view, 800, 600, 40));
    for (int row = c.map.FirstRow(); row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const ScreenPoint p = view.CellScreen({row, column});
            const std::optional<MapCell> picked = view.Pick(p.x, p.y, 0.0);
            ASSERT_TRUE(picked.has_value()) << row << "," << column;
            EXPECT_EQ(picked->row, row);
            EXPECT_EQ(picked->column, column);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, Picking,
    ::testing::Values(PickCase{"flat", samples::FlatMap(30), ViewAngle{}},
                      PickCase{"flat", samples::FlatMap(30), ViewAngle{-120, 15, 2, 0.1, 0}},
                      PickCase{"plane", samples::PlaneMap(), ViewAngle{}},
                      PickCase{"plane", samples::PlaneMap(), ViewAngle{75, 45, 1, 0, 0}},
                      PickCase{"uneven", samples::UnevenMap(), ViewAngle{-20, 60, 1, 0, 0}},
                      PickCase{"default", samples::DefaultMap(), ViewAngle{0, 90, 1, 0, 0}},
                      PickCase{"curve", samples::OneRowMap(), ViewAngle{0, 20, 1, 0, 0}},
                      PickCase{"curve", samples::OneRowMap(), ViewAngle{30, 30, 1, 0, 0}}));

TEST(Picking, APointBetweenTwoCellsGoesToTheNearer) {
    const SurfaceScene scene(samples::FlatMap(20), std::nullopt);
    const SceneView view(scene, Projection(ViewAngle{}, 800, 600, 40));
    struct Case {
        MapCell from;
        MapCell to;
        double share;
        MapCell expected;
    } cases[] = {
        {{3, 3}, {3, 4}, 0.4, {3, 3}}, {{3, 3}, {3, 4}, 0.6, {3, 4}}, {{3, 3}, {4, 3}, 0.4, {3, 3}},
        {{3, 3}, {4, 3}, 0.6, {4, 3}}, {{8, 0}, {9, 1}, 0.6, {9, 1}}, {{0, 9}, {1, 8}, 0.3, {0, 9}},
    };
    for (const Case& c : cases) {
        const ScreenPoint a = view.CellScreen(c.from);
        const ScreenPoint b = view.CellScreen(c.to);
        const std::optional<MapCell> picked =
            view.Pick(a.x + (b.x - a.x) * c.share, a.y + (b.y - a.y) * c.share, 0.0);
        ASSERT_TRUE(picked.has_value());
        EXPECT_EQ(*picked, c.expected) << c.from.row << "," << c.from.column << " " << c.share;
    }
}

TEST(Picking, OffTheSurfaceNothingUnlessNearACellsPoint) {
    const SurfaceScene scene(samples::OneRowMap(), std::nullopt);
    // Edge-on the curve's walls cover no area: only the slack finds its points.
    const SceneView edgeOn(scene, Projection(ViewAngle{90, 0, 1, 0, 0}, 800, 600, 40));
    const ScreenPoint p = edgeOn.CellScreen({9, 9});
    EXPECT_FALSE(edgeOn.Pick(p.x + 3, p.y, 0.0).has_value());
    const std::optional<MapCell> near = edgeOn.Pick(p.x + 3, p.y, 6.0);
    ASSERT_TRUE(near.has_value());
    EXPECT_EQ(near->row, 9);
    EXPECT_FALSE(edgeOn.Pick(2, 2, 6.0).has_value());

    const SurfaceScene surface(samples::DefaultMap(), std::nullopt);
    const SceneView view(surface, Projection(ViewAngle{}, 800, 600, 40));
    EXPECT_FALSE(view.Pick(1, 1, 6.0).has_value());
    EXPECT_FALSE(view.Pick(799, 599, 6.0).has_value());
}

TEST(Picking, OnlyTheMapIsPickedNotTheCompareTune) {
    // The compare tune floats far above the map: a point on it alone picks nothing.
    const SurfaceScene scene(samples::FlatMap(0), samples::FlatMap(60));
    const SceneView view(scene, Projection(ViewAngle{0, 10, 1, 0, 0}, 800, 600, 40));
    const ScreenPoint above = view.CellScreen({0, 5}, 1);
    EXPECT_FALSE(view.Pick(above.x, above.y, 0.0).has_value());
}

// ---- painting order -------------------------------------------------------------------------

struct OrderCase {
    const char* name;
    SurfaceMap map;
    ViewAngle view;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << c.name << "_" << Short(c.view);
}

class PaintingOrder : public ::testing::TestWithParam<OrderCase> {};

// Painted in this order, the last piece over any point is the nearest there: the picture equals
// what a depth buffer would show. A click there picks the cell of that nearest piece.
TEST_P(PaintingOrder, LastPiecePaintedOverAPointIsTheNearest) {
    const OrderCase& c = GetParam();
    const SurfaceScene scene(c.map, std::nullopt);
    const SceneView view(scene, Projection(c.view, 400, 300, 20));
    std::vector<int> rank(view.Order().size());
    for (std::size_t i = 0; i < view.Order().size(); ++i)
        rank[view.Order()[i]] = static_cast<int>(i);
    int overlaps = 0;
    for (double y = 0.5; y < 300; y += 3.0) {
        for (double x = 0.5; x < 400; x += 3.0) {
            int lastRank = -1;
            double lastDepth = 0.0;
            double nearest = -std::numeric_limits<double>::infinity();
            int covering = 0;
            for (std::size_t i = 0; i < view.Projected().size(); ++i) {
                const std::optional<double> depth = DepthAt(view.Projected()[i], x, y);
                if (!depth) continue;
                ++covering;
                nearest = std::max(nearest, *depth);
                if (rank[i] > lastRank) {
                    lastRank = rank[i];
                    lastDepth = *depth;
                }
            }
            if (covering > 1) ++overlaps;
            if (covering == 0) continue;
            ASSERT_GE(lastDepth, nearest - 1e-9) << "at " << x << "," << y;
            const std::optional<MapCell> picked = view.Pick(x, y, 0.0);
            ASSERT_TRUE(picked.has_value());
            bool pickedIsInFront = false;
            for (std::size_t i = 0; i < view.Projected().size(); ++i) {
                const std::optional<double> depth = DepthAt(view.Projected()[i], x, y);
                if (depth && *depth >= nearest - 1e-9 && scene.Facets()[i].cell == *picked)
                    pickedIsInFront = true;
            }
            ASSERT_TRUE(pickedIsInFront) << "at " << x << "," << y;
        }
    }
    if (c.view.pitch < 80) {
        EXPECT_GT(overlaps, 0);  // the case has something to order
    }
}

INSTANTIATE_TEST_SUITE_P(
    Angles, PaintingOrder,
    ::testing::Values(OrderCase{"spiky", samples::SpikyMap(), ViewAngle{}},
                      OrderCase{"spiky", samples::SpikyMap(), ViewAngle{0, 10, 1, 0, 0}},
                      OrderCase{"spiky", samples::SpikyMap(), ViewAngle{120, 25, 1, 0, 0}},
                      OrderCase{"spiky", samples::SpikyMap(), ViewAngle{-150, 40, 1, 0, 0}},
                      OrderCase{"spiky", samples::SpikyMap(), ViewAngle{-60, -30, 1, 0, 0}},
                      OrderCase{"spiky", samples::SpikyMap(), ViewAngle{90, 5, 1, 0, 0}},
                      OrderCase{"default", samples::DefaultMap(), ViewAngle{200, 15, 1, 0, 0}},
                      OrderCase{"uneven", samples::UnevenMap(), ViewAngle{-30, 20, 1, 0, 0}},
                      OrderCase{"spiky", samples::SpikyMap(), ViewAngle{45, 60, 1, 0, 0}},
                      OrderCase{"default", samples::DefaultMap(), ViewAngle{-20, 30, 1, 0, 0}}));

TEST(PaintingOrderTwoTunes, EachTuneKeepsItsOwnBackToFrontOrder) {
    const SurfaceScene one(samples::SpikyMap(), std::nullopt);
    const SurfaceScene two(samples::SpikyMap(), samples::DefaultMap());
    const Projection projection(ViewAngle{}, 400, 300, 20);
    const SceneView alone(one, projection);
    const SceneView both(two, projection);
    std::vector<std::size_t> mapOrder;
    for (std::size_t i : both.Order()) {
        if (two.Facets()[i].layer == 0) mapOrder.push_back(i);
    }
    EXPECT_EQ(mapOrder, alone.Order());
    EXPECT_EQ(both.Order().size(), 2 * alone.Order().size());
}

// ---- the view angle -------------------------------------------------------------------------

TEST(ViewAngle, SettingsTextRoundTripsAndBadTextGivesNothing) {
    const ViewAngle view{-42.5, 17.25, 2.5, -0.125, 0.5};
    const std::optional<ViewAngle> back = ParseViewAngle(ViewAngleText(view));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, view);

    for (const char* bad : {"", "30 30 1 0", "a b c d e", "30 30 1 0 0 x", "30,5 30 1 0 0",
                            "nan 30 1 0 0", "30 30 1 0 0 7"}) {
        EXPECT_FALSE(ParseViewAngle(bad).has_value()) << bad;
    }
    const std::optional<ViewAngle> wild = ParseViewAngle(" 400 100 50 -20 20 ");
    ASSERT_TRUE(wild.has_value());
    EXPECT_EQ(*wild, (ViewAngle{40, 90, kMaxZoom, -kMaxPan, kMaxPan}));
}

TEST(ViewAngle, TurningWrapsTheYawAndStopsThePitchAtTheTopAndBottom) {
    struct Case {
        ViewAngle from;
        double yaw;
        double pitch;
        ViewAngle expected;
    } cases[] = {
        {ViewAngle{}, 10, 5, ViewAngle{40, 35, 1, 0, 0}},
        {ViewAngle{170, 30, 1, 0, 0}, 20, 0, ViewAngle{-170, 30, 1, 0, 0}},
        {ViewAngle{-170, 30, 1, 0, 0}, -20, 0, ViewAngle{170, 30, 1, 0, 0}},
        {ViewAngle{0, 80, 1, 0, 0}, 0, 25, ViewAngle{0, 90, 1, 0, 0}},
        {ViewAngle{0, -80, 1, 0, 0}, 0, -25, ViewAngle{0, -90, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        const ViewAngle v = Rotated(c.from, c.yaw, c.pitch);
        EXPECT_NEAR(v.yaw, c.expected.yaw, 1e-9) << c.from;
        EXPECT_NEAR(v.pitch, c.expected.pitch, 1e-9) << c.from;
    }
}

TEST(ViewAngle, ZoomKeepsThePointUnderThePointerAndPanFollowsIt) {
    const Vec3 world{0.3, -0.2, 0.7};
    const double w = 800;
    const double h = 600;
    for (double factor : {1.25, 0.8, 3.0}) {
        const ViewAngle start{20, 35, 1.5, 0.1, -0.05};
        const ScreenPoint before = Projection(start, w, h, 40).Project(world);
        const ViewAngle zoomed = ZoomedAt(start, factor, before.x, before.y, w, h);
        EXPECT_NEAR(zoomed.zoom, start.zoom * factor, 1e-9);
        const ScreenPoint after = Projection(zoomed, w, h, 40).Project(world);
        EXPECT_NEAR(after.x, before.x, 1e-6) << factor;
        EXPECT_NEAR(after.y, before.y, 1e-6) << factor;
    }
    const ViewAngle start{};
    const ScreenPoint before = Projection(start, w, h, 40).Project(world);
    const ScreenPoint after = Projection(Panned(start, 30, -12, w, h), w, h, 40).Project(world);
    EXPECT_NEAR(after.x - before.x, 30, 1e-6);
    EXPECT_NEAR(after.y - before.y, -12, 1e-6);
    // A zoom stops at its limits; the pointer's point then moves as little as it can.
    EXPECT_EQ(ZoomedAt(start, 1000, 400, 300, w, h).zoom, kMaxZoom);
    EXPECT_EQ(ZoomedAt(start, 0.001, 400, 300, w, h).zoom, kMinZoom);
}

}  // namespace
}  // namespace korvan
