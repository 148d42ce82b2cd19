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

class QFileDialog;
class QMainWindow;
class QImage;
class QPrinter;
class QUrl;

namespace korvan {

class DeviceLink;
class Dialogs;
class HelpWindow;
class IniStore;
class ParameterModel;
class ProgressRow;

class FileCommands : public QObject {
    Q_OBJECT

  public:
    FileCommands(QMainWindow& window, ParameterModel& model, Dialogs& dialogs, DeviceLink& link,
                 ProgressRow& progress);
    ~FileCommands() override;

    QString LastFilePath() const { return lastFilePath_; }
    void SetLastFilePath(const QString& path);
    // The folder of the last file; empty when there was none.
    QString LastFolder() const;
    // The file the parameters in the window came from or went to; empty after a read or New.
    QString CurrentFile() const;
    // The last file ("IniDir").
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    void OnOpenChosen();
    // Opens a parameter file as the open dialog does once a file is chosen (a file named on
    // the command line comes here too): the same messages, and a refused file changes nothing.
    void OpenFile(const QString& path);
    void OnSaveChosen();
    void OnPrintChosen();
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

  signals:
    // A file was opened and shown, or saved (after the label and the last path are set).
    void Opened(const QString& path);
    void Saved(const QString& path);

  private:
    QFileDialog& OpenDialog();
    QFileDialog& SaveDialog();
    // The last file's folder and name into the dialog, just before it is shown.
    void PresetDialog(QFileDialog& dialog) const;
    QString RunFileDialog(QFileDialog& dialog);

    QMainWindow& window_;
    ParameterModel& model_;
    Dialogs& dialogs_;
    DeviceLink& link_;
    ProgressRow& progress_;
    QString lastFilePath_;
    QFileDialog* openDialog_ = nullptr;  // "OpenDialog1"
    QFileDialog* saveDialog_ = nullptr;  // "SaveDialog1"
    HelpWindow* helpWindow_ = nullptr;   // "HelpWindow"
};

}  // namespace korvan
