// The settings file and the state file, and the serial port choice.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <ctime>

#include "files/qt_settings_folder.h"
#include "files/settings.h"
#include "files/state_file.h"
#include "params/binding.h"
#include "ui/window/file_commands.h"
#include "ui/window/form_hlav.h"
#include "ui/window/main_menu.h"
#include "ui/window/monitor_column.h"
#include "ui/window/parameter_pages.h"
#include "ui/window/port_controller.h"
#include "ui/window/progress_row.h"

namespace korvan {

namespace {

// How far below the window's top edge its title bar is looked for on the screens.
constexpr int kTitleBarProbe = 8;
// A temporary file younger than this may belong to another copy's save in progress.
constexpr long long kStaleTemporarySeconds = 10;

QString UnableToWrite(const QString& path, const std::string& reason) {
    return QString("Unable to write to %1").arg(path) + "\n" + QString::fromStdString(reason);
}

}  // namespace

QString TFormHlav::SettingsFolder() {
    // The same folder as the command-line tool's.
    return QString::fromStdString(SettingsFolderPath());
}

QString TFormHlav::SettingsFilePath() const {
    return SettingsFolder() + "/" + QString::fromUtf8(kSettingsFileName);
}

QString TFormHlav::StateFilePath() const {
    return SettingsFolder() + "/" + QString::fromUtf8(kStateFileName);
}

void TFormHlav::LoadSettings() {
    // What a kill during an earlier save left behind.
    RemoveStaleTemporaryFiles(SettingsFilePath().toStdString(), kStaleTemporarySeconds);
    RemoveStaleTemporaryFiles(StateFilePath().toStdString(), kStaleTemporarySeconds);
    store_.Load();
    // What start-up has set so far is the default of every missing key.
    Settings defaults;
    defaults.left = x();
    defaults.top = y();
    defaults.comPort = comPortNumber_;
    defaults.language = languageIndex_;
    const Settings s = ReadSettings(store_, defaults);

    // A position saved on a screen that is no longer there (a docked laptop taken to the
    // workshop) would put the window out of reach; it then stays centred.
    if (QGuiApplication::screenAt(QPoint(s.left + width() / 2, s.top + kTitleBarProbe)) !=
        nullptr) {
        move(s.left, s.top);
    }
    comPortNumber_ = s.comPort;
    languageIndex_ = s.language;
    progress_->SetFileName(QString::fromStdString(s.file));
    files_->SetLastFilePath(QString::fromStdString(s.iniDir));
    pages_->Tabs()->setCurrentIndex(s.activePage - 1);
    if (s.extendedMonitor) monitor_->SetExtended(*s.extendedMonitor);

    // A state file that could not be understood would be replaced at exit: keep it first.
    const StateFileLoad state = LoadStateFile(StateFilePath().toStdString(), image_);
    if (state.present && !state.understood) {
        const std::string path = StateFilePath().toStdString();
        const std::time_t now = std::time(nullptr);
        std::string kept;
        const WriteResult keep = KeepStateFile(path, now, kept);
        ShowMessageBox(keep.ok ? QString::fromUtf8(kStateFileKept.In(languageIndex_))
                                     .arg(StateFilePath(), QString::fromStdString(kept))
                               : UnableToWrite(QString::fromStdString(KeptStateFileName(path, now)),
                                               keep.error));
    }
}

void TFormHlav::SaveSettings() {
    Settings s;
    s.left = x();
    s.top = y();
    s.comPort = comPortNumber_;
    s.language = languageIndex_;
    s.file = progress_->FileName().toStdString();
    s.iniDir = files_->LastFilePath().toStdString();
    s.activePage = pages_->Tabs()->currentIndex() + 1;
    s.extendedMonitor = monitor_->Extended();

    QDir().mkpath(SettingsFolder());
    const WriteResult written = WriteSettings(store_, s);
    if (!written.ok) ShowMessageBox(UnableToWrite(SettingsFilePath(), written.error));
    // The parameters in memory matter more than the window position: the state file is
    // written even when the settings file could not be.
    // A state file that cannot be written would lose the tune in memory without a word: say
    // so (the old file, if any, is still intact).
    const WriteResult state = SaveStateFile(StateFilePath().toStdString(), image_);
    if (!state.ok) ShowMessageBox(UnableToWrite(StateFilePath(), state.error));
}

void TFormHlav::OpenComPort() {
    // 0 (only possible from the settings file) opens nothing.
    if (comPortNumber_ < 1 || comPortNumber_ > kMaxComPort) {
        ports_->Close();
        return;
    }
    ports_->OpenRequested(comPortNumber_, languageIndex_);
    ports_->ShowState(comPortNumber_);
}

void TFormHlav::MenuCom1Click(QAction* sender) {
    const int n = menu_->ComNumberOf(sender);
    if (n > 0) comPortNumber_ = static_cast<std::uint8_t>(n);
    // A click on the checked item would uncheck it; exactly the chosen port stays checked.
    menu_->CheckComItem(comPortNumber_);
    OpenComPort();
}

void TFormHlav::MenuSerialPortClick() {
    const int used = ports_->ChooseInDialog(comPortNumber_, languageIndex_);
    if (used == 0) return;
    comPortNumber_ = static_cast<std::uint8_t>(used);
    menu_->CheckComItem(comPortNumber_);
    ports_->ShowState(comPortNumber_);
}

}  // namespace korvan
