// The serial line in the window: why an open failed, the first-run adapter, the "Serial
// port..." item and its dialog, the status bar's port field, the silent retries that bring the
// unit back, and Qt's own texts in the chosen language.
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "device/port_failure.h"
#include "device/port_reconnect.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/port/port_dialog.h"
#include "ui/port/port_status_field.h"

namespace korvan::testing {
namespace {

constexpr int kRetry = PortReconnect::kRetryTicks;

PortDescription Adapter(const std::string& device, bool usb = true) {
    PortDescription p;
    p.device = device;
    p.usb = usb;
    return p;
}

DeviceFrame MonitorFrame(std::uint16_t rpm) {
    std::array<std::uint8_t, kPageSize> payload{};
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    payload[35] = 1;
    return BuildFrame(kMonitorAnswer, payload.data());
}

class TempFolder {
  public:
    TempFolder() {
        char tmpl[] = "/tmp/korvan-portwin-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

TEST_F(WindowTest, AFailedOpenTheUserAskedForSaysWhyInHisLanguageAndRetriesStaySilent) {
    NodeInfo charDevice{NodeType::CharDevice, "uucp", false, false};
    NodeInfo regularFile{NodeType::RegularFile, "", false, false};
    const struct {
        const char* name;
        QStringList arguments;
        PortFailureKind kind;
        NodeInfo node;
        const char* systemText;
        const char* secondLine;  // what the reason line must say
        bool retried;
    } cases[] = {
        {"missing",
         {"ENGLISH"},
         PortFailureKind::Missing,
         {},
         "",
         "The device /dev/ttyS0 does not exist (is the adapter plugged in?).",
         true},
        {"group",
         {"ENGLISH"},
         PortFailureKind::Permission,
         charDevice,
         "",
         "The device /dev/ttyS0 belongs to group uucp and you are not in it. Fix: sudo usermod "
         "-aG uucp $USER, then log out and in again.",
         true},
        {"group, German",
         {"DEUTSCH"},
         PortFailureKind::Permission,
         charDevice,
         "",
         "sudo usermod -aG uucp $USER",
         true},
        {"busy, Czech",
         {"CESKY"},
         PortFailureKind::Busy,
         charDevice,
         "",
         "Zařízení /dev/ttyS0 používá jiný program.",
         true},
        {"regular file",
         {"ENGLISH"},
         PortFailureKind::NotSerialDevice,
         regularFile,
         "",
         "/dev/ttyS0 is not a serial port (a regular file).",
         false},
        {"system's text",
         {"ENGLISH"},
         PortFailureKind::Other,
         charDevice,
         "Input/output error",
         "The device /dev/ttyS0: Input/output error",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        port.opened.clear();
        port.failOpen = true;
        port.openFailure = {c.kind, "/dev/ttyS0", c.node, c.systemText};
        messages.clear();
        Open(c.arguments);
        ASSERT_EQ(messages.size(), 1);
        const QStringList lines = messages[0].split('\n');
        ASSERT_EQ(lines.size(), 2) << messages[0].toStdString();
        EXPECT_EQ(lines[0], "Com opening error");
        EXPECT_TRUE(lines[1].contains(QString::fromUtf8(c.secondLine))) << lines[1].toStdString();

        for (int i = 0; i < 3 * kRetry; ++i) form->OnTick();
        EXPECT_EQ(port.opened.size(), c.retried ? 4u : 1u);
        EXPECT_EQ(messages.size(), 1) << "a retry never shows the box";
        EXPECT_FALSE(Find<QLabel>("LabelSpojeni")->isHidden());
        const QString state = Find<PortStatusField>("PortStatusField")->text();
        EXPECT_EQ(state,
                  PortStatusField::Text(1, "/dev/ttyS0",
                                        c.retried ? PortState::Reconnecting : PortState::Closed,
                                        form->LanguageIndex()));
        // The program stays usable for editing.
        TypeInto("EditBaseAdv", "21");
        QTest::keyClick(Edit("EditBaseAdv"), Qt::Key_Return);
        EXPECT_EQ(Byte(field::BaseAdv), 21);
        form.reset();
    }
}

TEST_F(WindowTest, AFirstRunTakesTheOneAdapterUnderItsStableNameAndStoresIt) {
    TempFolder byId;
    // The node itself stands in for the adapter's /dev/ttyACM0.
    const std::string acm = byId.path + "/ttyACM0";
    std::ofstream(acm) << "";
    std::filesystem::create_directory(byId.path + "/by-id");
    stableNameFolder = byId.path + "/by-id";
    std::filesystem::create_symlink(acm, stableNameFolder + "/usb-Korvan_Cable_0042-if00");
    const struct {
        const char* name;
        QByteArray ini;
        std::vector<PortDescription> ports;
        std::string opened;
        QByteArray stored;  // in the settings file after start-up, "" = no key
        bool listed;
    } cases[] = {
        {"one USB adapter",
         "",
         {Adapter("/dev/ttyS0", false), Adapter("/dev/ttyUSB0")},
         "/dev/ttyUSB0",
         "COM1=/dev/ttyUSB0",
         true},
        {"one ACM adapter with a stable name",
         "",
         {Adapter(acm)},
         stableNameFolder + "/usb-Korvan_Cable_0042-if00",
         "COM1=" + QByteArray::fromStdString(stableNameFolder) + "/usb-Korvan_Cable_0042-if00",
         true},
        {"two adapters",
         "",
         {Adapter("/dev/ttyUSB0"), Adapter("/dev/ttyUSB1")},
         "/dev/ttyS0",
         "",
         true},
        {"no adapter", "", {Adapter("/dev/ttyS0", false)}, "/dev/ttyS0", "", true},
        {"a key names the device",
         "[PORTS]\nCOM1=/dev/ttyS3\n",
         {Adapter("/dev/ttyUSB0")},
         "/dev/ttyS3",
         "COM1=/dev/ttyS3",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        if (!c.ini.isEmpty()) WriteFile("Korvan2.ini", c.ini);
        lister.ports = c.ports;
        lister.calls = 0;
        port.opened.clear();
        Open();
        EXPECT_EQ(port.opened, std::vector<std::string>{c.opened});
        EXPECT_EQ(lister.calls > 0, c.listed);
        const QByteArray ini = ReadFile("Korvan2.ini");
        if (c.stored.isEmpty()) {
            EXPECT_FALSE(ini.contains("COM1=")) << ini.constData();
        } else {
            EXPECT_TRUE(ini.contains(c.stored)) << ini.constData();
        }
        EXPECT_TRUE(messages.isEmpty());
        form.reset();
    }
}

TEST_F(WindowTest, TheSerialPortItemFollowsCom10AndItsDialogStoresAndOpensTheChoice) {
    WriteFile("Korvan2.ini", "[FORM_HLAV]\nComPort=3\n[PORTS]\nCOM2=/dev/ttyS7\nCOM3=/dev/ttyS2\n");
    lister.ports = {Adapter("/dev/ttyUSB4"), Adapter("/dev/ttyS0", false)};
    Open({"DEUTSCH"});
    const QList<QAction*> items = Find<QMenu>("MenuCom")->actions();
    const int com10 = items.indexOf(Find<QAction>("MenuCom10"));
    const int serial = items.indexOf(Find<QAction>("MenuSerialPort"));
    EXPECT_GT(serial, com10);
    const struct {
        const char* item;
        const char* text;
        const char* title;
    } languages[] = {{"MenuCzech", "Sériový port...", "Sériový port"},
                     {"MenuEnglish", "Serial port...", "Serial port"},
                     {"MenuGerman", "Serielle Schnittstelle...", "Serielle Schnittstelle"}};
    for (const auto& l : languages) {
        Find<QAction>(l.item)->trigger();
        EXPECT_EQ(Find<QAction>("MenuSerialPort")->text(), QString::fromUtf8(l.text));
        QString title;
        portDialog = [&](PortDialog& dialog) {
            title = dialog.windowTitle();
            return false;
        };
        const std::size_t opens = port.opened.size();
        Find<QAction>("MenuSerialPort")->trigger();
        EXPECT_EQ(title, QString::fromUtf8(l.title));
        EXPECT_EQ(port.opened.size(), opens) << "a cancelled dialog changes nothing";
    }

    // The dialog lists the adapter; choosing it stores it for COM3 and opens it.
    QString preset;
    QString sets;
    portDialog = [&](PortDialog& dialog) {
        preset = dialog.PathEdit()->text();
        sets = dialog.ComLabel()->text();
        dialog.show();
        EXPECT_EQ(dialog.PortList()->topLevelItemCount(), 1);
        dialog.PortList()->setCurrentItem(dialog.PortList()->topLevelItem(0));
        dialog.hide();
        return true;
    };
    Find<QAction>("MenuSerialPort")->trigger();
    EXPECT_EQ(preset, "/dev/ttyS2");
    EXPECT_EQ(sets, QString::fromUtf8("Das Gerät für COM3"));
    EXPECT_EQ(port.opened.back(), "/dev/ttyUSB4");
    EXPECT_TRUE(port.IsOpen());
    const QByteArray ini = ReadFile("Korvan2.ini");
    EXPECT_TRUE(ini.contains("COM3=/dev/ttyUSB4")) << ini.constData();
    EXPECT_TRUE(ini.contains("COM2=/dev/ttyS7")) << "other keys are kept";
    EXPECT_TRUE(ini.contains("ComPort=3"));
    EXPECT_TRUE(Find<QAction>("MenuCom3")->isChecked());
    form->OnTick();
    EXPECT_EQ(Find<PortStatusField>("PortStatusField")->text(),
              PortStatusField::Text(3, "/dev/ttyUSB4", PortState::Connected, 2));

    // A typed path that fails: the box says why, once.
    port.failOpen = true;
    port.openFailure = {PortFailureKind::Missing, "", {}, ""};
    messages.clear();
    portDialog = [&](PortDialog& dialog) {
        dialog.PathEdit()->setText("/dev/serial/by-id/gone");
        return true;
    };
    Find<QAction>("MenuSerialPort")->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QString("Com opening error\n") +
                               QString::fromUtf8("Das Gerät /dev/serial/by-id/gone existiert nicht "
                                                 "(ist der Adapter eingesteckt?)."));
}

TEST_F(WindowTest, ThePortFieldSitsOnTheRightAndFollowsConnectedNoAnswerAndReconnecting) {
    Open();
    auto* field = Find<PortStatusField>("PortStatusField");
    EXPECT_EQ(field->parentWidget(), form->statusBar());
    EXPECT_GT(field->geometry().center().x(), form->statusBar()->width() / 2);
    const auto text = [](PortState s, std::uint8_t language = 1) {
        return PortStatusField::Text(1, "/dev/ttyS0", s, language);
    };

    port.Queue(MonitorFrame(2500));
    form->OnTick();
    EXPECT_EQ(field->text(), text(PortState::Connected));
    for (int i = 0; i < DeviceLink::kNoConnectionTicks; ++i) form->OnTick();
    EXPECT_EQ(field->text(), text(PortState::NoAnswer));

    // An edit and a read under way when the adapter is pulled.
    TypeInto("EditBaseAdv", "19");
    QTest::keyClick(Edit("EditBaseAdv"), Qt::Key_Return);
    form->OnReadChosen();
    port.failOpen = true;
    port.openFailure = {PortFailureKind::Missing, "", {}, ""};
    port.Lose();
    form->OnTick();
    EXPECT_EQ(field->text(), text(PortState::Reconnecting));
    EXPECT_EQ(form->Link().Mode(), OperationMode::None) << "the read ended when the line died";
    EXPECT_EQ(Find<QLabel>("LabelHlaseni")->text(), "Read error!");
    EXPECT_FALSE(Find<QLabel>("LabelHlaseni")->isHidden());
    Find<QAction>("MenuCzech")->trigger();
    EXPECT_EQ(field->text(), text(PortState::Reconnecting, 0));
    Find<QAction>("MenuEnglish")->trigger();

    // The adapter is back: within two retries monitor requests go out and the column fills,
    // without a key; the edit is untouched and the read is not resumed.
    const std::size_t opens = port.opened.size();
    for (int i = 0; i < kRetry / 2; ++i) form->OnTick();
    port.failOpen = false;
    port.written.clear();
    int ticks = 0;
    while (port.written.empty() && ticks < 2 * kRetry) {
        form->OnTick();
        ++ticks;
    }
    EXPECT_LE(ticks, 2 * kRetry);
    EXPECT_GT(port.opened.size(), opens);
    const std::vector<std::uint8_t> sent = port.SentCommands();
    ASSERT_FALSE(sent.empty());
    for (std::uint8_t command : sent) EXPECT_EQ(command, kCmdMonitor);
    port.Queue(MonitorFrame(4100));
    form->OnTick();
    EXPECT_EQ(Find<QLabel>("LabelRpm")->text(), "RPM = 4100 ");
    EXPECT_EQ(field->text(), text(PortState::Connected));
    EXPECT_EQ(Byte(field::BaseAdv), 19);
    EXPECT_EQ(form->Link().Mode(), OperationMode::None);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(WindowTest, QtsOwnTextsFollowTheLanguageFromStartUpOn) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + "/qtbase_de.qm") || !QFile::exists(folder + "/qtbase_cs.qm")) {
        GTEST_SKIP() << "Qt's translations are not installed";
    }
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    Open({"DEUTSCH"});
    EXPECT_EQ(cancel(), "Abbrechen");
    Find<QAction>("MenuCzech")->trigger();
    EXPECT_EQ(cancel(), QString::fromUtf8("Zrušit"));
    Find<QAction>("MenuEnglish")->trigger();
    EXPECT_EQ(cancel(), "Cancel");
}

}  // namespace
}  // namespace korvan::testing
