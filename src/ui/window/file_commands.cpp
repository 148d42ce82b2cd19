#include "ui/window/file_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>
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
#include "ui/window/file_messages.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/progress_row.h"
#include "ui/window/recent_files_menu.h"

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
const LocalizedText kSaveAsItem{"Uložit &jako...", "Save &As...", "Speichern &unter..."};
// A file of garbage would make a box taller than the screen: the first entries tell enough.
constexpr std::size_t kMostIgnoredListed = 30;
const LocalizedText kIgnoredMore{"... a dalších %1", "... and %1 more", "... und %1 weitere"};

// "race-2.ign" beside "race.ign" (or "race-3.ign" beside "race-2.ign"): the first such name
// no file has, so Save As never offers to overwrite the set it came from.
QString FreeNameBeside(const QFileInfo& file) {
    constexpr int kMostTried = 999;
    QString base = file.completeBaseName();
    const QString suffix = file.suffix().isEmpty() ? QStringLiteral("ign") : file.suffix();
    const QRegularExpression numbered(QStringLiteral("^(.*)-(\\d+)$"));
    int number = 2;
    if (const QRegularExpressionMatch m = numbered.match(base); m.hasMatch()) {
        base = m.captured(1);
        number = m.captured(2).toInt() + 1;
    }
    const QDir folder = file.absoluteDir();
    for (int tried = 0; tried < kMostTried; ++tried, ++number) {
        const QString name = QString("%1-%2.%3").arg(base).arg(number).arg(suffix);
        if (!folder.exists(name)) return name;
    }
    return file.fileName();
}

}  // namespace

FileCommands::FileCommands(QMainWindow& window, ParameterModel& model, Dialogs& dialogs,
                           DeviceLink& link, ProgressRow& progress, MainMenu& menu,
                           QStatusBar& statusBar)
    : window_(window),
      model_(model),
      dialogs_(dialogs),
      link_(link),
      progress_(progress),
      saveAsItem_(menu.saveAsItem) {
    recent_ = new RecentFilesMenu(*menu.recentMenu, statusBar, model, this);
    connect(recent_, &RecentFilesMenu::OpenRequested, this, &FileCommands::OpenFile);
    connect(this, &FileCommands::Opened, recent_, &RecentFilesMenu::Add);
    connect(this, &FileCommands::Saved, recent_, &RecentFilesMenu::Add);
    connect(&progress, &ProgressRow::FileNameChanged, recent_, &RecentFilesMenu::ShowFileName);
    connect(saveAsItem_, &QAction::triggered, this, &FileCommands::OnSaveAsChosen);
    connect(&model, &ParameterModel::LanguageChanged, this, &FileCommands::ApplyLanguage);
    ApplyLanguage();
}

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
    recent_->Load(store);
    recent_->ShowFileName(progress_.FileName());
}

void FileCommands::Save(IniStore& store) const {
    Settings s;
    s.iniDir = lastFilePath_.toStdString();
    SetSettings(store, s, kIniDirKey);
    recent_->Save(store);
}

void FileCommands::ApplyLanguage() {
    saveAsItem_->setText(QString::fromUtf8(kSaveAsItem.In(model_.Language())));
}

void FileCommands::PresetDialog(QFileDialog& dialog, bool sameName) const {
    if (lastFilePath_.isEmpty()) return;
    const QFileInfo last(lastFilePath_);
    dialog.setDirectory(last.absolutePath());
    dialog.selectFile(sameName ? last.fileName() : FreeNameBeside(last));
}

QString FileCommands::RunFileDialog(QFileDialog& dialog, bool sameName) {
    // Preset only now: a name selected into the hidden dialog earlier left its completer
    // with a pending popup that came up over the main window after the dialog closed.
    PresetDialog(dialog, sameName);
    return dialogs_.ChooseFile(dialog);
}

void FileCommands::OnSaveChosen() {
    QFileDialog& dialog = SaveDialog();
    dialog.selectNameFilter(kIgnFilter);
    SaveTo(RunFileDialog(dialog));
}

void FileCommands::OnSaveAsChosen() {
    QFileDialog& dialog = SaveDialog();
    dialog.selectNameFilter(kIgnFilter);
    SaveTo(RunFileDialog(dialog, false));
}

void FileCommands::SaveTo(const QString& path) {
    if (path.isEmpty()) return;
    model_.TakeEdits();
    // The new file replaces the old one only once it is completely on disk: a full disk or a
    // pulled stick never leaves a half-written tune in place of the old one.
    const WriteResult written = WriteFileAtomically(
        path.toStdString(), ParameterFileText(model_.Image(), model_.ExtendedMonitor()));
    if (!written.ok) {
        dialogs_.ShowMessage(SaveFailureText(path, written, model_.Language()));
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
    const std::uint8_t language = model_.Language();
    const QString refusal = OpenRefusalText(path, load, language);
    if (!refusal.isEmpty()) {
        // Nothing changes: image, controls, file label and last path keep their values.
        dialogs_.ShowMessage(refusal);
        return;
    }
    const ParameterFileResult& result = load.parsed;
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
