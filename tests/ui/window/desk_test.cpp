// The desk side of the window: parameter files through the dialogs, printing, the manual and
// the about box.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
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
    // It says it could not save, and names the file and why on the second line.
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "The file could not be saved\n" + blocked + ": a folder, not a file");
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
        QString message;  // the first line; the file and the reason follow on the second
        QString reason;
    } cases[] = {
        {"no header", "BIKE 3\n", true, "ENGLISH", "Unmatched version of *.ign file!",
         "not a parameter file (no MAVELTIK_KEY header)"},
        {"another version", "MAVELTIK_KEY 16\nBIKE 3\n", true, "CESKY",
         "Neshodná verze souboru *.ign!", "verze 16, tento program čte verzi 15"},
        {"an empty file", "", true, "DEUTSCH", "Uneinig Version der Datendatei *.ign!",
         "keine Parameterdatei (die Kopfzeile MAVELTIK_KEY fehlt)"},
        {"a missing file", "", false, "DEUTSCH", "Open file error", "die Datei gibt es nicht"},
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
        EXPECT_EQ(messages[0], c.message + "\n" + path + ": " + c.reason);
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

TEST_F(DeskTest, WithoutAPrinterThePdfIsOfferedInTheUsersLanguage) {
    struct Case {
        const char* language;
        bool yes;
        const char* first;  // the first line of the question
        const char* offer;  // a word of its last line
    } cases[] = {
        {"ENGLISH", true, "There is no default printer currently selected", "PDF"},
        {"DEUTSCH", false, "Es ist kein Standarddrucker ausgewählt", "stattdessen"},
        {"CESKY", true, "Není vybrána žádná výchozí tiskárna", "místo toho"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        questions.clear();
        Open({c.language});
        printer = [] { return std::unique_ptr<QPrinter>(); };
        answerYes = c.yes;
        const QString pdf = dir.filePath(QString("offered-%1.pdf").arg(c.language));
        Answer(pdf);
        TriggerAction("MenuPrint");
        ASSERT_EQ(questions.size(), 1);
        EXPECT_EQ(questions[0].section('\n', 0, 0), QString::fromUtf8(c.first));
        EXPECT_TRUE(questions[0].section('\n', -1).contains(QString::fromUtf8(c.offer)))
            << questions[0].toStdString();
        // Yes goes on to the PDF export; no leaves nothing behind.
        EXPECT_EQ(ReadBytes(pdf).startsWith("%PDF"), c.yes);
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_TRUE(Find<QLabel>("LabelHlaseni")->isHidden());
        EXPECT_FALSE(form->centralWidget()->autoFillBackground());
        form.reset();
    }
}

TEST_F(DeskTest, ExportPdfWritesOnePageBesideTheTuneAndKeepsAnOldFileOnFailure) {
    Open();
    const QString tune = dir.filePath("race.ign");
    Answer(tune);
    TriggerAction("MenuSave");
    QString proposed;
    fileDialog = [&](QFileDialog& d) {
        proposed = QDir(d.directory()).filePath(d.selectedFiles().value(0));
        filters = d.nameFilters();
        return dir.filePath("page.pdf");
    };
    TriggerAction("MenuExportPdf");
    EXPECT_EQ(QFileInfo(proposed).fileName(), "race.pdf");
    EXPECT_EQ(filters, QStringList{"PDF (*.pdf)"});
    const QByteArray pdf = ReadBytes(dir.filePath("page.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Count 1"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(Find<QLabel>("LabelHlaseni")->isHidden());

    // A folder where the PDF should go: said in a box, nothing else touched.
    QDir().mkpath(dir.filePath("taken.pdf"));
    Answer(dir.filePath("taken.pdf"));
    TriggerAction("MenuExportPdf");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "The file could not be saved\n" + dir.filePath("taken.pdf") +
                               ": a folder, not a file");
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.pdf")).isDir());
}

TEST_F(DeskTest, DesktopKeysOpenTheSameDialogsAsF3AndF2) {
    Open();
    QStringList seen;
    fileDialog = [&](QFileDialog& d) {
        seen << d.objectName() + ":" + QFileInfo(d.selectedFiles().value(0)).fileName();
        return QString();
    };
    const QString tune = dir.filePath("base.ign");
    WriteBytes(tune, "MAVELTIK_KEY 15\nBIKE 2\n");
    Answer(tune);
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(Find<QLabel>("LabelFile2")->text(), tune);
    fileDialog = [&](QFileDialog& d) {
        seen << d.objectName() + ":" + QFileInfo(d.selectedFiles().value(0)).fileName();
        return QString();
    };
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(form.get(), Qt::Key_F2);
    // Save is preset with the tune's name, as F2 always was; Save As with a name no file has.
    WriteBytes(dir.filePath("base-2.ign"), "MAVELTIK_KEY 15\n");
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(seen, (QStringList{"SaveDialog1:base.ign", "SaveDialog1:base-2.ign",
                                 "SaveDialog1:base.ign", "SaveDialog1:base-3.ign"}));
}

TEST_F(DeskTest, RecentFilesListTheLastFiveAndOpenAgainAfterARestart) {
    Open();
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        paths << dir.filePath(QString("tune%1.ign").arg(i));
        WriteBytes(paths.last(), "MAVELTIK_KEY 15\nBIKE " + QByteArray::number(i % 4) + "\n");
        Answer(paths.last());
        TriggerAction(i == 6 ? "MenuSave" : "MenuOpen");  // a save counts as well
    }
    Answer(paths[2]);
    TriggerAction("MenuOpen");  // again: back to the top, no second entry
    auto entries = [&] {
        QStringList texts;
        for (QAction* a : Find<QMenu>("MenuRecent")->actions()) texts << a->text();
        return texts;
    };
    const QStringList expected{"&1 tune3.ign", "&2 tune6.ign", "&3 tune5.ign", "&4 tune4.ign",
                               "&5 tune2.ign"};
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(Find<QLabel>("LabelFileName")->text(), "tune3.ign");
    CloseAndDestroy();
    const QByteArray settings = ReadFile("Korvan2.ini");
    EXPECT_TRUE(settings.contains("[RECENT_FILES]\r\nFile1=" + paths[2].toUtf8() + "\r\n"))
        << settings.constData();

    Open({"CESKY"});
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(Find<QMenu>("MenuRecent")->title(), "Naposledy &použité");
    EXPECT_EQ(Find<QLabel>("LabelFileName")->text(), "tune3.ign");  // the file it last showed
    QAction* fourth = Find<QAction>("MenuRecent4");
    ASSERT_NE(fourth, nullptr);
    fourth->trigger();
    EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), paths[3]);
    EXPECT_EQ(Byte(field::BikeType), 0);  // tune4: BIKE 0
    EXPECT_EQ(entries().first(), "&1 tune4.ign");
    TriggerAction("MenuNew");
    EXPECT_TRUE(Find<QLabel>("LabelFileName")->isHidden());
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
        {{"ENGLISH", "/dev/zero"}, false, "Open file error", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        messages.clear();
        windowShownAtMessage.clear();
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        Open(c.arguments);
        EXPECT_TRUE(form->isVisible());
        if (c.opened) {
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_EQ(Byte(field::BikeType), 2);
            EXPECT_EQ(Byte(field::Limiter1), 60);
            EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), c.arguments.last());
        } else {
            // The window is there before the box, which names the file on its second line.
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(windowShownAtMessage.value(0));
            EXPECT_EQ(messages[0].section('\n', 0, 0), QString::fromUtf8(c.message));
            EXPECT_TRUE(messages[0].section('\n', 1).startsWith(c.arguments.last() + ": "))
                << messages[0].toStdString();
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
