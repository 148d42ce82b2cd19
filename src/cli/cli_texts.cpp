#include "cli/cli_texts.h"

#include <utility>

namespace korvan::cli {

const LocalizedText kPortOpenFailed{"Port %1 nelze otevřít", "Cannot open the port %1",
                                    "Der Port %1 kann nicht geöffnet werden"};
const LocalizedText kPortLost{"Port %1 byl během přenosu ztracen",
                              "The port %1 was lost during the transfer",
                              "Der Port %1 ging während der Übertragung verloren"};
const LocalizedText kNoAnswer{"Zapalování na %1 neodpovídá (požadavek odeslán pětkrát)",
                              "The unit on %1 does not answer (the request was sent five times)",
                              "Die Zündung an %1 antwortet nicht (Anfrage fünfmal gesendet)"};
const LocalizedText kAnsweredDiffering{"Zapalování na %1 odpovědělo, ale obsahuje jiné hodnoty",
                                       "The unit on %1 answered but holds other values",
                                       "Die Zündung an %1 antwortet, enthält aber andere Werte"};
const LocalizedText kComOutOfRange{"--com %1: číslo portu musí být 1 až 10",
                                   "--com %1: the port number must be 1 to 10",
                                   "--com %1: die Portnummer muss 1 bis 10 sein"};
const LocalizedText kFileUnreadable{"Nelze číst %1", "Cannot read %1", "Lesen nicht möglich: %1"};
const LocalizedText kFileUnwritable{"Nelze zapsat %1", "Cannot write %1",
                                    "Schreiben nicht möglich: %1"};
const LocalizedText kFilePartlyRead{
    "Soubor %1 byl přečten jen zčásti (%2 vynechaných položek); nic nebylo odesláno "
    "(--accept-ignored jej přesto použije):",
    "%1 was only partly understood (%2 entries ignored); nothing was sent (--accept-ignored uses "
    "it anyway):",
    "%1 wurde nur teilweise verstanden (%2 Einträge übergangen); nichts gesendet (--accept-ignored "
    "nimmt sie trotzdem):"};
const LocalizedText kNoMonitorFrames{"Zapalování na %1 neposílá živé hodnoty",
                                     "The unit on %1 sends no live values",
                                     "Die Zündung an %1 sendet keine Live-Werte"};
const LocalizedText kNotParameterFile{
    "%1: není soubor parametrů (chybí hlavička MAVELTIK_KEY)",
    "%1: not a parameter file (no MAVELTIK_KEY header)",
    "%1: keine Parameterdatei (die Kopfzeile MAVELTIK_KEY fehlt)"};
const LocalizedText kFileVersionFound{"(verze %1, tento program čte verzi %2)",
                                      "(version %1; this program reads version %2)",
                                      "(Version %1; dieses Programm liest Version %2)"};
const LocalizedText kFolderMissing{"složka %1 neexistuje", "the folder %1 does not exist",
                                   "der Ordner %1 existiert nicht"};
const LocalizedText kIsAFolder{"je to složka", "it is a folder", "es ist ein Ordner"};
const LocalizedText kNoSuchFile{"soubor neexistuje", "no such file", "die Datei gibt es nicht"};
const LocalizedText kDeviceNotFile{"zařízení, ne soubor", "a device, not a file",
                                   "ein Gerät, keine Datei"};
const LocalizedText kOutputFailed{"Nelze zapsat na standardní výstup: %1",
                                  "Cannot write to standard output: %1",
                                  "Schreiben auf die Standardausgabe nicht möglich: %1"};
const LocalizedText kPortEmpty{"--port: chybí název zařízení (např. /dev/ttyUSB0)",
                               "--port: the device name is empty (e.g. /dev/ttyUSB0)",
                               "--port: der Gerätename fehlt (z. B. /dev/ttyUSB0)"};
const LocalizedText kPortAndCom{"--port a --com nelze zadat zároveň",
                                "--port and --com cannot be given together",
                                "--port und --com können nicht zusammen angegeben werden"};
const LocalizedText kLanguageUnknown{"--language %1: jazyk je cs, en nebo de",
                                     "--language %1: the language is en, cs or de",
                                     "--language %1: die Sprache ist en, cs oder de"};
const LocalizedText kSecondsRange{
    "--seconds %1: čas musí být větší než 0 a nejvýše %2 sekund",
    "--seconds %1: the time must be more than 0 and at most %2 seconds",
    "--seconds %1: die Zeit muss größer als 0 und höchstens %2 Sekunden sein"};
const LocalizedText kUnknownArgument{"neznámý argument: %1", "unknown argument: %1",
                                     "unbekanntes Argument: %1"};
const LocalizedText kFileRequired{"%1: chybí soubor .ign (FILE)", "%1 needs the .ign file (FILE)",
                                  "%1 braucht die .ign-Datei (FILE)"};
const LocalizedText kCommandRequired{"je třeba zadat příkaz: %1", "a command is required: %1",
                                     "ein Befehl ist nötig: %1"};
const LocalizedText kOptionNeedsValue{"%1: chybí hodnota", "%1 needs a value",
                                      "%1 braucht einen Wert"};
const LocalizedText kWrongUsage{"chybné použití: %1", "wrong usage: %1", "falsche Verwendung: %1"};
const char* const kCommonOptionsHelp =
    "Options of korvan2-cli, before or after the command:\n"
    "  --port DEVICE        the serial device to open, e.g. /dev/ttyUSB0\n"
    "  --com N              COM port 1..10, resolved through [PORTS] of the settings file\n"
    "                       (default: the window's port)\n"
    "  --language en|cs|de  language of the messages (default: the window's, else en)\n"
    "  -q, --quiet          no progress on standard error\n";
const LocalizedText kInfoVersion{"Verze", "Version", "Version"};
const LocalizedText kInfoDate{"Datum", "Date", "Datum"};
const LocalizedText kInfoTime{"Čas", "Time", "Zeit"};
const LocalizedText kInfoFormatVersion{"Verze formátu", "Format version", "Formatversion"};
const LocalizedText kInfoReading{"Čtení", "Reading", "Lesen"};
const LocalizedText kInfoBikeTypes{"Typy motocyklů", "Bike types", "Motorradtypen"};
const LocalizedText kInfoAllowed{"povoleno", "allowed", "erlaubt"};
const LocalizedText kInfoProhibited{"zakázáno", "prohibited", "verboten"};
const LocalizedText kNoPorts{"Žádné sériové porty", "No serial ports", "Keine seriellen Ports"};
const LocalizedText kLogCellsOfDefaults{
    "Zapalování nedovoluje čtení; buňky záznamu jízdy odpovídají výchozí mapě",
    "The unit forbids reading; the ride log's cells follow the default map",
    "Die Zündung verbietet das Lesen; die Zellen des Fahrtprotokolls folgen dem Standardkennfeld"};

}  // namespace korvan::cli
