// Texts of the curve window's servo chart and its comparison, in the three languages.
#pragma once

#include "params/localized_text.h"

namespace korvan::curvetext {
extern const LocalizedText kServoTitle;
extern const LocalizedText kServoAxis;
extern const LocalizedText kServoCurve;
extern const LocalizedText kCompareDashed;  // %1 the other tune's name
extern const LocalizedText kDragHelp;
// Undo steps of a dragged point.
extern const LocalizedText kAdvancePointStep;  // %1 rpm, %2 throttle percent, %3 degrees
extern const LocalizedText kCurvePointStep;    // %1 rpm, %2 degrees (no throttle axis)
extern const LocalizedText kServoPointStep;    // %1 rpm, %2 mV
}  // namespace korvan::curvetext
