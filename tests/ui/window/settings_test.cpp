// Start-up and shutdown: the settings file, the state file, the command-line language and the
// serial port choice.
#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>

#include <sstream>

#include "files/state_file.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"

namespace korvan::testing {
namespace {

QAction* Action(TFormHlav& form, const QString& name) {
    return form.findChild<QAction*>(name);
}

TEST_F(WindowTest, AFirstRunIsCentredOnCom1InCzechOnTheFirstPageWithTheDefaults) {
    Open({});
    // Centred, but never with its title bar off a screen smaller than the window.
    const QRect screen = form->screen()->geometry();
    EXPECT_EQ(form->x(), std::max(0, (screen.width() - TFormHlav::kWindowWidth) / 2));
    EXPECT_EQ(form->y(), std::max(0, (screen.height() - TFormHlav::kWindowHeight) / 2));
    EXPECT_EQ(port.opened, std::vector<std::string>{"/dev/ttyS0"});
    EXPECT_TRUE(Action(*form, "MenuCom1")->isChecked());
    EXPECT_EQ(form->LanguageIndex(), 0);
    EXPECT_TRUE(Action(*form, "MenuCzech")->isChecked());
    EXPECT_EQ(form->windowTitle(), "Programování jednotky Korvan 2");
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 0);
    EXPECT_EQ(Edit("EditOmez1")->value(), 5000);
    EXPECT_TRUE(Find("LabelHlaseni")->isHidden());
    EXPECT_TRUE(Find("CGauge")->isHidden());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowTest, ASavedPositionIsTakenOnlyWhereAScreenStillIs) {
    WriteFile("Korvan2.ini", "[FORM_HLAV]\nLeft=0x20\nTop=$10\n");
    Open();
    EXPECT_EQ(form->pos(), QPoint(32, 16));
    form.reset();
    WriteFile("Korvan2.ini", "[FORM_HLAV]\nLeft=5000\nTop=-3000\n");
    Open();
    const QRect screen = form->screen()->geometry();
    EXPECT_TRUE(screen.contains(form->geometry().topLeft())) << form->x() << "," << form->y();
}

TEST_F(WindowTest, SettingsAndCommandLineChooseLanguageAndPort) {
    struct Case {
        QByteArray ini;
        QStringList arguments;
        std::uint8_t language;
        std::vector<std::string> opened;
        int checkedPort;  // 0: no item checked
        QStringList messages;
    };
    const Case cases[] = {
        {"[FORM_HLAV]\nLanguage=2\n", {"ENGLISH"}, 1, {"/dev/ttyS0"}, 1, {}},
        // Not a language word: the name of a file to open, and there is no such file.
        {"[FORM_HLAV]\nLanguage=2\n",
         {"english"},
         2,
         {"/dev/ttyS0"},
         1,
         {"Open file error\n" + QDir::current().absoluteFilePath("english") +
          ": die Datei gibt es nicht"}},
        {"", {"CESKY", "DEUTSCH"}, 0, {"/dev/ttyS0"}, 1, {}},
        {"[FORM_HLAV]\nLanguage=7\n", {}, 1, {"/dev/ttyS0"}, 1, {}},
        {"[FORM_HLAV]\nComPort=12\n", {}, 0, {"/dev/ttyS0"}, 1, {}},
        {"[FORM_HLAV]\nComPort=0\n", {}, 0, {}, 0, {}},
        {"[FORM_HLAV]\nComPort=3\n[PORTS]\nCOM3=/dev/ttyUSB0\n", {}, 0, {"/dev/ttyUSB0"}, 3, {}},
    };
    for (const Case& c : cases) {
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        WriteFile("Korvan2.ini", c.ini);
        port.opened.clear();
        messages.clear();
        Open(c.arguments);
        EXPECT_EQ(form->LanguageIndex(), c.language)
            << c.ini.constData() << c.arguments.join(' ').toStdString();
        EXPECT_EQ(port.opened, c.opened) << c.ini.constData();
        for (int n = 1; n <= 10; ++n) {
            EXPECT_EQ(Action(*form, QString("MenuCom%1").arg(n))->isChecked(), n == c.checkedPort)
                << n;
        }
        EXPECT_EQ(messages, c.messages);
        form.reset();
    }
}

TEST_F(WindowTest, APortThatWillNotOpenIsReportedAndAComItemReopens) {
    port.failOpen = true;
    Open();
    // The box's first line as it has always been; the reason follows on the second.
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].split('\n').first(), "Com opening error");
    port.failOpen = false;
    Action(*form, "MenuCom10")->trigger();
    EXPECT_EQ(port.opened.back(), "/dev/ttyS9");
    EXPECT_TRUE(port.IsOpen());
    // Choosing the checked item again keeps it checked and reopens it.
    Action(*form, "MenuCom10")->trigger();
    EXPECT_TRUE(Action(*form, "MenuCom10")->isChecked());
    EXPECT_FALSE(Action(*form, "MenuCom1")->isChecked());
    EXPECT_EQ(port.opened.size(), 3u);
}

