// The port dialog against an injected port list, and the status bar's port field.
#include "ui/port/port_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "ui/port/port_status_field.h"

namespace korvan {
namespace {

class FakeLister : public PortLister {
  public:
    std::vector<PortDescription> List() override {
        ++calls;
        return ports;
    }
    std::vector<PortDescription> ports;
    int calls = 0;
};

PortDescription Port(const std::string& device, const char* description = "", bool usb = false) {
    PortDescription p;
    p.device = device;
    p.description = description;
    p.usb = usb;
    return p;
}

QStringList Rows(const QTreeWidget* list, int column = PortDialog::DeviceColumn) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) rows << list->topLevelItem(i)->text(column);
    return rows;
}

class TempFolder {
  public:
    TempFolder() {
        char tmpl[] = "/tmp/korvan-portdlg-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

TEST(PortDialog, ListsAdaptersFirstWithTheirDetailsAndLegacyPortsOnRequest) {
    FakeLister lister;
    PortDescription ftdi = Port("/dev/ttyUSB0", "FT232R USB UART", true);
    ftdi.manufacturer = "FTDI";
    ftdi.serialNumber = "A50285BI";
    ftdi.vendorId = 0x0403;
    ftdi.productId = 0x6001;
    lister.ports = {Port("/dev/ttyS0"), Port("/dev/ttyS1"), ftdi,
                    Port("/dev/ttyACM0", "CDC", true)};
    PortDialog dialog(lister);
    dialog.show();
    EXPECT_EQ(Rows(dialog.PortList()), (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0"}));
    const QTreeWidgetItem* row = dialog.PortList()->topLevelItem(1);
    EXPECT_EQ(row->text(PortDialog::DescriptionColumn), "FT232R USB UART");
    EXPECT_EQ(row->text(PortDialog::ManufacturerColumn), "FTDI");
    EXPECT_EQ(row->text(PortDialog::SerialColumn), "A50285BI");
    EXPECT_EQ(row->text(PortDialog::UsbIdColumn), "0403:6001");

    dialog.ShowAllBox()->setChecked(true);
    EXPECT_EQ(Rows(dialog.PortList()),
              (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS1"}));
    dialog.ShowAllBox()->setChecked(false);
    EXPECT_EQ(dialog.PortList()->topLevelItemCount(), 2);

    // The list is looked at again only while the dialog is shown.
    EXPECT_TRUE(dialog.RefreshTimer().isActive());
    dialog.hide();
    EXPECT_FALSE(dialog.RefreshTimer().isActive());
}

TEST(PortDialog, TheChosenDeviceIsStoredUnderItsStableName) {
    TempFolder folder;
    const std::string byId = folder.path + "/by-id";
    std::filesystem::create_directory(byId);
    const std::string usb = folder.path + "/ttyUSB0";
    const std::string pty = folder.path + "/pty";
    std::ofstream(usb) << "";
    std::ofstream(pty) << "";
    std::filesystem::create_symlink(usb, byId + "/usb-FTDI_FT232R_A50285BI-if00-port0");

    FakeLister lister;
    lister.ports = {Port(usb, "", true)};
    PortDialog dialog(lister, nullptr, byId);
    dialog.show();
    QPushButton* ok = dialog.Buttons()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled()) << "nothing chosen yet";

    const struct {
        const char* what;
        std::function<void()> choose;
        std::string stored;
    } cases[] = {
        {"a row of the list",
         [&] { dialog.PortList()->setCurrentItem(dialog.PortList()->topLevelItem(0)); },
         byId + "/usb-FTDI_FT232R_A50285BI-if00-port0"},
        {"a typed pty path",
         [&] {
             dialog.PathEdit()->clear();
             QTest::keyClicks(dialog.PathEdit(), QString::fromStdString(pty));
         },
         pty},
        {"a typed path to a device that has a stable name",
         [&] { dialog.PathEdit()->setText(QString::fromStdString(usb)); },
         byId + "/usb-FTDI_FT232R_A50285BI-if00-port0"},
        {"a path that does not exist (yet)", [&] { dialog.PathEdit()->setText(" /dev/ttyUSB7 "); },
         "/dev/ttyUSB7"},
    };
    const std::string noStableName =
        "No stable name in " + byId + ": plugged in again, it may get another name.";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.choose();
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_EQ(dialog.ChosenDevice(), c.stored);
        // The dialog shows the name it will store, or that there is none to be had.
        const bool stable = c.stored.rfind(byId, 0) == 0;
        EXPECT_EQ(dialog.StableNameLabel()->text().toStdString(),
                  stable ? "Stable name: " + c.stored : noStableName);
    }
    dialog.PathEdit()->setText("  ");
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(dialog.ChosenDevice(), "");
}

TEST(PortDialog, FiftyPortsAndADeviceThatVanishesWhileChosen) {
    FakeLister lister;
    for (int i = 0; i < 50; ++i)
        lister.ports.push_back(Port("/dev/ttyUSB" + std::to_string(i), "adapter", true));
    PortDialog dialog(lister);
    dialog.SetCurrentDevice("/dev/ttyUSB3");
    dialog.show();
    ASSERT_EQ(dialog.PortList()->topLevelItemCount(), 50);
    EXPECT_EQ(dialog.PortList()->topLevelItem(10)->text(0), "/dev/ttyUSB10");  // natural order
    EXPECT_EQ(dialog.PathEdit()->text(), "/dev/ttyUSB3");

    dialog.PortList()->setCurrentItem(dialog.PortList()->topLevelItem(12));
    EXPECT_EQ(dialog.PathEdit()->text(), "/dev/ttyUSB12");

    // An unchanged list costs one look and no rebuild.
    const int rebuilds = dialog.Rebuilds();
    for (int i = 0; i < 5; ++i) dialog.Refresh();
    EXPECT_EQ(dialog.Rebuilds(), rebuilds);

    // Another adapter goes: the chosen one stays chosen.
    lister.ports.erase(lister.ports.begin() + 40);
    dialog.Refresh();
    EXPECT_EQ(dialog.PortList()->topLevelItemCount(), 49);
    ASSERT_NE(dialog.PortList()->currentItem(), nullptr);
    EXPECT_EQ(dialog.PortList()->currentItem()->text(0), "/dev/ttyUSB12");
    EXPECT_TRUE(dialog.PortList()->currentItem()->isSelected());

    // The chosen adapter goes: its row goes, the path stays for a retry when it is back.
    lister.ports.erase(lister.ports.begin() + 12);
    dialog.Refresh();
    EXPECT_EQ(dialog.PortList()->topLevelItemCount(), 48);
    EXPECT_TRUE(dialog.PortList()->selectedItems().isEmpty());
    EXPECT_EQ(dialog.PathEdit()->text(), "/dev/ttyUSB12");
    EXPECT_TRUE(dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled());

    // The timer's own refresh sees the list come back.
    lister.ports.push_back(Port("/dev/ttyUSB12", "adapter", true));
    const int calls = lister.calls;
    ASSERT_TRUE(QMetaObject::invokeMethod(&dialog.RefreshTimer(), "timeout"));
    EXPECT_EQ(lister.calls, calls + 1);
    EXPECT_EQ(dialog.PortList()->topLevelItemCount(), 49);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(PortDialog, TextsInEachLanguage) {
    FakeLister lister;
    PortDialog dialog(lister);
    const struct {
        std::uint8_t language;
        const char* title;
        const char* menu;
        const char* device;
        const char* showAll;
        const char* com;
    } cases[] = {
        {0, "Sériový port", "Sériový port...", "Zařízení", "Zobrazit všechny porty",
         "Zařízení pro COM3"},
        {1, "Serial port", "Serial port...", "Device", "Show all ports", "The device for COM3"},
        {2, "Serielle Schnittstelle", "Serielle Schnittstelle...", "Gerät",
         "Alle Schnittstellen anzeigen", "Das Gerät für COM3"},
    };
    EXPECT_TRUE(dialog.ComLabel()->isHidden()) << "no COM number given";
    dialog.SetComNumber(3);
    EXPECT_FALSE(dialog.ComLabel()->isHidden());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        dialog.SetLanguage(c.language);
        EXPECT_EQ(dialog.ComLabel()->text(), QString::fromUtf8(c.com));
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_STREQ(kSerialPortMenuText.In(c.language), c.menu);
        EXPECT_EQ(dialog.PortList()->headerItem()->text(PortDialog::DeviceColumn),
                  QString::fromUtf8(c.device));
        EXPECT_EQ(dialog.ShowAllBox()->text(), QString::fromUtf8(c.showAll));
    }
}

TEST(PortStatusField, ComDeviceAndStateInEachLanguage) {
    const struct {
        PortState state;
        std::uint8_t language;
        const char* text;
    } cases[] = {
        {PortState::Connected, 1, "COM2  /dev/ttyUSB0  connected"},
        {PortState::NoAnswer, 1, "COM2  /dev/ttyUSB0  no answer"},
        {PortState::Reconnecting, 1, "COM2  /dev/ttyUSB0  reconnecting"},
        {PortState::Closed, 1, "COM2  /dev/ttyUSB0  closed"},
        {PortState::Connected, 0, "COM2  /dev/ttyUSB0  připojeno"},
        {PortState::Reconnecting, 0, "COM2  /dev/ttyUSB0  obnovuji spojení"},
        {PortState::NoAnswer, 2, "COM2  /dev/ttyUSB0  keine Antwort"},
        {PortState::Reconnecting, 2, "COM2  /dev/ttyUSB0  Verbindung wird wiederhergestellt"},
        {PortState::Paused, 1, "COM2  /dev/ttyUSB0  link paused for the replay"},
        {PortState::Paused, 0, "COM2  /dev/ttyUSB0  spojení pozastaveno kvůli přehrávání"},
        {PortState::Paused, 2, "COM2  /dev/ttyUSB0  Verbindung für die Wiedergabe angehalten"},
    };
    PortStatusField field;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        field.SetLanguage(c.language);
        field.Show(2, "/dev/ttyUSB0", c.state);
        EXPECT_EQ(field.text(), QString::fromUtf8(c.text));
    }
    // A language switch rewrites the shown state.
    field.Show(1, "/dev/ttyACM0", PortState::Connected);
    field.SetLanguage(0);
    EXPECT_EQ(field.text(), QString::fromUtf8("COM1  /dev/ttyACM0  připojeno"));
}

}  // namespace
}  // namespace korvan
