#include "files/print_layout.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

TEST(PrintLayout, FillsTheHeightOrTheWidthKeepingTheAspect) {
    struct Case {
        int w, h, pw, ph;
        int wantW, wantH;
    } cases[] = {
        {965, 557, 4760, 6779, 4760,
         2747},  // a wide window on portrait paper: full width, space below
        {965, 557, 6779, 4760, 6779, 3913},  // landscape paper, still wider in proportion
        {400, 800, 4760, 6779, 3390, 6779},  // a tall picture: full height, space on the right
        {100, 100, 1000, 1000, 1000, 1000},  // same proportions: full page
        {3, 2, 100, 100, 100, 67},           // 66.67 rounds to 67
        {0, 10, 100, 100, 0, 0},             // nothing to print
    };
    for (const Case& c : cases) {
        const PrintRect r = FitToPage(c.w, c.h, c.pw, c.ph);
        EXPECT_EQ(r.width, c.wantW) << c.w << "x" << c.h << " on " << c.pw << "x" << c.ph;
        EXPECT_EQ(r.height, c.wantH) << c.w << "x" << c.h << " on " << c.pw << "x" << c.ph;
        EXPECT_LE(r.width, c.pw);
        EXPECT_LE(r.height, c.ph);
    }
}

TEST(PrintLayout, DateLineByLanguage) {
    EXPECT_EQ(PrintDateLine(0, "08.12.2026", "10:11:12"),
              "Datum a čas tisku:  08.12.2026    10:11:12");
    EXPECT_EQ(PrintDateLine(1, "12/8/26", "10:11:12 AM"),
              "Date and Time of printing:  12/8/26    10:11:12 AM");
    EXPECT_EQ(PrintDateLine(2, "08.12.26", "10:11:12"),
              "Date and Time of printing:  08.12.26    10:11:12");
    EXPECT_FALSE(PrintDateLine(3, "x", "y").has_value());
}

}  // namespace
}  // namespace korvan
