#include "ui/window/map_exchange.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMainWindow>
#include <QStatusBar>

#include "files/map_file.h"
#include "params/map_text.h"
#include "ui/window/dialogs.h"
#include "ui/window/file_commands.h"
#include "ui/window/map_tools_texts.h"
#include "ui/window/parameter_model.h"

namespace korvan {

namespace {

// How long a message of the map tools stays in the status bar.
constexpr int kStatusMs = 8000;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

}  // namespace

MapExchange::MapExchange(QMainWindow& window, const ParameterModel& model, Dialogs& dialogs,
                         const FileCommands& files)
    : window_(window), model_(model), dialogs_(dialogs), files_(files) {}

// The dialogs are the window's children and go with it.
MapExchange::~MapExchange() = default;

std::uint8_t MapExchange::Language() const {
    return model_.Language();
}

void MapExchange::Copy(const DeviceImage& image, const MapRect& cells, bool withAxes) const {
    const std::string text = FormatMapText(image, cells, withAxes);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    window_.statusBar()->showMessage(QString::fromStdString(Fill(maptoolstext::kCopied, Language(),
                                                                 cells.Columns(), cells.Rows())),
                                     kStatusMs);
}

EditOutcome MapExchange::Paste(DeviceImage& image, const MapRect& selection) const {
    const QString text = QGuiApplication::clipboard()->text();
    return PasteMapText(image, text.toStdString(), PasteTarget{selection, false});
}

QString MapExchange::SuggestedFolder() const {
    if (!lastFolder_.isEmpty()) return lastFolder_;
    const QString folder = files_.LastFolder();
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QFileDialog& MapExchange::Dialog(bool save) {
    QFileDialog*& dialog = save ? exportDialog_ : importDialog_;
    if (dialog == nullptr) {
        dialog = new QFileDialog(&window_);
        dialog->setObjectName(save ? "ExportMapDialog" : "ImportMapDialog");
        dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (save) {
            dialog->setDefaultSuffix("csv");
            dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
        }
    }
    // Texts and the folder just before it is shown: the language may have changed, and a
    // name preset into a hidden dialog would pop up its completer on its own.
    const std::uint8_t language = Language();
    dialog->setWindowTitle(
        Text(save ? maptoolstext::kExportTitle : maptoolstext::kImportTitle, language));
    QStringList filters{Text(maptoolstext::kCsvFiles, language)};
    if (!save) filters << Text(maptoolstext::kTextFiles, language);
    filters << Text(maptoolstext::kAllFiles, language);
    dialog->setNameFilters(filters);
    dialog->setDirectory(SuggestedFolder());
    if (save) {
        // The tune's name with the map's extension: "r6.ign" suggests "r6.csv".
        const QString tune = files_.LastFilePath();
        dialog->selectFile(tune.isEmpty() ? QStringLiteral("map.csv")
                                          : QFileInfo(tune).completeBaseName() + ".csv");
    }
    return *dialog;
}

void MapExchange::ExportCsv(const DeviceImage& image) {
    const QString path = dialogs_.ChooseFile(Dialog(true));
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    // A spreadsheet where numbers have a decimal comma splits a .csv at semicolons.
    const QString decimal = QLocale().decimalPoint();
    const char point = decimal.isEmpty() ? '.' : decimal.at(0).toLatin1();
    const MapFileWrite written = WriteMapCsv(path.toStdString(), image, CsvSeparatorFor(point));
    const std::uint8_t language = Language();
    if (!written.ok) {
        dialogs_.ShowMessage(QString::fromStdString(
            Fill(maptoolstext::kExportFailed, language, written.error.In(language))));
        return;
    }
    window_.statusBar()->showMessage(
        QString::fromStdString(Fill(maptoolstext::kExported, language, path.toStdString())),
        kStatusMs);
}

EditOutcome MapExchange::ImportCsv(DeviceImage& image) {
    const QString path = dialogs_.ChooseFile(Dialog(false));
    if (path.isEmpty()) {
        EditOutcome cancelled;
        cancelled.refused = true;
        return cancelled;
    }
    lastFolder_ = QFileInfo(path).absolutePath();
    return ImportMapFile(image, path.toStdString());
}

}  // namespace korvan
