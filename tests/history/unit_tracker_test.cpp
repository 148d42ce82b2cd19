#include "history/unit_tracker.h"

#include <gtest/gtest.h>

#include "params/binding.h"
#include "params/defaults.h"

namespace korvan {
namespace {

TEST(UnitTracker, KnowsTheUnitOnlyBetweenASuccessAndTheNextFailure) {
    UnitTracker tracker;
    DeviceImage current = DefaultImage();
    EXPECT_FALSE(tracker.ChangesSinceUnit(current).has_value());  // nothing read yet

    tracker.RecordSuccess(current);
    EXPECT_EQ(tracker.ChangesSinceUnit(current), 0);
    current[AdvanceIndex(0, 0)] = static_cast<std::uint8_t>(current[AdvanceIndex(0, 0)] + 1);
    current[AdvanceIndex(5, 5)] = static_cast<std::uint8_t>(current[AdvanceIndex(5, 5)] + 1);
    current[field::Limiter1] = static_cast<std::uint8_t>(current[field::Limiter1] + 1);
    EXPECT_EQ(tracker.ChangesSinceUnit(current), 3);  // fields, not bytes or pages
    // The identity page is the unit's, not the tune's.
    current[field::VersionNumber] = 99;
    EXPECT_EQ(tracker.ChangesSinceUnit(current), 3);

    tracker.RecordFailure();
    EXPECT_FALSE(tracker.ChangesSinceUnit(current).has_value());
    tracker.RecordSuccess(current);
    EXPECT_EQ(tracker.ChangesSinceUnit(current), 0);
}

TEST(UnitTracker, StateTextsInThreeLanguages) {
    struct Case {
        std::optional<int> changes;
        std::uint8_t language;
        const char* text;
    };
    const Case cases[] = {
        {std::nullopt, kLanguageEnglish, "Unit: unknown"},
        {std::nullopt, kLanguageCzech, "Stav jednotky: neznámý"},
        {std::nullopt, kLanguageGerman, "Zündbox: unbekannt"},
        {0, kLanguageEnglish, "In the unit"},
        {1, kLanguageEnglish, "Not in the unit: 1 change"},
        {12, kLanguageEnglish, "Not in the unit: 12 changes"},
        {1, kLanguageCzech, "Není v jednotce: 1 změna"},
        {3, kLanguageCzech, "Není v jednotce: 3 změny"},
        {5, kLanguageCzech, "Není v jednotce: 5 změn"},
        {1, kLanguageGerman, "Nicht in der Zündbox: 1 Änderung"},
        {2, kLanguageGerman, "Nicht in der Zündbox: 2 Änderungen"},
        // Both ends of the Czech 2..4 form, and the same counts in the other languages.
        {2, kLanguageCzech, "Není v jednotce: 2 změny"},
        {4, kLanguageCzech, "Není v jednotce: 4 změny"},
        {2, kLanguageEnglish, "Not in the unit: 2 changes"},
        {4, kLanguageEnglish, "Not in the unit: 4 changes"},
        {4, kLanguageGerman, "Nicht in der Zündbox: 4 Änderungen"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnitStateText(c.changes, c.language), c.text) << c.changes.value_or(-1);
}

}  // namespace
}  // namespace korvan
