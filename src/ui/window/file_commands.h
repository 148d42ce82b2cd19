// The desk commands: owns the open and save dialogs (made on first use), the folder and name
// of the last file ("LastFilePath", kept in the settings), and the commands open, save, print,
// manual and about. File formats and page layout are in files/; the parameters come from and
// go to the model.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include <vector>

#include "files/parameter_file.h"
#include "params/device_image.h"

class QAction;
class QFileDialog;
class QMainWindow;
class QStatusBar;
class QImage;
class QPrinter;
class QUrl;

namespace korvan {

class DeviceLink;
class Dialogs;
class HelpWindow;
class IniStore;
class MainMenu;
class ParameterModel;
class ProgressRow;
class RecentFilesMenu;

class FileCommands : public QObject {
    Q_OBJECT

  public:
    // Save As and the recent files go into the File menu of `menu`, the file name field into
    // `statusBar`.
    FileCommands(QMainWindow& window, ParameterModel& model, Dialogs& dialogs, DeviceLink& link,
                 ProgressRow& progress, MainMenu& menu, QStatusBar& statusBar);
    ~FileCommands() override;

    QString LastFilePath() const { return lastFilePath_; }
    void SetLastFilePath(const QString& path);
    // The folder of the last file; empty when there was none.
    QString LastFolder() const;
    // The file the parameters in the window came from or went to; empty after a read or New.
    QString CurrentFile() const;
    // The last file ("IniDir").
    // The last file ("IniDir") and the recent files.
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    void OnOpenChosen();
    // Opens a parameter file as the open dialog does once a file is chosen (a file named on
    // the command line comes here too): the same messages, and a refused file changes nothing.
    void OpenFile(const QString& path);
    // Save (F2, Ctrl+S): the save dialog preset with the current file, as tuners know it.
    void OnSaveChosen();
    // Save As (Ctrl+Shift+S): the dialog beside the current file, preset with a name no file
    // has yet ("race-2.ign").
    void OnSaveAsChosen();
    void OnManualChosen();
    void OnAboutChosen();

    // The about box's text in the current language, with the build date and time.
    QString AboutText() const;
    // The manual document of the current language, or empty when it is not installed.
    QString ManualPath() const;
    // The box after Open that lists what the file held but the program did not take: one
    // line per entry, in the current language. Empty when nothing was ignored.
    static QString IgnoredEntriesText(const std::vector<IgnoredEntry>& ignored,
                                      std::uint8_t language);
    // The help window once F1 has opened it, else null.
    HelpWindow* Help() const { return helpWindow_; }
    RecentFilesMenu& Recent() const { return *recent_; }

  signals:
    // A file was opened and shown, or saved (after the label and the last path are set).
    void Opened(const QString& path);
    void Saved(const QString& path);

  private:
    QFileDialog& OpenDialog();
    QFileDialog& SaveDialog();
    // The last file's folder and its name (or a free name beside it) into the dialog, just
    // before it is shown.
    void PresetDialog(QFileDialog& dialog, bool sameName) const;
    QString RunFileDialog(QFileDialog& dialog, bool sameName = true);
    void SaveTo(const QString& path);
    void ApplyLanguage();

    QMainWindow& window_;
    ParameterModel& model_;
    Dialogs& dialogs_;
    DeviceLink& link_;
    ProgressRow& progress_;
    QString lastFilePath_;
    QFileDialog* openDialog_ = nullptr;  // "OpenDialog1"
    QFileDialog* saveDialog_ = nullptr;  // "SaveDialog1"
    HelpWindow* helpWindow_ = nullptr;   // "HelpWindow"
    QAction* saveAsItem_ = nullptr;      // "MenuSaveAs"
    RecentFilesMenu* recent_ = nullptr;
};

}  // namespace korvan
