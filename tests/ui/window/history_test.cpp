// Never losing a tune, in the window: restore points after Open, Save, Read and Program, the
// unit field in the status bar, the history window's open and compare, the compares with a
// file and with the unit, and a history folder that cannot be written.
#include <QAbstractItemModel>
#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeView>

#include "files/parameter_file.h"
#include "history/restore_store.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/history/compare_view.h"
#include "ui/history/history_window.h"
#include "ui/window/history_controller.h"

namespace korvan::testing {
namespace {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class HistoryTest : public WindowTest {
  public:
    void SetUp() override {
        WindowTest::SetUp();
        ClearHistory();
    }
    void TearDown() override {
        WindowTest::TearDown();
        ClearHistory();
    }
    static void ClearHistory() {
        const QString folder = HistoryController::HistoryFolder();
        QFile::remove(folder);  // a test may have put a file in its place
        QDir(folder).removeRecursively();
    }
    HistoryController& History() { return form->History(); }
    QString UnitField() const { return Find<QLabel>("LabelUnitState")->text(); }
    QString StatusMessage() const { return form->statusBar()->currentMessage(); }
    // A parameter file holding the window's current set with Limiter changed.
    QString WriteTune(const QString& name, int limiterByte) {
        DeviceImage tune = form->Image();
        tune[field::Limiter2] = static_cast<std::uint8_t>(limiterByte);
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(ParameterFileText(tune, false)));
        return path;
    }
    void OpenFile(const QString& path) {
        fileDialog = [path](QFileDialog&) { return path; };
        Find<QAction>("MenuOpen")->trigger();
    }
    void SaveFile(const QString& path) {
        fileDialog = [path](QFileDialog&) { return path; };
        Find<QAction>("MenuSave")->trigger();
    }
    // Commits a typed value into a field, as Enter does.
    void Commit(const char* edit, const QString& text) {
        TypeInto(edit, text);
        QTest::keyClick(Edit(edit), Qt::Key_Return);
    }
    std::vector<RestorePoint> Points() {
        RestoreStore store(HistoryController::HistoryFolder().toStdString());
        return store.List();
    }
    QTemporaryDir dir;
};

TEST_F(HistoryTest, AStartRemovesTemporaryFilesAKilledWriteLeft) {
    const QString folder = HistoryController::HistoryFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QStringList stale = {"20261208T064503Z-read.ign.a1B2c3", "index.txt.Q7w8E9"};
    const QStringList kept = {"20261208T064503Z-read.ign.young1", "notes.txt.a1B2c3"};
    for (const QString& name : stale + kept) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();  // the write would set the time again on close
        if (!name.contains("young"))
            f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                          QFileDevice::FileModificationTime);
    }
    Open();
    for (const QString& name : stale)
        EXPECT_FALSE(QFile::exists(folder + "/" + name)) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFile::exists(folder + "/" + name)) << name.toStdString();
}

TEST_F(HistoryTest, OpenAndSaveEachStoreAPointWithTheSourcePathAndTheSavedBytes) {
    Open();
    const QString tune = WriteTune("tune.ign", 120);
    OpenFile(tune);
    ASSERT_EQ(Byte(field::Limiter2), 120);
    const QString saved = dir.path() + "/saved.ign";
    SaveFile(saved);

    const std::vector<RestorePoint> points = Points();  // newest first
    ASSERT_EQ(points.size(), 2u);
    const struct {
        RestoreKind kind;
        QString source;
    } expected[] = {{RestoreKind::Saved, saved}, {RestoreKind::Opened, tune}};
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(points[i].kind, expected[i].kind);
        EXPECT_EQ(QString::fromStdString(points[i].sourcePath), expected[i].source);
        EXPECT_TRUE(points[i].unit.VersionString.empty());  // no unit was involved
    }
    // The point is what Save writes, byte for byte.
    EXPECT_EQ(ReadBytes(HistoryController::HistoryFolder() + "/" +
                        QString::fromStdString(points[0].fileName)),
              ReadBytes(saved));
    EXPECT_FALSE(StatusMessage().startsWith("Restore point not stored"));  // a hint may stand there
}

