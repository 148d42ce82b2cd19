#include "ui/window/file_commands.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTime>
#include <QUrl>
#include <algorithm>

#include "device/device_link.h"
#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "files/print_layout.h"
#include "params/binding.h"
#include "ui/help/help_window.h"
#include "params/language_tables.h"
#include "ui/printing/window_print.h"
#include "ui/window/form_hlav.h"
#include "ui/window/monitor_column.h"
#include "ui/window/progress_row.h"

namespace korvan {

namespace {

const char* kOpenFileError = "Open file error";
const char* kNoPrinter = "There is no default printer currently selected";
const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilesFilter = QStringLiteral("All Files (*.*)");

// The heading of the box that lists the entries of an opened file that were not taken.
const LocalizedText kIgnoredHeading{
    "Soubor byl načten, ale tyto položky byly vynechány:",
    "The file was loaded, but these entries were left out:",
    "Die Datei wurde geladen, aber diese Einträge wurden ausgelassen:"};
// A file of garbage would make a box taller than the screen: the first entries tell enough.
constexpr std::size_t kMostIgnoredListed = 30;
const LocalizedText kIgnoredMore{"... a dalších %1", "... and %1 more", "... und %1 weitere"};

QString WithReason(const char* message, const std::string& reason) {
    QString text = QString::fromUtf8(message);
    if (!reason.empty()) text += "\n\n" + QString::fromStdString(reason);
    return text;
}

}  // namespace

FileCommands::FileCommands(QMainWindow& window, DeviceImage& image,
                           const std::uint8_t& languageIndex, const FormOptions& options,
                           DeviceLink& link, ProgressRow& progress, MonitorColumn& monitor)
    : window_(window),
      image_(image),
      languageIndex_(languageIndex),
      options_(options),
      link_(link),
      progress_(progress),
      monitor_(monitor) {}

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
    QString chosen;
    if (options_.fileDialog) {
        chosen = options_.fileDialog(dialog);
    } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        chosen = dialog.selectedFiles().first();
    }
    // Nothing of the dialog may stay on screen and take the keyboard. The file name
    // completer reopens its list by itself when the folder it was completing in finishes
    // loading, even after the dialog has closed; without a prefix it has nothing to reopen.
    dialog.hide();
    for (QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        completer->setCompletionPrefix(QString());
        completer->popup()->hide();
    }
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    // Without a window manager the focus would fall to the desktop after the dialog.
    window_.activateWindow();
    return chosen;
}

void FileCommands::MenuSaveClick() {
    QFileDialog& dialog = SaveDialog();
    dialog.selectNameFilter(kIgnFilter);
    const QString path = RunFileDialog(dialog);
    if (path.isEmpty()) return;

    takeControls();
    // The new file replaces the old one only once it is completely on disk: a full disk or a
    // pulled stick never leaves a half-written tune in place of the old one.
    const WriteResult written =
        WriteFileAtomically(path.toStdString(), ParameterFileText(image_, monitor_.Extended()));
    if (!written.ok) {
        showMessage(WithReason(kOpenFileError, written.error));
        return;
    }
    progress_.SetFileName(path);
    SetLastFilePath(path);
    if (saved) saved(path);
}

void FileCommands::MenuOpenClick() {
    const QString path = RunFileDialog(OpenDialog());
    if (path.isEmpty()) return;
    OpenFile(path);
}

void FileCommands::OpenFile(const QString& path) {
    DeviceImage read = image_;
    const ParameterFileLoad load = LoadParameterFile(path.toStdString(), read);
    if (!load.file.ok) {
        showMessage(QString::fromUtf8(kOpenFileError));
        return;
    }
    const ParameterFileResult& result = load.parsed;
    if (!result.accepted) {
        // Nothing changes: image, controls, file label and last path keep their values.
        showMessage(QString::fromUtf8(kIgnVersionMessage.In(languageIndex_)));
        return;
    }
    image_ = read;
    // The box's click action runs when the file changes its state, as a click would.
    if (result.extendedMonitor) monitor_.SetExtended(*result.extendedMonitor);
    applyChange();
    progress_.SetFileName(path);
    SetLastFilePath(path);
    if (opened) opened(path);
    // The file is in; what it held that did not count is said once, all of it in one box.
    if (!result.ignored.empty()) showMessage(IgnoredEntriesText(result.ignored, languageIndex_));
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
        text += '\n' + QString::fromUtf8(kIgnoredMore.In(language))
                           .arg(static_cast<qulonglong>(ignored.size() - listed));
    }
    return text;
}

void FileCommands::SpeedButtonPrintClick() {
    const QLocale locale = QLocale::system();
    const auto line = PrintDateLine(
        languageIndex_, locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(),
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
    std::unique_ptr<QPrinter> printer = options_.printer ? options_.printer() : DefaultPrinter();
    bool printed = false;
    if (printer) {
        // The client area: everything below the menu bar, the status bar included.
        const int top = window_.menuBar()->isVisible() ? window_.menuBar()->height() : 0;
        const QImage picture =
            window_.grab(QRect(0, top, window_.width(), window_.height() - top)).toImage();
        printed = PrintImageOnePage(*printer, picture, &error);
    } else {
        error = QString::fromUtf8(kNoPrinter);
    }

    // Restored also when printing failed, so a failed print leaves no trace on the window.
    progress_.SetMessageVisible(false);
    progress_.EndPrintLine();
    client->setPalette(normal);
    client->setAutoFillBackground(normalFill);
    if (!printed) showMessage(error);
}

void FileCommands::PrintPicture(const QImage& picture) {
    QString error;
    std::unique_ptr<QPrinter> printer = options_.printer ? options_.printer() : DefaultPrinter();
    if (!printer) {
        showMessage(QString::fromUtf8(kNoPrinter));
    } else if (!PrintImageOnePage(*printer, picture, &error)) {
        showMessage(error);
    }
}

std::unique_ptr<QPrinter> FileCommands::DefaultPrinter() {
    // Without any printer QPrinter silently becomes a PDF printer without a file.
    if (!DefaultPrinterAvailable()) return nullptr;
    return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
}

void FileCommands::MenuContensClick() {
    if (languageIndex_ > kLanguageGerman) return;
    // One help window, made on first use; it stays beside the main window until closed.
    if (helpWindow_ == nullptr) helpWindow_ = new HelpWindow(&window_);
    const QStringList folders =
        options_.manualFolders.isEmpty() ? ManualFolders() : options_.manualFolders;
    if (!helpWindow_->ShowManual(languageIndex_, folders)) {
        // A missing or damaged manual is said in a box naming the file, not in an empty
        // help window.
        helpWindow_->hide();
        showMessage(helpWindow_->Problem());
    }
}

QString FileCommands::AboutText() const {
    return QString::fromStdString(korvan::AboutText(languageIndex_, __DATE__, __TIME__));
}

void FileCommands::MenuAboutClick() {
    showMessage(AboutText());
}

}  // namespace korvan
