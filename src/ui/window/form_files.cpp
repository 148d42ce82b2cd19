// The desk side of the window: opening and saving parameter files, printing the window, the
// manual and the about box. File formats and page layout are in files/; here are the dialogs,
// the messages and the window's own state (file label, last path).
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTime>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <sstream>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "files/print_layout.h"
#include "params/binding.h"
#include "ui/languages/language_tables.h"
#include "ui/printing/window_print.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/form_hlav.h"
#include "ui/window/guarded_setters.h"

namespace korvan {

namespace {

const char* kOpenFileError = "Open file error";
const char* kNoPrinter = "There is no default printer currently selected";
const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilesFilter = QStringLiteral("All Files (*.*)");

QString WithReason(const char* message, const std::string& reason) {
    QString text = QString::fromUtf8(message);
    if (!reason.empty()) text += "\n\n" + QString::fromStdString(reason);
    return text;
}

}  // namespace

void TFormHlav::ConnectFileCommands() {
    openDialog1_ = new QFileDialog(this);
    openDialog1_->setObjectName("OpenDialog1");
    openDialog1_->setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file is let through; opening it then reports the error.
    openDialog1_->setFileMode(QFileDialog::AnyFile);
    openDialog1_->setNameFilters({kIgnFilter, kAllFilesFilter});
    openDialog1_->setDefaultSuffix("ign");

    saveDialog1_ = new QFileDialog(this);
    saveDialog1_->setObjectName("SaveDialog1");
    saveDialog1_->setAcceptMode(QFileDialog::AcceptSave);
    saveDialog1_->setFileMode(QFileDialog::AnyFile);
    saveDialog1_->setNameFilters({kIgnFilter});
    saveDialog1_->setDefaultSuffix("ign");
    saveDialog1_->setOption(QFileDialog::DontConfirmOverwrite, false);
    PresetDialogs();

    auto action = [this](const char* name) { return findChild<QAction*>(name); };
    auto tool = [this](const char* name) { return findChild<QToolButton*>(name); };
    connect(action("MenuOpen"), &QAction::triggered, this, &TFormHlav::MenuOpenClick);
    connect(tool("SpeedButton5"), &QToolButton::clicked, this, &TFormHlav::MenuOpenClick);
    connect(action("MenuSave"), &QAction::triggered, this, &TFormHlav::MenuSaveClick);
    connect(tool("SpeedButton7"), &QToolButton::clicked, this, &TFormHlav::MenuSaveClick);
    // The menu's Print prints the same way as the tool button.
    connect(action("MenuPrint"), &QAction::triggered, this, &TFormHlav::SpeedButtonPrintClick);
    connect(tool("SpeedButtonPrint"), &QToolButton::clicked, this, &TFormHlav::SpeedButtonPrintClick);
    connect(action("MenuContens"), &QAction::triggered, this, &TFormHlav::MenuContensClick);
    connect(action("MenuAbout"), &QAction::triggered, this, &TFormHlav::MenuAboutClick);
}

void TFormHlav::PresetDialogs() {
    for (QFileDialog* dialog : {openDialog1_, saveDialog1_}) {
        if (dialog == nullptr) continue;
        if (lastFilePath_.isEmpty()) continue;
        const QFileInfo last(lastFilePath_);
        dialog->setDirectory(last.absolutePath());
        dialog->selectFile(last.fileName());
    }
}

QString TFormHlav::RunFileDialog(QFileDialog& dialog) {
    QString chosen;
    if (options_.fileDialog) {
        chosen = options_.fileDialog(dialog);
    } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        chosen = dialog.selectedFiles().first();
    }
    // Without a window manager the focus would fall to the desktop after the dialog.
    activateWindow();
    return chosen;
}

void TFormHlav::MenuSaveClick() {
    saveDialog1_->selectNameFilter(kIgnFilter);
    const QString path = RunFileDialog(*saveDialog1_);
    if (path.isEmpty()) return;

    ControlsToImage();
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    ImageToControls();
    // The new file replaces the old one only once it is completely on disk: a full disk or a
    // pulled stick never leaves a half-written tune in place of the old one.
    const WriteResult written =
        WriteFileAtomically(path.toStdString(), ParameterFileText(image_, checkBoxExtMonitor_->isChecked()));
    if (!written.ok) {
        ShowMessageBox(WithReason(kOpenFileError, written.error));
        return;
    }
    labelFile2_->setText(path);
    lastFilePath_ = path;
    PresetDialogs();
}

