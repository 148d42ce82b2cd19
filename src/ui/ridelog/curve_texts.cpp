#include "ui/ridelog/curve_texts.h"

namespace korvan::curvetext {
const LocalizedText kServoTitle = {"Napětí serva podle otáček", "Servo voltage over RPM",
                                   "Servospannung über Drehzahl"};
const LocalizedText kServoAxis = {"Napětí [mV]", "Voltage [mV]", "Spannung [mV]"};
const LocalizedText kServoCurve = {"Servo", "Servo", "Servo"};
const LocalizedText kCompareDashed = {"čárkovaně: %1", "dashed: %1", "gestrichelt: %1"};
const LocalizedText kDragHelp = {
    "Bod táhněte nahoru nebo dolů; šipky vyberou bod, +/− a PageUp/PageDown ho mění.",
    "Drag a point up or down; the arrow keys choose a point, +/− and PageUp/PageDown change it.",
    "Punkt nach oben oder unten ziehen; Pfeiltasten wählen einen Punkt, +/− und Bild auf/ab "
    "ändern ihn."};
const LocalizedText kAdvancePointStep = {"Bod křivky: %1 1/min, plyn %2 %, %3°",
                                         "Curve point: %1 rpm, throttle %2 %, %3°",
                                         "Kurvenpunkt: %1 1/min, Drosselklappe %2 %, %3°"};
const LocalizedText kCurvePointStep = {"Bod křivky: %1 1/min, %2°", "Curve point: %1 rpm, %2°",
                                       "Kurvenpunkt: %1 1/min, %2°"};
const LocalizedText kServoPointStep = {"Bod serva: %1 1/min, %2 mV", "Servo point: %1 rpm, %2 mV",
                                       "Servopunkt: %1 1/min, %2 mV"};
}  // namespace korvan::curvetext
