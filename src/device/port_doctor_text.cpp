// The doctor's findings in words, each with its fix, in Czech, English and German.
#include <algorithm>

#include "device/port_doctor.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

const LocalizedText kMissing{
    "Zařízení %1 neexistuje. Připojené převodníky: %2. Náprava: zvolte jeden z nich.",
    "The device %1 does not exist. Adapters present: %2. Fix: choose one of them.",
    "Das Gerät %1 existiert nicht. Vorhandene Adapter: %2. Abhilfe: einen davon wählen."};
const LocalizedText kMissingNoAdapter{
    "Zařízení %1 neexistuje a žádný USB sériový převodník není připojen. Náprava: připojte "
    "převodník (zda jej systém vidí, ukáže sudo dmesg).",
    "The device %1 does not exist, and no USB serial adapter is plugged in. Fix: plug the "
    "adapter in (sudo dmesg shows whether the system sees it).",
    "Das Gerät %1 existiert nicht, und kein USB-Seriell-Adapter ist eingesteckt. Abhilfe: den "
    "Adapter einstecken (sudo dmesg zeigt, ob das System ihn sieht)."};
const LocalizedText kDangling{
    "%1 ukazuje na %2, které neexistuje (převodník byl odpojen?). Připojené převodníky: %3.",
    "%1 points at %2, which does not exist (adapter unplugged?). Adapters present: %3.",
    "%1 verweist auf %2, das nicht existiert (Adapter abgezogen?). Vorhandene Adapter: %3."};
const LocalizedText kNoAdapter{
    "Žádný USB sériový převodník není připojen. Náprava: připojte převodník; je-li připojen, "
    "zkuste jiný kabel nebo zásuvku (zda jej systém vidí, ukáže sudo dmesg).",
    "No USB serial adapter is plugged in. Fix: plug it in; if it is, try another cable or "
    "socket (sudo dmesg shows whether the system sees it).",
    "Kein USB-Seriell-Adapter ist eingesteckt. Abhilfe: ihn einstecken; steckt er, ein anderes "
    "Kabel oder eine andere Buchse versuchen (sudo dmesg zeigt, ob das System ihn sieht)."};
const LocalizedText kNone{"žádné", "none", "keine"};
const LocalizedText kNotSerial{
    "%1 není sériový port (%2). Náprava: zvolte zařízení převodníku, např. /dev/ttyUSB0 nebo "
    "jeho jméno v /dev/serial/by-id.",
    "%1 is not a serial port (%2). Fix: choose the adapter's device, e.g. /dev/ttyUSB0 or its "
    "name in /dev/serial/by-id.",
    "%1 ist keine serielle Schnittstelle (%2). Abhilfe: das Gerät des Adapters wählen, z. B. "
    "/dev/ttyUSB0 oder seinen Namen in /dev/serial/by-id."};
const LocalizedText kFolder{"složka", "a folder", "ein Ordner"};
const LocalizedText kFifo{"roura FIFO", "a FIFO", "eine FIFO"};
const LocalizedText kFile{"obyčejný soubor", "a regular file", "eine gewöhnliche Datei"};
const LocalizedText kNull{"nulové zařízení", "the null device", "das Nullgerät"};
const LocalizedText kOther{"není to terminál", "not a terminal", "kein Terminal"};
const LocalizedText kNoPermission{
    "Zařízení %1 nesmíte otevřít (skupina %2, práva %3). Náprava: sudo usermod -aG %2 $USER a "
    "nové přihlášení, nebo pravidlo udev programu korvan2, které zařízení zpřístupní tomu, kdo "
    "sedí u počítače.",
    "You may not open %1 (group %2, mode %3). Fix: sudo usermod -aG %2 $USER and log in again, "
    "or korvan2's udev rule, which lets the person at the computer open the adapter.",
    "Sie dürfen %1 nicht öffnen (Gruppe %2, Rechte %3). Abhilfe: sudo usermod -aG %2 $USER und "
    "neu anmelden, oder die udev-Regel von korvan2, die den Adapter für die Person am Rechner "
    "öffnet."};
const LocalizedText kNewLogin{
    "Jste ve skupině %2, která smí otevřít %1, ale toto přihlášení ji ještě nemá. Náprava: "
    "odhlaste se a znovu přihlaste (nebo restartujte).",
    "You are in group %2, which may open %1, but this login does not have it yet. Fix: log out "
    "and in again (or restart).",
    "Sie sind in der Gruppe %2, die %1 öffnen darf, aber diese Anmeldung hat sie noch nicht. "
    "Abhilfe: ab- und wieder anmelden (oder neu starten)."};
