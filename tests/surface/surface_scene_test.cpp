#include "surface/surface_scene.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include "surface/surface_projection.h"
#include "surface_samples.h"

namespace korvan {
namespace {

struct AxisCase {
    const char* name;
    std::array<int, kMapColumns> rpm;
};

void PrintTo(const AxisCase& c, std::ostream* os) {
    *os << c.name;
}

class ColumnSpacing : public ::testing::TestWithParam<AxisCase> {};

// Each column stands at its breakpoint's distance from the first, in the box and on the screen
// (seen square from the front, where the screen's x is the box's x).
TEST_P(ColumnSpacing, ColumnXIsProportionalToItsBreakpoint) {
    SurfaceMap map = samples::PlaneMap();
    map.rpm = GetParam().rpm;
    const SurfaceScene scene(map, std::nullopt);
    const SceneView front(scene, Projection(ViewAngle{0.0, 20.0, 1.0, 0.0, 0.0}, 800, 600, 40));
    const double rpmSpan = map.rpm[9] - map.rpm[0];
    const double xSpan = scene.ColumnX()[9] - scene.ColumnX()[0];
    const double screenSpan = front.CellScreen({5, 9}).x - front.CellScreen({5, 0}).x;
    ASSERT_GT(screenSpan, 0.0);
    for (int column = 0; column < kMapColumns; ++column) {
        const double share = (map.rpm[static_cast<std::size_t>(column)] - map.rpm[0]) / rpmSpan;
        EXPECT_NEAR(
            (scene.ColumnX()[static_cast<std::size_t>(column)] - scene.ColumnX()[0]) / xSpan, share,
            1e-9)
            << column;
        EXPECT_NEAR((front.CellScreen({5, column}).x - front.CellScreen({5, 0}).x) / screenSpan,
                    share, 1e-9)
            << column;
    }
    EXPECT_DOUBLE_EQ(scene.ColumnX()[0], -kBoxHalfWidth);
    EXPECT_DOUBLE_EQ(scene.ColumnX()[9], kBoxHalfWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Axes, ColumnSpacing,
    ::testing::Values(
        AxisCase{"Even", {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}},
        AxisCase{"Uneven", {1000, 2000, 3000, 6000, 6500, 7000, 7200, 9000, 12000, 20100}},
        AxisCase{"AtTheLimits", {100, 300, 400, 500, 600, 700, 800, 900, 1000, 20100}}));

TEST(SurfaceScene, RowsStandAtTheirThrottleOpening) {
    const SurfaceScene scene(samples::PlaneMap(), std::nullopt);
    const double back = scene.CellPoint({0, 0}).y;
    const double front = scene.CellPoint({9, 0}).y;
    EXPECT_GT(back, front);  // the 0 % row farthest away, as the grid's top row
    for (int row = 0; row < kMapRows; ++row) {
        EXPECT_NEAR((scene.CellPoint({row, 0}).y - back) / (front - back),
                    kTpsAxisPercent[static_cast<std::size_t>(row)] / 100.0, 1e-9)
            << row;
    }
}

TEST(SurfaceScene, BreakpointsThatDoNotRiseAreSpacedEvenly) {
    SurfaceMap map = samples::PlaneMap();
    map.rpm = {3000, 3000, 2000, 5000, 5000, 5000, 1000, 9000, 9000, 100};
    const SurfaceScene scene(map, std::nullopt);
    for (int column = 0; column < kMapColumns; ++column) {
        EXPECT_NEAR(scene.ColumnX()[static_cast<std::size_t>(column)],
                    -kBoxHalfWidth + 2.0 * kBoxHalfWidth * column / 9.0, 1e-9);
    }
}

TEST(SurfaceScene, AdvanceAxisCoversTheValuesAndWidensAFlatMap) {
    struct Case {
        const char* name;
        SurfaceMap map;
        std::optional<SurfaceMap> compare;
        int low;
        int high;
        int step;
    } cases[] = {
        {"flat 30", samples::FlatMap(30), std::nullopt, 25, 35, 5},
        {"flat 0", samples::FlatMap(0), std::nullopt, 0, 10, 5},
        {"flat 60", samples::FlatMap(60), std::nullopt, 55, 65, 5},
        {"default 4..47", samples::DefaultMap(), std::nullopt, 0, 50, 10},
        {"compare widens", samples::DefaultMap(), samples::FlatMap(60), 0, 60, 10},
        {"bytes up to 255", samples::FlatMap(255), samples::FlatMap(0), 0, 300, 50},
    };
    for (const Case& c : cases) {
        const SurfaceScene scene(c.map, c.compare);
        EXPECT_EQ(scene.Box().advanceLow, c.low) << c.name;
        EXPECT_EQ(scene.Box().advanceHigh, c.high) << c.name;
        EXPECT_EQ(scene.Box().advanceStep, c.step) << c.name;
        for (const Facet& f : scene.Facets()) {
            for (const Vec3& p : f.corners) {
                ASSERT_GE(p.z, 0.0) << c.name;
                ASSERT_LE(p.z, kBoxHeight) << c.name;
                ASSERT_LE(std::abs(p.x), kBoxHalfWidth) << c.name;
                ASSERT_LE(std::abs(p.y), kBoxHalfDepth) << c.name;
            }
        }
    }
    // A flat map stands in the middle of its box, not on the floor.
    const SurfaceScene flat(samples::FlatMap(30), std::nullopt);
    EXPECT_DOUBLE_EQ(flat.CellPoint({4, 4}).z, kBoxHeight / 2.0);
}

TEST(SurfaceScene, EveryCellOwnsThePiecesAroundItsPoint) {
    const SurfaceScene scene(samples::DefaultMap(), std::nullopt);
    ASSERT_EQ(scene.Facets().size(), 18u * 18u);
    std::map<std::pair<int, int>, int> pieces;
    for (const Facet& f : scene.Facets()) {
        EXPECT_EQ(f.kind, FacetKind::Surface);
        ++pieces[{f.cell.row, f.cell.column}];
        const Vec3 own = scene.CellPoint(f.cell);
        EXPECT_DOUBLE_EQ(f.corners[0].x, own.x);
        EXPECT_DOUBLE_EQ(f.corners[0].y, own.y);
        EXPECT_DOUBLE_EQ(f.corners[0].z, own.z);
    }
    ASSERT_EQ(pieces.size(), 100u);
    for (const auto& [cell, count] : pieces) {
        const bool rowEdge = cell.first == 0 || cell.first == 9;
        const bool columnEdge = cell.second == 0 || cell.second == 9;
        EXPECT_EQ(count, rowEdge && columnEdge ? 1 : (rowEdge || columnEdge ? 2 : 4))
            << cell.first << "," << cell.second;
    }
}

TEST(SurfaceScene, WithoutTheThrottleAxisTheLastRowIsACurve) {
    const SurfaceMap map = samples::OneRowMap();
    const SurfaceScene scene(map, samples::DefaultMap());
    int walls = 0;
    for (const Facet& f : scene.Facets()) {
        if (f.layer != 0) {
            EXPECT_EQ(f.kind, FacetKind::Surface);  // the compare tune keeps its throttle axis
            continue;
        }
        ++walls;
        EXPECT_EQ(f.kind, FacetKind::Wall);
        EXPECT_EQ(f.cell.row, kMapRows - 1);
        EXPECT_DOUBLE_EQ(f.corners[0].y, 0.0);  // in the middle of the box
        EXPECT_DOUBLE_EQ(f.corners[0].z, scene.Box().Z(map.Advance(f.cell)));
        EXPECT_DOUBLE_EQ(f.corners[2].z, 0.0);  // down to the floor
        EXPECT_DOUBLE_EQ(f.corners[3].z, 0.0);
    }
    EXPECT_EQ(walls, 18);
}

}  // namespace
}  // namespace korvan
