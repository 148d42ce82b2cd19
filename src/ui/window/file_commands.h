// The desk commands: owns the open and save dialogs (made on first use), the folder and name
// of the last file ("LastFilePath"), and the commands open, save, print, manual and about.
// File formats and page layout are in files/; the parameters come from and go to the
// window's image through the hooks the window sets.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
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
class HelpWindow;
class MonitorColumn;
class ProgressRow;
struct FormOptions;

class FileCommands : public QObject {
    Q_OBJECT

  public:
    FileCommands(QMainWindow& window, DeviceImage& image, const std::uint8_t& languageIndex,
                 const FormOptions& options, DeviceLink& link, ProgressRow& progress,
                 MonitorColumn& monitor);
    ~FileCommands() override;

    // What the window does for the commands: take the controls into the (normalised) image
    // and show it again; show a changed image (normalised, programmed when asked); show a
    // modal message.
    std::function<void()> takeControls;
    std::function<void()> applyChange;
    std::function<void(const QString& text)> showMessage;
    // A file was opened and shown, or saved (after the label and the last path are set); its
    // path. May be empty.
    std::function<void(const QString& path)> opened;
    std::function<void(const QString& path)> saved;

    QString LastFilePath() const { return lastFilePath_; }
    void SetLastFilePath(const QString& path);

    void MenuOpenClick();
    // Opens a parameter file as the open dialog does once a file is chosen (a file named on
    // the command line comes here too): the same messages, and a refused file changes nothing.
    void OpenFile(const QString& path);
    void MenuSaveClick();
    void SpeedButtonPrintClick();
    // Prints a picture on one page of the default printer; a message says why it could not.
    void PrintPicture(const QImage& picture);
    void MenuContensClick();
    void MenuAboutClick();

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

  private:
    QFileDialog& OpenDialog();
    QFileDialog& SaveDialog();
    // The last file's folder and name into the dialog, just before it is shown.
    void PresetDialog(QFileDialog& dialog) const;
    QString RunFileDialog(QFileDialog& dialog);
    static std::unique_ptr<QPrinter> DefaultPrinter();

    QMainWindow& window_;
    DeviceImage& image_;
    const std::uint8_t& languageIndex_;
    const FormOptions& options_;
    DeviceLink& link_;
    ProgressRow& progress_;
    MonitorColumn& monitor_;
    QString lastFilePath_;
    QFileDialog* openDialog_ = nullptr;  // "OpenDialog1"
    QFileDialog* saveDialog_ = nullptr;  // "SaveDialog1"
    HelpWindow* helpWindow_ = nullptr;   // "HelpWindow"
};

}  // namespace korvan
