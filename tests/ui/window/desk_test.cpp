// The desk side of the window: parameter files through the dialogs, printing, the manual and
// the about box.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

#include "files/atomic_write.h"
#include "files/state_file.h"
#include "tests/ui/window/file_dialog_user.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/help/help_window.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/caption_fit.h"

namespace korvan::testing {
namespace {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class DeskTest : public WindowTest {
  public:
    void TriggerAction(const char* name) { Find<QAction>(name)->trigger(); }
    // The next file dialog answers `path`, and keeps a look at how it was set up.
    void Answer(const QString& path) {
        fileDialog = [this, path](QFileDialog& d) {
            filters = d.nameFilters();
            selectedFilter = d.selectedNameFilter();
            suffix = d.defaultSuffix();
            confirmsOverwrite = !d.testOption(QFileDialog::DontConfirmOverwrite);
            return path;
        };
    }
    QTemporaryDir dir;
    QStringList filters;
    QString selectedFilter;
    QString suffix;
    bool confirmsOverwrite = false;
};

TEST_F(DeskTest, SaveAfterNewWritesTheDefaultSetByteForByte) {
    Open();
    TypeInto("EditOmez1", "7000");  // changed, then New restores the defaults
    TriggerAction("MenuNew");
    const QString path = dir.filePath("new.ign");
    Answer(path);
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(filters, QStringList{"Ignition Parametrs(*.ign)"});
    EXPECT_EQ(selectedFilter, "Ignition Parametrs(*.ign)");
    EXPECT_EQ(suffix, "ign");
    EXPECT_TRUE(confirmsOverwrite);

    std::string expected;
    ASSERT_TRUE(ReadWholeFile(KORVAN_DEFAULT_SET_IGN, expected).ok);
    EXPECT_EQ(ReadBytes(path).toStdString(), expected);
    EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), path);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DeskTest, SaveTakesAValueStillBeingTyped) {
    Open();
    const QString path = dir.filePath("typed.ign");
    Answer(path);
    TypeInto("EditOmez2", "12300");
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_TRUE(ReadBytes(path).contains("LIMITER2      123 "));
}

TEST_F(DeskTest, AFailedSaveIsReportedAndLeavesTheOldFileAndTheLabels) {
    Open();
    const QString old = dir.filePath("old.ign");
    Answer(old);
    TriggerAction("MenuSave");
    const QByteArray before = ReadBytes(old);
    ASSERT_FALSE(before.isEmpty());

    // A folder in the way of the file: the write cannot replace it.
    const QString blocked = dir.filePath("folder.ign");
    QDir().mkpath(blocked);
    Answer(blocked);
    TypeInto("EditBaseAdv", "33");
    TriggerAction("MenuSave");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Open file error")) << messages[0].toStdString();
    EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), old);
    EXPECT_EQ(ReadBytes(old), before);
}

TEST_F(DeskTest, OpenReadsAFileAndShowsItsPath) {
    Open();
    const QString path = dir.filePath("r6.ign");
    WriteBytes(path,
               "MAVELTIK_KEY 15\r\nBIKE 2\nLIMITER1 60\nEXT_MON 1\nADVANCE 1 2 3 4 5 6 7 8 9 10\n");
    Answer(path);
    QTest::keyClick(form.get(), Qt::Key_F3);
    // The map holds 100 numbers, the file only 10: it loads, and the box says so.
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith("Line 5, ADVANCE: too few numbers (10 of 100)"))
        << messages[0].toStdString();
    EXPECT_EQ(filters, (QStringList{"Ignition Parametrs(*.ign)", "All Files (*.*)"}));
    EXPECT_EQ(Byte(field::BikeType), 2);
    EXPECT_EQ(Byte(field::Limiter1), 60);
    EXPECT_EQ(Byte(AdvanceIndex(0, 9)), 10);
    EXPECT_EQ(Edit("Edit59")->text(), "10");
    EXPECT_EQ(Edit("EditOmez1")->value(), 6000);
    EXPECT_TRUE(Find<QCheckBox>("CheckBoxExtMonitor")->isChecked());
    EXPECT_FALSE(Find<QLabel>("LabelPocetProgramovani")->isHidden());  // the box's click action ran
    EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), path);
}

