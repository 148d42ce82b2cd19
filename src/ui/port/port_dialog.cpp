#include "ui/port/port_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvan {

const LocalizedText kSerialPortMenuText{"Sériový port...", "Serial port...",
                                        "Serielle Schnittstelle..."};

namespace {
const LocalizedText kTitle{"Sériový port", "Serial port", "Serielle Schnittstelle"};
const LocalizedText kHeaders[PortDialog::ColumnCount] = {
    {"Zařízení", "Device", "Gerät"},
    {"Popis", "Description", "Beschreibung"},
    {"Výrobce", "Manufacturer", "Hersteller"},
    {"Sériové číslo", "Serial number", "Seriennummer"},
    {"USB výrobce:produkt", "USB vendor:product", "USB Hersteller:Produkt"},
};
const LocalizedText kShowAll{"Zobrazit všechny porty", "Show all ports",
                             "Alle Schnittstellen anzeigen"};
const LocalizedText kPath{"Cesta:", "Path:", "Pfad:"};
const LocalizedText kCheck{"Zkontrolovat", "Check", "Prüfen"};
const LocalizedText kChecking{"Kontroluji %1 ...", "Checking %1 ...", "Prüfe %1 ..."};
const LocalizedText kAllAdapters{"všechny převodníky", "every adapter", "alle Adapter"};
const LocalizedText kSetsCom{"Zařízení pro COM%1", "The device for COM%1", "Das Gerät für COM%1"};
const LocalizedText kStableName{"Stálý název: %1", "Stable name: %1", "Fester Name: %1"};
const LocalizedText kNoStableName{
    "V %1 nemá stálý název: po novém zapojení může dostat jiný.",
    "No stable name in %1: plugged in again, it may get another name.",
    "Kein fester Name in %1: neu eingesteckt, kann es einen anderen Namen bekommen."};
constexpr int kMinimumWidth = 640;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
}  // namespace

PortDialog::PortDialog(PortLister& lister, QWidget* parent, std::string stableNameFolder)
    : QDialog(parent),
      lister_(lister),
      stableNameFolder_(std::move(stableNameFolder)),
      list_(new QTreeWidget(this)),
      showAll_(new QCheckBox(this)),
      comLabel_(new QLabel(this)),
      pathLabel_(new QLabel(this)),
      path_(new QLineEdit(this)),
      stableLabel_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      checkButton_(buttons_->addButton(QString(), QDialogButtonBox::ActionRole)),
      findings_(new QPlainTextEdit(this)) {
    setObjectName("PortDialog");
    list_->setObjectName("PortList");
    list_->setColumnCount(ColumnCount);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);  // keeps a long list cheap to lay out
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    showAll_->setObjectName("ShowAllPorts");
    path_->setObjectName("PortPath");
    pathLabel_->setBuddy(path_);
    checkButton_->setObjectName("CheckPort");
    findings_->setObjectName("PortFindings");
    findings_->setReadOnly(true);
    findings_->setHidden(true);
    comLabel_->setObjectName("PortComNumber");
    comLabel_->hide();
    stableLabel_->setObjectName("PortStableName");
    stableLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel_);
    pathRow->addWidget(path_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(comLabel_);
    layout->addWidget(list_, 1);
    layout->addWidget(showAll_);
    layout->addLayout(pathRow);
    layout->addWidget(stableLabel_);
    layout->addWidget(findings_);
    layout->addWidget(buttons_);
    setMinimumWidth(kMinimumWidth);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(showAll_, &QCheckBox::toggled, this, [this] { Rebuild(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &PortDialog::OnSelectionChanged);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!path_->text().trimmed().isEmpty()) accept();
    });
    connect(path_, &QLineEdit::textChanged, this, &PortDialog::UpdateOkButton);
    connect(checkButton_, &QPushButton::clicked, this, &PortDialog::StartCheck);
    connect(&check_, &PortCheck::Finished, this, &PortDialog::ShowFindings);
    connect(path_, &QLineEdit::textChanged, this, &PortDialog::ShowStableName);
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &PortDialog::Refresh);

    SetLanguage(1);
    UpdateOkButton();
}

