#include "device/map_cursor.h"

#include <gtest/gtest.h>

#include "params/defaults.h"

namespace korvan {
namespace {

DeviceImage AxisImage() {
    DeviceImage image;
    SetDefaults(image);  // RpmAdv 10, 20, ... 100; RpmPriv 12, 20, 30, 40, 60, ...
    return image;
}

TEST(MapCursor, NearestRpmColumn) {
    struct Case {
        unsigned rpm;
        int column;
        bool below;
    } cases[] = {
        {0, 0, true},      {999, 0, true},    {1000, 0, false},  {1500, 0, false},
        {1599, 0, false},  {1600, 1, false},  {2499, 1, false},  {2600, 2, false},
        {10000, 9, false}, {25500, 9, false}, {25600, 9, false}, {30000, 9, false},
        {65535, 9, false},  // no 8-bit wrap to a low column
    };
    const DeviceImage image = AxisImage();
    for (const Case& c : cases) {
        LiveValues live;
        live.Rpm = static_cast<std::uint16_t>(c.rpm);
        const MapCursor m = ComputeMapCursor(image, live, true);
        EXPECT_EQ(m.RpmIndex, c.column) << c.rpm;
        EXPECT_EQ(m.BelowRpmAxis, c.below) << c.rpm;
    }
}

TEST(MapCursor, ThrottleRowAndServoRow) {
    struct Case {
        std::uint8_t tps;
        bool axis;
        int row;
    } cases[] = {{0, true, 0},  {1, true, 0},   {3, true, 1},   {4, true, 2},  {90, true, 8},
                 {91, true, 9}, {100, true, 9}, {200, true, 9}, {0, false, 9}, {50, false, 9}};
    const DeviceImage image = AxisImage();
    for (const Case& c : cases) {
        LiveValues live;
        live.TpsPercent = c.tps;
        EXPECT_EQ(ComputeMapCursor(image, live, c.axis).TpsIndex, c.row)
            << int(c.tps) << " " << c.axis;
    }
    LiveValues standing;  // engine stopped: servo row 0 all the same
    EXPECT_EQ(ComputeMapCursor(image, standing, true).ServoIndex, 0);
    LiveValues running;
    running.Rpm = 5000;  // 50: midway between 40 and 60 -> the lower
    EXPECT_EQ(ComputeMapCursor(image, running, true).ServoIndex, 3);
    running.Rpm = 5100;
    EXPECT_EQ(ComputeMapCursor(image, running, true).ServoIndex, 4);
}

TEST(MapCursor, NearestBreakpointSumsInFullWidth) {
    const std::uint8_t table[10] = {200, 210, 220, 230, 240, 250, 251, 252, 253, 255};
    EXPECT_EQ(NearestBreakpoint(table, 205).index, 0);  // 200 + 210 overflows 8 bits
    EXPECT_EQ(NearestBreakpoint(table, 206).index, 1);
    EXPECT_TRUE(NearestBreakpoint(table, 199).below);
    EXPECT_EQ(NearestBreakpoint(table, 254).index, 8);
}

TEST(MapCursor, ColoursPaintOnlyTheCellUnderTheCursor) {
    MapCursor c;
    c.RpmIndex = 3;
    c.TpsIndex = 7;
    c.ServoIndex = 5;
    CursorColours colours = CursorColoursFor(c);
    int lime = 0;
    for (std::size_t i = 0; i < colours.map.size(); ++i) lime += colours.map[i] == Colour::Lime;
    EXPECT_EQ(lime, 1);
    EXPECT_EQ(colours.map[73], Colour::Lime);
    EXPECT_EQ(colours.rpmAdv[3], Colour::Lime);
    EXPECT_EQ(colours.rpmAdv[2], Colour::Window);
    EXPECT_EQ(colours.tpsLabel[7], Colour::Lime);
    EXPECT_EQ(colours.tpsLabel[0], Colour::ButtonFace);
    EXPECT_EQ(colours.napPriv[5], Colour::Lime);
    EXPECT_EQ(colours.rpmPriv[4], Colour::Window);

    c.BelowRpmAxis = true;  // engine below the first breakpoint: no cell, no axis field
    colours = CursorColoursFor(c);
    for (Colour m : colours.map) EXPECT_EQ(m, Colour::Window);
    EXPECT_EQ(colours.rpmAdv[3], Colour::Window);
    EXPECT_EQ(colours.tpsLabel[7], Colour::Lime);
    EXPECT_EQ(colours.rpmPriv[5], Colour::Lime);
}

}  // namespace
}  // namespace korvan
