// The reasons of a failed read or write in the three languages. The reasons a tuner meets most
// (a typo in the name, a device or a pipe named by mistake, a full or read-only stick, no
// permission) have words of their own; any other system reason is the system's own text.
#include <cerrno>
#include <cstring>

#include "files/atomic_write.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

const LocalizedText kMissing{"soubor neexistuje", "no such file", "die Datei gibt es nicht"};
const LocalizedText kDevice{"zařízení, ne soubor", "a device, not a file",
                            "ein Gerät, keine Datei"};
const LocalizedText kFolder{"je to složka, ne soubor", "a folder, not a file",
                            "ein Ordner, keine Datei"};
const LocalizedText kNotAFile{"není to obyčejný soubor (roura, socket nebo blokové zařízení)",
                              "not a plain file (a pipe, socket or block device)",
                              "keine gewöhnliche Datei (eine Pipe, ein Socket oder Blockgerät)"};
const LocalizedText kTooLarge{"příliš velký pro tento druh souboru",
                              "far too large for this kind of file",
                              "viel zu groß für diese Art Datei"};
const LocalizedText kReadError{"chyba při čtení", "read error", "Lesefehler"};
const LocalizedText kNotReplaced{"soubor nelze nahradit", "the file cannot be replaced",
                                 "die Datei kann nicht ersetzt werden"};
const LocalizedText kNoPermission{"chybí oprávnění", "no permission", "keine Berechtigung"};
const LocalizedText kDiskFull{"disk je plný", "the disk is full", "der Datenträger ist voll"};
const LocalizedText kReadOnly{"disk je jen pro čtení", "the disk is read-only",
                              "der Datenträger ist schreibgeschützt"};
const LocalizedText kNoFolder{"složka neexistuje", "the folder does not exist",
                              "der Ordner existiert nicht"};
const LocalizedText kUnknown{"neznámá chyba", "unknown error", "unbekannter Fehler"};

}  // namespace

std::string FileProblemText(FileProblem problem, int errorNumber, std::uint8_t language) {
    switch (problem) {
        case FileProblem::None:
            return {};
        case FileProblem::Missing:
            return kMissing.In(language);
        case FileProblem::Device:
            return kDevice.In(language);
        case FileProblem::Folder:
            return kFolder.In(language);
        case FileProblem::NotAFile:
            return kNotAFile.In(language);
        case FileProblem::TooLarge:
            return kTooLarge.In(language);
        case FileProblem::ReadError:
            return kReadError.In(language);
        case FileProblem::NotReplaced:
            return kNotReplaced.In(language);
        case FileProblem::System:
            break;
    }
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return kNoPermission.In(language);
        case ENOSPC:
            return kDiskFull.In(language);
        case EROFS:
            return kReadOnly.In(language);
        case ENOENT:
            // A file that is missing was found missing before the system was asked; what the
            // system cannot find then is the folder.
            return kNoFolder.In(language);
        case EISDIR:
            return kFolder.In(language);
        case 0:
            return kUnknown.In(language);
        default:
            return std::strerror(errorNumber);
    }
}

}  // namespace korvan
