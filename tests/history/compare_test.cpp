#include "history/compare.h"

#include <gtest/gtest.h>

#include <functional>

#include "history/compare_text.h"
#include "params/binding.h"
#include "params/defaults.h"

namespace korvan {
namespace {

struct CompareCase {
    const char* name;
    std::function<void(DeviceImage&)> change;  // applied to `other`
    std::size_t cells;
    std::size_t axes;
    std::size_t fields;
    std::string englishText;  // the whole English text
};

void PrintTo(const CompareCase& c, std::ostream* os) {
    *os << c.name;
}

class CompareTable : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareTable, FindsEachDifferenceInItsUnitAndSaysIt) {
    const CompareCase& c = GetParam();
    const DeviceImage base = DefaultImage();
    DeviceImage other = base;
    c.change(other);
    const ParameterComparison result = CompareParameters(base, other);
    EXPECT_EQ(result.cells.size(), c.cells);
    EXPECT_EQ(result.axes.size(), c.axes);
    EXPECT_EQ(result.fields.size(), c.fields);
    EXPECT_EQ(result.ChangeCount(), static_cast<int>(c.cells + c.axes + c.fields));
    EXPECT_EQ(result.Identical(), c.cells + c.axes + c.fields == 0);
    EXPECT_EQ(CompareText(result, kLanguageEnglish), c.englishText);
    // The other way round every difference changes sign and nothing is lost.
    const ParameterComparison back = CompareParameters(other, base);
    EXPECT_EQ(back.ChangeCount(), result.ChangeCount());
    for (std::size_t i = 0; i < back.cells.size(); ++i)
        EXPECT_EQ(back.cells[i].Delta(), -result.cells[i].Delta());
}

const CompareCase kCompareCases[] = {
    {"Identical", [](DeviceImage&) {}, 0, 0, 0, "The parameters are identical.\n"},
    // The unit's identity is no part of a tune.
    {"IdentityPageIgnored", [](DeviceImage& i) { i[field::VersionNumber] ^= 0xFF; }, 0, 0, 0,
     "The parameters are identical.\n"},
    {"OneCell",
     [](DeviceImage& i) {
         i[AdvanceIndex(3, 4)] = static_cast<std::uint8_t>(i[AdvanceIndex(3, 4)] + 2);
         i[field::RpmAdv + 4] = 40;  // only names the column: 4000 rpm
     },
     1, 1, 0, ""},
    {"CellLower",
     [](DeviceImage& i) {
         i[AdvanceIndex(9, 0)] = 7;
         i[AdvanceIndex(0, 0)] = 9;
     },
     2, 0, 0, ""},
    {"RpmAxisPoint",
     [](DeviceImage& i) {
         i[field::RpmAdv + 2] = static_cast<std::uint8_t>(i[field::RpmAdv + 2] + 2);
     },
     0, 1, 0, ""},
    {"ServoTable",
     [](DeviceImage& i) {
         i[field::NapPriv] = 49;
         i[field::RpmPriv + 9] = 150;
     },
     0, 2, 0, ""},
    {"ScaledField", [](DeviceImage& i) { i[field::Tps100] = 110; }, 0, 0, 1, ""},
    {"Flag", [](DeviceImage& i) { i[field::N2oEnable] = i[field::N2oEnable] ? 0 : 1; }, 0, 0, 1,
     ""},
    {"ReservedByte", [](DeviceImage& i) { i[field::ParamReserved + 5] ^= 7; }, 0, 0, 1, ""},
};

// Against the default set: cells (0, 0) and (9, 0) 4°, cell (3, 4) 45°, RPM axis points 3
// and 5 at 3000 and 5000 rpm; servo 2000 mV at point 1, 16000 rpm at point 10; TPS 100 %
// 3790 mV; N2O on.
std::vector<CompareCase> Cases() {
    std::vector<CompareCase> cases(std::begin(kCompareCases), std::end(kCompareCases));
    auto text = [&](const char* name, const char* t) {
        for (CompareCase& c : cases) {
            if (std::string(c.name) == name) c.englishText = t;
        }
    };
    text("OneCell",
         "Advance Map (1 cells):\n  10%, 4000 rpm: 45° → 47° (+2°)\nAdvance Map – RPM:\n  5: 5000 "
         "rpm → 4000 rpm (-1000 rpm)\n");
    text(
        "CellLower",
        "Advance Map (2 cells):\n  0%, 1000 rpm: 4° → 9° (+5°)\n  100%, 1000 rpm: 4° → 7° (+3°)\n");
    text("RpmAxisPoint", "Advance Map – RPM:\n  3: 3000 rpm → 3200 rpm (+200 rpm)\n");
    text("ServoTable",
         "Servo – voltage [mV]:\n  1: 2000 mV → 980 mV (-1020 mV)\nServo – RPM:\n  10: 16000 rpm → "
         "15000 rpm (-1000 rpm)\n");
    text("ScaledField", "Other differences:\n  TPS 100%: 3790 mV → 3600 mV (-190 mV)\n");
    text("Flag", "Other differences:\n  N2O Enable: on → off\n");
    text("ReservedByte", "Other differences:\n  Byte 135: 0 → 7\n");
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sets, CompareTable, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Compare, AllThreeTablesAndEveryOtherByteAreFound) {
    // Every byte of the parameter pages changed: each one is reported exactly once.
    const DeviceImage base{};
    DeviceImage other{};
    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i) other[i] = 1;
    const ParameterComparison c = CompareParameters(base, other);
    EXPECT_EQ(c.cells.size(), static_cast<std::size_t>(kMapRows * kMapColumns));
    EXPECT_EQ(c.axes.size(), static_cast<std::size_t>(3 * kAxisPoints));
    EXPECT_EQ(c.ChangeCount(), static_cast<int>(kParamImageSize));
    for (const FieldDifference& f : c.fields) {
        if (f.kind == FieldKind::Numeric) {
            EXPECT_STRNE(f.unit, "") << f.control;
        }
    }
}

