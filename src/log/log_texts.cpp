#include "log/log_texts.h"

namespace korvan::logtext {

const LocalizedText kCannotCreate = {
    "Záznam jízdy %1 nelze vytvořit: %2",
    "Cannot create the ride log %1: %2",
    "Das Fahrtprotokoll %1 kann nicht angelegt werden: %2",
};
const LocalizedText kWriteFailed = {
    "Záznam jízdy se zastavil, do %1 nelze zapisovat: %2",
    "Recording stopped, cannot write to %1: %2",
    "Aufzeichnung angehalten, %1 kann nicht geschrieben werden: %2",
};
const LocalizedText kRowsKept = {
    "Zapsaných řádků zůstává v souboru: %1.",
    "The %1 rows written so far stay in the file.",
    "Die bisher geschriebenen %1 Zeilen bleiben in der Datei.",
};
const LocalizedText kNotMsl = {
    "%1 není záznam jízdy (.msl).",
    "%1 is not a ride log (.msl).",
    "%1 ist kein Fahrtprotokoll (.msl).",
};
const LocalizedText kCannotOpen = {
    "Záznam jízdy %1 nelze otevřít: %2",
    "Cannot open the ride log %1: %2",
    "Das Fahrtprotokoll %1 kann nicht geöffnet werden: %2",
};
const LocalizedText kNoHeader = {
    "%1 nemá řádek s názvy kanálů, není to záznam jízdy.",
    "%1 has no line of channel names; it is not a ride log.",
    "%1 hat keine Zeile mit Kanalnamen; es ist kein Fahrtprotokoll.",
};
const LocalizedText kNoTimeColumn = {
    "%1 nemá sloupec Time.",
    "%1 has no Time column.",
    "%1 hat keine Spalte Time.",
};
const LocalizedText kNoRpmColumn = {
    "%1 nemá sloupec RPM.",
    "%1 has no RPM column.",
    "%1 hat keine Spalte RPM.",
};
const LocalizedText kNoRows = {
    "%1 neobsahuje žádný čitelný řádek.",
    "%1 holds no readable row.",
    "%1 enthält keine lesbare Zeile.",
};
const LocalizedText kBadRows = {
    "Vynechané vadné řádky (%1): %2",
    "Bad rows left out (%1): %2",
    "Ausgelassene fehlerhafte Zeilen (%1): %2",
};
const LocalizedText kShortRow = {
    "řádek %1 je krátký",
    "line %1 is short",
    "Zeile %1 ist zu kurz",
};
const LocalizedText kNotANumber = {
    "řádek %1: %2 není číslo",
    "line %1: %2 is not a number",
    "Zeile %1: %2 ist keine Zahl",
};
const LocalizedText kMoreBadRows = {
    "a %1 dalších",
    "and %1 more",
    "und %1 weitere",
};
const LocalizedText kTruncated = {
    "Načteno jen prvních %1 řádků (%2 MB), zbytek souboru je vynechán.",
    "Only the first %1 rows (%2 MB) were read; the rest of the file is left out.",
    "Nur die ersten %1 Zeilen (%2 MB) wurden gelesen; der Rest der Datei bleibt weg.",
};

}  // namespace korvan::logtext
