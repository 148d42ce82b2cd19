#include "params/map_selection.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace korvan {
namespace {

using Event = std::function<void(MapSelection&)>;

Event Click(int row, int column) {
    return [=](MapSelection& s) { s.Press({row, column}, false); };
}
Event ShiftClick(int row, int column) {
    return [=](MapSelection& s) { s.Press({row, column}, true); };
}
Event Drag(int row, int column) {
    return [=](MapSelection& s) { s.DragTo({row, column}); };
}
Event Arrow(int rows, int columns, bool shift = false) {
    return [=](MapSelection& s) { s.Step(rows, columns, shift); };
}
Event ShiftArrow(int rows, int columns) {
    return Arrow(rows, columns, true);
}
const Event kSelectAll = [](MapSelection& s) { s.SelectAll(); };
const Event kEscape = [](MapSelection& s) { s.Clear(); };
Event LiveCell(int row, int column) {
    return [=](MapSelection& s) { s.FocusCell({row, column}); };
}
Event ThrottleAxis(bool on) {
    return [=](MapSelection& s) { s.SetThrottleAxis(on); };
}

struct SelectionCase {
    const char* name;
    bool throttleAxis;
    std::vector<Event> events;
    MapRect cells;
    bool selection;
    MapCell focus;
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.name;
}

class Selection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(Selection, EventsGiveTheBlockAndFocus) {
    const SelectionCase& c = GetParam();
    MapSelection s(c.throttleAxis);
    for (const Event& e : c.events) e(s);
    EXPECT_EQ(s.Cells(), c.cells);
    EXPECT_EQ(s.HasSelection(), c.selection);
    EXPECT_EQ(s.Focus(), c.focus);
    EXPECT_TRUE(s.Cells().OnMap());
}

INSTANTIATE_TEST_SUITE_P(
    Events, Selection,
    ::testing::Values(
        SelectionCase{"StartsOnTheFirstCell", true, {}, {0, 0, 0, 0}, false, {0, 0}},
        SelectionCase{"ClickFocusesOneCell", true, {Click(3, 4)}, {3, 4, 3, 4}, false, {3, 4}},
        SelectionCase{"ShiftClickSpansFromTheAnchor",
                      true,
                      {Click(5, 6), ShiftClick(2, 3)},
                      {2, 3, 5, 6},
                      true,
                      {2, 3}},
        SelectionCase{"SecondShiftClickKeepsTheAnchor",
                      true,
                      {Click(5, 6), ShiftClick(2, 3), ShiftClick(7, 8)},
                      {5, 6, 7, 8},
                      true,
                      {7, 8}},
        SelectionCase{"PlainClickDropsTheSelection",
                      true,
                      {Click(5, 6), ShiftClick(2, 3), Click(1, 1)},
                      {1, 1, 1, 1},
                      false,
                      {1, 1}},
        SelectionCase{"DragSpansFromThePress",
                      true,
                      {Click(1, 1), Drag(2, 2), Drag(4, 3)},
                      {1, 1, 4, 3},
                      true,
                      {4, 3}},
        SelectionCase{"DragBackToThePressIsAClick",
                      true,
                      {Click(1, 1), Drag(3, 3), Drag(1, 1)},
                      {1, 1, 1, 1},
                      false,
                      {1, 1}},
        SelectionCase{"ShiftArrowsGrowTheBlock",
                      true,
                      {Click(4, 4), ShiftArrow(0, 1), ShiftArrow(0, 1), ShiftArrow(1, 0)},
                      {4, 4, 5, 6},
                      true,
                      {5, 6}},
        SelectionCase{"ShiftArrowsShrinkItAgain",
                      true,
                      {Click(4, 4), ShiftArrow(0, 2), ShiftArrow(0, -1)},
                      {4, 4, 4, 5},
                      true,
                      {4, 5}},
        SelectionCase{"ShiftArrowsCrossTheAnchor",
                      true,
                      {Click(4, 4), ShiftArrow(0, 1), ShiftArrow(0, -3)},
                      {4, 2, 4, 4},
                      true,
                      {4, 2}},
        SelectionCase{"ArrowMovesAndDropsTheSelection",
                      true,
                      {Click(4, 4), ShiftArrow(1, 1), Arrow(0, 1)},
                      {5, 6, 5, 6},
                      false,
                      {5, 6}},
        SelectionCase{"ArrowsStopAtTheEdge",
                      true,
                      {Click(9, 9), Arrow(1, 1), ShiftArrow(5, 5)},
                      {9, 9, 9, 9},
                      true,
                      {9, 9}},
        SelectionCase{"ShiftArrowsStopAtTheTopLeft",
                      true,
                      {Click(1, 1), ShiftArrow(-3, -3)},
                      {0, 0, 1, 1},
                      true,
                      {0, 0}},
        SelectionCase{"ClicksBeyondTheMapAreClamped",
                      true,
                      {Click(-2, 14), ShiftClick(12, -1)},
                      {0, 0, 9, 9},
                      true,
                      {9, 0}},
        SelectionCase{"SelectAllTakesTheWholeMap",
                      true,
                      {Click(3, 3), kSelectAll},
                      {0, 0, 9, 9},
                      true,
                      {9, 9}},
        SelectionCase{"SelectAllWithoutThrottleAxisTakesTheCurve",
                      false,
                      {kSelectAll},
                      {9, 0, 9, 9},
                      true,
                      {9, 9}},
        SelectionCase{"EscapeKeepsTheFocus",
                      true,
                      {Click(2, 2), ShiftClick(6, 7), kEscape},
                      {6, 7, 6, 7},
                      false,
                      {6, 7}},
        SelectionCase{"LiveCellJumpDropsTheSelection",
                      true,
                      {kSelectAll, LiveCell(4, 5)},
                      {4, 5, 4, 5},
                      false,
                      {4, 5}},
        SelectionCase{"LiveCellThenShiftArrowSelectsAroundIt",
                      true,
                      {LiveCell(4, 5), ShiftArrow(1, 1)},
                      {4, 5, 5, 6},
                      true,
                      {5, 6}},
        SelectionCase{"WithoutThrottleAxisOnlyTheCurveRow",
                      false,
                      {Click(2, 3), ShiftArrow(-1, 2)},
                      {9, 3, 9, 5},
                      true,
                      {9, 5}},
        SelectionCase{"SwitchingTheAxisOffMovesOntoTheCurve",
                      true,
                      {Click(2, 3), ShiftClick(5, 6), ThrottleAxis(false)},
                      {9, 3, 9, 6},
                      true,
                      {9, 6}},
        SelectionCase{"AxisOffCollapsingABlockDropsIt",
                      true,
                      {Click(2, 3), ShiftClick(5, 3), ThrottleAxis(false)},
                      {9, 3, 9, 3},
                      false,
                      {9, 3}}));

TEST(MapRect, WholeMapFollowsTheThrottleAxis) {
    EXPECT_EQ(MapRect::WholeMap(true), (MapRect{0, 0, 9, 9}));
    EXPECT_EQ(MapRect::WholeMap(false), (MapRect{9, 0, 9, 9}));
    EXPECT_EQ(MapRect::WholeMap(false).Cells(), 10);
    EXPECT_FALSE((MapRect{0, 0, 10, 9}).OnMap());
    EXPECT_FALSE((MapRect{3, 0, 2, 9}).OnMap());
    EXPECT_FALSE((MapRect{0, -1, 0, 0}).OnMap());
}

}  // namespace
}  // namespace korvan
