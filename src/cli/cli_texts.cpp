#include "cli/cli_texts.h"

#include <utility>

namespace korvan::cli {

const LocalizedText kPortOpenFailed{"Port %1 nelze otevřít", "Cannot open the port %1",
                                    "Der Port %1 kann nicht geöffnet werden"};
const LocalizedText kPortLost{"Port %1 byl během přenosu ztracen",
                              "The port %1 was lost during the transfer",
                              "Der Port %1 ging während der Übertragung verloren"};
const LocalizedText kNoAnswer{"Zapalování neodpovídá (požadavek odeslán pětkrát)",
                              "The unit does not answer (the request was sent five times)",
                              "Die Zündung antwortet nicht (Anfrage fünfmal gesendet)"};
const LocalizedText kAnsweredDiffering{"Zapalování odpovědělo, ale obsahuje jiné hodnoty",
                                       "The unit answered but holds other values",
                                       "Die Zündung antwortet, enthält aber andere Werte"};
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
const LocalizedText kNoMonitorFrames{"Zapalování neposílá živé hodnoty",
                                     "The unit sends no live values",
                                     "Die Zündung sendet keine Live-Werte"};
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
    "Die Zündung verbietet das Lesen; die Zellen des Fahrtprotokolls folgen der Standardkennlinie"};

}  // namespace korvan::cli
