#include "params/map_text.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "map_test_support.h"

namespace korvan {
namespace {

using test::Cell;
using test::MapTestImage;
using test::OnlyWithin;

// Column labels of the test image: 800 1200 1800 2500 3300 4200 5500 7000 9000 12000 rpm.

TEST(MapText, CopyWritesRowsWithCrLfAndOptionalAxes) {
    DeviceImage image = MapTestImage();
    const int v[2][2] = {{31, 7}, {0, 60}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            image[AdvanceIndex(1 + r, 2 + c)] = static_cast<std::uint8_t>(v[r][c]);
    const MapRect block{1, 2, 2, 3};
    EXPECT_EQ(FormatMapText(image, block, false), "31\t7\r\n0\t60\r\n");
    EXPECT_EQ(FormatMapText(image, block, true), "\t1800\t2500\r\n2\t31\t7\r\n5\t0\t60\r\n");
    EXPECT_EQ(FormatMapText(image, block, true, ';'), ";1800;2500\r\n2;31;7\r\n5;0;60\r\n");
    // A cell beyond 60 from a hand-made file is copied as the window shows it.
    image[AdvanceIndex(1, 2)] = 99;
    EXPECT_EQ(FormatMapText(image, {1, 2, 1, 2}, false), "60\r\n");
    EXPECT_EQ(FormatMapText(image, {0, 0, 10, 0}, false), "");
}

TEST(MapText, CsvSeparatorFollowsTheDecimalPoint) {
    EXPECT_EQ(CsvSeparatorFor(','), ';');
    EXPECT_EQ(CsvSeparatorFor('.'), ',');
}

// Every block copied and pasted back over scrambled cells gives the image it came from, with
// and without the axes, at its own place and (with the axes) wherever the headers say.
TEST(MapText, CopyThenPasteRestoresEveryRectangle) {
    const DeviceImage original = MapTestImage(21);
    int rectangles = 0;
    for (int top = 0; top < kMapRows; ++top)
        for (int bottom = top; bottom < kMapRows; ++bottom)
            for (int left = 0; left < kMapColumns; ++left)
                for (int right = left; right < kMapColumns; ++right) {
                    const MapRect block{top, left, bottom, right};
                    ++rectangles;
                    DeviceImage scrambled = original;
                    for (int r = top; r <= bottom; ++r)
                        for (int c = left; c <= right; ++c)
                            scrambled[AdvanceIndex(r, c)] =
                                static_cast<std::uint8_t>((Cell(original, r, c) + 17) % 61);
                    for (bool axes : {false, true}) {
                        const std::string text = FormatMapText(original, block, axes);
                        DeviceImage image = scrambled;
                        const EditOutcome out = PasteMapText(image, text, {block, false});
                        ASSERT_FALSE(out.refused) << text << out.reason.In(1);
                        ASSERT_EQ(image, original) << text;
                        if (!axes) continue;
                        image = scrambled;
                        const EditOutcome placed =
                            PasteMapText(image, text, {MapRect::WholeMap(), true});
                        ASSERT_FALSE(placed.refused) << text << placed.reason.In(1);
                        ASSERT_EQ(placed.cells, block);
                        ASSERT_EQ(image, original) << text;
                    }
                }
    EXPECT_EQ(rectangles, 55 * 55);
}

struct PasteCase {
    const char* name;
    std::string text;
    MapRect selection;
    std::vector<int> values;  // the written block, row by row
    MapRect cells;
    const char* step;
    bool followHeaders = false;
    bool throttleAxis = true;
    CommaRule commas = CommaRule::DecimalWhenAlone;
};

void PrintTo(const PasteCase& c, std::ostream* os) {
    *os << c.name;
}

class PasteAccepts : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PasteAccepts, WhatSpreadsheetsAndToolsWrite) {
    const PasteCase& c = GetParam();
    DeviceImage image = MapTestImage();
    image[field::TpsMapa] = c.throttleAxis ? 1 : 0;
    const DeviceImage before = image;
    const EditOutcome out = PasteMapText(image, c.text, {c.selection, c.followHeaders}, c.commas);
    ASSERT_FALSE(out.refused) << out.reason.In(1);
    EXPECT_EQ(out.cells, c.cells);
    EXPECT_EQ(out.step.In(1), c.step);
    std::vector<int> written;
    for (int r = c.cells.top; r <= c.cells.bottom; ++r)
        for (int col = c.cells.left; col <= c.cells.right; ++col)
            written.push_back(Cell(image, r, col));
    EXPECT_EQ(written, c.values);
    EXPECT_TRUE(OnlyWithin(before, image, c.cells));
}

const MapRect kAt21{2, 1, 2, 1};  // the 5 % row, 1200 rpm
const MapRect kBlock{2, 1, 4, 3};

INSTANTIATE_TEST_SUITE_P(Texts, PasteAccepts,
                         ::testing::Values(PasteCase{"TabsAndCrLf",
                                                     "1\t2\t3\r\n4\t5\t6\r\n",
                                                     kAt21,
                                                     {1, 2, 3, 4, 5, 6},
                                                     {2, 1, 3, 3},
                                                     "Paste 3 x 2 cells"},
                                           PasteCase{"LfAndNoLastLineEnd",
                                                     "1\t2\n3\t4",
                                                     kAt21,
                                                     {1, 2, 3, 4},
                                                     {2, 1, 3, 2},
                                                     "Paste 2 x 2 cells"},
                                           PasteCase{"OldMacLineEnds",
                                                     "1\t2\r3\t4\r",
                                                     kAt21,
                                                     {1, 2, 3, 4},
                                                     {2, 1, 3, 2},
                                                     "Paste 2 x 2 cells"},
                                           PasteCase{"SemicolonsAndDecimalCommas",
                                                     "12,5;13,4\r\n0,49;59,5\r\n",
                                                     kAt21,
                                                     {13, 13, 0, 60},
                                                     {2, 1, 3, 2},
                                                     "Paste 2 x 2 cells"},
                                           PasteCase{"CommasAndDecimalPoints",
                                                     "12.5,13.4\n1,2\n",
                                                     kAt21,
                                                     {13, 13, 1, 2},
                                                     {2, 1, 3, 2},
                                                     "Paste 2 x 2 cells"},
                                           PasteCase{"CommasBetweenCellsOfAFile",
                                                     "12,13\n14,15\n",
                                                     kAt21,
                                                     {12, 13, 14, 15},
                                                     {2, 1, 3, 2},
                                                     "Paste 2 x 2 cells",
                                                     false,
                                                     true,
                                                     CommaRule::Separates},
                                           PasteCase{"ThreeCommasInALineSeparate",
                                                     "10,11,12\n",
                                                     kAt21,
                                                     {10, 11, 12},
                                                     {2, 1, 2, 3},
                                                     "Paste 3 x 1 cells"},
                                           PasteCase{"CommaAndBlankSeparate",
                                                     "10, 11, 12\n",
                                                     kAt21,
                                                     {10, 11, 12},
                                                     {2, 1, 2, 3},
                                                     "Paste 3 x 1 cells"},
                                           PasteCase{"OneDecimalCommaFillsTheSelection",
                                                     "12,5\r\n",
                                                     kBlock,
                                                     {13, 13, 13, 13, 13, 13, 13, 13, 13},
                                                     kBlock,
                                                     "Paste 13° into 3 x 3 cells"},
                                           PasteCase{"BlanksBetweenCells",
                                                     "  10   11 12  \n",
                                                     kAt21,
                                                     {10, 11, 12},
                                                     {2, 1, 2, 3},
                                                     "Paste 3 x 1 cells"},
                                           PasteCase{"DecimalCommasAndBlanks",
                                                     "10,5 11,5\n",
                                                     kAt21,
                                                     {11, 12},
                                                     {2, 1, 2, 2},
                                                     "Paste 2 x 1 cells"},
                                           PasteCase{"QuotedCellsHoldTheSeparator",
                                                     "\"12,5\",\"1\"\n",
                                                     kAt21,
                                                     {13, 1},
                                                     {2, 1, 2, 2},
                                                     "Paste 2 x 1 cells",
                                                     false,
                                                     true,
                                                     CommaRule::Separates},
                                           PasteCase{"ByteOrderMarkAndBlankLinesAround",
                                                     "\xEF\xBB\xBF\r\n \r\n7\t8\r\n\r\n  \r\n",
                                                     kAt21,
                                                     {7, 8},
                                                     {2, 1, 2, 2},
                                                     "Paste 2 x 1 cells"},
                                           PasteCase{"DegreeSignsAndNoBreakSpaces",
                                                     "25°\t\xC2\xA0"
                                                     "26 °\n",
                                                     kAt21,
                                                     {25, 26},
                                                     {2, 1, 2, 2},
                                                     "Paste 2 x 1 cells"},
                                           PasteCase{"RoundsIntoRange",
                                                     "60.4\t-0.4\t0,5\n",
                                                     kAt21,
                                                     {60, 0, 1},
                                                     {2, 1, 2, 3},
                                                     "Paste 3 x 1 cells"},
                                           PasteCase{"HeadersSkippedInTheWindow",
                                                     "\t1800\t2500\r\n20\t1\t2\r\n30\t3\t4\r\n",
                                                     kAt21,
                                                     {1, 2, 3, 4},
                                                     {2, 1, 3, 2},
                                                     "Paste 2 x 2 cells"},
                                           PasteCase{"HeadersPlaceTheBlockForAFile",
                                                     "\t1800\t2500\r\n20\t1\t2\r\n30\t3\t4\r\n",
                                                     MapRect::WholeMap(),
                                                     {1, 2, 3, 4},
                                                     {4, 2, 5, 3},
                                                     "Paste 2 x 2 cells",
                                                     true},
                                           PasteCase{"TextCornerCell",
                                                     "TPS %\\RPM;1800;2500\n20;1;2\n",
                                                     MapRect::WholeMap(),
                                                     {1, 2},
                                                     {4, 2, 4, 3},
                                                     "Paste 2 x 1 cells",
                                                     true},
                                           PasteCase{"HeaderRowOnly",
                                                     "3300\t4200\r\n1\t2\r\n",
                                                     MapRect::WholeMap(),
                                                     {1, 2},
                                                     {0, 4, 0, 5},
                                                     "Paste 2 x 1 cells",
                                                     true},
                                           PasteCase{"HeaderColumnByShape",
                                                     "3300\t4200\r\n40\t1\t2\r\n",
                                                     MapRect::WholeMap(),
                                                     {1, 2},
                                                     {6, 4, 6, 5},
                                                     "Paste 2 x 1 cells",
                                                     true},
                                           PasteCase{"HeaderColumnByPercentSigns",
                                                     "80 %\t1\t2\r\n100%\t3\t4\r\n",
                                                     MapRect::WholeMap(),
                                                     {1, 2, 3, 4},
                                                     {8, 0, 9, 1},
                                                     "Paste 2 x 2 cells",
                                                     true},
                                           PasteCase{"OneCellWithHeadersIsABlock",
                                                     "\t800\r\n0\t9\r\n",
                                                     kBlock,
                                                     {9},
                                                     {2, 1, 2, 1},
                                                     "Paste 1 x 1 cells"},
                                           PasteCase{"WithoutThrottleAxisOnTheCurve",
                                                     "5\t6\r\n",
                                                     MapRect::WholeMap(false),
                                                     {5, 6},
                                                     {9, 0, 9, 1},
                                                     "Paste 2 x 1 cells",
                                                     true,
                                                     false}));

struct RefusalCase {
    const char* name;
    std::string text;
    MapRect selection;
    const char* reason;  // English
    bool followHeaders = false;
    bool throttleAxis = true;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class PasteRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PasteRefuses, NamingTheCellAndChangingNothing) {
    const RefusalCase& c = GetParam();
    DeviceImage image = MapTestImage();
    image[field::TpsMapa] = c.throttleAxis ? 1 : 0;
    const DeviceImage before = image;
    const EditOutcome out = PasteMapText(image, c.text, {c.selection, c.followHeaders});
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.cellsChanged, 0);
    EXPECT_EQ(image, before);
    EXPECT_EQ(out.reason.In(1), c.reason);
    EXPECT_NE(out.reason.In(0), out.reason.In(1));
    EXPECT_NE(out.reason.In(2), out.reason.In(1));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PasteRefuses,
    ::testing::Values(
        RefusalCase{"Empty", "", kAt21, "The map text is empty"},
        RefusalCase{"OnlyBlanksAndTabs", "  \r\n\t\t\r\n", kAt21, "The map text is empty"},
        RefusalCase{"BlankLines", " \r\n \r\n", kAt21, "The map text is empty"},
        RefusalCase{"ShortRow", "1\t2\r\n3\r\n", kAt21,
                    "Row 2 of the text has 1 cells where 2 are expected"},
        RefusalCase{"BlankLineInside", "1\t2\r\n\r\n3\t4\r\n", kAt21,
                    "Row 2 of the text has 1 cells where 2 are expected"},
        RefusalCase{"NotANumber", "1\t2\r\n3\tx4\r\n", kAt21,
                    "Row 10 %, column 1800 rpm: \"x4\" is not a number"},
        RefusalCase{"TwoDecimalPoints", "1.2.3", kAt21,
                    "Row 5 %, column 1200 rpm: \"1.2.3\" is not a number"},
        RefusalCase{"Exponent", "1e3", kAt21, "Row 5 %, column 1200 rpm: \"1e3\" is not a number"},
        RefusalCase{"EmptyCell", "1\t\t3", kAt21, "Row 5 %, column 1800 rpm: the cell is empty"},
        RefusalCase{"AboveSixty", "7\t61", kAt21,
                    "Row 5 %, column 1800 rpm: 61 is outside 0 to 60°"},
        RefusalCase{"RoundsAboveSixty", "60,5", kBlock,
                    "Row 5 %, column 1200 rpm: 60,5 is outside 0 to 60°"},
        RefusalCase{"Negative", "-1", kAt21, "Row 5 %, column 1200 rpm: -1 is outside 0 to 60°"},
        RefusalCase{"Huge", "99999999999999999999", kAt21,
                    "Row 5 %, column 1200 rpm: 99999999999999999999 is outside 0 to 60°"},
        RefusalCase{
            "LongCellQuotedShort", "1\t" + std::string(100, 'a'), kAt21,
            "Row 5 %, column 1800 rpm: \"aaaaaaaaaaaaaaaaaaaaaaaa\xE2\x80\xA6\" is not a number"},
        RefusalCase{"ControlBytesShownAsQuestionMarks", std::string("1\t\x01\x02", 4), kAt21,
                    "Row 5 %, column 1800 rpm: \"??\" is not a number"},
        RefusalCase{"TooWide",
                    "1\t2\t3",
                    {2, 8, 2, 8},
                    "The block of 3 x 1 cells does not fit the map from row 5 %, column 9000 rpm "
                    "(room for 2 x 8)"},
        RefusalCase{"TooTallAndBadCellBeyond",
                    "1\n2\nx\n",
                    {8, 0, 8, 0},
                    "The block of 1 x 3 cells does not fit the map from row 80 %, column 800 rpm "
                    "(room for 10 x 2)"},
        RefusalCase{"TooTallOnTheCurve", "1\n2\n", MapRect::WholeMap(false),
                    "The block of 1 x 2 cells does not fit the map from column 800 rpm (room for "
                    "10 x 1)",
                    false, false},
        RefusalCase{"CurveCellNamedByItsColumn", "1\tx\n", MapRect::WholeMap(false),
                    "Column 1200 rpm: \"x\" is not a number", false, false},
        RefusalCase{"RpmHeaderOfAnotherAxis", "\t1000\t2000\r\n0\t1\t2\r\n", kAt21,
                    "The header row (1000 2000) does not match the map's RPM points (800 1200 1800 "
                    "2500 3300 4200 5500 7000 9000 12000)"},
        RefusalCase{"RpmHeaderWithAGap", "\t800\t1800\r\n0\t1\t2\r\n", kAt21,
                    "The header row (800 1800) does not match the map's RPM points (800 1200 1800 "
                    "2500 3300 4200 5500 7000 9000 12000)"},
        RefusalCase{"ThrottleHeaderOfAnotherAxis", "\t1200\r\n7\t20\r\n", kAt21,
                    "The header column (7) does not match the map's throttle points (0 2 5 10 20 "
                    "30 40 60 80 100)"},
        RefusalCase{"ThrottleHeaderNotANumber", "\t1200\r\nidle\t20\r\n", kAt21,
                    "The header column (idle) does not match the map's throttle points (0 2 5 10 "
                    "20 30 40 60 80 100)"},
        RefusalCase{"TenMegabytes", std::string(10 * 1024 * 1024, '1'), kAt21,
                    "The map text is too long (10485760 bytes, at most 65536)"}));

// What a spreadsheet or a tool could put on the clipboard, broken in one of the ways a paste
// must refuse. Each is refused and leaves every byte as it was.
TEST(MapText, ThousandMalformedClipboardsChangeNothing) {
    std::mt19937 random(2024);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::vector<std::string> notNumbers = {"abc",      "1..2", "12a", "--3",  "0x1F",
                                                 "1e3",      "+",    "\"",  "7 7x", "\x01",
                                                 "\xFF\xFE", ",",    "."};
    const std::vector<std::string> outOfRange = {"61", "-2", "75,5", "1000", "60.5", "-0.5"};
    for (int n = 0; n < 1000; ++n) {
        DeviceImage image = MapTestImage(static_cast<unsigned>(n));
        image[field::TpsMapa] = static_cast<std::uint8_t>(pick(2));
        const bool axis = HasThrottleAxis(image);
        const int top = FirstRowInUse(axis) + pick(axis ? 5 : 1);
        const int left = pick(5);
        const MapRect block{top, left, top + (axis ? pick(kMapRows - top) : 0),
                            left + pick(kMapColumns - left)};
        const bool headers = pick(2) == 1;
        std::string text = FormatMapText(image, block, headers);
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        const std::size_t firstData = headers ? 1 : 0;
        std::string& line = lines[firstData + static_cast<std::size_t>(pick(block.Rows()))];
        std::vector<std::string> cells;
        for (std::size_t at = 0;;) {
            const std::size_t tab = line.find('\t', at);
            cells.push_back(line.substr(at, tab == std::string::npos ? tab : tab - at));
            if (tab == std::string::npos) break;
            at = tab + 1;
        }
        const std::size_t cell =
            (headers ? 1 : 0) + static_cast<std::size_t>(pick(block.Columns()));
        const int fault = pick(6);
        switch (fault) {
            case 0:
                cells[cell] =
                    notNumbers[static_cast<std::size_t>(pick(static_cast<int>(notNumbers.size())))];
                break;
            case 1:
                cells[cell] =
                    outOfRange[static_cast<std::size_t>(pick(static_cast<int>(outOfRange.size())))];
                break;
            case 2:  // without tabs an emptied first or last line would only be a blank line
                cells[cell] = block.Columns() > 1 || headers ? "" : "12a";
                break;
            case 3:  // one cell too many or too few in one row of a block of several rows
                if (block.Rows() > 1 || headers) {
                    if (pick(2) == 1 || cells.size() == 1) {
                        cells.push_back("1");
                    } else {
                        cells.erase(cells.begin() + static_cast<long>(cell));
                    }
                } else {
                    cells[cell] = "x";
                }
                break;
            case 4:  // a header that names no points of this map, or data beyond the map
                if (headers) {
                    lines[0] += "\t" + std::to_string(image[field::RpmAdv] * 100 - 50);
                    for (std::size_t i = 1; i < lines.size(); ++i) lines[i] += "\t1";
                } else {
                    cells[cell] = "12a";
                }
                break;
            default:  // a block wider than the room right of its first cell
                for (int extra = 0; extra < kMapColumns - block.left - block.Columns() + 1; ++extra)
                    for (std::string& l : lines) l += "\t1";
                break;
        }
        if (fault < 4 || (fault == 4 && !headers)) {
            line.clear();
            for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
        }
        std::string broken;
        for (const std::string& l : lines) broken += l + (pick(2) ? "\r\n" : "\n");

        const DeviceImage before = image;
        const EditOutcome out = PasteMapText(image, broken, {block, pick(2) == 1});
        ASSERT_TRUE(out.refused) << "case " << n << " fault " << fault << ":\n" << broken;
        ASSERT_EQ(image, before) << broken;
        ASSERT_FALSE(out.reason.In(0).empty());
        ASSERT_FALSE(out.reason.In(2).empty());
    }
}

// Random bytes and random spreadsheet-like tokens: whatever happens, the image changes only
// inside the block the paste reports, and every written cell is a whole degree within 0..60.
TEST(MapText, RandomTextsNeverTouchMoreThanTheBlock) {
    std::mt19937 random(77);
    const std::vector<std::string> tokens = {"1",    "25", "60",   "61",       "\t", ";", ",",
                                             ".",    " ",  "\r\n", "\n",       "\"", "%", "°",
                                             "1800", "-",  "x",    "\xC2\xA0", ""};
    for (int n = 0; n < 2000; ++n) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < length; ++i) {
            if (n % 2 == 0) {
                text += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
            } else {
                text += tokens[std::uniform_int_distribution<std::size_t>(
                    0, tokens.size() - 1)(random)];
            }
        }
        DeviceImage image = MapTestImage(static_cast<unsigned>(n));
        const DeviceImage before = image;
        const EditOutcome out = PasteMapText(image, text, {MapRect{1, 1, 3, 3}, n % 3 == 0});
        if (out.refused) {
            ASSERT_EQ(image, before);
            continue;
        }
        ASSERT_TRUE(out.cells.OnMap());
        ASSERT_TRUE(OnlyWithin(before, image, out.cells));
        for (int r = out.cells.top; r <= out.cells.bottom; ++r)
            for (int c = out.cells.left; c <= out.cells.right; ++c)
                ASSERT_LE(Cell(image, r, c), 60);
    }
}

TEST(MapText, BinaryTextsAreToldApart) {
    EXPECT_FALSE(LooksBinary("\t1800\r\n0\t12,5\r\n"));
    EXPECT_FALSE(LooksBinary("Otáčky;1800\f\v"));
    EXPECT_TRUE(
        LooksBinary(std::string("1\0"
                                "2",
                                3)));
    EXPECT_TRUE(LooksBinary("\x1B[0m"));
    EXPECT_TRUE(LooksBinary("\x7F"));
    // A text saved as UTF-16 has a NUL beside every ASCII character.
    EXPECT_TRUE(
        LooksBinary(std::string("\xFF\xFE"
                                "1\0",
                                4)));
}

}  // namespace
}  // namespace korvan
