#include "params/binding.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "params/defaults.h"

namespace korvan {
namespace {

struct NormalizeCase {
    const char* what;
    std::function<void(DeviceImage&)> change;
    std::function<void(const DeviceImage&)> check;
};

TEST(NormalizeImage, RepairsRangesAndOrderings) {
    const NormalizeCase cases[] = {
        {"breakpoint typed past its right neighbour pushes the neighbours up only as far as needed",
         [](DeviceImage& i) { i[field::RpmAdv + 2] = 50; },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::RpmAdv + 2], 50);
             EXPECT_EQ(i[field::RpmAdv + 3], 51);
             EXPECT_EQ(i[field::RpmAdv + 4], 52);
             EXPECT_EQ(i[field::RpmAdv + 5], 60);
         }},
        {"breakpoint pulled below its left neighbour snaps to neighbour + 1",
         [](DeviceImage& i) { i[field::RpmAdv + 5] = 20; },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::RpmAdv + 4], 50);
             EXPECT_EQ(i[field::RpmAdv + 5], 51);
         }},
        {"first breakpoint at least 3, last at most 200",
         [](DeviceImage& i) {
             i[field::RpmAdv] = 2;
             i[field::RpmAdv + 9] = 201;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::RpmAdv], 3);
             EXPECT_EQ(i[field::RpmAdv + 9], 200);
         }},
        {"an all-zero axis becomes k + 3",
         [](DeviceImage& i) {
             for (int k = 0; k < 10; ++k) i[field::RpmPriv + k] = 0;
         },
         [](const DeviceImage& i) {
             for (int k = 0; k < 10; ++k) EXPECT_EQ(i[field::RpmPriv + k], k + 3);
         }},
        {"an all-255 axis becomes k + 191",
         [](DeviceImage& i) {
             for (int k = 0; k < 10; ++k) i[field::RpmAdv + k] = 255;
         },
         [](const DeviceImage& i) {
             for (int k = 0; k < 10; ++k) EXPECT_EQ(i[field::RpmAdv + k], k + 191);
         }},
        {"limiter 2 below limiter 1 is raised to it",
         [](DeviceImage& i) {
             i[field::Limiter1] = 120;
             i[field::Limiter2] = 100;
         },
         [](const DeviceImage& i) { EXPECT_EQ(i[field::Limiter2], 120); }},
        {"limiters clamped into 10..250 before they are ordered",
         [](DeviceImage& i) {
             i[field::Limiter1] = 255;
             i[field::Limiter2] = 5;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::Limiter1], 250);
             EXPECT_EQ(i[field::Limiter2], 250);
         }},
        {"gas stage 1 above stage 2 is lowered",
         [](DeviceImage& i) {
             i[field::Gas1] = 90;
             i[field::Gas2] = 50;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::Gas1], 50);
             EXPECT_EQ(i[field::Gas2], 50);
         }},
        {"retard 1 above retard 2 is lowered, both at most 25",
         [](DeviceImage& i) {
             i[field::Retard1] = 30;
             i[field::Retard2] = 40;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::Retard1], 25);
             EXPECT_EQ(i[field::Retard2], 25);
         }},
        {"build-up times at least 1 and at most 200; delays at most 200",
         [](DeviceImage& i) {
             i[field::GasBuildUp] = 0;
             i[field::RetardBuildUp] = 0;
             i[field::GasDelay] = 201;
             i[field::RetardDelay] = 255;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::GasBuildUp], 1);
             EXPECT_EQ(i[field::RetardBuildUp], 1);
             EXPECT_EQ(i[field::GasDelay], 200);
             EXPECT_EQ(i[field::RetardDelay], 200);
         }},
        {"build-up times above 200 are brought down to 200",
         [](DeviceImage& i) {
             i[field::GasBuildUp] = 255;
             i[field::RetardBuildUp] = 201;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::GasBuildUp], 200);
             EXPECT_EQ(i[field::RetardBuildUp], 200);
             // so their fields never show more than 20000 ms
             EXPECT_EQ(FindNumericField("EditGasT")->ToShown(i[field::GasBuildUp]), 20000);
             EXPECT_EQ(FindNumericField("EditRetardT")->ToShown(i[field::RetardBuildUp]), 20000);
         }},
        {"servo axis out of order is put in rising order",
         [](DeviceImage& i) {
             const std::uint8_t axis[] = {12, 20, 30, 25, 60, 60, 60, 120, 110, 160};
             for (int k = 0; k < 10; ++k) i[field::RpmPriv + k] = axis[k];
         },
         [](const DeviceImage& i) {
             const std::uint8_t want[] = {12, 20, 30, 31, 60, 61, 62, 120, 121, 160};
             for (int k = 0; k < 10; ++k) EXPECT_EQ(i[field::RpmPriv + k], want[k]) << k;
         }},
        {"equal advance breakpoints are separated",
         [](DeviceImage& i) {
             for (int k = 0; k < 10; ++k) i[field::RpmAdv + k] = 100;
         },
         [](const DeviceImage& i) {
             for (int k = 0; k < 10; ++k) EXPECT_EQ(i[field::RpmAdv + k], 100 + k);
         }},
        {"clutch at most 100, shift light 10..250, throttle voltages at most 250",
         [](DeviceImage& i) {
             i[field::Clutch] = 255;
             i[field::LedRazeni] = 0;
             i[field::Tps0] = 251;
             i[field::Tps100] = 255;
         },
         [](const DeviceImage& i) {
             EXPECT_EQ(i[field::Clutch], 100);
             EXPECT_EQ(i[field::LedRazeni], 10);
             EXPECT_EQ(i[field::Tps0], 250);
             EXPECT_EQ(i[field::Tps100], 250);
         }},
    };
    for (const NormalizeCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage image = DefaultImage();
        c.change(image);
        NormalizeImage(image);
        c.check(image);
    }
}

