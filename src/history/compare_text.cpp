#include "history/compare_text.h"

#include <cstring>

#include "params/binding.h"
#include "params/defaults.h"
#include "params/language_tables.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

constexpr const char* kArrow = " → ";
constexpr const char* kGroupDash = " – ";

// Fields whose label the window shows in English only, or not at all: their captions in the
// three languages, with the window's English words.
struct OwnCaption {
    const char* control;
    LocalizedText text;
};
const OwnCaption kOwnCaptions[] = {
    {"EditBaseAdv", {"Základní předstih", "Base advance", "Grundvorzündung"}},
    {"EditClutch", {"Spojka", "Clutch m.", "Kupplung"}},
    {"EditTps0", {"TPS 0%", "TPS 0%", "TPS 0%"}},
    {"EditTps100", {"TPS 100%", "TPS 100%", "TPS 100%"}},
    {"CheckBoxAktClutch", {"Spojka", "Clutch m.", "Kupplung"}},
    {"CheckBoxAktRpm", {"Otáčkoměr/Lambda", "Tacho/Lambda", "Drehzahl/Lambda"}},
    {"CheckBoxTpsMapa", {"TPS", "TPS", "TPS"}},
    {"ComboBox1", {"Typ motocyklu", "Motorbike Type", "Mottorad Type"}},
};

// A label alone that would name two fields ("Delay" of N2O and of Retard, "Start Limiter" of
// the limiter and of its switch) is named with the group it sits in.
struct GroupOf {
    const char* control;
    const char* group;
};
const GroupOf kGroups[] = {
    {"EditGasD", "GroupBoxGas"},          {"EditGasT", "GroupBoxGas"},
    {"EditRetardD", "GroupBoxRetard"},    {"EditRetardT", "GroupBoxRetard"},
    {"CheckBoxAktLimiter1", "GroupBox4"}, {"CheckBoxAktRpm", "GroupBox4"},
    {"CheckBoxAktClutch", "GroupBox4"},   {"CheckBoxAktBlok1", "GroupBox4"},
    {"CheckBoxAktBlok2", "GroupBox4"},    {"CheckBoxAktN2o", "GroupBox4"},
    {"CheckBoxTpsMapa", "TabSheet2"},     {"CheckBoxPrivEnable", "TabSheet4"},
};

const LocalizedText kIdentical = {"Parametry jsou shodné.", "The parameters are identical.",
                                  "Die Kenndaten sind gleich."};
const LocalizedText kFields = {"Ostatní rozdíly", "Other differences", "Weitere Unterschiede"};
const LocalizedText kRpmAxis = {"otáčky", "RPM", "Drehzahl"};
const LocalizedText kVoltage = {"napětí [mV]", "voltage [mV]", "Spannung [mV]"};
const LocalizedText kOn = {"zapnuto", "on", "ein"};
const LocalizedText kOff = {"vypnuto", "off", "aus"};
const LocalizedText kByte = {"Bajt %1", "Byte %1", "Byte %1"};
const LocalizedText kCells = {"%1 buněk", "%1 cells", "%1 Zellen"};

// A caption of the window's table, without "&" and a trailing " [unit]".
std::string TableCaption(const std::string& control, std::uint8_t language) {
    for (const LanguageEntry& e : LanguageTable()) {
        if (e.kind != TextKind::Caption || control != e.control) continue;
        std::string text;
        for (const char* p = e.text.In(language); *p; ++p) {
            if (*p != '&') text += *p;
        }
        const auto bracket = text.rfind(" [");
        if (bracket != std::string::npos && text.back() == ']') text.erase(bracket);
        return text;
    }
    return {};
}

std::string LabelOf(const std::string& control) {
    if (control.compare(0, 4, "Edit") == 0) return "Label" + control.substr(4);
    return control;
}

// "24°" and "3000 rpm": the degree sign and percent sit on the number, other units after a blank.
std::string WithUnit(int value, const char* unit) {
    if (!unit || !*unit) return std::to_string(value);
    const bool tight = std::strcmp(unit, "°") == 0 || std::strcmp(unit, "%") == 0;
    return std::to_string(value) + (tight ? "" : " ") + unit;
}

std::string Change(int base, int other, const char* unit) {
    return WithUnit(base, unit) + kArrow + WithUnit(other, unit) + " (" +
           (other - base > 0 ? "+" : "") + WithUnit(other - base, unit) + ")";
}

