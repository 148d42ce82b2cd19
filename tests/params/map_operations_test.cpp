#include "params/map_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "map_test_support.h"
#include "params/binding.h"

namespace korvan {
namespace {

using test::Cell;
using test::MapTestImage;
using test::OnlyWithin;

// A 3 x 3 block at rows 2..4 (5, 10, 20 %) and columns 1..3 (1200, 1800, 2500 rpm).
const MapRect kBlock{2, 1, 4, 3};
const int kBlockValues[3][3] = {{10, 20, 30}, {40, 50, 60}, {0, 5, 59}};

DeviceImage BlockImage() {
    DeviceImage image = MapTestImage();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            image[AdvanceIndex(kBlock.top + r, kBlock.left + c)] =
                static_cast<std::uint8_t>(kBlockValues[r][c]);
    return image;
}

struct BlockCase {
    const char* name;
    std::function<EditOutcome(DeviceImage&, const MapRect&)> apply;
    int expected[3][3];
    const char* step;
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.name;
}

class MapOperationOnBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(MapOperationOnBlock, GivesTheWorkedResultAndTouchesNothingElse) {
    const BlockCase& c = GetParam();
    DeviceImage image = BlockImage();
    const DeviceImage before = image;
    const EditOutcome out = c.apply(image, kBlock);
    ASSERT_FALSE(out.refused) << out.reason.In(1);
    int changed = 0;
    for (int r = 0; r < 3; ++r) {
        for (int col = 0; col < 3; ++col) {
            EXPECT_EQ(Cell(image, kBlock.top + r, kBlock.left + col), c.expected[r][col])
                << "row " << r << " column " << col;
            changed += c.expected[r][col] != kBlockValues[r][col];
        }
    }
    EXPECT_EQ(out.cellsChanged, changed);
    EXPECT_EQ(out.cells, kBlock);
    EXPECT_EQ(out.step.In(1), c.step);
    EXPECT_FALSE(out.step.In(0).empty());
    EXPECT_NE(out.step.In(2), out.step.In(1));
    EXPECT_TRUE(OnlyWithin(before, image, kBlock));
}

INSTANTIATE_TEST_SUITE_P(
    Worked, MapOperationOnBlock,
    ::testing::Values(
        BlockCase{"Set",
                  [](DeviceImage& i, const MapRect& b) { return SetCells(i, b, 25); },
                  {{25, 25, 25}, {25, 25, 25}, {25, 25, 25}},
                  "Set 3 x 3 cells to 25°"},
        BlockCase{"PlusFiveStopsAt60",
                  [](DeviceImage& i, const MapRect& b) { return AddToCells(i, b, 5); },
                  {{15, 25, 35}, {45, 55, 60}, {5, 10, 60}},
                  "Advance +5° in 3 x 3 cells"},
        BlockCase{"MinusFiveStopsAt0",
                  [](DeviceImage& i, const MapRect& b) { return AddToCells(i, b, -5); },
                  {{5, 15, 25}, {35, 45, 55}, {0, 0, 54}},
                  "Advance -5° in 3 x 3 cells"},
        BlockCase{"Scale95RoundsHalvesUp",
                  [](DeviceImage& i, const MapRect& b) { return ScaleCells(i, b, 95); },
                  {{10, 19, 29}, {38, 48, 57}, {0, 5, 56}},
                  "Scale 3 x 3 cells to 95 %"},
        BlockCase{"Scale150StopsAt60",
                  [](DeviceImage& i, const MapRect& b) { return ScaleCells(i, b, 150); },
                  {{15, 30, 45}, {60, 60, 60}, {0, 8, 60}},
                  "Scale 3 x 3 cells to 150 %"},
        // Over 1200, 1800, 2500 rpm: the middle column lies at 6/13, not at one half.
        BlockCase{"AlongRpmOnTheRpmPoints",
                  InterpolateAlongRpm,
                  {{10, 19, 30}, {40, 49, 60}, {0, 27, 59}},
                  "Interpolate 3 x 3 cells along RPM"},
        // Over 5, 10, 20 %: the middle row lies at one third.
        BlockCase{"AlongThrottleOnThePercentPoints",
                  InterpolateAlongThrottle,
                  {{10, 20, 30}, {7, 15, 40}, {0, 5, 59}},
                  "Interpolate 3 x 3 cells along throttle"},
        BlockCase{"FromCornersBilinear",
                  InterpolateFromCorners,
                  {{10, 19, 30}, {7, 22, 40}, {0, 27, 59}},
                  "Interpolate 3 x 3 cells from the corners"},
        BlockCase{"SmoothMeansWithinTheBlock",
                  SmoothCells,
                  {{30, 35, 40}, {21, 30, 37}, {24, 36, 44}},
                  "Smooth 3 x 3 cells"}));

// The exact value of a straight line or bilinear blend, written as a line between two lines.
double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

double Fraction(double x, double x0, double x1) {
    return x1 == x0 ? 0.0 : (x - x0) / (x1 - x0);
}

enum class Way { Rpm, Throttle, Corners };

double Expected(const DeviceImage& before, const MapRect& b, int r, int c, Way way) {
    const auto x = [&](int col) { return 100.0 * before[field::RpmAdv + col]; };
    const auto y = [&](int row) { return static_cast<double>(kTpsAxisPercent[row]); };
    const auto v = [&](int row, int col) { return static_cast<double>(Cell(before, row, col)); };
    const double tx = Fraction(x(c), x(b.left), x(b.right));
    const double ty = Fraction(y(r), y(b.top), y(b.bottom));
    switch (way) {
        case Way::Rpm:
            return Lerp(v(r, b.left), v(r, b.right), tx);
        case Way::Throttle:
            return Lerp(v(b.top, c), v(b.bottom, c), ty);
        case Way::Corners:
            return Lerp(Lerp(v(b.top, b.left), v(b.top, b.right), tx),
                        Lerp(v(b.bottom, b.left), v(b.bottom, b.right), tx), ty);
    }
    return 0;
}

TEST(MapOperations, InterpolationsMatchTheFormulaOnEveryRectangle) {
    const DeviceImage start = MapTestImage(7);
    int rectangles = 0;
    for (int top = 0; top < kMapRows; ++top)
        for (int bottom = top; bottom < kMapRows; ++bottom)
            for (int left = 0; left < kMapColumns; ++left)
                for (int right = left; right < kMapColumns; ++right) {
                    const MapRect b{top, left, bottom, right};
                    ++rectangles;
                    for (Way way : {Way::Rpm, Way::Throttle, Way::Corners}) {
                        DeviceImage image = start;
                        const EditOutcome out = way == Way::Rpm ? InterpolateAlongRpm(image, b)
                                                : way == Way::Throttle
                                                    ? InterpolateAlongThrottle(image, b)
                                                    : InterpolateFromCorners(image, b);
                        const bool possible = way == Way::Rpm        ? b.Columns() > 1
                                              : way == Way::Throttle ? b.Rows() > 1
                                                                     : b.Cells() > 1;
                        ASSERT_EQ(out.refused, !possible);
                        if (out.refused) {
                            ASSERT_EQ(image, start);
                            continue;
                        }
                        ASSERT_TRUE(OnlyWithin(start, image, b));
                        for (int r = top; r <= bottom; ++r)
                            for (int c = left; c <= right; ++c)
                                ASSERT_LE(
                                    std::fabs(Cell(image, r, c) - Expected(start, b, r, c, way)),
                                    0.5 + 1e-9)
                                    << "way " << static_cast<int>(way) << " block " << top << ","
                                    << left << ".." << bottom << "," << right << " cell " << r
                                    << "," << c;
                    }
                }
    EXPECT_EQ(rectangles, 55 * 55);
}

TEST(MapOperations, SmoothMatchesTheMeanOnEveryRectangle) {
    const DeviceImage start = MapTestImage(11);
    for (int top = 0; top < kMapRows; ++top)
        for (int bottom = top; bottom < kMapRows; ++bottom)
            for (int left = 0; left < kMapColumns; ++left)
                for (int right = left; right < kMapColumns; ++right) {
                    const MapRect b{top, left, bottom, right};
                    DeviceImage image = start;
                    ASSERT_FALSE(SmoothCells(image, b).refused);
                    ASSERT_TRUE(OnlyWithin(start, image, b));
                    for (int r = top; r <= bottom; ++r)
                        for (int c = left; c <= right; ++c) {
                            double sum = 0;
                            int n = 0;
                            for (int dr = -1; dr <= 1; ++dr)
                                for (int dc = -1; dc <= 1; ++dc)
                                    if (b.Contains(r + dr, c + dc)) {
                                        sum += Cell(start, r + dr, c + dc);
                                        ++n;
                                    }
                            ASSERT_EQ(Cell(image, r, c),
                                      static_cast<int>(std::floor(sum / n + 0.5)))
                                << r << "," << c;
                        }
                }
}

TEST(MapOperations, RefusalsChangeNothingAndSayWhy) {
    struct Case {
        const char* what;
        MapRect block;
        std::function<EditOutcome(DeviceImage&, const MapRect&)> apply;
        const char* reason;
    } cases[] = {
        {"set above 60", kBlock,
         [](DeviceImage& i, const MapRect& b) { return SetCells(i, b, 61); },
         "The advance must be 0 to 60° (61 given)"},
        {"set below 0", kBlock, [](DeviceImage& i, const MapRect& b) { return SetCells(i, b, -1); },
         "The advance must be 0 to 60° (-1 given)"},
        {"scale above 1000 %", kBlock,
         [](DeviceImage& i, const MapRect& b) { return ScaleCells(i, b, 1001); },
         "The percentage must be 0 to 1000 (1001 given)"},
        {"along RPM on one column",
         {0, 4, 9, 4},
         InterpolateAlongRpm,
         "Select at least two columns to interpolate along RPM"},
        {"along throttle on one row",
         {3, 0, 3, 9},
         InterpolateAlongThrottle,
         "Select at least two rows to interpolate along throttle"},
        {"corners of one cell",
         {3, 3, 3, 3},
         InterpolateFromCorners,
         "Select at least two cells to interpolate"},
        {"a block beyond the map",
         {8, 8, 10, 9},
         SmoothCells,
         "The selection lies outside the map"},
        {"a block turned inside out",
         {5, 5, 4, 5},
         [](DeviceImage& i, const MapRect& b) { return AddToCells(i, b, 1); },
         "The selection lies outside the map"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image = BlockImage();
        const DeviceImage before = image;
        const EditOutcome out = c.apply(image, c.block);
        EXPECT_TRUE(out.refused);
        EXPECT_EQ(out.cellsChanged, 0);
        EXPECT_EQ(image, before);
        EXPECT_EQ(out.reason.In(1), c.reason);
        EXPECT_NE(out.reason.In(0), out.reason.In(1));
        EXPECT_NE(out.reason.In(2), out.reason.In(1));
    }
}

TEST(MapOperations, CellsBeyond60AreTakenAs60LikeTheWindowShowsThem) {
    DeviceImage image = BlockImage();
    image[AdvanceIndex(2, 1)] = 200;  // a hand-made file
    const EditOutcome out = AddToCells(image, {2, 1, 2, 1}, -1);
    EXPECT_EQ(Cell(image, 2, 1), 59);
    EXPECT_EQ(out.cellsChanged, 1);
}

// --- resample on an RPM axis move ----------------------------------------------------------

// The advance an engine speed got from a row over an axis, flat beyond the ends: written
// with a search from the top, unlike the operation.
double OldAdvance(const DeviceImage& before, int row, double rpm) {
    std::vector<double> x, v;
    for (int c = 0; c < kMapColumns; ++c) {
        x.push_back(before[field::RpmAdv + c]);
        v.push_back(Cell(before, row, c));
    }
    if (rpm >= x.back()) return v.back();
    for (int k = kMapColumns - 1; k > 0; --k)
        if (rpm >= x[k - 1])
            return v[k - 1] + (v[k] - v[k - 1]) * (rpm - x[k - 1]) / (x[k] - x[k - 1]);
    return v.front();
}

struct AxisMove {
    const char* name;
    std::array<std::uint8_t, kAxisPoints> axis;
};

void PrintTo(const AxisMove& m, std::ostream* os) {
    *os << m.name;
}

class ResampleOnAxisMove : public ::testing::TestWithParam<AxisMove> {};

TEST_P(ResampleOnAxisMove, KeepsTheAdvanceAtEachEngineSpeed) {
    const DeviceImage before = MapTestImage(3);
    DeviceImage image = before;
    for (int k = 0; k < kAxisPoints; ++k) image[field::RpmAdv + k] = GetParam().axis[k];
    DeviceImage normalised = image;
    NormalizeImage(normalised);
    ASSERT_EQ(normalised, image) << "the test's axis must be one the window can hold";
    const DeviceImage moved = image;

    const EditOutcome out = ResampleMap(image, MapRpmAxis(before));
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.step.In(1), "Map RPM points, advance kept");
    EXPECT_TRUE(OnlyWithin(moved, image, MapRect::WholeMap()));
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) {
            const double rpm = image[field::RpmAdv + c];
            EXPECT_LE(std::fabs(Cell(image, r, c) - OldAdvance(before, r, rpm)), 0.5 + 1e-9)
                << "row " << r << " at " << rpm * 100 << " rpm";
            // An engine speed that was a point before keeps its advance exactly.
            for (int k = 0; k < kMapColumns; ++k)
                if (before[field::RpmAdv + k] == rpm) {
                    EXPECT_EQ(Cell(image, r, c), Cell(before, r, k));
                }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, ResampleOnAxisMove,
    ::testing::Values(
        AxisMove{"OnePointUp", {8, 12, 18, 25, 38, 42, 55, 70, 90, 120}},
        AxisMove{"OnePointDown", {8, 12, 18, 19, 33, 42, 55, 70, 90, 120}},
        AxisMove{"FirstPointBelowTheOldEnd", {3, 12, 18, 25, 33, 42, 55, 70, 90, 120}},
        AxisMove{"LastPointBeyondTheOldEnd", {8, 12, 18, 25, 33, 42, 55, 70, 90, 200}},
        AxisMove{"WholeAxisShiftedUp", {20, 24, 30, 37, 45, 54, 67, 82, 102, 132}},
        AxisMove{"EvenlyInterpolated", {8, 20, 33, 45, 58, 70, 83, 95, 108, 120}}));

TEST(MapResample, AnUnmovedAxisChangesNothing) {
    DeviceImage image = MapTestImage(4);
    image[AdvanceIndex(0, 0)] = 200;  // even a cell beyond 60 stays as it is
    const DeviceImage before = image;
    const EditOutcome out = ResampleMap(image, MapRpmAxis(before));
    EXPECT_EQ(out.cellsChanged, 0);
    EXPECT_EQ(image, before);
}

TEST(MapResample, RowsHiddenWithoutTheThrottleAxisMoveToo) {
    DeviceImage image = MapTestImage(5);
    image[field::TpsMapa] = 0;
    const DeviceImage before = image;
    image[field::RpmAdv + 4] = 40;  // 3300 -> 4000 rpm, still below 4200
    ResampleMap(image, MapRpmAxis(before));
    for (int r = 0; r < kMapRows; ++r)
        EXPECT_LE(std::fabs(Cell(image, r, 4) - OldAdvance(before, r, 40)), 0.5 + 1e-9) << r;
}

// --- the 10-point tables -------------------------------------------------------------------

struct PointCase {
    const char* name;
    PointTable table;
    PointRun run;
    std::function<EditOutcome(DeviceImage&, PointTable, PointRun)> apply;
    std::array<int, kAxisPoints> expected;  // the table's raw values afterwards
    const char* stepOrReason;               // English; a refusal leaves the table unchanged
};

void PrintTo(const PointCase& c, std::ostream* os) {
    *os << c.name;
}

std::size_t TableByte(PointTable table) {
    return table == PointTable::ServoVoltage ? field::NapPriv
           : table == PointTable::MapRpm     ? field::RpmAdv
                                             : field::RpmPriv;
}

// The servo table 100..145 over its RPM points 12, 20, 30, 40, 60, 80, 100, 120, 140, 160 (the
// default set), with point 9 at the top of the range and point 0 at the bottom; the map's RPM
// points uneven.
DeviceImage PointImage() {
    DeviceImage image = DefaultImage();
    for (int k = 0; k < kAxisPoints; ++k) image[field::RpmAdv + k] = test::kUnevenRpm[k];
    image[field::NapPriv + 0] = 1;
    image[field::NapPriv + 9] = 249;
    NormalizeImage(image);
    return image;
}

class PointOperation : public ::testing::TestWithParam<PointCase> {};

TEST_P(PointOperation, ChangesTheRunOnly) {
    const PointCase& c = GetParam();
    DeviceImage image = PointImage();
    const DeviceImage before = image;
    const EditOutcome out = c.apply(image, c.table, c.run);
    const std::size_t first = TableByte(c.table);
    int changed = 0;
    for (int k = 0; k < kAxisPoints; ++k) {
        EXPECT_EQ(image[first + k], c.expected[k]) << "point " << k;
        changed += image[first + k] != before[first + k];
    }
    for (std::size_t i = 0; i < kImageSize; ++i)
        if (i < first || i >= first + kAxisPoints) {
            ASSERT_EQ(image[i], before[i]) << "byte " << i;
        }
    EXPECT_EQ(out.cellsChanged, changed);
    EXPECT_EQ((out.refused ? out.reason : out.step).In(1), c.stepOrReason);
    if (out.refused) {
        EXPECT_EQ(image, before);
        EXPECT_NE(out.reason.In(2), out.reason.In(1));
    }
    // The result is one the window keeps: normalising it changes nothing.
    DeviceImage normalised = image;
    NormalizeImage(normalised);
    EXPECT_EQ(normalised, image);
}

const auto kSet = [](int mv) {
    return [mv](DeviceImage& i, PointTable t, PointRun r) { return SetPoints(i, t, r, mv); };
};
const auto kAdd = [](int steps) {
    return
        [steps](DeviceImage& i, PointTable t, PointRun r) { return AddToPoints(i, t, r, steps); };
};
const auto kScale = [](int percent) {
    return [percent](DeviceImage& i, PointTable t, PointRun r) {
        return ScalePoints(i, t, r, percent);
    };
};

INSTANTIATE_TEST_SUITE_P(
    Tables, PointOperation,
    ::testing::Values(
        // 2510 mV is nearer 2520 than 2500.
        PointCase{"ServoSetRoundsTo20mV",
                  PointTable::ServoVoltage,
                  {2, 4},
                  kSet(2510),
                  {1, 105, 126, 126, 126, 125, 130, 135, 140, 249},
                  "Servo voltages 3..5: set to 2520 mV"},
        PointCase{"ServoSetAbove4980Refused",
                  PointTable::ServoVoltage,
                  {2, 4},
                  kSet(5000),
                  {1, 105, 110, 115, 120, 125, 130, 135, 140, 249},
                  "The servo voltage must be 20 to 4980 mV (5000 given)"},
        PointCase{"ServoPlusFiveStopsAt4980",
                  PointTable::ServoVoltage,
                  {7, 9},
                  kAdd(5),
                  {1, 105, 110, 115, 120, 125, 130, 140, 145, 249},
                  "Servo voltages 8..10: +100 mV"},
        PointCase{"ServoMinusOneStopsAt20",
                  PointTable::ServoVoltage,
                  {0, 1},
                  kAdd(-1),
                  {1, 104, 110, 115, 120, 125, 130, 135, 140, 249},
                  "Servo voltages 1..2: -20 mV"},
        PointCase{"ServoScale",
                  PointTable::ServoVoltage,
                  {1, 3},
                  kScale(90),
                  {1, 95, 99, 104, 120, 125, 130, 135, 140, 249},
                  "Servo voltages 2..4: scale to 90 %"},
        // Over the servo RPM points 20, 30, 40, 60: 105 + (120 - 105) * (x - 20) / 40.
        PointCase{
            "ServoInterpolatesOnItsRpmPoints",
            PointTable::ServoVoltage,
            {1, 4},
            [](DeviceImage& i, PointTable t, PointRun r) { return InterpolatePoints(i, t, r); },
            {1, 105, 109, 113, 120, 125, 130, 135, 140, 249},
            "Servo voltages 2..5: interpolate"},
        PointCase{"ServoSmooth",
                  PointTable::ServoVoltage,
                  {0, 2},
                  [](DeviceImage& i, PointTable t, PointRun r) { return SmoothPoints(i, t, r); },
                  {53, 72, 108, 115, 120, 125, 130, 135, 140, 249},
                  "Servo voltages 1..3: smooth"},
        // 1800 .. 12000 rpm in seven steps of 1457 rpm, each rounded to 100 rpm.
        PointCase{
            "MapAxisInterpolatesEvenly",
            PointTable::MapRpm,
            {2, 9},
            [](DeviceImage& i, PointTable t, PointRun r) { return InterpolatePoints(i, t, r); },
            {8, 12, 18, 33, 47, 62, 76, 91, 105, 120},
            "Map RPM points 3..10: interpolate"},
        PointCase{
            "ServoAxisInterpolatesEvenly",
            PointTable::ServoRpm,
            {0, 4},
            [](DeviceImage& i, PointTable t, PointRun r) { return InterpolatePoints(i, t, r); },
            {12, 24, 36, 48, 60, 80, 100, 120, 140, 160},
            "Servo RPM points 1..5: interpolate"},
        PointCase{"AxisAddRefused",
                  PointTable::MapRpm,
                  {0, 9},
                  kAdd(1),
                  {8, 12, 18, 25, 33, 42, 55, 70, 90, 120},
                  "Map RPM points can only be interpolated, so that they keep rising"},
        PointCase{"AxisSetRefused",
                  PointTable::ServoRpm,
                  {3, 3},
                  kSet(2000),
                  {12, 20, 30, 40, 60, 80, 100, 120, 140, 160},
                  "Servo RPM points can only be interpolated, so that they keep rising"}));

TEST(PointOperations, AxisInterpolationThatCannotRiseIsRefused) {
    DeviceImage image = DefaultImage();
    const std::array<std::uint8_t, kAxisPoints> axis = {10, 11, 12, 13, 14, 60, 70, 80, 90, 100};
    for (int k = 0; k < kAxisPoints; ++k) image[field::RpmAdv + k] = axis[k];
    // Points 1..5 at 1000..1400 rpm have exactly 100 rpm each: possible.
    DeviceImage fits = image;
    EXPECT_FALSE(InterpolatePoints(fits, PointTable::MapRpm, {0, 4}).refused);
    EXPECT_EQ(fits, image);
    // With point 6 typed down to 1400 rpm (before the window repairs the order), points 1..6
    // have no room to rise.
    image[field::RpmAdv + 5] = 14;
    const DeviceImage before = image;
    const EditOutcome out = InterpolatePoints(image, PointTable::MapRpm, {0, 5});
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(image, before);
    EXPECT_EQ(out.reason.In(1),
              "Map RPM points 1..6 cannot be interpolated: 1000 to 1400 rpm leaves less than 100 "
              "rpm for each point");
}

TEST(PointOperations, OnePointCannotBeInterpolated) {
    DeviceImage image = DefaultImage();
    const EditOutcome out = InterpolatePoints(image, PointTable::ServoVoltage, {3, 3});
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.reason.In(1), "Select at least two points to interpolate");
}

}  // namespace
}  // namespace korvan
