// The serial line as the window shows it: the open of the chosen COM number through the
// reconnect policy (an open the user asked for says why it failed, the retries stay silent),
// the first-run choice of a lone adapter, the "Serial port..." item and its dialog, and the
// status bar's permanent port field. The window only calls it from start-up, the Com menu,
// the tick and the language switch.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/port_choice.h"
#include "device/port_reconnect.h"

class QAction;
class QMenu;
class QStatusBar;
class QWidget;

namespace korvan {

class DeviceLink;
class IniStore;
class PortDialog;
class PortStatusField;
class SerialPort;

class PortController {
  public:
    struct Hooks {
        // Shows a modal message.
        std::function<void(const QString& text)> showMessage;
        // Runs the port dialog; true when it was accepted. Empty: the dialog's own exec().
        std::function<bool(PortDialog& dialog)> runDialog;
        // Makes sure the settings folder exists before a key is written.
        std::function<void()> prepareStore;
    };

    // `lister` null: the system's ports (QSerialPortInfo). `stableNameFolder` empty: the
    // system's folder of stable names.
    PortController(QWidget& window, QMenu& comMenu, QStatusBar& statusBar, DeviceLink& link,
                   SerialPort& port, IniStore& store, PortLister* lister,
                   std::string stableNameFolder, Hooks hooks);
    ~PortController();
    PortController(const PortController&) = delete;
    PortController& operator=(const PortController&) = delete;

    // Opens the device of COM number `comPort` (1..10) because the user asked for it; 0 or a
    // number out of range closes the port. A failure shows "Com opening error" and the reason
    // in `language`.
    void OpenRequested(int comPort, std::uint8_t language);
    void Close();

    // Before the link's tick: the reconnect policy.
    void Tick();
    // After the link's tick: the status field.
    void ShowState(int comPort);

    // The dialog for COM number `comPort`; on OK the chosen device is stored and opened.
    // Returns the COM number used (the dialog assigns to COM1 when none is chosen), 0 when
    // the dialog was cancelled.
    int ChooseInDialog(int comPort, std::uint8_t language);

    void SetLanguage(std::uint8_t language);

    QAction* SerialPortItem() const { return serialPortItem_; }
    PortStatusField* Field() const { return field_; }
    const PortReconnect& Reconnect() const { return reconnect_; }

  private:
    PortLister& Lister();
    void FitField();

    QWidget& window_;
    DeviceLink& link_;
    SerialPort& port_;
    IniStore& store_;
    QStatusBar& statusBar_;
    PortLister* lister_;
    std::unique_ptr<PortLister> ownLister_;
    std::string stableNameFolder_;
    Hooks hooks_;
    PortReconnect reconnect_;
    std::uint8_t language_ = 1;
    QAction* serialPortItem_ = nullptr;
    PortStatusField* field_ = nullptr;
};

}  // namespace korvan
