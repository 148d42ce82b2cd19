#include "history/unit_tracker.h"

#include "history/compare.h"
#include "params/binding.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

const LocalizedText kUnknown = {"Stav jednotky: neznámý", "Unit: unknown", "Zündbox: unbekannt"};
const LocalizedText kInUnit = {"V jednotce", "In the unit", "In der Zündbox"};
// Czech counts have three forms (1 změna, 2-4 změny, 5 změn), English and German two.
const LocalizedText kNotInUnitOne = {"Není v jednotce: %1 změna", "Not in the unit: %1 change",
                                     "Nicht in der Zündbox: %1 Änderung"};
const LocalizedText kNotInUnitFew = {"Není v jednotce: %1 změny", "Not in the unit: %1 changes",
                                     "Nicht in der Zündbox: %1 Änderungen"};
const LocalizedText kNotInUnitMany = {"Není v jednotce: %1 změn", "Not in the unit: %1 changes",
                                      "Nicht in der Zündbox: %1 Änderungen"};

}  // namespace

std::optional<int> UnitTracker::ChangesSinceUnit(const DeviceImage& current) const {
    if (!held_) return std::nullopt;
    return CompareParameters(*held_, current).ChangeCount();
}

std::string UnitStateText(std::optional<int> changes, std::uint8_t language) {
    if (!changes) return kUnknown.In(language);
    if (*changes == 0) return kInUnit.In(language);
    const int n = *changes;
    const LocalizedText& text =
        n == 1 ? kNotInUnitOne : (n >= 2 && n <= 4 ? kNotInUnitFew : kNotInUnitMany);
    return Fill(text, language, n);
}

}  // namespace korvan
