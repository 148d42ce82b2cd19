#include "ui/surface/surface_texts.h"

namespace korvan::surfacetext {
const LocalizedText kTitle = {"Mapa ve 3D", "Map in 3D", "Kennfeld in 3D"};
const LocalizedText kRpmAxis = {"Otáčky [1/min]", "RPM", "Drehzahl [1/min]"};
const LocalizedText kThrottleAxis = {"Plyn [%]", "Throttle [%]", "Drosselklappe [%]"};
const LocalizedText kAdvanceAxis = {"Předstih [°]", "Advance [°]", "Vorzündung [°]"};
const LocalizedText kCellTip = {"%1 1/min, plyn %2 %, předstih %3°",
                                "%1 rpm, throttle %2 %, advance %3°",
                                "%1 1/min, Drosselklappe %2 %, Vorzündung %3°"};
const LocalizedText kCurveCellTip = {"%1 1/min, předstih %2°", "%1 rpm, advance %2°",
                                     "%1 1/min, Vorzündung %2°"};
const LocalizedText kCompareTip = {"porovnání %1° (rozdíl %2°)", "compared %1° (difference %2°)",
                                   "Referenz %1° (Differenz %2°)"};
const LocalizedText kCurrentTune = {"Aktuální nastavení", "Current tune", "Aktuelle Abstimmung"};
const LocalizedText kComparedTune = {"Porovnání: %1", "Compared: %1", "Referenz: %1"};
const LocalizedText kMouseHelp = {
    "Tažení: otočit, kolečko: přiblížit, pravé tlačítko nebo Shift+tažení: posunout, Home: "
    "výchozí pohled",
    "Drag: turn, wheel: zoom, right button or Shift+drag: move, Home: starting view",
    "Ziehen: drehen, Mausrad: zoomen, rechte Taste oder Umschalt+Ziehen: verschieben, Pos1: "
    "Ausgangsansicht"};
const LocalizedText kSaveFailed = {"Obrázek nelze uložit do %1: %2",
                                   "The picture could not be saved to %1: %2",
                                   "Das Bild konnte nicht in %1 gespeichert werden: %2"};
const LocalizedText kPrintFailed = {"Tisk nelze zahájit.", "Printing could not start.",
                                    "Der Druck konnte nicht beginnen."};
const LocalizedText kDifferenceTitle = {"Rozdíl předstihu (aktuální − porovnání) [°]",
                                        "Advance difference (current − compared) [°]",
                                        "Vorzündungsdifferenz (aktuell − Referenz) [°]"};
const LocalizedText kNothingToCompare = {
    "Není vybráno nic k porovnání.", "Nothing chosen to compare with.", "Keine Referenz gewählt."};
const LocalizedText kDifferenceTip = {
    "%1 1/min, plyn %2 %: aktuální %3°, porovnání %4°, rozdíl %5°",
    "%1 rpm, throttle %2 %: current %3°, compared %4°, difference %5°",
    "%1 1/min, Drosselklappe %2 %: aktuell %3°, Referenz %4°, Differenz %5°"};
const LocalizedText kCurveDifferenceTip = {"%1 1/min: aktuální %2°, porovnání %3°, rozdíl %4°",
                                           "%1 rpm: current %2°, compared %3°, difference %4°",
                                           "%1 1/min: aktuell %2°, Referenz %3°, Differenz %4°"};

// German keeps "vergleichen" for the unit's Verify: these items say "gegenüberstellen".
const LocalizedText kMenuItem = {"Mapa ve &3D...", "Map in &3D...", "Kennfeld in &3D..."};
const LocalizedText kCompareWith = {"Porovnat s", "Compare with", "Gegenüberstellen mit"};
const LocalizedText kCompareFile = {"&Souborem...", "&File...", "&Datei..."};
const LocalizedText kCompareUnit = {"Obsahem &jednotky", "The &unit's tune", "Inhalt der &Zündbox"};
const LocalizedText kComparePoint = {"&Bodem obnovy", "&Restore point", "&Wiederherstellungspunkt"};
const LocalizedText kNoPoints = {"(žádné body obnovy)", "(no restore points)",
                                 "(keine Wiederherstellungspunkte)"};
const LocalizedText kEndCompare = {"&Ukončit porovnání", "&End comparison",
                                   "Gegenüberstellung &beenden"};
const LocalizedText kCopyPicture = {"&Kopírovat obrázek", "&Copy picture", "Bild &kopieren"};
const LocalizedText kSavePng = {"Uložit jako &PNG...", "Save as &PNG...", "Als &PNG speichern..."};
const LocalizedText kPrintPicture = {"&Tisk...", "&Print...", "&Drucken..."};
const LocalizedText kStartingView = {"&Výchozí pohled", "&Starting view", "&Ausgangsansicht"};
const LocalizedText kPngFiles = {"Obrázky PNG (*.png)", "PNG pictures (*.png)",
                                 "PNG-Bilder (*.png)"};
const LocalizedText kTheUnit = {"jednotka", "the unit", "Zündbox"};
const LocalizedText kPointName = {"bod obnovy %1", "restore point %1",
                                  "Wiederherstellungspunkt %1"};
const LocalizedText kFileNotCompared = {"Soubor %1 nelze porovnat:\n%2",
                                        "The file %1 cannot be compared:\n%2",
                                        "Die Datei %1 kann nicht gegenübergestellt werden:\n%2"};
const LocalizedText kPointNotRead = {"Bod obnovy %1 nelze přečíst.",
                                     "The restore point %1 cannot be read.",
                                     "Der Wiederherstellungspunkt %1 ist nicht lesbar."};
}  // namespace korvan::surfacetext