std::string FlagWord(int value, std::uint8_t language) {
    return (value ? kOn : kOff).In(language);
}

std::string BikeTypeName(int value) {
    if (value >= 0 && value < kBikeTypeCount)
        return kBikeTypeNames[static_cast<std::size_t>(value)];
    return std::to_string(value);
}

}  // namespace

std::string FieldCaption(const std::string& control, std::uint8_t language) {
    std::string caption;
    for (const OwnCaption& o : kOwnCaptions) {
        if (control == o.control) caption = o.text.In(language);
    }
    if (caption.empty()) caption = TableCaption(LabelOf(control), language);
    if (caption.empty()) caption = TableCaption(control, language);
    if (caption.empty()) caption = control;
    for (const GroupOf& g : kGroups) {
        if (control == g.control) caption = TableCaption(g.group, language) + kGroupDash + caption;
    }
    return caption;
}

std::string MapHeading(std::uint8_t language) {
    return TableCaption("TabSheet2", language);
}

std::string AxisHeading(AxisKind axis, std::uint8_t language) {
    switch (axis) {
        case AxisKind::AdvanceRpm:
            return TableCaption("TabSheet2", language) + kGroupDash + kRpmAxis.In(language);
        case AxisKind::ServoVoltage:
            return TableCaption("TabSheet4", language) + kGroupDash + kVoltage.In(language);
        case AxisKind::ServoRpm:
            return TableCaption("TabSheet4", language) + kGroupDash + kRpmAxis.In(language);
    }
    return {};
}

std::string FieldsHeading(std::uint8_t language) {
    return kFields.In(language);
}
std::string IdenticalText(std::uint8_t language) {
    return kIdentical.In(language);
}

std::string CellDifferenceText(const CellDifference& d, const ParameterComparison& c,
                               std::uint8_t) {
    return std::to_string(kTpsAxisPercent[static_cast<std::size_t>(d.row)]) + "%, " +
           WithUnit(c.columnRpm[static_cast<std::size_t>(d.column)], "rpm") + ": " +
           Change(d.base, d.other, "°");
}

std::string AxisDifferenceText(const AxisDifference& d, std::uint8_t) {
    const char* unit = d.axis == AxisKind::ServoVoltage ? "mV" : "rpm";
    return std::to_string(d.point + 1) + ": " + Change(d.base, d.other, unit);
}

std::string FieldDifferenceText(const FieldDifference& d, std::uint8_t language) {
    switch (d.kind) {
        case FieldKind::Numeric:
            return FieldCaption(d.control, language) + ": " + Change(d.base, d.other, d.unit);
        case FieldKind::Flag: {
            std::string text = FieldCaption(d.control, language) + ": " +
                               FlagWord(d.base, language) + kArrow + FlagWord(d.other, language);
            // Two different bytes that both mean "on" are still a difference the tuner should see.
            if ((d.base != 0) == (d.other != 0))
                text += " (" + std::to_string(d.base) + kArrow + std::to_string(d.other) + ")";
            return text;
        }
        case FieldKind::BikeType:
            return FieldCaption(d.control, language) + ": " + BikeTypeName(d.base) + kArrow +
                   BikeTypeName(d.other);
        case FieldKind::Byte:
            return Fill(kByte, language, d.imageIndex) + ": " + std::to_string(d.base) + kArrow +
                   std::to_string(d.other);
    }
    return {};
}

std::string CompareText(const ParameterComparison& c, std::uint8_t language) {
    if (c.Identical()) return IdenticalText(language) + "\n";
    std::string out;
    if (!c.cells.empty()) {
        out += MapHeading(language) + " (" + Fill(kCells, language, c.cells.size()) + "):\n";
        for (const CellDifference& d : c.cells)
            out += "  " + CellDifferenceText(d, c, language) + "\n";
    }
    for (const AxisKind axis : {AxisKind::AdvanceRpm, AxisKind::ServoVoltage, AxisKind::ServoRpm}) {
        bool headed = false;
        for (const AxisDifference& d : c.axes) {
            if (d.axis != axis) continue;
            if (!headed) out += AxisHeading(axis, language) + ":\n";
            headed = true;
            out += "  " + AxisDifferenceText(d, language) + "\n";
        }
    }
    if (!c.fields.empty()) {
        out += FieldsHeading(language) + ":\n";
        for (const FieldDifference& d : c.fields)
            out += "  " + FieldDifferenceText(d, language) + "\n";
    }
    return out;
}

}  // namespace korvan
