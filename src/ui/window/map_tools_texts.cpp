#include "ui/window/map_tools_texts.h"

namespace korvan::maptoolstext {

const LocalizedText kMapMenu{"&Mapa", "&Map", "&Kennfeld"};
const LocalizedText kSetItem{"&Nastavit hodnotu...", "&Set to a value...",
                             "Auf einen &Wert setzen..."};
const LocalizedText kAddItem{"&Přidat 1°", "&Add 1°", "1° &dazu"};
const LocalizedText kSubtractItem{"&Ubrat 1°", "&Take off 1°", "1° w&eg"};
const LocalizedText kAddFiveItem{"Přidat &5°", "Add &5°", "&5° dazu"};
const LocalizedText kSubtractFiveItem{"U&brat 5°", "Take o&ff 5°", "5° we&g"};
const LocalizedText kScaleItem{"Změnit v proc&entech...", "Scale by a p&ercentage...",
                               "&Prozentual ändern..."};
const LocalizedText kInterpolateRpmItem{"Interpolovat podle &otáček", "Interpolate along &RPM",
                                        "Über die Dre&hzahl interpolieren"};
const LocalizedText kInterpolateThrottleItem{"Interpolovat podle p&lynu",
                                             "Interpolate along t&hrottle",
                                             "Über die Drossel&klappe interpolieren"};
const LocalizedText kInterpolateCornersItem{"Interpolovat z &rohů", "Interpolate from the &corners",
                                            "Aus den E&cken interpolieren"};
const LocalizedText kSmoothItem{"&Vyhladit", "S&mooth", "G&lätten"};
const LocalizedText kCopyItem{"&Kopírovat", "C&opy", "K&opieren"};
const LocalizedText kCopyWithAxesItem{"Kopírovat &s osami", "Copy &with the axes",
                                      "Mit &Achsen kopieren"};
const LocalizedText kPasteItem{"Vlož&it", "&Paste", "E&infügen"};
const LocalizedText kSelectAllItem{"Vybra&t vše", "Select a&ll", "Alles a&uswählen"};
const LocalizedText kClearSelectionItem{"&Zrušit výběr", "Clear the selectio&n",
                                        "Auswahl aufhe&ben"};
const LocalizedText kLiveCellItem{"Na buňku, kde běží &motor", "Go to the l&ive cell",
                                  "Zur Zelle des laufenden &Motors"};

// The letters left free beside the File menu's own items (E is Export PDF's).
const LocalizedText kExportItem{"Exportovat &mapu jako CSV...", "Export &map as CSV...",
                                "&Kennfeld als CSV exportieren..."};
const LocalizedText kImportItem{"Importovat mapu z CS&V...", "Import map from CS&V...",
                                "Kennfeld aus CSV i&mportieren..."};
const LocalizedText kExportTitle{"Exportovat mapu jako CSV", "Export map as CSV",
                                 "Kennfeld als CSV exportieren"};
const LocalizedText kImportTitle{"Importovat mapu z CSV", "Import map from CSV",
                                 "Kennfeld aus CSV importieren"};
const LocalizedText kCsvFiles{"Mapa jako CSV (*.csv)", "Map as CSV (*.csv)",
                              "Kennfeld als CSV (*.csv)"};
const LocalizedText kTextFiles{"Text oddělený tabulátory (*.tsv *.txt)",
                               "Tab-separated text (*.tsv *.txt)",
                               "Text mit Tabulatoren (*.tsv *.txt)"};
const LocalizedText kAllFiles{"Všechny soubory (*)", "All files (*)", "Alle Dateien (*)"};

const LocalizedText kKeepAdvance{"Zachovat předstih při posunu bodů otáček",
                                 "Keep the advance when moving RPM points",
                                 "Vorzündung beim Verschieben der Drehzahlpunkte beibehalten"};

const LocalizedText kSetDegrees{"Nastavit na [°]:", "Set to [°]:", "Setzen auf [°]:"};
const LocalizedText kSetMillivolts{"Nastavit na [mV]:", "Set to [mV]:", "Setzen auf [mV]:"};
const LocalizedText kScalePercent{"Změnit na [%]:", "Scale to [%]:", "Ändern auf [%]:"};

const LocalizedText kMapCellHint{
    "Buňka mapy předstihu|Ctrl+L: buňka, kde běží motor; tažení, Shift+šipky: výběr; "
    "= + - PgUp PgDn * H V / S: úpravy; Ctrl+C, Ctrl+V: schránka",
    "Advance map cell|Ctrl+L: the cell the engine runs in; drag, Shift+arrows: select; "
    "= + - PgUp PgDn * H V / S: change; Ctrl+C, Ctrl+V: clipboard",
    "Zelle des Zündkennfelds|Strg+L: Zelle des Motors; Ziehen, Umschalt+Pfeile: Auswahl; "
    "= + - Bild↑ Bild↓ * H V / S: ändern; Strg+C, Strg+V"};
const LocalizedText kMapRpmHint{
    "Bod otáček mapy|Shift+šipky: výběr bodů; H: rovnoměrně rozložit vybrané body; Ctrl+L: "
    "buňka, kde běží motor",
    "Map RPM point|Shift+arrows: select points; H: spread the selected points evenly; Ctrl+L: "
    "the cell the engine runs in",
    "Drehzahlpunkt des Kennfelds|Umschalt+Pfeile: Punkte auswählen; H: ausgewählte Punkte "
    "gleichmäßig verteilen; Strg+L: Zelle des laufenden Motors"};
const LocalizedText kServoRpmHint{
    "Bod otáček serva|Shift+šipky: výběr bodů; H: rovnoměrně rozložit vybrané body",
    "Servo RPM point|Shift+arrows: select points; H: spread the selected points evenly",
    "Drehzahlpunkt des Servos|Umschalt+Pfeile: Punkte auswählen; H: ausgewählte Punkte "
    "gleichmäßig verteilen"};
const LocalizedText kServoVoltageHint{
    "Napětí serva|Shift+šipky: výběr bodů; = + - PgUp PgDn * H S: úprava výběru po 20 mV",
    "Servo voltage|Shift+arrows: select points; = + - PgUp PgDn * H S: change the selection in "
    "20 mV steps",
    "Servospannung|Umschalt+Pfeile: Punkte auswählen; = + - Bild↑ Bild↓ * H S: Auswahl in "
    "Schritten von 20 mV ändern"};
const LocalizedText kKeepAdvanceHint{
    "Zachovat předstih|Posun bodu otáček přepočítá celou mapu tak, aby předstih při každých "
    "otáčkách zůstal stejný",
    "Keep the advance|Moving an RPM point resamples the whole map so that the advance at each "
    "engine speed stays what it was",
    "Vorzündung beibehalten|Ein verschobener Drehzahlpunkt rechnet das ganze Kennfeld so um, "
    "dass die Vorzündung bei jeder Drehzahl gleich bleibt"};

const LocalizedText kSetTip{"Nastaví výběr (nebo buňku s kurzorem) na zadanou hodnotu",
                            "Sets the selection (or the focused cell) to a value",
                            "Setzt die Auswahl (oder die Zelle mit dem Cursor) auf einen Wert"};
const LocalizedText kAddTip{"Přidá výběru 1° předstihu (napětí serva 20 mV)",
                            "Adds 1° of advance to the selection (servo voltages: 20 mV)",
                            "Erhöht die Auswahl um 1° Vorzündung (Servospannung: 20 mV)"};
const LocalizedText kSubtractTip{"Ubere výběru 1° předstihu (napětí serva 20 mV)",
                                 "Takes 1° of advance off the selection (servo voltages: 20 mV)",
                                 "Senkt die Auswahl um 1° Vorzündung (Servospannung: 20 mV)"};
const LocalizedText kAddFiveTip{"Přidá výběru 5° předstihu (napětí serva 100 mV)",
                                "Adds 5° of advance to the selection (servo voltages: 100 mV)",
                                "Erhöht die Auswahl um 5° Vorzündung (Servospannung: 100 mV)"};
const LocalizedText kSubtractFiveTip{
    "Ubere výběru 5° předstihu (napětí serva 100 mV)",
    "Takes 5° of advance off the selection (servo voltages: 100 mV)",
    "Senkt die Auswahl um 5° Vorzündung (Servospannung: 100 mV)"};
const LocalizedText kScaleTip{"Změní výběr na zadané procento, např. 95 %",
                              "Scales the selection by a percentage, e.g. 95 %",
                              "Ändert die Auswahl auf einen Prozentsatz, z. B. 95 %"};
const LocalizedText kInterpolateRpmTip{
    "Každý řádek výběru přímkou mezi levou a pravou buňkou podle skutečných otáček",
    "Each row of the selection becomes a straight line between its left and right cells over "
    "the real RPM points",
    "Jede Zeile der Auswahl wird eine Gerade zwischen linker und rechter Zelle über die echten "
    "Drehzahlpunkte"};
const LocalizedText kInterpolateThrottleTip{
    "Každý sloupec výběru přímkou mezi horní a dolní buňkou podle bodů plynu",
    "Each column of the selection becomes a straight line between its top and bottom cells over "
    "the throttle points",
    "Jede Spalte der Auswahl wird eine Gerade zwischen oberer und unterer Zelle über die "
    "Drosselklappenpunkte"};
const LocalizedText kInterpolateCornersTip{
    "Výběr dopočítán ze čtyř rohových buněk podle otáček i plynu",
    "The selection is blended from its four corner cells over RPM and throttle",
    "Die Auswahl wird aus ihren vier Eckzellen über Drehzahl und Drosselklappe berechnet"};
const LocalizedText kSmoothTip{"Každá buňka výběru průměrem sebe a sousedů ve výběru",
                               "Each cell of the selection becomes the mean of itself and its "
                               "neighbours in the selection",
                               "Jede Zelle der Auswahl wird der Mittelwert aus ihr und ihren "
                               "Nachbarn in der Auswahl"};
const LocalizedText kCopyTip{"Zkopíruje výběr jako text oddělený tabulátory pro tabulkový editor",
                             "Copies the selection as tab-separated text for a spreadsheet",
                             "Kopiert die Auswahl als Text mit Tabulatoren für eine Tabelle"};
const LocalizedText kCopyWithAxesTip{
    "Zkopíruje výběr s otáčkami v prvním řádku a plynem v prvním sloupci",
    "Copies the selection with the RPM points as a header row and the throttle points as a "
    "header column",
    "Kopiert die Auswahl mit den Drehzahlpunkten als Kopfzeile und den Drosselklappenpunkten als "
    "Kopfspalte"};
const LocalizedText kPasteTip{
    "Vloží blok ze schránky od levé horní buňky výběru; jedno číslo vyplní celý výběr",
    "Pastes a block from the clipboard at the selection's top left cell; one number fills the "
    "whole selection",
    "Fügt einen Block aus der Zwischenablage ab der linken oberen Zelle der Auswahl ein; eine "
    "Zahl füllt die ganze Auswahl"};
const LocalizedText kSelectAllTip{"Vybere všechny používané buňky mapy",
                                  "Selects every cell of the map in use",
                                  "Wählt alle benutzten Zellen des Kennfelds aus"};
const LocalizedText kClearSelectionTip{"Zruší výběr; úpravy pak platí pro buňku s kurzorem",
                                       "Clears the selection; the tools then act on the focused "
                                       "cell",
                                       "Hebt die Auswahl auf; die Werkzeuge wirken dann auf die "
                                       "Zelle mit dem Cursor"};
const LocalizedText kLiveCellTip{"Přejde na buňku mapy, ve které právě běží motor",
                                 "Goes to the map cell the engine runs in now",
                                 "Springt zur Kennfeldzelle, in der der Motor gerade läuft"};
const LocalizedText kExportTip{"Uloží mapu s osami jako soubor CSV pro tabulkový editor",
                               "Saves the map with its axes as a CSV file for a spreadsheet",
                               "Speichert das Kennfeld mit Achsen als CSV-Datei für eine Tabelle"};
const LocalizedText kImportTip{"Načte mapu ze souboru CSV nebo textu odděleného tabulátory",
                               "Takes the map from a CSV file or tab-separated text",
                               "Übernimmt das Kennfeld aus einer CSV-Datei oder Text mit "
                               "Tabulatoren"};

const LocalizedText kNotANumber{"„%1“ není číslo", "\"%1\" is not a number", "„%1“ ist keine Zahl"};
const LocalizedText kNothingChanged{"Nic se nezměnilo: buňky už tyto hodnoty mají",
                                    "Nothing changed: the cells hold these values already",
                                    "Nichts geändert: die Zellen haben diese Werte schon"};
const LocalizedText kCopied{"Zkopírováno %1 x %2 buněk", "Copied %1 x %2 cells",
                            "%1 x %2 Zellen kopiert"};
const LocalizedText kPasteRefused{"Nic nebylo vloženo.\n%1", "Nothing was pasted.\n%1",
                                  "Es wurde nichts eingefügt.\n%1"};
const LocalizedText kImportRefused{"Mapa nebyla importována.\n%1", "The map was not imported.\n%1",
                                   "Das Kennfeld wurde nicht importiert.\n%1"};
const LocalizedText kExported{"Mapa uložena do %1", "Map exported to %1",
                              "Kennfeld nach %1 exportiert"};
const LocalizedText kExportFailed{"Mapu nelze exportovat.\n%1", "The map cannot be exported.\n%1",
                                  "Das Kennfeld kann nicht exportiert werden.\n%1"};
const LocalizedText kNoLiveCell{"Žádná buňka motoru: jednotka neposílá živé hodnoty",
                                "No live cell: the unit sends no live values",
                                "Keine Zelle des Motors: die Zündbox sendet keine Live-Werte"};
const LocalizedText kBelowRpmAxis{"Motor běží pod prvním bodem otáček, mimo mapu",
                                  "The engine runs below the first RPM point, outside the map",
                                  "Der Motor läuft unter dem ersten Drehzahlpunkt, außerhalb des "
                                  "Kennfelds"};
const LocalizedText kNoThrottleInARow{
    "Řada bodů nemá osu plynu: interpolujte klávesou H",
    "A row of points has no throttle axis: interpolate with H",
    "Eine Punktreihe hat keine Drosselklappenachse: mit H interpolieren"};

}  // namespace korvan::maptoolstext
