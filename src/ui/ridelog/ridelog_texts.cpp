#include "ui/ridelog/ridelog_texts.h"

namespace korvan::ridelogtext {
const LocalizedText kRecordRideLog = {"Záznam jízdy", "Record ride log", "Fahrt aufzeichnen"};
const LocalizedText kReplayRideLog = {"Přehrát záznam jízdy", "Replay ride log",
                                      "Fahrtprotokoll abspielen"};
const LocalizedText kStopRecording = {"Zastavit záznam", "Stop recording", "Aufzeichnung beenden"};
const LocalizedText kMapAsCurves = {"Mapa jako křivky", "Map as curves", "Kennfeld als Kurven"};
const LocalizedText kWhereEngineRan = {"Kde motor běžel", "Where the engine ran",
                                       "Wo der Motor lief"};
const LocalizedText kPlay = {"Přehrát", "Play", "Abspielen"};
const LocalizedText kPause = {"Pauza", "Pause", "Pause"};
const LocalizedText kStepBack = {"Krok zpět", "Step back", "Schritt zurück"};
const LocalizedText kStepForward = {"Krok vpřed", "Step forward", "Schritt vor"};
const LocalizedText kCloseReplay = {"Ukončit přehrávání", "Close replay", "Wiedergabe beenden"};
const LocalizedText kReplayTitle = {"Přehrávání záznamu jízdy", "Ride log replay",
                                    "Wiedergabe des Fahrtprotokolls"};
const LocalizedText kCurveTitle = {"Předstih podle otáček", "Advance over RPM",
                                   "Vorzündung über Drehzahl"};
const LocalizedText kCurveRow = {"Plyn %1 %", "Throttle %1 %", "Drosselklappe %1 %"};
const LocalizedText kCurveNoThrottle = {"Předstih", "Advance", "Vorzündung"};
const LocalizedText kCellInUse = {"Aktuální buňka", "Cell in use", "Aktuelle Zelle"};
const LocalizedText kRpmAxis = {"Otáčky [1/min]", "RPM", "Drehzahl [1/min]"};
const LocalizedText kAdvanceAxis = {"Předstih [°]", "Advance [°]", "Vorzündung [°]"};
const LocalizedText kPrintPicture = {"Tisk", "Print", "Drucken"};
const LocalizedText kRideLogFiles = {"Záznamy jízdy (*.msl *.mlg *.csv)",
                                     "Ride logs (*.msl *.mlg *.csv)",
                                     "Fahrtprotokolle (*.msl *.mlg *.csv)"};
const LocalizedText kMslFiles = {"Textový záznam (*.msl)", "Text log (*.msl)",
                                 "Textprotokoll (*.msl)"};
const LocalizedText kMlgFiles = {"Binární záznam MLG (*.mlg)", "MLG binary log (*.mlg)",
                                 "MLG-Binärprotokoll (*.mlg)"};
const LocalizedText kCsvFiles = {"CSV, středník mezi poli (*.csv)",
                                 "CSV, semicolon between fields (*.csv)",
                                 "CSV, Semikolon zwischen Feldern (*.csv)"};
const LocalizedText kMarkerSet = {"Značka %1", "Marker %1", "Markierung %1"};
const LocalizedText kMarkerPassed = {"Značka %1 (%2 s)", "Marker %1 (%2 s)",
                                     "Markierung %1 (%2 s)"};
const LocalizedText kRecordingSaved = {
    "Záznam jízdy je uložen v souboru\n%1\nŘádků: %2, značek: %3.",
    "The ride log is saved in\n%1\n%2 rows, %3 markers.",
    "Das Fahrtprotokoll ist gespeichert in\n%1\n%2 Zeilen, %3 Markierungen.",
};
const LocalizedText kOpenFolder = {"Otevřít složku", "Open folder", "Ordner öffnen"};
const LocalizedText kReplayIt = {"Přehrát", "Replay", "Abspielen"};
const LocalizedText kAnalyseIt = {"Rozbor jízdy", "Ride analysis", "Fahrtanalyse"};
const LocalizedText kClose = {"Zavřít", "Close", "Schließen"};
const LocalizedText kReplayIndicator = {"PŘEHRÁVÁNÍ", "REPLAY", "WIEDERGABE"};
const LocalizedText kCellTooltip = {"%.1f s, lambda %.0f mV", "%.1f s, lambda %.0f mV",
                                    "%.1f s, Lambda %.0f mV"};
}  // namespace korvan::ridelogtext
