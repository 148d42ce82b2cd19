// The words of a parameter compare, in the window's languages: the compare view and the
// command-line tool print the same text. Captions are the window's own (its language table),
// so a tuner finds a field under the name the window gives it.
#pragma once

#include <cstdint>
#include <string>

#include "history/compare.h"

namespace korvan {

// A field's caption in a language, by the control that shows it ("EditOmez2" gives
// "Limiter"), without the access letter and without the unit in brackets. Fields whose label
// alone is ambiguous ("Delay") carry their group ("N2O – Delay").
std::string FieldCaption(const std::string& control, std::uint8_t language);

// One line each: "20 %, 4000 rpm: 24° → 26° (+2°)", "3: 3000 rpm → 3200 rpm (+200 rpm)",
// "Limiter: 9000 rpm → 9500 rpm (+500 rpm)", "N2O Enable: off → on".
std::string CellDifferenceText(const CellDifference& d, const ParameterComparison& c,
                               std::uint8_t language);
std::string AxisDifferenceText(const AxisDifference& d, std::uint8_t language);
std::string FieldDifferenceText(const FieldDifference& d, std::uint8_t language);

// The heading of each block and the one line for identical sets.
std::string AxisHeading(AxisKind axis, std::uint8_t language);
std::string MapHeading(std::uint8_t language);
std::string FieldsHeading(std::uint8_t language);
std::string IdenticalText(std::uint8_t language);

// The whole compare as text, lines ending in "\n": the identical line, or a block per part
// that differs.
std::string CompareText(const ParameterComparison& c, std::uint8_t language);

}  // namespace korvan