TEST_F(HistoryTest, AHistoryThatCannotBeWrittenSaysSoOnceAndNeverBlocks) {
    // A file where the folder should be: it cannot be made, for any user.
    QDir().mkpath(QFileInfo(HistoryController::HistoryFolder()).path());
    {
        QFile blocker(HistoryController::HistoryFolder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    Open();
    OpenFile(WriteTune("tune.ign", 130));
    EXPECT_EQ(Byte(field::Limiter2), 130);  // the Open completed
    EXPECT_TRUE(StatusMessage().startsWith("Restore point not stored: "))
        << StatusMessage().toStdString();
    EXPECT_GT(StatusMessage().size(),
              QString("Restore point not stored: ").size());  // with the reason

    form->statusBar()->clearMessage();
    const QString saved = dir.path() + "/saved.ign";
    SaveFile(saved);
    EXPECT_FALSE(ReadBytes(saved).isEmpty());  // the Save completed
    EXPECT_TRUE(StatusMessage().isEmpty());    // and the problem was said only once
    History().OperationFinished({OperationMode::Read, true, false});
    EXPECT_TRUE(StatusMessage().isEmpty());
    EXPECT_EQ(UnitField(), "In the unit");

    // Once the folder can be written again a later problem is said again.
    ClearHistory();
    SaveFile(saved);
    ASSERT_EQ(Points().size(), 1u);
    QFile::remove(HistoryController::HistoryFolder() + "/" + RestoreStore::kIndexName);
    QDir(HistoryController::HistoryFolder()).removeRecursively();
    QFile(HistoryController::HistoryFolder()).open(QIODevice::WriteOnly);
    SaveFile(saved);
    EXPECT_TRUE(StatusMessage().startsWith("Restore point not stored: "));
}

// What the unit field says through a session: the ends of the link's operations and the
// commits in between.
TEST_F(HistoryTest, TheUnitFieldFollowsOperationsAndCommits) {
    Open();
    EXPECT_EQ(UnitField(), "Unit: unknown");
    const QString clutch = Edit("EditClutch")->lineEdit()->text();
    ASSERT_NE(clutch, "55");
    const struct Step {
        const char* what;
        std::function<void(HistoryTest&)> act;
        const char* field;
        int points;  // restore points stored so far
        const char* newestKind;
    } steps[] = {
        {"a read verified",
         [](HistoryTest& t) {
             t.History().OperationFinished({OperationMode::Read, true, false});
         },
         "In the unit", 1, "read"},
        {"one field committed", [](HistoryTest& t) { t.Commit("EditClutch", "55"); },
         "Not in the unit: 1 change", 1, "read"},
        {"a second field", [](HistoryTest& t) { t.Commit("EditOmez2", "9500"); },
         "Not in the unit: 2 changes", 1, "read"},
        {"the first field back", [clutch](HistoryTest& t) { t.Commit("EditClutch", clutch); },
         "Not in the unit: 1 change", 1, "read"},
        {"a program verified",
         [](HistoryTest& t) {
             t.History().OperationFinished({OperationMode::Program, true, false});
         },
         "In the unit", 2, "programmed"},
        {"Advance + after it", [](HistoryTest& t) { t.Find<QAction>("AdvancePlus")->trigger(); },
         "Not in the unit: 1 change", 2, "programmed"},
        {"a verify that failed",
         [](HistoryTest& t) {
             t.History().OperationFinished({OperationMode::Verify, false, false});
         },
         "Unit: unknown", 2, "programmed"},
        {"a verify that passed",
         [](HistoryTest& t) {
             t.History().OperationFinished({OperationMode::Verify, true, false});
         },
         "In the unit", 2, "programmed"},
        {"a program broken off",
         [](HistoryTest& t) {
             t.History().OperationFinished({OperationMode::Program, false, false});
         },
         "Unit: unknown", 2, "programmed"},
        {"New", [](HistoryTest& t) { t.Find<QAction>("MenuNew")->trigger(); }, "Unit: unknown", 2,
         "programmed"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(*this);
        EXPECT_EQ(UnitField(), s.field);
        const std::vector<RestorePoint> points = Points();
        ASSERT_EQ(points.size(), static_cast<std::size_t>(s.points));
        EXPECT_STREQ(RestoreKindWord(points[0].kind), s.newestKind);
    }
    // The field speaks the window's language.
    const struct {
        const char* item;
        const char* text;
    } languages[] = {{"MenuCzech", "Stav jednotky: neznámý"},
                     {"MenuGerman", "Zündbox: unbekannt"},
                     {"MenuEnglish", "Unit: unknown"}};
    for (const auto& l : languages) {
        Find<QAction>(l.item)->trigger();
        EXPECT_EQ(UnitField(), QString::fromUtf8(l.text));
    }
}

TEST_F(HistoryTest, TheToolsItemsSpeakEachLanguage) {
    Open();
    const struct {
        const char* item;
        const char* history;
        const char* file;
        const char* unit;
    } cases[] = {
        {"MenuCzech", "&Historie...", "Porovnat se &souborem...", "Porovnat s &jednotkou"},
        // Not the Verify word ("Vergleichen") of the German menu.
        {"MenuGerman", "&Verlauf...", "Unterschiede zur &Datei...", "Unterschiede zur &Zündbox"},
        {"MenuEnglish", "&History...", "Compare with &file...", "Compare with &unit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        Find<QAction>(c.item)->trigger();
        EXPECT_EQ(Find<QAction>("MenuHistory")->text(), QString::fromUtf8(c.history));
        EXPECT_EQ(Find<QAction>("MenuCompareFile")->text(), QString::fromUtf8(c.file));
        EXPECT_EQ(Find<QAction>("MenuCompareUnit")->text(), QString::fromUtf8(c.unit));
    }
}

TEST_F(HistoryTest, TheHistoryWindowOpensAndComparesPointsAndRefusesAnUnreadableOne) {
    Open();
    OpenFile(WriteTune("a.ign", 110));
    OpenFile(WriteTune("b.ign", 140));
    ASSERT_EQ(Byte(field::Limiter2), 140);
    EXPECT_EQ(History().History(), nullptr);  // made on first use
    EXPECT_EQ(History().Compare(), nullptr);

    Find<QAction>("MenuHistory")->trigger();
    HistoryWindow* window = History().History();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    const std::vector<RestorePoint> points = Points();
    ASSERT_EQ(points.size(), 2u);
    // Two opens one after the other: one group, the points beneath it.
    QAbstractItemModel* model = window->Model();
    ASSERT_EQ(model->rowCount(), 1);
    const QModelIndex group = model->index(0, 0);
    ASSERT_EQ(model->rowCount(group), 2);
    EXPECT_TRUE(group.data().toString().startsWith("Opened 2 times, "))
        << group.data().toString().toStdString();
    const QString older = QString::fromStdString(points[1].fileName);  // the set of a.ign

    // Compare: the older point against the current set, one field apart.
    window->List()->setCurrentIndex(model->index(1, 0, group));
    ASSERT_EQ(window->CurrentFileName(), older);
    window->CompareButton()->click();
    ASSERT_NE(History().Compare(), nullptr);
    EXPECT_TRUE(History().CompareWindow()->isVisible());
    ASSERT_EQ(History().Compare()->Comparison().ChangeCount(), 1);
    EXPECT_EQ(History().Compare()->Comparison().fields[0].control, "EditOmez2");
    EXPECT_EQ(Byte(field::Limiter2), 140);  // comparing changes nothing

    // Open: the point's set comes back into the editor, and then equals it.
    window->OpenButton()->click();
    EXPECT_EQ(Byte(field::Limiter2), 110);
    EXPECT_EQ(Find<QLabel>("LabelFile2")->text(), "");
    window->CompareButton()->click();
    EXPECT_TRUE(History().Compare()->Comparison().Identical());
    EXPECT_EQ(History().Compare()->SummaryLabel()->text(), "The parameters are identical.");

    // A point edited by hand into something else is refused, and nothing changes.
    {
        QFile f(HistoryController::HistoryFolder() + "/" + older);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a parameter file\n");
    }
    const DeviceImage before = form->Image();
    messages.clear();
    window->OpenButton()->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(older));
    EXPECT_EQ(form->Image().bytes, before.bytes);
    window->Refresh();
    window->List()->setCurrentIndex(model->index(1, 0, model->index(0, 0)));
    EXPECT_EQ(window->CurrentFileName(), "");  // listed as unreadable: no longer chosen
}

TEST_F(HistoryTest, CompareWithAFileAndPrintTheComparison) {
    Open();
    const QString other = WriteTune("other.ign", 150);
    fileDialog = [other](QFileDialog& d) {
        EXPECT_EQ(d.objectName(), "CompareDialog");
        return other;
    };
    Find<QAction>("MenuCompareFile")->trigger();
    ASSERT_NE(History().Compare(), nullptr);
    const ParameterComparison& c = History().Compare()->Comparison();
    ASSERT_EQ(c.fields.size(), 1u);
    // In the field's unit: the file is the reference, the current set the other.
    EXPECT_EQ(c.fields[0].other, 100 * form->Image()[field::Limiter2]);
    EXPECT_EQ(c.fields[0].base, 15000);
    EXPECT_TRUE(Points().empty());  // a compare stores nothing

    const QString pdf = dir.path() + "/compare.pdf";
    printer = [pdf] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        return p;
    };
    Find<QPushButton>("ButtonComparePrint")->click();
    EXPECT_TRUE(ReadBytes(pdf).startsWith("%PDF"));
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
}  // namespace korvan::testing
