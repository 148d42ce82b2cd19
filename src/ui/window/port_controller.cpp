#include "ui/window/port_controller.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QStatusBar>

#include "device/device_link.h"
#include "device/port_failure.h"
#include "device/qt_port_lister.h"
#include "files/ini_store.h"
#include "files/settings.h"
#include "ui/port/port_dialog.h"
#include "ui/port/port_status_field.h"
#include "ui/window/main_menu.h"

namespace korvan {

namespace {
constexpr int kFirstComPort = 1;
constexpr int kLastComPort = MainMenu::kComItems;

bool InRange(int comPort) {
    return comPort >= kFirstComPort && comPort <= kLastComPort;
}
}  // namespace

PortController::PortController(QWidget& window, QMenu& comMenu, QStatusBar& statusBar,
                               DeviceLink& link, SerialPort& port, IniStore& store,
                               PortLister* lister, std::string stableNameFolder, Hooks hooks)
    : window_(window),
      link_(link),
      port_(port),
      store_(store),
      statusBar_(statusBar),
      lister_(lister),
      stableNameFolder_(stableNameFolder.empty() ? std::string(kStableNameFolder)
                                                 : std::move(stableNameFolder)),
      hooks_(std::move(hooks)),
      reconnect_(link, port) {
    comMenu.addSeparator();
    serialPortItem_ = MainMenu::AddItem(&comMenu, "MenuSerialPort",
                                        QString::fromUtf8(kSerialPortMenuText.In(language_)));
    field_ = new PortStatusField(&statusBar);
    statusBar.addPermanentWidget(field_);
}

PortController::~PortController() = default;

PortLister& PortController::Lister() {
    if (lister_ == nullptr) {
        ownLister_ = std::make_unique<QtPortLister>();
        lister_ = ownLister_.get();
    }
    return *lister_;
}

void PortController::OpenRequested(int comPort, std::uint8_t language) {
    if (!InRange(comPort)) {
        Close();
        return;
    }
    // Adapters are only looked for when no key names the device: a configured workshop PC
    // pays nothing for the listing.
    std::vector<std::string> adapters;
    const std::string key = "COM" + std::to_string(comPort);
    if (store_.ReadString(kPortsSection, key, "").empty()) {
        adapters = StableAdapterNames(Lister().List(), stableNameFolder_);
    }
    const PortChoice choice = ChoosePortDevice(store_, comPort, adapters);
    if (choice.storeAsKey) {
        if (hooks_.prepareStore) hooks_.prepareStore();
        StorePortDevice(store_, comPort, choice.device);
    }
    const PortOpenFailure failure = reconnect_.OpenRequested(choice.device);
    if (failure.Failed() && hooks_.showMessage) {
        hooks_.showMessage(QString::fromUtf8(kComOpeningError) + "\n" +
                           QString::fromStdString(OpenFailureText(failure, language)));
    }
}

void PortController::Close() {
    reconnect_.Close();
}

void PortController::Tick() {
    reconnect_.Tick();
}

void PortController::ShowState(int comPort) {
    const QString before = field_->text();
    field_->Show(comPort, reconnect_.Device(), reconnect_.State());
    if (field_->text() != before) FitField();
}

void PortController::FitField() {
    // A longer text (German "reconnecting") gets its room now, not at the next layout pass,
    // so the field is never seen cut off.
    if (QLayout* layout = statusBar_.layout()) layout->activate();
}

int PortController::ChooseInDialog(int comPort, std::uint8_t language) {
    const int target = InRange(comPort) ? comPort : kFirstComPort;
    PortDialog dialog(Lister(), &window_, stableNameFolder_);
    dialog.SetLanguage(language);
    dialog.SetCurrentDevice(reconnect_.Device().empty() ? PortDeviceName(store_, target)
                                                        : reconnect_.Device());
    const bool accepted =
        hooks_.runDialog ? hooks_.runDialog(dialog) : dialog.exec() == QDialog::Accepted;
    const std::string device = accepted ? dialog.ChosenDevice() : std::string();
    if (device.empty()) return 0;
    if (hooks_.prepareStore) hooks_.prepareStore();
    const WriteResult written = StorePortDevice(store_, target, device);
    if (!written.ok && hooks_.showMessage) {
        hooks_.showMessage(
            QString("Unable to write to %1").arg(QString::fromStdString(store_.Path())) + "\n" +
            QString::fromStdString(written.error));
    }
    OpenRequested(target, language);
    return target;
}

void PortController::SetLanguage(std::uint8_t language) {
    language_ = language;
    serialPortItem_->setText(QString::fromUtf8(kSerialPortMenuText.In(language)));
    field_->SetLanguage(language);
    FitField();
}

}  // namespace korvan