struct FieldTextCase {
    std::size_t index;
    std::uint8_t base;
    std::uint8_t other;
    std::uint8_t language;
    const char* text;
};

TEST(CompareText, FieldsByTheirCaptionInEachLanguage) {
    const FieldTextCase cases[] = {
        {field::Limiter2, 90, 95, kLanguageEnglish, "Limiter: 9000 rpm → 9500 rpm (+500 rpm)"},
        {field::Limiter2, 90, 95, kLanguageCzech, "Omezovač: 9000 rpm → 9500 rpm (+500 rpm)"},
        {field::Limiter2, 95, 90, kLanguageGerman, "Begrenzer: 9500 rpm → 9000 rpm (-500 rpm)"},
        {field::GasDelay, 1, 3, kLanguageEnglish, "N2O – Delay: 100 ms → 300 ms (+200 ms)"},
        {field::RetardDelay, 1, 3, kLanguageCzech,
         "Snížení předstihu – Zpoždění: 100 ms → 300 ms (+200 ms)"},
        {field::Retard1, 5, 2, kLanguageGerman, "Spätzündung 1: 5° → 2° (-3°)"},
        {field::Gas1, 50, 60, kLanguageEnglish, "N2O 1: 50% → 60% (+10%)"},
        {field::Tps0, 50, 51, kLanguageEnglish, "TPS 0%: 500 mV → 510 mV (+10 mV)"},
        {field::BaseAdv, 10, 12, kLanguageGerman, "Grundvorzündung: 10° → 12° (+2°)"},
        {field::PrivHyster, 10, 12, kLanguageCzech, "Hystereze: 50 mV → 60 mV (+10 mV)"},
        {field::ActBlok1, 0, 1, kLanguageCzech,
         "Aktivace sepnutím – Blokování 1: vypnuto → zapnuto"},
        {field::ActTachoLambda, 1, 0, kLanguageEnglish,
         "Activation by Switch on – Tacho/Lambda: on → off"},
        {field::TpsMapa, 1, 0, kLanguageGerman, "Vorzündung Karte – TPS: ein → aus"},
        {field::NoReading, 1, 2, kLanguageEnglish, "No Reading: on → on (1 → 2)"},
        {field::BikeType, 0, 3, kLanguageEnglish, "Motorbike Type: Yamaha R6 → Yamaha R1"},
        {field::BikeType, 0, 200, kLanguageEnglish, "Motorbike Type: Yamaha R6 → 200"},
        {field::ActRpm, 0, 1, kLanguageCzech, "Bajt 114: 0 → 1"},
    };
    for (const FieldTextCase& c : cases) {
        DeviceImage a{}, b{};
        a[c.index] = c.base;
        b[c.index] = c.other;
        const ParameterComparison r = CompareParameters(a, b);
        ASSERT_EQ(r.fields.size(), 1u) << c.text;
        EXPECT_EQ(FieldDifferenceText(r.fields[0], c.language), c.text);
    }
}