TEST_F(DeskTest, AFileOfAnotherVersionOrNoFileChangesNothing) {
    struct Case {
        const char* what;
        QByteArray content;  // empty with create = false: no file at all
        bool create;
        const char* language;
        QString message;
    } cases[] = {
        {"no header", "BIKE 3\n", true, "ENGLISH", "Unmatched version of *.ign file!"},
        {"another version", "MAVELTIK_KEY 16\nBIKE 3\n", true, "CESKY",
         "Neshodná verze souboru *.ign!"},
        {"an empty file", "", true, "DEUTSCH", "Uneinig Version der Datendatei *.ign!"},
        {"a missing file", "", false, "DEUTSCH", "Open file error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        Open({c.language});
        const DeviceImage before = form->Image();
        const QString path = dir.filePath(QString("bad-%1.ign").arg(c.what));
        if (c.create) WriteBytes(path, c.content);
        Answer(path);
        TriggerAction("MenuOpen");
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0], c.message);
        EXPECT_EQ(form->Image(), before);
        EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), "");
        form.reset();
    }
}

TEST_F(DeskTest, CancelledDialogsDoNothingAndTheOpenFilterIsKept) {
    Open();
    const DeviceImage before = form->Image();
    fileDialog = [](QFileDialog& d) {
        d.selectNameFilter("All Files (*.*)");
        return QString();
    };
    TriggerAction("MenuOpen");
    TriggerAction("MenuSave");
    EXPECT_EQ(form->Image(), before);
    EXPECT_TRUE(messages.isEmpty());
    Answer(QString());
    TriggerAction("MenuOpen");
    EXPECT_EQ(selectedFilter, "All Files (*.*)");  // the open dialog keeps the user's filter
}

TEST_F(DeskTest, PrintingStampsTheDateAndRestoresTheWindow) {
    Open();
    const QString pdf = dir.filePath("print.pdf");
    QString labelDuringPrint;
    bool labelShown = false;
    bool labelFits = false;
    int jobs = 0;
    printer = [&] {
        ++jobs;
        labelDuringPrint = Find<QLabel>("LabelHlaseni")->text();
        labelFits = CaptionFits(Find<QLabel>("LabelHlaseni"));
        labelShown = !Find<QLabel>("LabelHlaseni")->isHidden();
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        return p;
    };
    Find<QToolButton>("SpeedButtonPrint")->click();
    EXPECT_EQ(jobs, 1);
    EXPECT_TRUE(labelShown);
    EXPECT_TRUE(labelFits);  // date and time reach the paper whole
    EXPECT_TRUE(labelDuringPrint.startsWith("Date and Time of printing:  "))
        << labelDuringPrint.toStdString();
    EXPECT_TRUE(ReadBytes(pdf).contains("/Count 1"));
    EXPECT_TRUE(Find<QLabel>("LabelHlaseni")->isHidden());
    EXPECT_TRUE(Find<TCGauge>("CGauge")->isHidden());
    EXPECT_FALSE(form->centralWidget()->autoFillBackground());
    EXPECT_TRUE(messages.isEmpty());

    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);  // the menu prints the same way
    EXPECT_EQ(jobs, 2);
}

TEST_F(DeskTest, WithoutAPrinterTheUserIsToldAndTheWindowIsRestored) {
    Open();
    printer = [] { return std::unique_ptr<QPrinter>(); };
    TriggerAction("MenuPrint");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "There is no default printer currently selected");
    EXPECT_TRUE(Find<QLabel>("LabelHlaseni")->isHidden());
    EXPECT_FALSE(form->centralWidget()->autoFillBackground());
}

TEST_F(DeskTest, TheManualOfTheLanguageOpensWhenItIsThere) {
    // F1 shows the manual of the window's language in the program's own help window, one
    // window for every F1; without a usable manual a box names the file it looked for.
    QTemporaryDir manuals;
    for (const char* name : {"manual_cs.html", "manual_en.html"}) {
        WriteBytes(manuals.filePath(name), "<html><body><h1>Manual</h1></body></html>");
    }
    WriteBytes(manuals.filePath("manual_de.html"), "");  // damaged: empty
    manualFolders = {manuals.path()};
    struct Case {
        const char* language;
        const char* file;
        bool shown;
    } cases[] = {
        {"CESKY", "manual_cs.html", true},
        {"ENGLISH", "manual_en.html", true},
        {"DEUTSCH", "manual_de.html", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        messages.clear();
        Open({c.language});
        QTest::keyClick(form.get(), Qt::Key_F1);
        auto* help = form->findChild<HelpWindow*>("HelpWindow");
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->isVisible(), c.shown);
        if (c.shown) {
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_TRUE(help->Browser()->source().toLocalFile().endsWith(c.file));
            TriggerAction("MenuContens");  // again: the same window
            EXPECT_EQ(form->findChildren<HelpWindow*>().size(), 1);
        } else {
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].contains(c.file)) << messages[0].toStdString();
        }
        EXPECT_TRUE(openedUrls.isEmpty());  // no desktop opener involved
        form.reset();
    }
}