TEST_F(WindowTest, ARestartBringsBackEverythingByteForByte) {
    DeviceImage unit;
    for (std::size_t i = 0; i < kImageSize; ++i) unit[i] = static_cast<std::uint8_t>(i * 7);
    // A normalised parameter part, so that only what the user changes differs.
    SetDefaults(unit);
    unit[field::ParamReserved] = 0xEE;
    WriteStateFile(unit);

    Open();
    Action(*form, "MenuGerman")->trigger();
    QTest::mouseClick(Find<QCheckBox>("CheckBoxExtMonitor"), Qt::LeftButton);
    TypeInto("EditNapPriv3", "3000");
    QTest::keyClick(Edit("EditNapPriv3"), Qt::Key_Return);
    form->move(40, 30);
    CloseAndDestroy();
    const QByteArray settings = ReadFile("Korvan2.ini");
    const QByteArray state = ReadFile(kStateFileName);
    EXPECT_TRUE(settings.contains("Language=2"));
    EXPECT_TRUE(settings.contains("ActivePage =4") || settings.contains("ActivePage=4"))
        << settings.constData();
    EXPECT_EQ(state.size(), static_cast<int>(kStateFileSize));

    Open({});
    EXPECT_EQ(form->LanguageIndex(), 2);
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 3);
    EXPECT_EQ(Edit("EditNapPriv3")->value(), 3000);
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_FALSE(Find("LabelPocetProgramovani")->isHidden());
    EXPECT_EQ(Byte(field::ParamReserved), 0xEE);
    EXPECT_EQ(Byte(5), unit[5]);  // the identity page comes back too
    CloseAndDestroy();
    EXPECT_EQ(ReadFile("Korvan2.ini"), settings);
    EXPECT_EQ(ReadFile(kStateFileName), state);
}

TEST_F(WindowTest, AnUnwritableSettingsFileIsReportedAndTheParametersAreStillSaved) {
    // A folder where the settings file should be: the store cannot replace it.
    QDir().mkpath(TFormHlav::SettingsFolder() + "/Korvan2.ini/blocker");
    Open();
    TypeInto("EditBaseAdv", "33");
    CloseAndDestroy();
    // The message as the program has always had it, and the reason on a second line.
    ASSERT_EQ(messages.size(), 1);
    const QStringList lines = messages[0].split('\n');
    ASSERT_EQ(lines.size(), 2) << messages[0].toStdString();
    EXPECT_EQ(lines[0], "Unable to write to " + TFormHlav::SettingsFolder() + "/Korvan2.ini");
    EXPECT_FALSE(lines[1].isEmpty());
    DeviceImage saved;
    std::istringstream in(ReadFile(kStateFileName).toStdString());
    ASSERT_EQ(ReadStateFile(in, saved), kImageSize);
    EXPECT_EQ(saved[field::BaseAdv], 33);
}

TEST_F(WindowTest, AStateFileNotUnderstoodAtStartIsKeptBeforeTheExitSaveReplacesIt) {
    DeviceImage unit;
    SetDefaults(unit);
    const QByteArray tune = "# race tune\r\n" + QByteArray::fromStdString(StateFileText(unit));
    WriteFile(kStateFileName, tune);
    // Left by a kill during a save: an old one goes, one that may be another copy's stays.
    WriteFile("Korvan2.ini.Ab12Cd", "[FORM_HLAV]\r\n");
    WriteFile("_Korvan2.ini.Zz98Yx", "1 2 3");
    WriteFile("Korvan2.ini.Fresh1", "[FORM_HLAV]\r\n");
    const QString folder = TFormHlav::SettingsFolder();
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString name : {"Korvan2.ini.Ab12Cd", "_Korvan2.ini.Zz98Yx"}) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }

    Open();
    const QStringList kept =
        QDir(folder).entryList({QString(kStateFileName) + ".unreadable-*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(folder + "/" + kept[0])) << messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(folder + "/Korvan2.ini.Ab12Cd"));
    EXPECT_FALSE(QFile::exists(folder + "/_Korvan2.ini.Zz98Yx"));
    EXPECT_TRUE(QFile::exists(folder + "/Korvan2.ini.Fresh1"));

    CloseAndDestroy();
    EXPECT_EQ(messages.size(), 1);  // said once
    EXPECT_EQ(ReadFile(kept[0]), tune);
    EXPECT_EQ(ReadFile(kStateFileName).size(), static_cast<int>(kStateFileSize));
}

}  // namespace
}  // namespace korvan::testing
