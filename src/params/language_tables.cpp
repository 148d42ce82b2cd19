#include "params/language_tables.h"

namespace korvan {

namespace {

// Rows are {control, kind, {Czech, English, German}}. The texts are shown exactly as written
// here, typing slips, doubled and trailing blanks included: users and the manual know them so.
const std::vector<LanguageEntry> kTable = {
    {"FormHlav",
     TextKind::Title,
     {"Programování jednotky Korvan 2", "Programming of Korvan 2 unit",
      "Programmierung der Korvan 2 Zündbox"}},
    {"MenuFile", TextKind::Caption, {"&Soubor", "&File", "&Datei"}},
    {"MenuNew", TextKind::Caption, {"&Nový", "&New", "&Neu"}},
    {"MenuOpen", TextKind::Caption, {"&Otevřít", "&Open", "&Öffnen"}},
    {"MenuSave", TextKind::Caption, {"&Uložit", "&Save", "&Speichern"}},
    {"MenuPrint", TextKind::Caption, {"&Tisk", "&Print", "&Drucken"}},
    {"MenuExit", TextKind::Caption, {"&Konec", "E&xit", "&Beenden"}},
    {"MenuCom", TextKind::Caption, {"&Port", "&Com", "&ComPort"}},
    {"MenuDevice", TextKind::Caption, {"&Zapalování", "&Device", "&Zündbox"}},
    {"MenuRead", TextKind::Caption, {"Čí&st", "&Read", "&Lesen"}},
    {"MenuVerify", TextKind::Caption, {"&Verifikace", "&Verify", "&Vergleichen"}},
    {"MenuProgram", TextKind::Caption, {"&Programovat", "&Program", "&Programmieren"}},
    {"MenuLanguage", TextKind::Caption, {"&Jazyk", "&Language", "&Sprache"}},
    {"MenuEnglish", TextKind::Caption, {"&Anglicky", "&English", "Englisch"}},
    {"MenuCzech", TextKind::Caption, {"Če&sky", "&Czech", "&Tschechisch"}},
    {"MenuGerman", TextKind::Caption, {"&Německy", "&German", "&Deutsch"}},
    {"MenuHelp", TextKind::Caption, {"&Nápověda", "&Help", "&Hilfe"}},
    {"MenuContens", TextKind::Caption, {"&Obsah...", "&Contents...", "&Inhalt..."}},
    {"MenuAbout", TextKind::Caption, {"&O programu...", "&About...", "&Über Programm..."}},
    {"TabSheet1", TextKind::Caption, {"Různé", "Miscellaneous", "Verschiedene"}},
    {"TabSheet2", TextKind::Caption, {"Mapa předstihu", "Advance Map", "Vorzündung Karte"}},
    {"TabSheet3", TextKind::Caption, {"N2O kontrolér", "N2O Controller", "N2O Kontroller"}},
    {"TabSheet4", TextKind::Caption, {"Servo", "Servo", "Servo"}},
    {"CheckBoxIgnAll", TextKind::Caption, {"Vše", "All", "Alles"}},
    {"CheckBoxProgHned",
     TextKind::Caption,
     {"Programování po změně", "Programming after change", "Programmieren nach Änderung"}},
    {"CheckBoxZakazCteni", TextKind::Caption, {"Zákaz čtení", "No Reading", "Lesen Verboten"}},
    {"Button1", TextKind::Caption, {"Čí&st", "&Read", "&Lesen"}},
    {"BitBtn1", TextKind::Caption, {"&Programovat", "&Program", "&Programmieren"}},
    {"BitBtn2", TextKind::Caption, {"&Verifikovat", "&Verify", "&Vergleichen"}},
    {"ComboBox1", TextKind::Hint, {"Typ motocyklu", "Motorbike Type", "Mottorad Type"}},
    // Without a Czech caption here, switching from German to Czech would leave "Vorzündung".
    {"GroupBox1", TextKind::Caption, {"Ostatní", "Other", "Vorzündung"}},
    {"GroupBox4",
     TextKind::Caption,
     {"Aktivace sepnutím", "Activation by Switch on", "Aktivation durch Schaltung"}},
    {"LabelOmez1",
     TextKind::Caption,
     {"Startovací omezovač [rpm]", "Start Limiter [rpm]", "Start Begrenzer [rpm]"}},
    {"LabelOmez2", TextKind::Caption, {"Omezovač [rpm]", "Limiter [rpm]", "Begrenzer [rpm]"}},
    {"LabelLedRazeni",
     TextKind::Caption,
     {"Kontrolka řazení [rpm]", "Gear Shift Light [rpm]", "Schaltblitz [rpm]"}},
    {"CheckBoxGas", TextKind::Caption, {"N2O povolen", "N2O Enable", "N2O zugelast"}},
    {"GroupBoxGas", TextKind::Caption, {"N2O", "N2O", "N2O"}},
    {"LabelGas1", TextKind::Caption, {"N2O 1 [%]", "N2O 1 [%]", "N2O 1 [%]"}},
    {"LabelGas2", TextKind::Caption, {"N2O 2 [%]", "N2O 2 [%]", "N2O 2 [%]"}},
    {"LabelGasD", TextKind::Caption, {"Zpoždění [ms]", "Delay [ms]", "Verspätung [ms]"}},
    {"LabelGasT", TextKind::Caption, {"Náběh [ms]", "Build up Time [ms]", "Anlauf [ms]"}},
    {"GroupBoxRetard", TextKind::Caption, {"Snížení předstihu", "Retard", "Spätzündung"}},
    {"LabelRetard1",
     TextKind::Caption,
     {"Snížení předstihu 1 [°]", "Retard 1 [°]", "Spätzündung 1 [°]"}},
    {"LabelRetard2",
     TextKind::Caption,
     {"Snížení předstihu 2 [°]", "Retard 2 [°]", "Spätzündung 2 [°]"}},
    {"LabelRetardD", TextKind::Caption, {"Zpoždění [ms]", "Delay [ms]", "Verspätung [ms]"}},
    {"LabelRetardT", TextKind::Caption, {"Náběh [ms]", "Build up Time [ms]", "Anlauf [ms]"}},
    {"CheckBoxAktLimiter1",
     TextKind::Caption,
     {"Startovací omezovač", "Start Limiter", "Start Begrenzer"}},
    {"CheckBoxAktBlok1", TextKind::Caption, {"Blokování 1", "Blocking 1", "Blockierung 1"}},
    {"CheckBoxAktBlok2", TextKind::Caption, {"Blokování 2", "Blocking 2", "Blockierung 2"}},
    {"CheckBoxBuzDlouhe",
     TextKind::Caption,
     {"Buzení dlouhé", "Excitation Long", "Anfachung lange"}},
    {"CheckBoxRpm2Krat",
     TextKind::Caption,
     {"Otáčkoměr 2x", "Tachometer 2x", "Drehzahl verdoppeln"}},
    {"CheckBoxAktN2o", TextKind::Caption, {"Aktivace N2O", "Activation N2O", "Aktivierung N2O"}},
    {"LabelFile1", TextKind::Caption, {"Soubor:", "File:", "Datei:"}},
    {"CheckBoxPrivEnable", TextKind::Caption, {"Servo povoleno", "Servo Enable", "Servo zugelast"}},
    {"GroupBoxPrivera", TextKind::Caption, {"Servo", "Servo", "Servo"}},
    {"LabelPrivHyster",
     TextKind::Caption,
     {"Hystereze [mV]", "Sevro Hysteresis [mV]", "Servo Hysteresis [mV]"}},
    {"CheckBoxPrivAll", TextKind::Caption, {"Vše", "All", "Alles"}},
    {"Label26",
     TextKind::Hint,
     {"Otáčky za minutu|Rychlost - Otáčky za minutu", "Round per Minute|Speed - Round per Minute",
      "Umdrehungen pro Minute"}},
    {"LabelVerze1",
     TextKind::Hint,
     {"Verze programu v zapalování", "Version of program in ignition",
      "Version des Programms der Zündung"}},
    {"LabelVerze2",
     TextKind::Hint,
     {"Datum zhotovení programu v zapalování", "Date of program in ignition",
      "Datum des Programms der Zündung"}},
    {"LabelVerze3",
     TextKind::Hint,
     {"Čas zhotovení programu v zapalování", "Time of program in ignition",
      "Zeit des Programms der Zündung"}},
    {"SpeedButton5",
     TextKind::Hint,
     {"Otevření souboru s parametry", "Open file with parametrs", "öffnen Datei mit Kenndaten"}},
    {"SpeedButton6",
     TextKind::Hint,
     {"Nastavení výchozích parametrů", "Set default parametrs", "neue Kenndatendatei erstellen"}},
    {"SpeedButton7",
     TextKind::Hint,
     {"Uložení parametrů do souboru", "Save parametrs to file", "Kenndaten in Datei speichern"}},
    {"SpeedButtonPrint",
     TextKind::Hint,
     {"Tisk parametrů", "Print parametrs", "Druck der Kenndaten"}},
    {"BitBtn1",
     TextKind::Hint,
     {"Programování nastavených parametrů do zapalování", "Programing  set parametrs to ignition",
      "Programmieren der Kenndaten auf die Zündbox"}},
    {"BitBtn2",
     TextKind::Hint,
     {"Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování",
      "Compare set parametrs  with parametrs of ignition",
      "Vergleich der Kenndaten mit Zündboxkenndaten"}},
    {"BitBtnAdvMinus",
     TextKind::Hint,
     {"Zmenšení předstihu o 1 stupeň", "Take off 1 degree of Advance", "Vorzündung minus 1 Grad"}},
    {"BitBtnAdvPlus",
     TextKind::Hint,
     {"Zvětšení předstihu o 1 stupeň", "Add 1 degree of Advance", "Vorzündung plus 1 Grad"}},
    {"Button1",
     TextKind::Hint,
     {"Čtení parametrů ze zapalování", "Reading parametrs from ignition",
      "Lesen Kenndaten aus Zündbox"}},
    {"MenuNew",
     TextKind::Hint,
     {"Nastavení výchozích parametrů", "Set default parameters ", "Neue Kenndatendatei erstellen"}},
    {"MenuOpen",
     TextKind::Hint,
     {"Otevření souboru s parametry", "Open file with parameters ", "öffnen Datei mit Kenndaten"}},
    {"MenuSave",
     TextKind::Hint,
     {"Uložení parametrů do souboru", "Save parameters to file", "Kenndaten in Datei speichern"}},
    {"MenuPrint", TextKind::Hint, {"Tisk parametrů", "Print parameters", "Druck der Kenndaten"}},
    {"MenuExit", TextKind::Hint, {"Ukončení programu", "End of program", "Speichern"}},
    {"MenuCom",
     TextKind::Hint,
     {"Nastavení čísla serivého portu (Com) ", "Com|Set number of com", "Com Port festlegen"}},
    {"MenuCom1",
     TextKind::Hint,
     {"Nastavení komunikace na port com 1", "Set com 1", "Com 1 festzustellen"}},
    {"MenuCom2",
     TextKind::Hint,
     {"Nastavení komunikace na port com 2", "Set com 2", "Com 2 festzustellen"}},
    {"MenuCom3",
     TextKind::Hint,
     {"Nastavení komunikace na port com 3", "Set com 3", "Com 3 festzustellen"}},
    {"MenuCom4",
     TextKind::Hint,
     {"Nastavení komunikace na port com 4", "Set com 4", "Com 4 festzustellen"}},
    {"MenuCom5",
     TextKind::Hint,
     {"Nastavení komunikace na port com 5", "Set com 5", "Com 5 festzustellen"}},
    {"MenuCom6",
     TextKind::Hint,
     {"Nastavení komunikace na port com 6", "Set com 6", "Com 6 festzustellen"}},
    {"MenuCom7",
     TextKind::Hint,
     {"Nastavení komunikace na port com 7", "Set com 7", "Com 7 festzustellen"}},
    {"MenuCom8",
     TextKind::Hint,
     {"Nastavení komunikace na port com 8", "Set com 8", "Com 8 festzustellen"}},
    {"MenuCom9",
     TextKind::Hint,
     {"Nastavení komunikace na port com 9", "Set com 9", "Com 9 festzustellen"}},
    {"MenuCom10",
     TextKind::Hint,
     {"Nastavení komunikace na port com 10", "Set com 10", "Com 10 festzustellen"}},
    {"MenuRead",
     TextKind::Hint,
     {"Čtení|Čtení parametrů z jednotky", "Reading parameters from unit",
      "Lesen Kenndaten aus Zündbox"}},
    {"MenuVerify",
     TextKind::Hint,
     {"Ověření|Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do "
      "zapalování",
      "Compare set parameters  with parameters of unit",
      "Vergleich der Kenndaten Programm mit Kenndaten der Zündbox"}},
    {"MenuProgram",
     TextKind::Hint,
     {"Programování jednotky|Programování nastavených parametrů do jednotky",
      "Programing  set parameters to unit", "Programmieren der Kenndaten auf die Zündbox"}},
    {"MenuLanguage",
     TextKind::Hint,
     {"Nastavení jazyka na angličtinu, češtinu nebo němčinu",
      "Language|Set English or Czech or German", "Sprache"}},
    {"MenuEnglish", TextKind::Hint, {"Set Englich menu", "Set Englich menu", "Set Englich menu"}},
    {"MenuCzech",
     TextKind::Hint,
     {"Nastavit české menu", "Nastavit české menu", "Nastavit české menu"}},
    {"MenuGerman", TextKind::Hint, {"Deutche Menü", "Deutche Menü", "Deutche Menü"}},
    {"MenuHelp", TextKind::Hint, {"Není k dispozici", "Not available jet", "Noch nicht verfügbar"}},
    {"CheckBoxProgHned",
     TextKind::Hint,
     {"Programování ihned po změně", "Programing at once after change",
      "Programmmieren gleich after die Umänderung"}},
    {"GroupBox4",
     TextKind::Hint,
     {"Zaškrtnutí znamená aktivaci připojením na zem",
      "Checked items means activation by closing to ground",
      "Gezeichnete Punkt bedeutet Aktivierung durch Schaltverbindung zu Grund"}},
};

}  // namespace

const std::vector<LanguageEntry>& LanguageTable() {
    return kTable;
}

std::string ShortHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string LongHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

const LocalizedText kNoPrinterMessage = {
    "Není vybrána žádná výchozí tiskárna",
    "There is no default printer currently selected",
    "Es ist kein Standarddrucker ausgewählt",
};

const LocalizedText kUnableToWrite = {
    "Nelze zapsat do %1",
    "Unable to write to %1",
    "Schreiben nach %1 nicht möglich",
};

const LocalizedText kIgnVersionMessage = {
    "Neshodná verze souboru *.ign!",
    "Unmatched version of *.ign file!",
    "Uneinig Version der Datendatei *.ign!",
};

// The first lines are padded with blanks so that the message box is wide enough for the build
// date; the German text has a single line break before its version line.
const LocalizedText kAboutFormat = {
    "Program pro nastavování zapalování           \n\nverze 2.0\n\n%1\n\n%2\n\n"
    "Maveltik\n\nKontakt:\nviz dokumentace (Nápověda > Obsah, F1)\n",
    "Programm for setting of ignition            \n\nversion 2.0\n\n%1\n\n%2\n\n"
    "Maveltik\n\nContact:\nsee the documentation (Help > Contents, F1)\n",
    "Program für der Adjustierung der Zündung        \nVersion 2.0\n\n%1\n\n%2\n\n"
    "Maveltik\n\nKontakt:\nsiehe Dokumentation (Hilfe > Inhalt, F1)\n",
};

const LocalizedText kManualDocument = {
    "Manual_Korvan15_cz.doc",
    "Manual_Korvan15_en.doc",
    "Manual_Korvan15_de.doc",
};

std::string AboutText(std::uint8_t language, const std::string& buildDate,
                      const std::string& buildTime) {
    return Fill(kAboutFormat, language, buildDate, buildTime);
}

}  // namespace korvan
