#include "ui/analysis/analysis_texts.h"

namespace korvan::analysistext {
const LocalizedText kTitle = {"Rozbor jízdy – %1", "Ride analysis – %1", "Fahrtanalyse – %1"};
const LocalizedText kTitleNone = {"Rozbor jízdy", "Ride analysis", "Fahrtanalyse"};
const LocalizedText kMenuItem = {"Rozbor jízdy...", "Ride analysis...", "Fahrtanalyse..."};
const LocalizedText kFileMenu = {"&Soubor", "&File", "&Datei"};
const LocalizedText kOpenLog = {"&Otevřít záznam...", "&Open log...", "Protokoll ö&ffnen..."};
const LocalizedText kReplayLog = {"Záznam z &přehrávání", "The &replay's log",
                                  "Protokoll der &Wiedergabe"};
const LocalizedText kLastRecording = {"Poslední &záznam", "The &last recording",
                                      "&Letzte Aufzeichnung"};
const LocalizedText kOpenSecondLog = {"&Druhý záznam ke srovnání...", "&Second log to compare...",
                                      "&Zweites Protokoll zum Vergleich..."};
const LocalizedText kExportLog = {"&Exportovat záznam (.mlg, .csv)...",
                                  "&Export log (.mlg, .csv)...",
                                  "Protokoll &exportieren (.mlg, .csv)..."};
const LocalizedText kPrintSummary = {"&Tisk souhrnu", "&Print summary", "Zusammenfassung &drucken"};
const LocalizedText kClose = {"&Zavřít", "&Close", "&Schließen"};

const LocalizedText kLogLine = {
    "%1: řádků %2, %3, značek %4",
    "%1: %2 rows, %3, %4 markers",
    "%1: %2 Zeilen, %3, %4 Markierungen",
};
const LocalizedText kUnitAndTune = {"Jednotka: %1, nastavení: %2", "Unit: %1, tune: %2",
                                    "Zündbox: %1, Abstimmung: %2"};
const LocalizedText kNoLog = {"Není otevřen žádný záznam: Soubor > Otevřít záznam.",
                              "No log is open: File > Open log.",
                              "Kein Protokoll geöffnet: Datei > Protokoll öffnen."};
const LocalizedText kReading = {"Čtu %1 ...", "Reading %1 ...", "Lese %1 ..."};
const LocalizedText kRowsInFilter = {"Řádků ve filtru: %1 z %2", "Rows in the filter: %1 of %2",
                                     "Zeilen im Filter: %1 von %2"};
const LocalizedText kBelowRpmAxis = {"Pod první bodem otáček: %1 s",
                                     "Below the first RPM point: %1 s",
                                     "Unter dem ersten Drehzahlpunkt: %1 s"};
const LocalizedText kExported = {"Uloženo: %1 (řádků %2, značek %3)",
                                 "Saved: %1 (%2 rows, %3 markers)",
                                 "Gespeichert: %1 (%2 Zeilen, %3 Markierungen)"};
const LocalizedText kExportFailed = {"Záznam se nepodařilo uložit:\n%1",
                                     "The log could not be saved:\n%1",
                                     "Das Protokoll konnte nicht gespeichert werden:\n%1"};
const LocalizedText kExportFormat = {
    "%1: přípona určuje formát: .msl, .mlg nebo .csv. Nic nebylo uloženo.",
    "%1: the extension names the format: .msl, .mlg or .csv. Nothing was saved.",
    "%1: die Endung bestimmt das Format: .msl, .mlg oder .csv. Nichts wurde gespeichert.",
};
const LocalizedText kNoReplay = {"Žádný záznam se nepřehrává.", "No ride log is being replayed.",
                                 "Es wird kein Fahrtprotokoll wiedergegeben."};
const LocalizedText kNoRecording = {"V tomto běhu programu ještě nebyl pořízen žádný záznam.",
                                    "Nothing has been recorded since the program started.",
                                    "Seit dem Programmstart wurde nichts aufgezeichnet."};

const LocalizedText kCellsTab = {"Buňky mapy", "Map cells", "Kennfeldzellen"};
const LocalizedText kScatterTab = {"Bodový graf", "Scatter plot", "Streudiagramm"};
const LocalizedText kSummaryTab = {"Souhrn", "Summary", "Zusammenfassung"};
const LocalizedText kCompareTab = {"Dva záznamy", "Two logs", "Zwei Protokolle"};

const LocalizedText kChannel = {"Kanál:", "Channel:", "Kanal:"};
const LocalizedText kShow = {"Zobrazit:", "Show:", "Anzeigen:"};
const LocalizedText kSeconds = {"Sekundy", "Seconds", "Sekunden"};
const LocalizedText kSamples = {"Vzorky", "Samples", "Messwerte"};
const LocalizedText kMean = {"Průměr", "Mean", "Mittelwert"};
const LocalizedText kMinimum = {"Minimum", "Minimum", "Minimum"};
const LocalizedText kMaximum = {"Maximum", "Maximum", "Maximum"};
const LocalizedText kMinSamples = {"Nejméně vzorků:", "Least samples:", "Mindestens Messwerte:"};
const LocalizedText kCopy = {"Kopírovat", "Copy", "Kopieren"};
const LocalizedText kPrint = {"Tisk", "Print", "Drucken"};
const LocalizedText kScale = {"Barvy od %1 (modrá) do %2 (červená)",
                              "Colours from %1 (blue) to %2 (red)",
                              "Farben von %1 (blau) bis %2 (rot)"};
const LocalizedText kGreyed = {"šedě: méně než %1 vzorků (ve zkopírovaném textu prázdné)",
                               "grey: fewer than %1 samples (left empty in the copied text)",
                               "grau: weniger als %1 Messwerte (im kopierten Text leer)"};
const LocalizedText kCellTip = {
    "%1 s, vzorků %2\n%3: průměr %4, min. %5, max. %6",
    "%1 s, %2 samples\n%3: mean %4, min %5, max %6",
    "%1 s, %2 Messwerte\n%3: Mittel %4, Min. %5, Max. %6",
};
const LocalizedText kFewSamples = {"jen %1 vzorků, méně než %2", "only %1 samples, fewer than %2",
                                   "nur %1 Messwerte, weniger als %2"};
const LocalizedText kDifferenceTip = {"před %1, po %2, rozdíl %3",
                                      "before %1, after %2, difference %3",
                                      "vorher %1, nachher %2, Differenz %3"};

const LocalizedText kFilter = {"Filtr (platí pro všechny pohledy)", "Filter (for every view)",
                               "Filter (für jede Ansicht)"};
const LocalizedText kTimeFrom = {"Čas od [s]", "Time from [s]", "Zeit von [s]"};
const LocalizedText kTimeTo = {"do", "to", "bis"};
const LocalizedText kFromReplay = {"Od pozice přehrávání", "From the replay's position",
                                   "Ab Wiedergabeposition"};
const LocalizedText kToReplay = {"Do pozice přehrávání", "To the replay's position",
                                 "Bis Wiedergabeposition"};
const LocalizedText kBetweenMarks = {"Mezi značkami", "Between markers", "Zwischen Markierungen"};
const LocalizedText kMarkItem = {"%1 (%2 s)", "%1 (%2 s)", "%1 (%2 s)"};
const LocalizedText kThrottle = {"Plyn [%]", "Throttle [%]", "Drosselklappe [%]"};
const LocalizedText kRpm = {"Otáčky [1/min]", "RPM", "Drehzahl [1/min]"};
const LocalizedText kWithoutLimiter = {"Bez omezovače", "Without limiter", "Ohne Begrenzer"};
const LocalizedText kWithoutClutch = {"Bez spojky", "Without clutch", "Ohne Kupplung"};
const LocalizedText kWithoutN2o = {"Bez N2O", "Without N2O", "Ohne N2O"};
const LocalizedText kClearFilter = {"Zrušit filtr", "Clear filter", "Filter zurücksetzen"};

const LocalizedText kXAxis = {"Osa X:", "X axis:", "X-Achse:"};
const LocalizedText kYAxis = {"Osa Y:", "Y axis:", "Y-Achse:"};
const LocalizedText kColourBy = {"Barva podle:", "Colour by:", "Farbe nach:"};
const LocalizedText kPointsShown = {"Zobrazeno bodů: %1 z %2", "%1 of %2 points shown",
                                    "%1 von %2 Punkten gezeigt"};

const LocalizedText kBefore = {"Před: %1", "Before: %1", "Vorher: %1"};
const LocalizedText kAfter = {"Po: %1", "After: %1", "Nachher: %1"};
const LocalizedText kDifference = {"Rozdíl průměru %1 (po − před)",
                                   "Difference of the %1 mean (after − before)",
                                   "Differenz des Mittelwerts %1 (nachher − vorher)"};
const LocalizedText kNoSecondLog = {"Druhý záznam: Soubor > Druhý záznam ke srovnání.",
                                    "Second log: File > Second log to compare.",
                                    "Zweites Protokoll: Datei > Zweites Protokoll zum Vergleich."};
const LocalizedText kCompared = {
    "Srovnáno buněk: %1 (v obou záznamech nejméně %2 vzorků)",
    "Cells compared: %1 (at least %2 samples in both logs)",
    "Verglichene Zellen: %1 (in beiden Protokollen mindestens %2 Messwerte)"};
const LocalizedText kTimeFirstOnly = {
    "Časový rozsah filtru platí jen pro první záznam; druhý má vlastní čas.",
    "The filter's time range applies to the first log only; the second has a clock of its own.",
    "Der Zeitbereich des Filters gilt nur für das erste Protokoll; das zweite hat eine eigene Uhr.",
};
}  // namespace korvan::analysistext
