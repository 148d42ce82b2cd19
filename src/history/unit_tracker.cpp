#include "history/unit_tracker.h"

#include "history/compare.h"
#include "params/binding.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

const LocalizedText kUnknown = {"Stav jednotky: neznámý", "Unit: unknown", "Zündbox: unbekannt"};
const LocalizedText kInUnit = {"V jednotce", "In the unit", "In der Zündbox"};
const LocalizedText kNotInUnit = {
    "Není v jednotce: ", "Not in the unit: ", "Nicht in der Zündbox: "};

// Czech counts have three forms (1 změna, 2-4 změny, 5 změn), English and German two.
std::string Changes(int n, std::uint8_t language) {
    const std::string number = std::to_string(n);
    if (language == kLanguageCzech) {
        if (n == 1) return number + " změna";
        if (n >= 2 && n <= 4) return number + " změny";
        return number + " změn";
    }
    if (language == kLanguageGerman) return number + (n == 1 ? " Änderung" : " Änderungen");
    return number + (n == 1 ? " change" : " changes");
}

}  // namespace

std::optional<int> UnitTracker::ChangesSinceUnit(const DeviceImage& current) const {
    if (!held_) return std::nullopt;
    return CompareParameters(*held_, current).ChangeCount();
}

std::string UnitStateText(std::optional<int> changes, std::uint8_t language) {
    if (!changes) return kUnknown.In(language);
    if (*changes == 0) return kInUnit.In(language);
    return kNotInUnit.In(language) + Changes(*changes, language);
}

}  // namespace korvan
