// The program's one window. It keeps the 55 ms tick, start-up and shutdown, the settings and
// the port, the start commands (new, read, verify, program, exit) and the language, and
// wires its collaborators, each of which owns its widgets and state:
//   MainMenu, ToolBar   the menu bar and the tool bar (items only; wired here)
//   ProgressRow         message label, progress gauge, "No Connection", file name
//   MonitorColumn       the live read-outs
//   ParameterPages      the four pages and their binding to the image
//   FileCommands        open, save, print, manual, about
//   HintStatus          hints, tooltips and the status bar
//   LinkView            what the device link shows, handed to the collaborators above
// The window owns the parameter image, the device link and the settings store. The rules
// are in the layers below (params for the fields and their limits, device for the link,
// files for the settings).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/device_link.h"
#include "device/map_cursor.h"
#include "device/serial_port.h"
#include "files/ini_store.h"
#include "params/device_image.h"

class QFileDialog;
class QPrinter;
class QTimer;
class QUrl;

namespace korvan {

class FileCommands;
class HistoryController;
class HintStatus;
class LinkView;
class MainMenu;
class PortController;
class PortDialog;
class PortLister;
class QtTranslations;
class MonitorColumn;
class ParameterPages;
class ParameterUndo;
class ProgressRow;
class RideLogController;
class ToolBar;

// What the window takes from outside: the program's arguments (without the program name) and
// the one place where it shows a modal message, so that tests can answer message boxes. An
// empty function shows a QMessageBox with an OK button.
struct FormOptions {
    QStringList arguments;
    std::function<void(const QString& text)> messageBox;
    // Runs a file dialog and returns the chosen path, empty when cancelled. Empty: the
    // dialog's own exec().
    std::function<QString(QFileDialog& dialog)> fileDialog;
    // The printer to print on. Empty: the system's default printer (none when there is none).
    std::function<std::unique_ptr<QPrinter>()> printer;
    // Opens a document with the desktop's program. Empty: QDesktopServices::openUrl.
    std::function<bool(const QUrl& url)> openUrl;
    // The serial ports the system has now. Null: QSerialPortInfo's list.
    PortLister* portLister = nullptr;
    // Where the stable device names are. Empty: /dev/serial/by-id.
    std::string stableNameFolder;
    // Runs the serial port dialog; true when accepted. Empty: the dialog's own exec().
    std::function<bool(PortDialog& dialog)> portDialog;
    // Where F1 looks for the manual. Empty: the help window's own list (ManualFolders()).
    QStringList manualFolders;
};

class TFormHlav : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kTickMs = 55;
    static constexpr int kWindowWidth = 973;
    static constexpr int kWindowHeight = 611;

    // The window is built and FormCreate has run when the constructor returns; the tick
    // timer is running. The port belongs to the caller and must outlive the window.
    TFormHlav(SerialPort& port, FormOptions options, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // Where the settings file and the state file live.
    static QString SettingsFolder();
    QString SettingsFilePath() const;
    QString StateFilePath() const;

    const DeviceImage& Image() const { return image_; }
    DeviceLink& Link() { return *link_; }
    std::uint8_t LanguageIndex() const { return languageIndex_; }
    std::uint8_t ComPortNumber() const { return comPortNumber_; }
    const MapCursor& Cursor() const { return cursor_; }
    QTimer* Timer1() const { return timer1_; }
    // The short and long hint of a control or menu item ("short|long").
    QString HintOf(const QString& objectName) const;

    // The wiring points for new collaborators.
    MainMenu& Menu() { return *menu_; }
    LinkView& View() { return *linkView_; }
    PortController& Ports() { return *ports_; }
    // Undo and redo; a change made from outside the editor becomes a step with ApplyAsStep.
    ParameterUndo& Undo() { return *undo_; }
    RideLogController& RideLog() { return *rideLog_; }
    HistoryController& History() { return *history_; }

    // The tick: the link's poll, operation step, message countdown and "No Connection"
    // counter, then the map cursor.
    void Timer1Timer();
    // After a commit: normalise the image, show it, program the unit when that is asked for.
    void ApplyChange();
    void ApplyLanguage(std::uint8_t languageIndex);

  public slots:
    void MenuNewClick();
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    void MenuExitClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Start-up and shutdown (form_hlav.cpp).
    void BuildWindow();
    void Wire();
    void WireUndo();
    void FormCreate();
    void FormClose();
    void CentreOnScreen();
    void ShowMessageBox(const QString& text);
    void NormalizeImage();
    // The controls into the image, normalised, and shown again: before the image leaves.
    void TakeControls();
    void ShowMonitorFrame(const std::uint8_t* frame);

    // Settings and the port (form_settings.cpp).
    void LoadSettings();
    void SaveSettings();
    void OpenComPort();
    void MenuCom1Click(QAction* sender);
    void MenuSerialPortClick();

    DeviceImage image_;
    SerialPort& port_;
    FormOptions options_;
    IniStore store_;
    std::uint8_t languageIndex_ = 0;
    std::uint8_t comPortNumber_ = 0;
    MapCursor cursor_;

    // Declared so that each is destroyed before what it refers to.
    std::unique_ptr<HintStatus> hints_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<ToolBar> toolBar_;
    std::unique_ptr<ProgressRow> progress_;
    std::unique_ptr<MonitorColumn> monitor_;
    std::unique_ptr<LinkView> linkView_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<ParameterPages> pages_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<PortController> ports_;
    std::unique_ptr<QtTranslations> qtTexts_;
    std::unique_ptr<ParameterUndo> undo_;
    std::unique_ptr<RideLogController> rideLog_;
    std::unique_ptr<HistoryController> history_;
    QTimer* timer1_ = nullptr;
    // Set while Timer1Timer runs: a box it asks for opens after it has returned.
    bool inTick_ = false;
};

}  // namespace korvan
