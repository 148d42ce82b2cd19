// The ride analysis through the main window: the Tools menu's item opens it on a file, the
// replay's log or the last recording, on the tune in the window (whose changes it follows);
// it exports the log as .mlg, .csv or .msl, refuses what is no log with the reason, and
// prints its summary.
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <ostream>

#include "log/ride_log_reader.h"
#include "params/binding.h"
#include "params/language_tables.h"
#include "tests/ui/analysis/synthetic_ride.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/analysis/analysis_window.h"
#include "ui/analysis/cell_grid.h"
#include "ui/analysis/filter_panel.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/window/analysis_controller.h"
#include "ui/window/ride_log_controller.h"

namespace korvan::testing {
namespace {

class AnalysisTest : public WindowTest {
  public:
    AnalysisController& Analysis() { return *form->RideLog().findChild<AnalysisController*>(); }
    AnalysisWindow& Window() { return *Analysis().Window(); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString WriteRide(const QString& name, const SyntheticRide& ride) {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        const std::string text = ride.MslText();
        f.write(text.data(), static_cast<qint64>(text.size()));
        return f.fileName();
    }
    // Opens the window with the throttle axis on, as the synthetic ride's tune has it.
    void OpenWithThrottleAxis() {
        Open();
        QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
        ASSERT_NE(form->Image()[field::TpsMapa], 0);
        for (std::size_t i = 0; i < kMapColumns; ++i)
            ASSERT_EQ(form->Image()[field::RpmAdv + i], SyntheticRide::Tune()[field::RpmAdv + i]);
    }
    // The menu item, a file chosen when it asks, and the read awaited.
    void AnalyseFromMenu(const QString& path) {
        fileDialog = [path](QFileDialog&) { return path; };
        Find<QAction>("MenuRideAnalysis")->trigger();
        ASSERT_NE(Analysis().Window(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(!Analysis().Loader().Busy(), 10000);
    }
    QString Cell(int row, int column) {
        const auto* model = Window().Grid()->model();
        return model->data(model->index(row, column)).toString();
    }

    QTemporaryDir dir;
};

TEST_F(AnalysisTest, TheMenuAsksForALogAndShowsItOnTheWindowsTune) {
    OpenWithThrottleAxis();
    const SyntheticRide ride(800);
    const QString path = WriteRide("ride.msl", ride);
    QString asked;
    fileDialog = [&](QFileDialog& dialog) {
        asked = dialog.nameFilters().value(0);
        return path;
    };
    Find<QAction>("MenuRideAnalysis")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(Analysis().Window() && Window().Log() != nullptr, 10000);
    EXPECT_TRUE(asked.contains("*.msl *.mlg *.csv"));
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().LogPath(), path);
    Window().QuantityBox()->setCurrentIndex(static_cast<int>(CellQuantity::Samples));
    const auto expected = ride.Expected();
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const std::size_t n =
                expected[static_cast<std::size_t>(row * kMapColumns + column)].samples;
            EXPECT_EQ(Cell(row, column), n ? QString::number(n) : QString())
                << row << "/" << column;
        }
    }