TEST(CompareText, EveryFieldHasAHumanCaptionInEveryLanguage) {
    std::vector<std::string> controls;
    for (const NumericField& f : NumericFields()) {
        if (f.page == Page::Miscellaneous || f.page == Page::N2oController ||
            f.edit == "EditPrivHyster")
            controls.push_back(f.edit);
    }
    for (const FlagField& f : FlagFields()) controls.push_back(f.checkBox);
    controls.push_back("ComboBox1");
    for (std::uint8_t language : {kLanguageCzech, kLanguageEnglish, kLanguageGerman}) {
        std::vector<std::string> seen;
        for (const std::string& control : controls) {
            const std::string caption = FieldCaption(control, language);
            EXPECT_NE(caption, control) << int(language);
            EXPECT_EQ(caption.find('&'), std::string::npos) << caption;
            EXPECT_EQ(caption.find('['), std::string::npos) << caption;
            // Two fields under one name would leave the tuner guessing which one changed.
            for (const std::string& s : seen)
                EXPECT_NE(s, caption) << control << " " << int(language);
            seen.push_back(caption);
        }
    }
}

TEST(CompareJson, EveryDifferenceIsNamedByItsFileKey) {
    const struct {
        std::size_t byte;
        const char* names;  // the pairs that name the difference
    } cases[] = {
        {field::BaseAdv, "{\"key\":\"BASE_ADV\",\"index\":0,\"kind\":\"numeric\""},
        {field::Tps100, "{\"key\":\"TPS\",\"index\":1,\"kind\":\"numeric\""},
        {field::GasDelay, "{\"key\":\"N2O\",\"index\":3,"},
        {field::BikeType, "{\"key\":\"BIKE\",\"index\":0,\"kind\":\"bikeType\""},
        {AdvanceIndex(9, 9), "{\"key\":\"ADVANCE\",\"index\":99,\"row\":9,\"column\":9,"},
        {field::RpmAdv + 4, "{\"key\":\"RPM_ADV\",\"index\":4,\"base\":"},
        {field::NapPriv, "{\"key\":\"NAP_PRIV\",\"index\":0,\"base\":"},
        {field::RpmPriv + 9, "{\"key\":\"RPM_PRIV\",\"index\":9,\"base\":"},
        {field::ActTachoLambda, "{\"key\":null,\"kind\":\"flag\""},  // no file holds it
        {field::ParamReserved + 5, "{\"key\":null,\"kind\":\"byte\""},
    };
    for (const auto& c : cases) {
        DeviceImage a = DefaultImage();
        DeviceImage b = a;
        b[c.byte] = static_cast<std::uint8_t>(b[c.byte] + 1);
        const std::string json = ComparisonJson(CompareParameters(a, b));
        EXPECT_NE(json.find(c.names), std::string::npos) << json;
    }
}

TEST(CompareJson, EscapesAndShape) {
    EXPECT_EQ(JsonString("a\"b\\c\nd\x01\tž"), "\"a\\\"b\\\\c\\nd\\u0001\\tž\"");
    DeviceImage a{}, b{};
    b[AdvanceIndex(1, 2)] = 3;
    b[field::N2oEnable] = 1;
    EXPECT_EQ(
        ComparisonJson(CompareParameters(a, b)),
        "{\"identical\":false,\"changes\":2,\"cells\":[{\"key\":\"ADVANCE\",\"index\":12,"
        "\"row\":1,\"column\":2,\"tpsPercent\":2,\"base\":0,"
        "\"other\":3,\"delta\":3,\"unit\":\"°\"}],\"axes\":[],\"fields\":[{\"key\":\"N2O\","
        "\"index\":0,\"kind\":\"flag\",\"offset\":120,\"base\":0,\"other\":1,\"unit\":\"\"}]}");
    EXPECT_EQ(ComparisonJson(CompareParameters(a, a)),
              "{\"identical\":true,\"changes\":0,\"cells\":[],\"axes\":[],\"fields\":[]}");
}

}  // namespace
}  // namespace korvan