void PortDialog::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(QString::fromUtf8(kTitle.In(language)));
    SetComNumber(comPort_);
    ShowStableName();
    QStringList headers;
    for (const LocalizedText& h : kHeaders) headers << QString::fromUtf8(h.In(language));
    list_->setHeaderLabels(headers);
    showAll_->setText(QString::fromUtf8(kShowAll.In(language)));
    pathLabel_->setText(QString::fromUtf8(kPath.In(language)));
    checkButton_->setText(QString::fromUtf8(kCheck.In(language)));
}

void PortDialog::StartCheck() {
    const std::string device = path_->text().trimmed().toStdString();
    if (!check_.Start(device, language_)) return;
    checkButton_->setEnabled(false);
    findings_->setHidden(false);
    findings_->setPlainText(QString::fromStdString(
        Fill(kChecking, language_, device.empty() ? kAllAdapters.In(language_) : device)));
}

void PortDialog::ShowFindings(const QStringList& lines, bool) {
    findings_->setPlainText(lines.join('\n'));
    checkButton_->setEnabled(true);
}

void PortDialog::SetComNumber(int comPort) {
    comPort_ = comPort;
    comLabel_->setText(Q(Fill(kSetsCom, language_, comPort)));
    comLabel_->setVisible(comPort > 0);
}

void PortDialog::ShowStableName() {
    // What will be stored: the name under /dev/serial/by-id follows the adapter into any
    // socket, the plain tty name may go to another adapter after a replug.
    const std::string typed = path_->text().trimmed().toStdString();
    if (typed.empty()) {
        stableLabel_->clear();
        return;
    }
    const std::string stable = StableDeviceName(typed, stableNameFolder_);
    const bool inFolder = typed.rfind(stableNameFolder_ + "/", 0) == 0;
    stableLabel_->setText(stable != typed || inFolder
                              ? Q(Fill(kStableName, language_, stable))
                              : Q(Fill(kNoStableName, language_, stableNameFolder_)));
}

void PortDialog::SetCurrentDevice(const std::string& device) {
    path_->setText(Q(device));
}

void PortDialog::showEvent(QShowEvent* event) {
    Refresh();
    timer_.start();
    QDialog::showEvent(event);
}

void PortDialog::hideEvent(QHideEvent* event) {
    timer_.stop();
    QDialog::hideEvent(event);
}

void PortDialog::Refresh() {
    std::vector<PortDescription> now = lister_.List();
    if (haveList_ && now == ports_) return;
    ports_ = std::move(now);
    haveList_ = true;
    Rebuild();
}

void PortDialog::Rebuild() {
    ++rebuilds_;
    const QTreeWidgetItem* current = list_->currentItem();
    const QString selected =
        current && current->isSelected() ? current->text(DeviceColumn) : QString();
    // The rebuild must not look like a choice of the user: the path field keeps its text even
    // when the selected device has just gone.
    const QSignalBlocker block(list_);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    QTreeWidgetItem* reselect = nullptr;
    for (const PortDescription& p : OrderPorts(ports_, showAll_->isChecked())) {
        auto* item =
            new QTreeWidgetItem(QStringList{Q(p.device), Q(p.description), Q(p.manufacturer),
                                            Q(p.serialNumber), Q(VendorProduct(p))});
        if (Q(p.device) == selected) reselect = item;
        items << item;
    }
    list_->addTopLevelItems(items);
    if (reselect) {
        list_->setCurrentItem(reselect);
    } else {
        list_->clearSelection();
    }
}

void PortDialog::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty()) path_->setText(selected.front()->text(DeviceColumn));
}

void PortDialog::UpdateOkButton() {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!path_->text().trimmed().isEmpty());
}

std::string PortDialog::ChosenDevice() const {
    const std::string typed = path_->text().trimmed().toStdString();
    if (typed.empty()) return typed;
    return StableDeviceName(typed, stableNameFolder_);
}

}  // namespace korvan