    // The window's map changes: its RPM points move, and the same rows fall elsewhere.
    TypeInto("EditRpmAdv1", "1500");
    QTest::keyClick(Edit("EditRpmAdv1"), Qt::Key_Return);
    ASSERT_EQ(form->Image()[field::RpmAdv], 15);
    EXPECT_EQ(Window().Grid()->model()->headerData(0, Qt::Horizontal).toString(), "1500");
    // 1000 rpm now lies below the first point and nothing lies near 1500: the column empties.
    for (int row = 0; row < kMapRows; ++row) EXPECT_EQ(Cell(row, 0), QString()) << row;
    EXPECT_FALSE(Window().RowsLabel()->text().endsWith("point: 0.0 s"));
    // Asked again, the menu shows the window as it is: no second question.
    fileDialog = [](QFileDialog&) -> QString {
        ADD_FAILURE() << "asked for a file again";
        return {};
    };
    Find<QAction>("MenuRideAnalysis")->trigger();
}

TEST_F(AnalysisTest, TheReplaysLogIsTakenAndItsPositionSetsTheTime) {
    OpenWithThrottleAxis();
    const QString path = WriteRide("ride.msl", SyntheticRide(400));
    fileDialog = [path](QFileDialog&) { return path; };
    form->RideLog().ReplayItem()->trigger();
    ASSERT_TRUE(form->RideLog().IsReplaying());
    fileDialog = [](QFileDialog&) -> QString {
        ADD_FAILURE() << "the replay's log needs no file dialog";
        return {};
    };
    Find<QAction>("MenuRideAnalysis")->trigger();
    ASSERT_NE(Window().Log(), nullptr);
    EXPECT_EQ(Window().Log()->rows.size(), 400u);
    FilterPanel& filter = *Window().Filters();
    EXPECT_TRUE(filter.FromReplayButton()->isEnabled());
    form->RideLog().Replay()->Seek(150);
    filter.FromReplayButton()->click();
    form->RideLog().Replay()->Seek(250);
    filter.ToReplayButton()->click();
    EXPECT_DOUBLE_EQ(filter.FromBox()->value(), 15.0);
    EXPECT_DOUBLE_EQ(filter.ToBox()->value(), 25.0);
    EXPECT_TRUE(Window().RowsLabel()->text().startsWith("Rows in the filter: 101 of 400"))
        << Window().RowsLabel()->text().toStdString();
    // Once the replay ends, its position means nothing here.
    form->RideLog().EndReplay();
    EXPECT_FALSE(filter.FromReplayButton()->isEnabled());
}

struct ExportCase {
    const char* file;
    LogFormat format;
};
void PrintTo(const ExportCase& c, std::ostream* os) {
    *os << c.file;
}

class Export : public AnalysisTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(Export, WritesTheLogInTheFormatOfItsNameWithEveryRowAndMarker) {
    OpenWithThrottleAxis();
    const SyntheticRide ride(300);
    AnalyseFromMenu(WriteRide("ride.msl", ride));
    const QString target = Path(GetParam().file);
    fileDialog = [target](QFileDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "AnalysisExportDialog");
        return target;
    };
    Window().ExportItem()->trigger();
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    const RideLogReadResult back = ReadRideLogFile(target.toStdString());
    ASSERT_TRUE(back.Ok()) << back.RefusalText(GetParam().file, 1);
    EXPECT_EQ(back.format, GetParam().format);
    ASSERT_EQ(back.rows.size(), ride.rows.size());
    for (std::size_t i = 0; i < back.rows.size(); ++i) {
        EXPECT_EQ(back.rows[i].Channels, ride.log.rows[i].Channels) << i;
        EXPECT_NEAR(back.rows[i].TimeS, ride.log.rows[i].TimeS, 0.001) << i;
    }
    EXPECT_EQ(back.marks, ride.log.marks);
    EXPECT_TRUE(Window().NoteLabel()->text().startsWith("Saved: "))
        << Window().NoteLabel()->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Formats, Export,
                         ::testing::Values(ExportCase{"out.mlg", LogFormat::Mlg},
                                           ExportCase{"out.csv", LogFormat::Csv},
                                           ExportCase{"out.msl", LogFormat::Msl}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(name.find('.') + 1);
                         });

TEST_F(AnalysisTest, AnExportWithoutAKnownExtensionOrFolderWritesNothingAndSaysWhy) {
    OpenWithThrottleAxis();
    AnalyseFromMenu(WriteRide("ride.msl", SyntheticRide(50)));
    fileDialog = [this](QFileDialog&) { return Path("ride.txt"); };
    Window().ExportItem()->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("ride.txt") && messages[0].contains(".mlg"))
        << messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(Path("ride.txt")));
    fileDialog = [this](QFileDialog&) { return Path("gone/ride.mlg"); };
    Window().ExportItem()->trigger();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].startsWith("The log could not be saved:")) << messages[1].toStdString();
}

TEST_F(AnalysisTest, AFileThatIsNoLogIsNamedAndTheShownLogStays) {
    Open({"DEUTSCH"});
    const QString good = WriteRide("ride.msl", SyntheticRide(50));
    AnalyseFromMenu(good);
    ASSERT_NE(Window().Log(), nullptr);
    const QString fifo = Path("pipe.msl");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    fileDialog = [fifo](QFileDialog&) { return fifo; };
    Window().OpenLogItem()->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!Analysis().Loader().Busy(), 10000);
    ASSERT_EQ(messages.size(), 1);
    const RideLogReadResult refused = ReadRideLogFile(fifo.toStdString());
    EXPECT_EQ(messages[0].toStdString(),
              refused.RefusalText(QDir::toNativeSeparators(fifo).toStdString(), kLanguageGerman));
    EXPECT_EQ(Window().LogPath(), good) << "the log shown before stays";
}

TEST_F(AnalysisTest, TheSummaryPrintsOrSaysThereIsNoPrinter) {
    OpenWithThrottleAxis();
    AnalyseFromMenu(WriteRide("ride.msl", SyntheticRide(300)));
    Window().PrintItem()->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QString::fromUtf8(kNoPrinterMessage.In(kLanguageEnglish)));
    const QString pdf = Path("summary.pdf");
    printer = [&] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        return p;
    };
    Window().Tabs()->setCurrentIndex(2);
    Window().PrintItem()->trigger();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_TRUE(Window().SummaryView()->toPlainText().startsWith("Ride summary: ride.msl"));
    // The summary follows the language.
    form->ApplyLanguage(kLanguageCzech);
    EXPECT_TRUE(Window().SummaryView()->toPlainText().startsWith("Souhrn jízdy: ride.msl"));
    EXPECT_EQ(Find<QAction>("MenuRideAnalysis")->text(), "Rozbor jízdy...");
}

}  // namespace
}  // namespace korvan::testing
