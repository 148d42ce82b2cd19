#include "ui/window/file_commands.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QTime>
#include <QUrl>
#include <algorithm>

#include "device/device_link.h"
#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "files/print_layout.h"
#include "files/settings.h"
#include "params/binding.h"
#include "params/language_tables.h"
#include "ui/help/help_window.h"
#include "ui/printing/window_print.h"
#include "ui/window/dialogs.h"
#include "ui/window/parameter_model.h"
#include "ui/window/progress_row.h"

namespace korvan {

namespace {

const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilesFilter = QStringLiteral("All Files (*.*)");

// The heading of the box that lists the entries of an opened file that were not taken.
// Some entries were left out, others (a number too large for its field) were read as the
// unit's rule makes them: neither is what the file says.
const LocalizedText kIgnoredHeading{
    "Soubor byl načten, ale tyto položky nebyly převzaty tak, jak jsou zapsány:",
    "The file was loaded, but these entries were not taken as written:",
    "Die Datei wurde geladen, aber diese Einträge wurden nicht wie geschrieben übernommen:"};
// A file of garbage would make a box taller than the screen: the first entries tell enough.
constexpr std::size_t kMostIgnoredListed = 30;
const LocalizedText kIgnoredMore{"... a dalších %1", "... and %1 more", "... und %1 weitere"};

QString WithReason(const char* message, const std::string& reason) {
    QString text = QString::fromUtf8(message);
    if (!reason.empty()) text += "\n\n" + QString::fromStdString(reason);
    return text;
}

}  // namespace

FileCommands::FileCommands(QMainWindow& window, ParameterModel& model, Dialogs& dialogs,
                           DeviceLink& link, ProgressRow& progress)
    : window_(window), model_(model), dialogs_(dialogs), link_(link), progress_(progress) {}

FileCommands::~FileCommands() = default;

QFileDialog& FileCommands::OpenDialog() {
    if (openDialog_ == nullptr) {
        openDialog_ = new QFileDialog(&window_);
        openDialog_->setObjectName("OpenDialog1");
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        // A typed name of a missing file is let through; opening it then reports the error.
        openDialog_->setFileMode(QFileDialog::AnyFile);
        openDialog_->setNameFilters({kIgnFilter, kAllFilesFilter});
        openDialog_->setDefaultSuffix("ign");
    }
    return *openDialog_;
}

QFileDialog& FileCommands::SaveDialog() {
    if (saveDialog_ == nullptr) {
        saveDialog_ = new QFileDialog(&window_);
        saveDialog_->setObjectName("SaveDialog1");
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setFileMode(QFileDialog::AnyFile);
        saveDialog_->setNameFilters({kIgnFilter});
        saveDialog_->setDefaultSuffix("ign");
        saveDialog_->setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    return *saveDialog_;
}

void FileCommands::SetLastFilePath(const QString& path) {
    lastFilePath_ = path;
}

QString FileCommands::CurrentFile() const {
    return progress_.FileName();
}

QString FileCommands::LastFolder() const {
    return lastFilePath_.isEmpty() ? QString() : QFileInfo(lastFilePath_).absolutePath();
}

void FileCommands::Load(const IniStore& store) {
    SetLastFilePath(QString::fromStdString(ReadSettings(store, Settings{}).iniDir));
}

void FileCommands::Save(IniStore& store) const {
    Settings s;
    s.iniDir = lastFilePath_.toStdString();
    SetSettings(store, s, kIniDirKey);
}

void FileCommands::PresetDialog(QFileDialog& dialog) const {
    if (lastFilePath_.isEmpty()) return;
    const QFileInfo last(lastFilePath_);
    dialog.setDirectory(last.absolutePath());
    dialog.selectFile(last.fileName());
}

QString FileCommands::RunFileDialog(QFileDialog& dialog) {
    // Preset only now: a name selected into the hidden dialog earlier left its completer
    // with a pending popup that came up over the main window after the dialog closed.
    PresetDialog(dialog);
    return dialogs_.ChooseFile(dialog);
}

void FileCommands::OnSaveChosen() {
    QFileDialog& dialog = SaveDialog();
    dialog.selectNameFilter(kIgnFilter);
    const QString path = RunFileDialog(dialog);
    if (path.isEmpty()) return;

    model_.TakeEdits();
    // The new file replaces the old one only once it is completely on disk: a full disk or a
    // pulled stick never leaves a half-written tune in place of the old one.
    const WriteResult written = WriteFileAtomically(
        path.toStdString(), ParameterFileText(model_.Image(), model_.ExtendedMonitor()));
    if (!written.ok) {
        dialogs_.ShowMessage(WithReason(kOpenFileError, written.error));
        return;
    }
    progress_.SetFileName(path);
    SetLastFilePath(path);
    emit Saved(path);
}

void FileCommands::OnOpenChosen() {
    const QString path = RunFileDialog(OpenDialog());
    if (path.isEmpty()) return;
    OpenFile(path);
}

void FileCommands::OpenFile(const QString& path) {
    DeviceImage read = model_.Image();
    const ParameterFileLoad load = LoadParameterFile(path.toStdString(), read);
    if (!load.file.ok) {
        dialogs_.ShowMessage(QString::fromUtf8(kOpenFileError));
        return;
    }
    const ParameterFileResult& result = load.parsed;
    const std::uint8_t language = model_.Language();
    if (!result.accepted) {
        // Nothing changes: image, controls, file label and last path keep their values.
        dialogs_.ShowMessage(QString::fromUtf8(kIgnVersionMessage.In(language)));
        return;
    }
    // One commit, one undo step named after the file. The box's click action runs when the
    // file changes its state, as a click would.
    const ModelChange change(CommitKind::Open, QFileInfo(path).fileName().toStdString());
    if (result.extendedMonitor) {
        model_.Replace(read, *result.extendedMonitor, change);
    } else {
        model_.Replace(read, change);
    }
    progress_.SetFileName(path);
    SetLastFilePath(path);
    emit Opened(path);
    // The file is in; what it held that did not count is said once, all of it in one box.
    if (!result.ignored.empty()) dialogs_.ShowMessage(IgnoredEntriesText(result.ignored, language));
}

QString FileCommands::IgnoredEntriesText(const std::vector<IgnoredEntry>& ignored,
                                         std::uint8_t language) {
    if (ignored.empty()) return QString();
    QString text = QString::fromUtf8(kIgnoredHeading.In(language));
    text += '\n';
    const std::size_t listed = std::min(ignored.size(), kMostIgnoredListed);
    for (std::size_t i = 0; i < listed; ++i)
        text += '\n' + QString::fromStdString(IgnoredEntryText(ignored[i], language));
    if (listed < ignored.size()) {
        text +=
            '\n' + QString::fromStdString(Fill(kIgnoredMore, language, ignored.size() - listed));
    }
    return text;
}

void FileCommands::OnPrintChosen() {
    const QLocale locale = QLocale::system();
    const auto line =
        PrintDateLine(model_.Language(),
                      locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(),
                      locale.toString(QTime::currentTime(), QLocale::LongFormat).toStdString());
    const QString lineText = line ? QString::fromStdString(*line) : QString();
    progress_.BeginPrintLine(line ? &lineText : nullptr);
    link_.ArmMessageCountdown();
    progress_.SetMessageVisible(true);
    progress_.SetGaugeVisible(false);
    // The picture is taken on white; the window's normal background comes back afterwards.
    QWidget* client = window_.centralWidget();
    const QPalette normal = client->palette();
    const bool normalFill = client->autoFillBackground();
    QPalette white = normal;
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    client->setAutoFillBackground(true);

    QString error;
    std::unique_ptr<QPrinter> printer = dialogs_.Printer();
    bool printed = false;
    if (printer) {
        // The client area: everything below the menu bar, the status bar included.
        const int top = window_.menuBar()->isVisible() ? window_.menuBar()->height() : 0;
        const QImage picture =
            window_.grab(QRect(0, top, window_.width(), window_.height() - top)).toImage();
        printed = PrintImageOnePage(*printer, picture, &error);
    } else {
        error = QString::fromUtf8(kNoPrinterMessage.In(model_.Language()));
    }

    // Restored also when printing failed, so a failed print leaves no trace on the window.
    progress_.SetMessageVisible(false);
    progress_.EndPrintLine();
    client->setPalette(normal);
    client->setAutoFillBackground(normalFill);
    if (!printed) dialogs_.ShowMessage(error);
}

void FileCommands::OnManualChosen() {
    const std::uint8_t language = model_.Language();
    if (language > kLanguageGerman) return;
    // One help window, made on first use; it stays beside the main window until closed.
    if (helpWindow_ == nullptr) helpWindow_ = new HelpWindow(&window_);
    if (!helpWindow_->ShowManual(language, dialogs_.ManualFolders())) {
        // A missing or damaged manual is said in a box naming the file, not in an empty
        // help window.
        helpWindow_->hide();
        dialogs_.ShowMessage(helpWindow_->Problem());
    }
}

QString FileCommands::AboutText() const {
    return QString::fromStdString(korvan::AboutText(model_.Language(), __DATE__, __TIME__));
}

void FileCommands::OnAboutChosen() {
    dialogs_.ShowMessage(AboutText());
}

}  // namespace korvan