TEST(NormalizeImage, LeavesUncheckedFieldsAlone) {
    DeviceImage image = DefaultImage();
    for (std::size_t i = 0; i < kPageSize; ++i) image[i] = 0xEE;  // identity
    image[field::BikeType] = 200;
    image[field::BaseAdv] = 255;
    image[field::PrivHyster] = 255;
    image[field::ActRpm] = 7;
    image[field::NapPriv + 3] = 255;
    image[AdvanceIndex(4, 4)] = 255;
    for (std::size_t i = 0; i < field::ParamReservedLength; ++i)
        image[field::ParamReserved + i] = 0x5A;
    const DeviceImage before = image;
    NormalizeImage(image);
    EXPECT_EQ(image, before);
}

TEST(NormalizeImage, BoundsLanguageAndComPort) {
    struct Case {
        std::uint8_t language, com, wantLanguage, wantCom;
    } cases[] = {{0, 0, 0, 0}, {2, 10, 2, 10}, {3, 11, 1, 1}, {7, 12, 1, 1}, {255, 255, 1, 1}};
    for (const Case& c : cases) {
        DeviceImage image = DefaultImage();
        std::uint8_t language = c.language, com = c.com;
        NormalizeImage(image, language, com);
        EXPECT_EQ(language, c.wantLanguage);
        EXPECT_EQ(com, c.wantCom);
    }
}