const LocalizedText kModemManager{
    "Běží ModemManager a může zkoušet %1 (posílá do jednotky příkazy AT). Náprava: pravidlo "
    "udev programu korvan2 (označí převodník ID_MM_DEVICE_IGNORE), nebo sudo systemctl stop "
    "ModemManager.",
    "ModemManager is running and may probe %1 (it sends AT commands into the unit). Fix: "
    "korvan2's udev rule (it marks the adapter ID_MM_DEVICE_IGNORE), or sudo systemctl stop "
    "ModemManager.",
    "ModemManager läuft und kann %1 abfragen (er sendet AT-Befehle in das Gerät). Abhilfe: die "
    "udev-Regel von korvan2 (sie markiert den Adapter mit ID_MM_DEVICE_IGNORE), oder sudo "
    "systemctl stop ModemManager."};
const LocalizedText kBrltty{
    "Pravidla udev programu brltty (%2) si berou převodníky %3, jako je %1. Náprava: sudo "
    "apt-get remove brltty, pokud se na tomto počítači nepoužívá Braillův řádek.",
    "brltty's udev rules (%2) claim adapters with the USB id %3, as %1 is. Fix: sudo apt-get "
    "remove brltty, unless a braille display is used on this computer.",
    "Die udev-Regeln von brltty (%2) beanspruchen Adapter mit der USB-Kennung %3, wie %1. "
    "Abhilfe: sudo apt-get remove brltty, sofern an diesem Rechner keine Braillezeile benutzt "
    "wird."};
const LocalizedText kHeld{"%1 má otevřený jiný program: %2. Náprava: ukončete jej.",
                          "%1 is held open by another program: %2. Fix: close it.",
                          "%1 ist von einem anderen Programm geöffnet: %2. Abhilfe: es beenden."};
const LocalizedText kRuleNotApplied{
    "Pravidlo udev %2 je nainstalované, ale na %1 ještě neplatí. Náprava: sudo udevadm trigger "
    "--subsystem-match=tty --action=add, nebo převodník odpojte a znovu připojte.",
    "The udev rule %2 is installed but not yet applied to %1. Fix: sudo udevadm trigger "
    "--subsystem-match=tty --action=add, or unplug the adapter and plug it in again.",
    "Die udev-Regel %2 ist installiert, gilt für %1 aber noch nicht. Abhilfe: sudo udevadm "
    "trigger --subsystem-match=tty --action=add, oder den Adapter ab- und wieder anstecken."};
const LocalizedText kOpenFailed{"%1 nelze otevřít: %2", "%1 cannot be opened: %2",
                                "%1 lässt sich nicht öffnen: %2"};
const LocalizedText kNoAnswer{
    "%1 se otevře, ale žádná jednotka neodpovídá. Zkontrolujte kabel k jednotce, zapnuté "
    "zapalování a zda je to správný port.",
    "%1 opens, but no unit answers. Check the cable to the unit, that the ignition is on, and "
    "that this is the right port.",
    "%1 lässt sich öffnen, aber kein Gerät antwortet. Prüfen: das Kabel zum Gerät, ob die "
    "Zündung an ist, und ob es die richtige Schnittstelle ist."};
const LocalizedText kAnswered{"Na %1 odpovídá jednotka.", "A unit answers on %1.",
                              "An %1 antwortet ein Gerät."};
const LocalizedText kNothingFound{"Nic, co by bránilo spojení, nebylo nalezeno.",
                                  "Nothing was found that stands in the way.",
                                  "Nichts gefunden, was im Weg steht."};
const LocalizedText kProcUnreadable{
    "Nelze zjistit, které programy drží port a zda běží ModemManager: %1.",
    "Could not check which programs hold the port, nor whether ModemManager runs: %1.",
    "Nicht prüfbar, welche Programme die Schnittstelle halten und ob ModemManager läuft: %1."};
const LocalizedText kGroupUnreadable{
    "Nelze přečíst databázi skupin (%1); skupina je uvedena číslem.",
    "Could not read the group database (%1); the group is shown by its number.",
    "Die Gruppendatenbank ist nicht lesbar (%1); die Gruppe wird als Nummer gezeigt."};
