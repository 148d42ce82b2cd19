// The serial line as the window shows it: the open of the chosen COM number through the
// reconnect policy (an open the user asked for says why it failed, the retries stay silent),
// the first-run choice of a lone adapter, the COM number chosen ("ComPort" in the settings)
// with the check marks of the Com menu, the "Serial port..." item and its dialog, and the
// status bar's permanent port field. The window calls it from start-up and the tick.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
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
class Dialogs;
class IniStore;
class MainMenu;
class ParameterModel;
class PortDialog;
class PortStatusField;
class SerialPort;

class PortController : public QObject {
    Q_OBJECT

  public:
    // The lister and the folder of stable names come from the dialogs' options (null, empty:
    // the system's). The Com items of `menu` are connected here.
    PortController(QWidget& window, MainMenu& menu, QStatusBar& statusBar, DeviceLink& link,
                   SerialPort& port, IniStore& store, Dialogs& dialogs,
                   const ParameterModel& model);
    ~PortController() override;
    PortController(const PortController&) = delete;
    PortController& operator=(const PortController&) = delete;

    // The COM number chosen (1..10; 0 from the settings opens nothing).
    int ComPortNumber() const { return comPort_; }
    // "ComPort"; a number above the menu's is taken as 1.
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    // Opens the device of the chosen COM number because the user asked for it (start-up, the
    // Com menu); 0 closes the port. A failure shows "Com opening error" and the reason.
    void OpenChosenPort();
    // Opens the device of COM number `comPort` (1..10); 0 or a number out of range closes the
    // port.
    void OpenRequested(int comPort);
    void Close();

    // Before the link's tick: the reconnect policy.
    void Tick();
    // After the link's tick: the status field.
    void ShowState();

    // The Com menu: exactly the chosen item keeps its check mark.
    void OnComPortChosen(QAction* item);
    // "Serial port...": the dialog for the chosen COM number; on OK the chosen device is
    // stored and opened (on COM1 when none was chosen).
    void OnSerialPortChosen();
    // Returns the COM number used, 0 when the dialog was cancelled.
    int ChooseInDialog(int comPort);

    void ApplyLanguage();

    QAction* SerialPortItem() const { return serialPortItem_; }
    PortStatusField* Field() const { return field_; }
    const PortReconnect& Reconnect() const { return reconnect_; }

  private:
    PortLister& Lister();
    void FitField();
    // Makes sure the settings folder exists before a key is written.
    void PrepareStore();

    QWidget& window_;
    MainMenu& menu_;
    Dialogs& dialogs_;
    const ParameterModel& model_;
    int comPort_ = 1;
    DeviceLink& link_;
    SerialPort& port_;
    IniStore& store_;
    QStatusBar& statusBar_;
    PortLister* lister_;
    std::unique_ptr<PortLister> ownLister_;
    std::string stableNameFolder_;
    PortReconnect reconnect_;
    QAction* serialPortItem_ = nullptr;
    PortStatusField* field_ = nullptr;
};

}  // namespace korvan
