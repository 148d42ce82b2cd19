#include "log/log_texts.h"

namespace korvan {

namespace logtext {

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
const LocalizedText kNotALog = {
    "%1 není záznam jízdy (.msl, .mlg nebo .csv).",
    "%1 is not a ride log (.msl, .mlg or .csv).",
    "%1 ist kein Fahrtprotokoll (.msl, .mlg oder .csv).",
};
const LocalizedText kCannotOpen = {
    "Záznam jízdy %1 nelze otevřít: %2",
    "Cannot open the ride log %1: %2",
    "Das Fahrtprotokoll %1 kann nicht geöffnet werden: %2",
};
const LocalizedText kIsFolder = {
    "%1 je složka, ne soubor.",
    "%1 is a folder, not a file.",
    "%1 ist ein Ordner, keine Datei.",
};
const LocalizedText kIsFifo = {
    "%1 je roura (FIFO), ne soubor; nečte se z ní.",
    "%1 is a pipe (FIFO), not a file; it is not read.",
    "%1 ist eine Pipe (FIFO), keine Datei; sie wird nicht gelesen.",
};
const LocalizedText kIsDevice = {
    "%1 je zařízení, ne soubor; nečte se z něj.",
    "%1 is a device, not a file; it is not read.",
    "%1 ist ein Gerät, keine Datei; es wird nicht gelesen.",
};
const LocalizedText kIsNotAFile = {
    "%1 není obyčejný soubor; nečte se z něj.",
    "%1 is not a regular file; it is not read.",
    "%1 ist keine gewöhnliche Datei; sie wird nicht gelesen.",
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
const LocalizedText kNotMlg = {
    "%1 není záznam MLG (nezačíná značkou MLVLG).",
    "%1 is not an MLG log (it does not start with MLVLG).",
    "%1 ist kein MLG-Protokoll (es beginnt nicht mit MLVLG).",
};
const LocalizedText kMlgVersion = {
    "%1 je záznam MLG verze %2; číst lze jen verzi 2.",
    "%1 is an MLG log of version %2; only version 2 is read.",
    "%1 ist ein MLG-Protokoll der Version %2; nur Version 2 wird gelesen.",
};
const LocalizedText kMlgFieldCount = {
    "%1 uvádí %2 kanálů; záznam MLG jich může mít 1 až %3.",
    "%1 names %2 channels; an MLG log has 1 to %3.",
    "%1 nennt %2 Kanäle; ein MLG-Protokoll hat 1 bis %3.",
};
const LocalizedText kMlgFieldType = {
    "%1: kanál %2 má neznámý typ %3.",
    "%1: the channel %2 has an unknown type %3.",
    "%1: der Kanal %2 hat einen unbekannten Typ %3.",
};
const LocalizedText kMlgRecordLength = {
    "%1: délka záznamu %2 bajtů neodpovídá kanálům (%3 bajtů).",
    "%1: the record length of %2 bytes does not match its channels (%3 bytes).",
    "%1: die Datensatzlänge von %2 Bytes passt nicht zu den Kanälen (%3 Bytes).",
};
const LocalizedText kMlgDamaged = {
    "%1 je poškozený: hlavička ukazuje mimo soubor.",
    "%1 is damaged: its header points outside the file.",
    "%1 ist beschädigt: der Kopf zeigt außerhalb der Datei.",
};
const LocalizedText kBadRows = {
    "Vynechané vadné řádky (%1): %2",
    "Bad rows left out (%1): %2",
    "Ausgelassene fehlerhafte Zeilen (%1): %2",
};
const LocalizedText kAtLine = {"řádek %1", "line %1", "Zeile %1"};
const LocalizedText kAtRecord = {"záznam %1", "record %1", "Datensatz %1"};
const LocalizedText kShortRow = {
    "%1 je krátký",
    "%1 is short",
    "%1 ist zu kurz",
};
const LocalizedText kNotANumber = {
    "%1: %2 není číslo",
    "%1: %2 is not a number",
    "%1: %2 ist keine Zahl",
};
const LocalizedText kTimeNegative = {
    "%1: Time je záporný",
    "%1: Time is negative",
    "%1: Time ist negativ",
};
const LocalizedText kTimeTooLarge = {
    "%1: Time je příliš velký",
    "%1: Time is too large",
    "%1: Time ist zu groß",
};
const LocalizedText kTimeBack = {
    "%1: Time se vrací o víc než 1 s",
    "%1: Time goes back more than 1 s",
    "%1: Time geht mehr als 1 s zurück",
};
const LocalizedText kBadChecksum = {
    "%1: chybný kontrolní součet",
    "%1: bad checksum",
    "%1: falsche Prüfsumme",
};
const LocalizedText kCutShort = {
    "%1 je useknutý",
    "%1 is cut short",
    "%1 ist abgeschnitten",
};
const LocalizedText kUnknownBlock = {
    "%1: neznámý druh bloku, zbytek souboru je vynechán",
    "%1: unknown kind of block, the rest of the file is left out",
    "%1: unbekannte Blockart, der Rest der Datei bleibt weg",
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

const LocalizedText kNoReason = {
    "systém nesdělil důvod",
    "the system gave no reason",
    "das System nannte keinen Grund",
};

}  // namespace logtext

std::string ReasonSentence(const std::string& reason, std::uint8_t language) {
    // Qt says "Unknown error" when the system was never asked (a short write that set no
    // error); that tells the user nothing.
    std::string text = reason.empty() || reason == "Unknown error"
                           ? std::string(logtext::kNoReason.In(language))
                           : reason;
    const char last = text.back();
    if (last != '.' && last != '!' && last != '?') text += '.';
    return text;
}

}  // namespace korvan
