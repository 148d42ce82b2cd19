#include "log/log_texts.h"

namespace korvan::logtext {

const LocalizedText kCannotCreate = {
    "Záznam jízdy %s nelze vytvořit: %s",
    "Cannot create the ride log %s: %s",
    "Das Fahrtprotokoll %s kann nicht angelegt werden: %s",
};
const LocalizedText kWriteFailed = {
    "Záznam jízdy se zastavil, do %s nelze zapisovat: %s",
    "Recording stopped, cannot write to %s: %s",
    "Aufzeichnung angehalten, %s kann nicht geschrieben werden: %s",
};
const LocalizedText kRowsKept = {
    "Zapsaných řádků zůstává v souboru: %zu.",
    "The %zu rows written so far stay in the file.",
    "Die bisher geschriebenen %zu Zeilen bleiben in der Datei.",
};
const LocalizedText kNotMsl = {
    "%s není záznam jízdy (.msl).",
    "%s is not a ride log (.msl).",
    "%s ist kein Fahrtprotokoll (.msl).",
};
const LocalizedText kCannotOpen = {
    "Záznam jízdy %s nelze otevřít: %s",
    "Cannot open the ride log %s: %s",
    "Das Fahrtprotokoll %s kann nicht geöffnet werden: %s",
};
const LocalizedText kNoHeader = {
    "%s nemá řádek s názvy kanálů, není to záznam jízdy.",
    "%s has no line of channel names; it is not a ride log.",
    "%s hat keine Zeile mit Kanalnamen; es ist kein Fahrtprotokoll.",
};
const LocalizedText kNoTimeColumn = {
    "%s nemá sloupec Time.",
    "%s has no Time column.",
    "%s hat keine Spalte Time.",
};
const LocalizedText kNoRpmColumn = {
    "%s nemá sloupec RPM.",
    "%s has no RPM column.",
    "%s hat keine Spalte RPM.",
};
const LocalizedText kNoRows = {
    "%s neobsahuje žádný čitelný řádek.",
    "%s holds no readable row.",
    "%s enthält keine lesbare Zeile.",
};
const LocalizedText kBadRows = {
    "Vynechané vadné řádky (%zu): %s",
    "Bad rows left out (%zu): %s",
    "Ausgelassene fehlerhafte Zeilen (%zu): %s",
};
const LocalizedText kShortRow = {
    "řádek %zu je krátký",
    "line %zu is short",
    "Zeile %zu ist zu kurz",
};
const LocalizedText kNotANumber = {
    "řádek %zu: %s není číslo",
    "line %zu: %s is not a number",
    "Zeile %zu: %s ist keine Zahl",
};
const LocalizedText kMoreBadRows = {
    "a %zu dalších",
    "and %zu more",
    "und %zu weitere",
};
const LocalizedText kTruncated = {
    "Načteno jen prvních %zu řádků (%zu MB), zbytek souboru je vynechán.",
    "Only the first %zu rows (%zu MB) were read; the rest of the file is left out.",
    "Nur die ersten %zu Zeilen (%zu MB) wurden gelesen; der Rest der Datei bleibt weg.",
};

}  // namespace korvan::logtext
