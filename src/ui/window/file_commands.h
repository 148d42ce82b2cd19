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

#include "params/device_image.h"

class QFileDialog;
class QMainWindow;
class QPrinter;
class QUrl;

namespace korvan {

class DeviceLink;
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
    // A file was opened or saved (after the label and the last path are set); may be empty.
    std::function<void(const QString& path)> opened;
    std::function<void(const QString& path)> saved;

    QString LastFilePath() const { return lastFilePath_; }
    void SetLastFilePath(const QString& path);

    void MenuOpenClick();
    void MenuSaveClick();
    void SpeedButtonPrintClick();
    void MenuContensClick();
    void MenuAboutClick();

    // The about box's text in the current language, with the build date and time.
    QString AboutText() const;
    // The manual document of the current language, or empty when it is not installed.
    QString ManualPath() const;

  private:
    QFileDialog& OpenDialog();
    QFileDialog& SaveDialog();
    void PresetDialogs();
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
};

}  // namespace korvan
