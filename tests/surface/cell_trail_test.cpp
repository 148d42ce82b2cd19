#include "surface/cell_trail.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

TEST(CellTrail, KeepsTheLastFiftyCellsPassedThroughNewestLast) {
    CellTrail trail;
    trail.Push({0, 0});
    trail.Push({0, 0});  // staying in a cell adds nothing
    trail.Push({0, 1});
    ASSERT_EQ(trail.Cells().size(), 2u);
    trail.Push({0, 0});  // coming back is a new passage
    ASSERT_EQ(trail.Cells().size(), 3u);

    for (int i = 0; i < 120; ++i) trail.Push({i % 10, i / 10 % 10});
    ASSERT_EQ(trail.Cells().size(), CellTrail::kLength);
    EXPECT_EQ(trail.Cells().back(), (MapCell{119 % 10, 11 % 10}));
    EXPECT_EQ(trail.Cells().front(), (MapCell{70 % 10, 7}));

    trail.Clear();
    EXPECT_TRUE(trail.Cells().empty());
}

TEST(CellTrail, FadesWithAgeFromFullToFaint) {
    CellTrail trail;
    trail.Push({1, 1});
    EXPECT_DOUBLE_EQ(trail.Opacity(0), 1.0);
    for (int i = 0; i < 60; ++i) trail.Push({i % 2, 3});
    EXPECT_DOUBLE_EQ(trail.Opacity(CellTrail::kLength - 1), 1.0);
    EXPECT_NEAR(trail.Opacity(0), CellTrail::kOldestOpacity, 1e-12);
    for (std::size_t i = 1; i < CellTrail::kLength; ++i)
        EXPECT_GT(trail.Opacity(i), trail.Opacity(i - 1));
}

}  // namespace
}  // namespace korvan
