#include "params/editing_tools.h"

#include <gtest/gtest.h>

#include "params/defaults.h"

namespace korvan {
namespace {

TEST(EditingTools, AdvanceOnAllCellsStopsAtTheLimits) {
    DeviceImage image = DefaultImage();
    image[AdvanceIndex(0, 0)] = 60;
    image[AdvanceIndex(4, 4)] = 0;
    const DeviceImage before = image;
    EXPECT_TRUE(StepAdvance(image, +1, true, 0, 0, true));  // the cursor does not matter
    for (int cell = 0; cell < 100; ++cell) {
        const int was = before[field::Advance + cell];
        EXPECT_EQ(image[field::Advance + cell], was == 60 ? 60 : was + 1) << cell;
    }
    image = before;
    EXPECT_TRUE(StepAdvance(image, -1, true, 0, 0, false));
    EXPECT_EQ(image[AdvanceIndex(4, 4)], 0);
    EXPECT_EQ(image[AdvanceIndex(0, 0)], 59);
}

TEST(EditingTools, AdvanceOnTheCellUnderTheCursor) {
    struct Case {
        const char* what;
        int delta, row, column;
        bool below;
        std::uint8_t start;
        bool changed;
        std::uint8_t result;
    } cases[] = {
        {"plus", +1, 9, 3, false, 25, true, 26},
        {"minus", -1, 2, 7, false, 41, true, 40},
        {"engine below the first breakpoint", +1, 9, 0, true, 4, false, 4},
        {"at the ceiling", +1, 5, 5, false, 60, false, 60},
        {"at the floor", -1, 5, 5, false, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image = DefaultImage();
        image[AdvanceIndex(c.row, c.column)] = c.start;
        const DeviceImage before = image;
        EXPECT_EQ(StepAdvance(image, c.delta, false, c.row, c.column, c.below), c.changed);
        EXPECT_EQ(image[AdvanceIndex(c.row, c.column)], c.result);
        int differing = 0;
        for (std::size_t i = 0; i < kImageSize; ++i) differing += image[i] != before[i];
        EXPECT_EQ(differing, c.changed ? 1 : 0);
    }
}

TEST(EditingTools, ColumnStepMovesOneColumnInAllRows) {
    DeviceImage image = DefaultImage();
    image[AdvanceIndex(3, 2)] = 60;
    const DeviceImage before = image;
    EXPECT_TRUE(StepAdvanceColumn(image, +1, 2));
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            const int was = before[AdvanceIndex(row, column)];
            const int want = column != 2 ? was : (was == 60 ? 60 : was + 1);
            EXPECT_EQ(image[AdvanceIndex(row, column)], want) << row << "," << column;
        }
    }
    EXPECT_FALSE(StepAdvanceColumn(image, +1, 10));
}

TEST(EditingTools, ServoStepsWithinOneTo249) {
    DeviceImage image = DefaultImage();
    image[field::NapPriv + 0] = 1;
    image[field::NapPriv + 9] = 249;
    EXPECT_FALSE(StepServo(image, -1, false, 0));
    EXPECT_FALSE(StepServo(image, +1, false, 9));
    EXPECT_TRUE(StepServo(image, +1, false, 4));
    EXPECT_EQ(image[field::NapPriv + 4], 121);
    EXPECT_EQ(image[field::NapPriv + 5], 125);
    EXPECT_TRUE(StepServo(image, +1, true, 0));
    EXPECT_EQ(image[field::NapPriv + 0], 2);
    EXPECT_EQ(image[field::NapPriv + 9], 249);
    EXPECT_EQ(image[field::NapPriv + 4], 122);
}

TEST(EditingTools, ThrottleCalibrationWindows) {
    struct Case {
        int mv;
        bool zeroTaken;
        std::uint8_t tps0;
        bool fullTaken;
        std::uint8_t tps100;
    } cases[] = {
        {0, false, 70, false, 129},    {299, false, 70, false, 129}, {300, true, 30, false, 129},
        {2500, true, 250, true, 0},    {3795, false, 70, true, 129}, {4600, false, 70, true, 210},
        {4601, false, 70, false, 129},
    };
    for (const Case& c : cases) {
        DeviceImage image = DefaultImage();
        EXPECT_EQ(SetTps0FromLive(image, c.mv), c.zeroTaken) << c.mv;
        EXPECT_EQ(image[field::Tps0], c.tps0) << c.mv;
        image = DefaultImage();
        EXPECT_EQ(SetTps100FromLive(image, c.mv), c.fullTaken) << c.mv;
        EXPECT_EQ(image[field::Tps100], c.tps100) << c.mv;
    }
}

}  // namespace
}  // namespace korvan