TEST(NumericFields, CoverEveryEditOnceWithItsLimits) {
    const auto& fields = NumericFields();
    ASSERT_EQ(fields.size(), 146u);
    std::set<std::string> names;
    std::set<std::size_t> indexes;
    for (const NumericField& f : fields) {
        names.insert(f.edit);
        indexes.insert(f.imageIndex);
        EXPECT_EQ(f.upDown.substr(0, 6), "UpDown") << f.edit;
        EXPECT_EQ(f.upDown.substr(6), f.edit.substr(4)) << f.edit;
    }
    EXPECT_EQ(names.size(), 146u);
    EXPECT_EQ(indexes.size(), 146u);

    struct Limits {
        const char* edit;
        int min, max, step;
        bool groups;
    } limits[] = {
        {"EditOmez1", 999, 25000, 100, true},
        {"EditClutch", 0, 500, 10, false},
        {"EditLedRazeni", 1000, 25000, 100, true},
        {"EditPrivHyster", 0, 1275, 5, true},
        {"EditTps100", 2500, 4750, 10, true},
        {"EditRpmAdv1", 199, 20100, 100, false},
        {"EditRpmAdv2", 300, 20100, 100, false},
        {"EditRpmPriv2", 200, 20100, 100, false},
        {"EditRpmPriv3", 300, 20100, 100, false},
        {"EditNapPriv10", 20, 5000, 20, false},
        {"Edit149", 0, 60, 1, false},
        {"EditGasT", 0, 25500, 100, true},
        {"EditBaseAdv", 0, 40, 1, false},
    };
    for (const Limits& l : limits) {
        const NumericField* f = FindNumericField(l.edit);
        ASSERT_NE(f, nullptr) << l.edit;
        EXPECT_EQ(f->min, l.min) << l.edit;
        EXPECT_EQ(f->max, l.max) << l.edit;
        EXPECT_EQ(f->step, l.step) << l.edit;
        EXPECT_EQ(f->digitGroups, l.groups) << l.edit;
    }
    EXPECT_EQ(FindNumericField("Edit50")->imageIndex, AdvanceIndex(0, 0));
    EXPECT_EQ(FindNumericField("Edit149")->imageIndex, AdvanceIndex(9, 9));
}

TEST(NumericFields, ScaleBetweenShownAndRaw) {
    struct Case {
        const char* edit;
        int shown;
        int raw;
        int shownAgain;
    } cases[] = {
        {"EditTps100", 2500, 0, 2500},     {"EditTps100", 3790, 129, 3790},
        {"EditTps100", 4750, 225, 4750},   {"EditTps100", 3795, 129, 3790},
        {"EditOmez1", 15050, 150, 15000},  {"EditOmez1", 999, 9, 900},
        {"EditNapPriv1", 2910, 145, 2900}, {"EditPrivHyster", 1274, 254, 1270},
        {"EditClutch", 500, 50, 500},
    };
    for (const Case& c : cases) {
        const NumericField* f = FindNumericField(c.edit);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->ToRaw(c.shown), c.raw) << c.edit << " " << c.shown;
        EXPECT_EQ(f->ToShown(f->ToRaw(c.shown)), c.shownAgain) << c.edit << " " << c.shown;
    }
}

TEST(ParseFieldText, AcceptsOnlyWholeNumbersWithinTheLimits) {
    struct Case {
        const char* text;
        const char* separator;
        int min, max;
        bool accepted;
        int value;
    } cases[] = {
        {"15000", ",", 999, 25000, true, 15000},
        {"15,050", ",", 999, 25000, true, 15050},
        {"15.050", ".", 999, 25000, true, 15050},
        {"15.050", ",", 999, 25000, false, 0},
        {"15\xc2\xa0"
         "050",
         "\xc2\xa0", 999, 25000, true, 15050},
        {"70", "", 0, 60, false, 0},
        {"60", "", 0, 60, true, 60},
        {"7", "", 0, 60, true, 7},
        {"", ",", 0, 60, false, 0},
        {"abc", ",", 0, 60, false, 0},
        {"1e3", ",", 0, 5000, false, 0},
        {"12.5", ",", 0, 60, false, 0},
        {"-1", ",", 0, 60, false, 0},
        {" 42 ", ",", 0, 60, true, 42},
        {"99999999999999999999", ",", 0, 60, false, 0},
        {"998", ",", 999, 25000, false, 0},
        {"15 050", "\xc2\xa0", 999, 25000, true, 15050},
        {"15 050", ",", 999, 25000, false, 0},
        {",", ",", 0, 60, false, 0},
    };
    for (const Case& c : cases) {
        int value = -12345;
        EXPECT_EQ(ParseFieldText(c.text, c.separator, c.min, c.max, value), c.accepted)
            << '"' << c.text << '"';
        EXPECT_EQ(value, c.accepted ? c.value : -12345) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace korvan
