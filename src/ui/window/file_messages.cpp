#include "ui/window/file_messages.h"

#include <QDir>

#include "params/device_image.h"
#include "params/language_tables.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

const LocalizedText kSaveFailed{"Soubor nelze uložit", "The file could not be saved",
                                "Die Datei konnte nicht gespeichert werden"};
const LocalizedText kNoHeader{"není to soubor parametrů (chybí hlavička MAVELTIK_KEY)",
                              "not a parameter file (no MAVELTIK_KEY header)",
                              "keine Parameterdatei (die Kopfzeile MAVELTIK_KEY fehlt)"};
const LocalizedText kOtherVersion{"verze %1, tento program čte verzi %2",
                                  "version %1; this program reads version %2",
                                  "Version %1; dieses Programm liest Version %2"};

QString FileLine(const QString& path, const std::string& reason) {
    return QDir::toNativeSeparators(path) + ": " + QString::fromStdString(reason);
}

}  // namespace

QString OpenRefusalText(const QString& path, const ParameterFileLoad& load, std::uint8_t language) {
    if (!load.file.ok) {
        return QString::fromUtf8(kOpenFileError) + '\n' +
               FileLine(path, FileProblemText(load.file, language));
    }
    const ParameterFileResult& parsed = load.parsed;
    if (parsed.accepted) return {};
    const std::string why = parsed.headerVersion
                                ? Fill(kOtherVersion, language, *parsed.headerVersion,
                                       static_cast<unsigned>(kFormatVersion))
                                : std::string(kNoHeader.In(language));
    return QString::fromUtf8(kIgnVersionMessage.In(language)) + '\n' + FileLine(path, why);
}

QString SaveFailureText(const QString& path, const WriteResult& written, std::uint8_t language) {
    return QString::fromUtf8(kSaveFailed.In(language)) + '\n' +
           FileLine(path, FileProblemText(written, language));
}

}  // namespace korvan