void TFormHlav::MenuOpenClick() {
    const QString path = RunFileDialog(*openDialog1_);
    if (path.isEmpty()) return;

    std::string text;
    if (!ReadWholeFile(path.toStdString(), text).ok) {
        ShowMessageBox(QString::fromUtf8(kOpenFileError));
        return;
    }
    std::istringstream in(text);
    DeviceImage read = image_;
    const ParameterFileResult result = ReadParameterFile(in, read);
    if (!result.accepted) {
        // Nothing changes: image, controls, file label and last path keep their values.
        ShowMessageBox(QString::fromUtf8(kIgnVersionMessage.In(languageIndex_)));
        return;
    }
    image_ = read;
    // The box's click action runs when the file changes its state, as a click would.
    if (result.extendedMonitor) checkBoxExtMonitor_->setChecked(*result.extendedMonitor);
    ApplyChange();
    labelFile2_->setText(path);
    lastFilePath_ = path;
    PresetDialogs();
}

void TFormHlav::SpeedButtonPrintClick() {
    SetBackground(labelHlaseni_, Colour::ButtonFace);
    const QLocale locale = QLocale::system();
    const auto line = PrintDateLine(languageIndex_, locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(),
                                    locale.toString(QTime::currentTime(), QLocale::LongFormat).toStdString());
    if (line) labelHlaseni_->setText(QString::fromStdString(*line));
    // The date line is longer than any progress message: the label widens over the (hidden)
    // gauge so that date and time reach the paper, and gets its size back afterwards.
    const QRect labelGeometry = labelHlaseni_->geometry();
    labelHlaseni_->resize(std::max(labelGeometry.width(), labelHlaseni_->sizeHint().width()), labelGeometry.height());
    link_->ArmMessageCountdown();
    SetMessageVisible(true);
    SetGaugeVisible(false);
    // The picture is taken on white; the window's normal background comes back afterwards.
    QWidget* client = centralWidget();
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
        const int top = menuBar()->isVisible() ? menuBar()->height() : 0;
        const QImage picture = grab(QRect(0, top, width(), height() - top)).toImage();
        printed = PrintImageOnePage(*printer, picture, &error);
    } else {
        error = QString::fromUtf8(kNoPrinter);
    }

    // Restored also when printing failed, so a failed print leaves no trace on the window.
    SetMessageVisible(false);
    labelHlaseni_->setGeometry(labelGeometry);
    client->setPalette(normal);
    client->setAutoFillBackground(normalFill);
    if (!printed) ShowMessageBox(error);
}

std::unique_ptr<QPrinter> TFormHlav::DefaultPrinter() {
    // Without any printer QPrinter silently becomes a PDF printer without a file.
    if (!DefaultPrinterAvailable()) return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return printer;
}

QString TFormHlav::ManualPath() const {
    const QString name = QString::fromUtf8(kManualDocument.In(languageIndex_));
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QStringList folders = {exeDir, exeDir + "/../share/doc/korvan2", QStringLiteral(KORVAN_DOC_DIR)};
    for (const QString& folder : folders) {
        const QFileInfo candidate(folder + "/" + name);
        if (candidate.isFile()) return candidate.absoluteFilePath();
    }
    return {};
}

void TFormHlav::MenuContensClick() {
    if (languageIndex_ > kLanguageGerman) return;
    const QString path = ManualPath();
    // A missing manual is no error: nothing happens.
    if (path.isEmpty()) return;
    const QUrl url = QUrl::fromLocalFile(path);
    if (options_.openUrl) {
        options_.openUrl(url);
    } else {
        QDesktopServices::openUrl(url);
    }
}

QString TFormHlav::AboutText() const {
    return QString::fromStdString(korvan::AboutText(languageIndex_, __DATE__, __TIME__));
}

void TFormHlav::MenuAboutClick() { ShowMessageBox(AboutText()); }

}  // namespace korvan
