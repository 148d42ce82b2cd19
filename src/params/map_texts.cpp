#include "params/map_texts.h"

namespace korvan::maptext {

const LocalizedText kRpmUnit{"ot/min", "rpm", "U/min"};

const LocalizedText kStepSet{"Nastavit %1 x %2 buněk na %3°", "Set %1 x %2 cells to %3°",
                             "%1 x %2 Zellen auf %3° setzen"};
const LocalizedText kStepAdd{"Předstih %3° v %1 x %2 buňkách", "Advance %3° in %1 x %2 cells",
                             "Vorzündung %3° in %1 x %2 Zellen"};
const LocalizedText kStepScale{"Změnit %1 x %2 buněk na %3 %", "Scale %1 x %2 cells to %3 %",
                               "%1 x %2 Zellen auf %3 % skalieren"};
const LocalizedText kStepInterpolateRpm{"Interpolovat %1 x %2 buněk podle otáček",
                                        "Interpolate %1 x %2 cells along RPM",
                                        "%1 x %2 Zellen über die Drehzahl interpolieren"};
const LocalizedText kStepInterpolateThrottle{"Interpolovat %1 x %2 buněk podle plynu",
                                             "Interpolate %1 x %2 cells along throttle",
                                             "%1 x %2 Zellen über die Drosselklappe interpolieren"};
const LocalizedText kStepInterpolateCorners{"Interpolovat %1 x %2 buněk z rohů",
                                            "Interpolate %1 x %2 cells from the corners",
                                            "%1 x %2 Zellen aus den Ecken interpolieren"};
const LocalizedText kStepSmooth{"Vyhladit %1 x %2 buněk", "Smooth %1 x %2 cells",
                                "%1 x %2 Zellen glätten"};
const LocalizedText kStepPaste{"Vložit %1 x %2 buněk", "Paste %1 x %2 cells",
                               "%1 x %2 Zellen einfügen"};
const LocalizedText kStepFill{"Vložit %3° do %1 x %2 buněk", "Paste %3° into %1 x %2 cells",
                              "%3° in %1 x %2 Zellen einfügen"};
const LocalizedText kStepImport{"Import mapy z %1", "Import the map from %1",
                                "Kennfeld aus %1 importieren"};
const LocalizedText kStepRpmAxisAdvanceKept{"Otáčky mapy se zachovaným předstihem",
                                            "Map RPM points, advance kept",
                                            "Drehzahlpunkte, Vorzündung beibehalten"};

const LocalizedText kServoVoltages{"Napětí serva", "Servo voltages", "Servospannungen"};
const LocalizedText kMapRpmPoints{"Otáčky mapy", "Map RPM points", "Drehzahlpunkte des Kennfelds"};
const LocalizedText kServoRpmPoints{"Otáčky serva", "Servo RPM points",
                                    "Drehzahlpunkte des Servos"};
const LocalizedText kStepPointsSet{"%1 %2..%3: nastavit na %4", "%1 %2..%3: set to %4",
                                   "%1 %2..%3: auf %4 setzen"};
const LocalizedText kStepPointsAdd{"%1 %2..%3: %4", "%1 %2..%3: %4", "%1 %2..%3: %4"};
const LocalizedText kStepPointsScale{"%1 %2..%3: změnit na %4 %", "%1 %2..%3: scale to %4 %",
                                     "%1 %2..%3: auf %4 % skalieren"};
const LocalizedText kStepPointsInterpolate{"%1 %2..%3: interpolovat", "%1 %2..%3: interpolate",
                                           "%1 %2..%3: interpolieren"};
const LocalizedText kStepPointsSmooth{"%1 %2..%3: vyhladit", "%1 %2..%3: smooth",
                                      "%1 %2..%3: glätten"};

const LocalizedText kAdvanceOutOfRange{"Předstih musí být 0 až 60° (zadáno %1)",
                                       "The advance must be 0 to 60° (%1 given)",
                                       "Die Vorzündung muss 0 bis 60° sein (%1 angegeben)"};
const LocalizedText kPercentOutOfRange{"Procenta musí být 0 až 1000 (zadáno %1)",
                                       "The percentage must be 0 to 1000 (%1 given)",
                                       "Der Prozentsatz muss 0 bis 1000 sein (%1 angegeben)"};
const LocalizedText kServoOutOfRange{"Napětí serva musí být 20 až 4980 mV (zadáno %1)",
                                     "The servo voltage must be 20 to 4980 mV (%1 given)",
                                     "Die Servospannung muss 20 bis 4980 mV sein (%1 angegeben)"};
const LocalizedText kNeedTwoColumns{"Pro interpolaci podle otáček vyberte aspoň dva sloupce",
                                    "Select at least two columns to interpolate along RPM",
                                    "Zum Interpolieren über die Drehzahl mindestens zwei Spalten "
                                    "auswählen"};
const LocalizedText kNeedTwoRows{"Pro interpolaci podle plynu vyberte aspoň dva řádky",
                                 "Select at least two rows to interpolate along throttle",
                                 "Zum Interpolieren über die Drosselklappe mindestens zwei Zeilen "
                                 "auswählen"};
const LocalizedText kNeedTwoCells{"Pro interpolaci vyberte aspoň dvě buňky",
                                  "Select at least two cells to interpolate",
                                  "Zum Interpolieren mindestens zwei Zellen auswählen"};
const LocalizedText kNeedTwoPoints{"Pro interpolaci vyberte aspoň dva body",
                                   "Select at least two points to interpolate",
                                   "Zum Interpolieren mindestens zwei Punkte auswählen"};
const LocalizedText kOutsideTheMap{"Výběr leží mimo mapu", "The selection lies outside the map",
                                   "Die Auswahl liegt außerhalb des Kennfelds"};
const LocalizedText kAxisInterpolateOnly{
    "%1 lze jen interpolovat, aby stále stoupaly",
    "%1 can only be interpolated, so that they keep rising",
    "%1 können nur interpoliert werden, damit sie steigend bleiben"};
const LocalizedText kAxisWouldNotRise{
    "%1 %2..%3 nelze interpolovat: mezi %4 a %5 ot/min nezbývá na každý bod 100 ot/min",
    "%1 %2..%3 cannot be interpolated: %4 to %5 rpm leaves less than 100 rpm for each point",
    "%1 %2..%3 können nicht interpoliert werden: %4 bis %5 U/min lassen keine 100 U/min je "
    "Punkt"};

const LocalizedText kCellAt{"Řádek %1 %, sloupec %2 ot/min", "Row %1 %, column %2 rpm",
                            "Zeile %1 %, Spalte %2 U/min"};
const LocalizedText kCellFrom{"řádku %1 %, sloupce %2 ot/min", "row %1 %, column %2 rpm",
                              "Zeile %1 %, Spalte %2 U/min"};
const LocalizedText kColumnAt{"Sloupec %1 ot/min", "Column %1 rpm", "Spalte %1 U/min"};
const LocalizedText kColumnFrom{"sloupce %1 ot/min", "column %1 rpm", "Spalte %1 U/min"};

const LocalizedText kTextEmpty{"Text mapy je prázdný", "The map text is empty",
                               "Der Kennfeldtext ist leer"};
const LocalizedText kTextTooLong{"Text mapy je příliš dlouhý (%1 bajtů, nejvýše %2)",
                                 "The map text is too long (%1 bytes, at most %2)",
                                 "Der Kennfeldtext ist zu lang (%1 Bytes, höchstens %2)"};
const LocalizedText kTextRagged{"Řádek %1 textu má %2 buněk místo %3",
                                "Row %1 of the text has %2 cells where %3 are expected",
                                "Zeile %1 des Textes hat %2 Zellen statt %3"};
const LocalizedText kCellNotANumber{"%1: „%2“ není číslo", "%1: \"%2\" is not a number",
                                    "%1: „%2“ ist keine Zahl"};
const LocalizedText kCellEmpty{"%1: buňka je prázdná", "%1: the cell is empty",
                               "%1: die Zelle ist leer"};
const LocalizedText kCellOutOfRange{"%1: %2 je mimo 0 až 60°", "%1: %2 is outside 0 to 60°",
                                    "%1: %2 liegt außerhalb von 0 bis 60°"};
const LocalizedText kRpmHeaderMismatch{
    "Záhlaví (%1) neodpovídá otáčkám mapy (%2)",
    "The header row (%1) does not match the map's RPM points (%2)",
    "Die Kopfzeile (%1) passt nicht zu den Drehzahlpunkten des Kennfelds (%2)"};
const LocalizedText kThrottleHeaderMismatch{
    "První sloupec (%1) neodpovídá bodům plynu mapy (%2)",
    "The header column (%1) does not match the map's throttle points (%2)",
    "Die Kopfspalte (%1) passt nicht zu den Drosselklappenpunkten des Kennfelds (%2)"};
const LocalizedText kDoesNotFit{
    "Blok %1 x %2 buněk se do mapy od %3 nevejde (místo pro %4 x %5)",
    "The block of %1 x %2 cells does not fit the map from %3 (room for %4 x %5)",
    "Der Block von %1 x %2 Zellen passt ab %3 nicht ins Kennfeld (Platz für %4 x %5)"};

}  // namespace korvan::maptext
