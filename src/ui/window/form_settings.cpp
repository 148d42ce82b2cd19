// The settings file and the state file: the window keeps its position, the language and the
// parameters in memory; every collaborator loads and saves its own keys.
#include <QGuiApplication>
#include <QScreen>
#include <ctime>

#include "files/qt_settings_folder.h"
#include "files/settings.h"
#include "files/state_file.h"
#include "params/language_tables.h"
#include "ui/window/dialogs.h"
#include "ui/window/file_commands.h"
#include "ui/window/form_hlav.h"
#include "ui/window/keep_advance_option.h"
#include "ui/window/monitor_column.h"
#include "ui/window/parameter_pages.h"
#include "ui/window/port_controller.h"
#include "ui/window/progress_row.h"
#include "ui/window/surface_window_controller.h"
#include "ui/window/window_placement.h"

namespace korvan {

namespace {

// A temporary file younger than this may belong to another copy's save in progress.
constexpr long long kStaleTemporarySeconds = 10;

QString UnableToWrite(std::uint8_t language, const std::string& path, const std::string& reason) {
    return QString::fromStdString(Fill(kUnableToWrite, language, path) + "\n" + reason);
}

}  // namespace

QString TFormHlav::SettingsFolder() {
    // The same folder as the command-line tool's.
    return QString::fromStdString(SettingsFolderPath());
}

QString TFormHlav::SettingsFilePath() {
    return SettingsFolder() + "/" + QString::fromUtf8(kSettingsFileName);
}

QString TFormHlav::StateFilePath() {
    return SettingsFolder() + "/" + QString::fromUtf8(kStateFileName);
}

std::uint8_t TFormHlav::LoadSettings() {
    // What a kill during an earlier save left behind.
    RemoveStaleTemporaryFiles(SettingsFilePath().toStdString(), kStaleTemporarySeconds);
    RemoveStaleTemporaryFiles(StateFilePath().toStdString(), kStaleTemporarySeconds);
    store_.Load();
    // What start-up has set so far is the default of every missing key.
    Settings defaults;
    defaults.left = x();
    defaults.top = y();
    defaults.language = model_->Language();
    const Settings s = ReadSettings(store_, defaults);

    // A position saved on a screen that is no longer there (a docked laptop taken to the
    // workshop) or at another scale would put the window out of reach: it is fitted into a
    // screen there is now.
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    move(FitWindowPosition(QPoint(s.left, s.top), frameGeometry().size(), areas));
    ports_->Load(store_);
    progress_->Load(store_);
    files_->Load(store_);
    pages_->Load(store_);
    monitor_->Load(store_);
    keepAdvance_->Load(store_);
    surface_->Load(store_);
    LoadStateFile();
    return s.language;
}

void TFormHlav::LoadStateFile() {
    // A state file that could not be understood would be replaced at exit: keep it first.
    const std::string path = StateFilePath().toStdString();
    const StateFileLoad state = korvan::LoadStateFile(path, model_->MutableImage());
    if (!state.present || state.understood) return;
    const std::time_t now = std::time(nullptr);
    std::string kept;
    const WriteResult keep = KeepStateFile(path, now, kept);
    const std::uint8_t language = model_->Language();
    dialogs_->ShowMessage(keep.ok
                              ? QString::fromStdString(Fill(kStateFileKept, language, path, kept))
                              : UnableToWrite(language, KeptStateFileName(path, now), keep.error));
}

void TFormHlav::SaveSettings() {
    Settings s;
    s.left = x();
    s.top = y();
    s.language = model_->Language();
    // The keys are set in the order the file has always had them, and the file is replaced
    // once, starting from what it holds now (lines written by hand stay).
    const bool readable = store_.Load();
    SetSettings(store_, s, kPositionKeys);
    ports_->Save(store_);
    SetSettings(store_, s, kLanguageKey);
    progress_->Save(store_);
    files_->Save(store_);
    pages_->Save(store_);
    monitor_->Save(store_);
    keepAdvance_->Save(store_);
    surface_->Save(store_);
    const std::string settingsPath = SettingsFilePath().toStdString();
    const WriteResult written =
        readable
            ? store_.WriteLines()
            : WriteResult{false, settingsPath + ": the file cannot be read, so it is not replaced"};
    if (!written.ok) dialogs_->ShowMessage(UnableToWrite(s.language, settingsPath, written.error));
    // The parameters in memory matter more than the window position: the state file is
    // written even when the settings file could not be.
    // A state file that cannot be written would lose the tune in memory without a word: say
    // so (the old file, if any, is still intact).
    const WriteResult state = SaveStateFile(StateFilePath().toStdString(), model_->Image());
    if (!state.ok)
        dialogs_->ShowMessage(
            UnableToWrite(s.language, StateFilePath().toStdString(), state.error));
}

}  // namespace korvan
