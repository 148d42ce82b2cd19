// Texts of the curve window's servo chart and its comparison, in the three languages.
#pragma once

#include "params/localized_text.h"

namespace korvan::curvetext {
extern const LocalizedText kServoTitle;
extern const LocalizedText kServoAxis;
extern const LocalizedText kServoCurve;
extern const LocalizedText kCompareDashed;  // %1 the other tune's name
extern const LocalizedText kDragHelp;
}  // namespace korvan::curvetext