TEST_F(DeskTest, AFileNamedOnTheCommandLineOpensAsFileOpenWould) {
    const QString good = dir.filePath("r6.ign");
    WriteBytes(good, "MAVELTIK_KEY 15\r\nBIKE 2\nLIMITER1 60\n");
    const QString other = dir.filePath("other.ign");
    WriteBytes(other, "MAVELTIK_KEY 16\nBIKE 3\n");
    const QString missing = dir.filePath("missing.ign");
    Open({"ENGLISH"});
    const DeviceImage untouched = form->Image();
    form.reset();

    struct Case {
        QStringList arguments;
        bool opened;
        const char* message;  // empty: none
        const char* title;    // a word of the language's window title
    } cases[] = {
        {{good}, true, "", ""},
        {{"ENGLISH", good}, true, "", "Programming"},
        {{"CESKY", other}, false, "Neshodná verze souboru *.ign!", "Programování"},
        {{"DEUTSCH", missing}, false, "Open file error", ""},
        {{"ENGLISH", dir.path()}, false, "Open file error", ""},  // a folder is no file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        messages.clear();
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        Open(c.arguments);
        EXPECT_TRUE(form->isVisible());
        if (c.opened) {
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_EQ(Byte(field::BikeType), 2);
            EXPECT_EQ(Byte(field::Limiter1), 60);
            EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), c.arguments.last());
        } else {
            EXPECT_EQ(messages, QStringList{QString::fromUtf8(c.message)});
            EXPECT_EQ(form->Image(), untouched);
            EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), "");
        }
        EXPECT_TRUE(form->windowTitle().contains(QString::fromUtf8(c.title)))
            << form->windowTitle().toStdString();
        form.reset();
    }
}

TEST_F(DeskTest, NothingOfAFileDialogStaysOnScreenAfterItCloses) {
    const QString path = dir.filePath("r6.ign");
    WriteBytes(path, "MAVELTIK_KEY 15\nBIKE 2\n");
    Open();
    // The real dialog, closed as the user closes it.
    using Close = CloseBy;
    auto runDialog = [&](Close how) {
        fileDialog = [&, how](QFileDialog& d) { return CloseLikeAUser(d, how, path); };
    };
    struct Case {
        const char* what;
        Close how;
        bool opens;
    } cases[] = {
        {"typed path and Enter", Close::TypedPathAndEnter, true},
        {"again, preset with the last file", Close::TypedPathAndEnter, true},
        {"double click", Close::DoubleClick, true},
        {"cancel", Close::Cancel, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        runDialog(c.how);
        Find<QLabel>("LabelFile2")->clear();
        QTest::keyClick(form.get(), Qt::Key_F3);
        ExpectOnlyTheWindowLeft(form.get());
        EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), c.opens ? path : QString());
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DeskTest, AboutShowsTheBuildInTheLanguage) {
    struct Case {
        const char* language;
        const char* start;
    } cases[] = {
        {"ENGLISH", "Programm for setting of ignition            \n\nversion 2.0\n\n"},
        {"CESKY", "Program pro nastavování zapalování           \n\nverze 2.0\n\n"},
        {"DEUTSCH", "Program für der Adjustierung der Zündung        \nVersion 2.0\n\n"},
    };
    for (const Case& c : cases) {
        messages.clear();
        Open({c.language});
        TriggerAction("MenuAbout");
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(c.start)))
            << messages[0].toStdString();
        EXPECT_FALSE(messages[0].contains("%s"));
        // The build date as "Mar  9 2005", then the build time as "18:09:19".
        EXPECT_TRUE(messages[0].contains(
            QRegularExpression("\\n[A-Z][a-z]{2} [ 1-3][0-9] \\d{4}\\n\\n\\d\\d:\\d\\d:\\d\\d\\n")))
            << messages[0].toStdString();
        form.reset();
    }
}

TEST_F(DeskTest, ExitSavesThroughTheNormalShutdown) {
    Open();
    TypeInto("EditBaseAdv", "21");
    TriggerAction("MenuExit");
    EXPECT_TRUE(ReadFile(kStateFileName).size() == 1860);
    EXPECT_TRUE(ReadFile("Korvan2.ini").contains("Language=1"));
    form.reset();
    Open();
    EXPECT_EQ(Byte(field::BaseAdv), 21);
}

}  // namespace
}  // namespace korvan::testing
