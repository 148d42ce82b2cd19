#include "params/localized_text.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

struct FillCase {
    const char* pattern;
    const char* expected;
};

void PrintTo(const FillCase& c, std::ostream* os) {
    *os << c.pattern;
}

class FillPatternTest : public testing::TestWithParam<FillCase> {};

TEST_P(FillPatternTest, ReplacesMarksWithTheirValues) {
    EXPECT_EQ(FillPattern(GetParam().pattern, {"A", 42, std::string("%1")}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Marks, FillPatternTest,
                         testing::Values(FillCase{"%1 and %2", "A and 42"},
                                         FillCase{"%2 before %1", "42 before A"},
                                         FillCase{"%1%1", "AA"},
                                         // A value that holds a mark is not filled again.
                                         FillCase{"[%3]", "[%1]"},
                                         // Marks without a value and other percent signs stay.
                                         FillCase{"%4 %0 100 % %", "%4 %0 100 % %"},
                                         FillCase{"%", "%"}, FillCase{"", ""}));

TEST(Fill, PicksTheLanguageBeforeFilling) {
    const LocalizedText text{"řádků: %1", "%1 rows", "%1 Zeilen"};
    EXPECT_EQ(Fill(text, 0, 7), "řádků: 7");
    EXPECT_EQ(Fill(text, 1, 7), "7 rows");
    EXPECT_EQ(Fill(text, 2, -3), "-3 Zeilen");
}

}  // namespace
}  // namespace korvan