const LocalizedText kOwnHold{
    "%1 má otevřený sám tento program; zda jednotka odpovídá, ukazují živé hodnoty.",
    "This program itself has %1 open; its live values show whether the unit answers.",
    "Dieses Programm selbst hat %1 geöffnet; seine Live-Werte zeigen, ob das Gerät antwortet."};
const LocalizedText kAdapter{"Převodník %1: USB %2, ovladač %3%4",
                             "Adapter %1: USB %2, driver %3%4", "Adapter %1: USB %2, Treiber %3%4"};

std::string Detail(const Finding& f, std::size_t i) {
    return i < f.details.size() ? f.details[i] : std::string();
}

std::string Joined(const std::vector<std::string>& items) {
    std::string s;
    for (const std::string& item : items) s += (s.empty() ? "" : ", ") + item;
    return s;
}

const LocalizedText& NodeWhat(const std::string& what) {
    if (what == "folder") return kFolder;
    if (what == "fifo") return kFifo;
    if (what == "file") return kFile;
    if (what == "null") return kNull;
    return kOther;
}

}  // namespace

std::string FindingText(const Finding& f, std::uint8_t language) {
    const std::string adapters = Detail(f, 1).empty() ? kNone.In(language) : Detail(f, 1);
    switch (f.kind) {
        case FindingKind::DeviceMissing:
            if (f.device.empty()) return Fill(kNoAdapter, language);
            if (!Detail(f, 0).empty())
                return Fill(kDangling, language, f.device, Detail(f, 0), adapters);
            if (Detail(f, 1).empty()) return Fill(kMissingNoAdapter, language, f.device);
            return Fill(kMissing, language, f.device, adapters);
        case FindingKind::NotSerialDevice:
            return Fill(kNotSerial, language, f.device, NodeWhat(Detail(f, 0)).In(language));
        case FindingKind::NoPermission:
            return Fill(kNoPermission, language, f.device, Detail(f, 0), Detail(f, 1));
        case FindingKind::NewLoginNeeded:
            return Fill(kNewLogin, language, f.device, Detail(f, 0));
        case FindingKind::ModemManager:
            return Fill(kModemManager, language, f.device);
        case FindingKind::Brltty:
            return Fill(kBrltty, language, f.device, Detail(f, 0), Detail(f, 1));
        case FindingKind::HeldByOther:
            return Fill(kHeld, language, f.device, Joined(f.details));
        case FindingKind::RuleNotApplied:
            return Fill(kRuleNotApplied, language, f.device, Detail(f, 0));
        case FindingKind::OpenFailed: {
            std::string why = OpenFailureText(f.openFailure, language);
            if (why.empty()) why = f.openFailure.systemText;
            return Fill(kOpenFailed, language, f.device, why);
        }
        case FindingKind::NoAnswer:
            return Fill(kNoAnswer, language, f.device);
    }
    return {};
}

std::string NoteText(const DoctorNote& note, std::uint8_t language) {
    switch (note.kind) {
        case DoctorNote::ProcUnreadable:
            return Fill(kProcUnreadable, language, note.detail);
        case DoctorNote::GroupFileUnreadable:
            return Fill(kGroupUnreadable, language, note.detail);
        case DoctorNote::OwnProcessHolds:
            return Fill(kOwnHold, language, note.detail);
    }
    return {};
}

std::string AnsweredText(const std::string& device, std::uint8_t language) {
    return Fill(kAnswered, language, device);
}

std::string NoFindingsText(std::uint8_t language) {
    return kNothingFound.In(language);
}

std::string AdapterLine(const AdapterFacts& a, std::uint8_t language) {
    std::string names;
    for (const std::string& n : a.stableNames) names += ", " + n;
    return Fill(kAdapter, language, a.device, a.UsbId().empty() ? "-" : a.UsbId(),
                a.driver.empty() ? "-" : a.driver, names);
}

std::vector<std::string> ReportLines(const DoctorReport& r, std::uint8_t language) {
    std::vector<std::string> lines;
    for (const AdapterFacts& a : r.adapters) lines.push_back(AdapterLine(a, language));
    for (const Finding& f : r.findings) lines.push_back(FindingText(f, language));
    for (const DoctorNote& n : r.notes) lines.push_back(NoteText(n, language));
    for (const std::string& d : r.answered) lines.push_back(AnsweredText(d, language));
    if (r.findings.empty() && r.answered.empty()) lines.push_back(NoFindingsText(language));
    return lines;
}

}  // namespace korvan
