#include "ui/window/port_controller.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QStatusBar>

#include "device/device_link.h"
#include "device/port_failure.h"
#include "device/qt_port_lister.h"
#include "files/ini_store.h"
#include "files/settings.h"
#include "params/language_tables.h"
#include "ui/port/port_dialog.h"
#include "ui/port/port_status_field.h"
#include "ui/window/dialogs.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"

namespace korvan {

namespace {
constexpr int kFirstComPort = 1;
constexpr int kLastComPort = MainMenu::kComItems;

bool InRange(int comPort) {
    return comPort >= kFirstComPort && comPort <= kLastComPort;
}
}  // namespace

PortController::PortController(QWidget& window, MainMenu& menu, QStatusBar& statusBar,
                               DeviceLink& link, SerialPort& port, IniStore& store,
                               Dialogs& dialogs, const ParameterModel& model)
    : window_(window),
      menu_(menu),
      dialogs_(dialogs),
      model_(model),
      link_(link),
      port_(port),
      store_(store),
      statusBar_(statusBar),
      lister_(dialogs.Options().portLister),
      stableNameFolder_(dialogs.Options().stableNameFolder.empty()
                            ? std::string(kStableNameFolder)
                            : dialogs.Options().stableNameFolder),
      reconnect_(link, port) {
    menu.comMenu->addSeparator();
    serialPortItem_ =
        MainMenu::AddItem(menu.comMenu, "MenuSerialPort",
                          QString::fromUtf8(kSerialPortMenuText.In(model.Language())));
    field_ = new PortStatusField(&statusBar);
    statusBar.addPermanentWidget(field_);
    for (QAction* item : menu.comItems) {
        connect(item, &QAction::triggered, this, [this, item] { OnComPortChosen(item); });
    }
    connect(serialPortItem_, &QAction::triggered, this, &PortController::OnSerialPortChosen);
    connect(&model, &ParameterModel::LanguageChanged, this, &PortController::ApplyLanguage);
}

PortController::~PortController() = default;

PortLister& PortController::Lister() {
    if (lister_ == nullptr) {
        ownLister_ = std::make_unique<QtPortLister>();
        lister_ = ownLister_.get();
    }
    return *lister_;
}

void PortController::Load(const IniStore& store) {
    Settings defaults;
    defaults.comPort = static_cast<std::uint8_t>(comPort_);
    comPort_ = ReadSettings(store, defaults).comPort;
    if (comPort_ > kLastComPort) comPort_ = kFirstComPort;
}

void PortController::Save(IniStore& store) const {
    Settings s;
    s.comPort = static_cast<std::uint8_t>(comPort_);
    SetSettings(store, s, kComPortKey);
}

void PortController::PrepareStore() {
    QDir().mkpath(QFileInfo(QString::fromStdString(store_.Path())).absolutePath());
}

void PortController::OpenChosenPort() {
    // 0 (only possible from the settings file) opens nothing.
    if (!InRange(comPort_)) {
        Close();
        return;
    }
    OpenRequested(comPort_);
    ShowState();
}

void PortController::OnComPortChosen(QAction* item) {
    const int n = menu_.ComNumberOf(item);
    if (n > 0) comPort_ = n;
    // A click on the checked item would uncheck it; exactly the chosen port stays checked.
    menu_.CheckComItem(comPort_);
    OpenChosenPort();
}

void PortController::OnSerialPortChosen() {
    const int used = ChooseInDialog(comPort_);
    if (used == 0) return;
    comPort_ = used;
    menu_.CheckComItem(comPort_);
    ShowState();
}

void PortController::OpenRequested(int comPort) {
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
        PrepareStore();
        StorePortDevice(store_, comPort, choice.device);
    }
    const PortOpenFailure failure = reconnect_.OpenRequested(choice.device);
    if (failure.Failed()) {
        dialogs_.ShowMessage(QString::fromUtf8(kComOpeningError) + "\n" +
                             QString::fromStdString(OpenFailureText(failure, model_.Language())));
    }
}

void PortController::Close() {
    reconnect_.Close();
}

void PortController::Tick() {
    reconnect_.Tick();
}

void PortController::ShowState() {
    const QString before = field_->text();
    field_->Show(comPort_, reconnect_.Device(), reconnect_.State());
    if (field_->text() != before) FitField();
}

void PortController::FitField() {
    // A longer text (German "reconnecting") gets its room now, not at the next layout pass,
    // so the field is never seen cut off.
    if (QLayout* layout = statusBar_.layout()) layout->activate();
}

int PortController::ChooseInDialog(int comPort) {
    const int target = InRange(comPort) ? comPort : kFirstComPort;
    PortDialog dialog(Lister(), &window_, stableNameFolder_);
    dialog.SetLanguage(model_.Language());
    dialog.SetComNumber(target);
    dialog.SetCurrentDevice(reconnect_.Device().empty() ? PortDeviceName(store_, target)
                                                        : reconnect_.Device());
    const bool accepted = dialogs_.RunPortDialog(dialog);
    const std::string device = accepted ? dialog.ChosenDevice() : std::string();
    if (device.empty()) return 0;
    PrepareStore();
    const WriteResult written = StorePortDevice(store_, target, device);
    if (!written.ok) {
        dialogs_.ShowMessage(QString::fromStdString(
            Fill(kUnableToWrite, model_.Language(), store_.Path()) + "\n" + written.error));
    }
    OpenRequested(target);
    return target;
}

void PortController::ApplyLanguage() {
    const std::uint8_t language = model_.Language();
    serialPortItem_->setText(QString::fromUtf8(kSerialPortMenuText.In(language)));
    field_->SetLanguage(language);
    FitField();
}

}  // namespace korvan
