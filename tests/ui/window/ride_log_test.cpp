// The ride log in the window: recording live frames (F6, M, the status field, a failing
// disk), replaying a log through the live path while nothing goes to the unit, the
// time-in-cell colours under the live cursor, and the curve window.
#include <sys/resource.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <csignal>

#include "device/frame.h"
#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"
#include "log/time_in_cell.h"
#include "params/binding.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/ridelog/curve_view.h"
#include "ui/ridelog/heat_map.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/ridelog/replay_panel.h"
#include "ui/ridelog/ride_recorder.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/ride_log_controller.h"

#include "test_frames.h"

namespace korvan::testing {
namespace {

// Without the throttle axis the map's last row is the curve: 3000 rpm is its cell 92
// ("Edit142"), 9000 rpm its cell 98 ("Edit148").
constexpr int kCell3000 = 92;
constexpr int kCell9000 = 98;

class RideLogTest : public WindowTest {
  public:
    RideLogController& Log() { return form->RideLog(); }
    QString Path(const char* name) const { return dir.filePath(name); }
    void EngineAt(std::uint16_t rpm, std::uint8_t tps = 0) {
        port.Queue(Monitor(rpm, tps));
        form->OnTick();
    }
    QColor CellColour(int cell) const {
        return Edit(MapCellEditName(cell).c_str())->palette().color(QPalette::Base);
    }
    // A log of a short ride: 1 s at 3000 rpm, then 0.1 s at 9000 rpm.
    QString WriteRide(const char* name) {
        StringSink sink;
        RideLogWriter writer(sink, "test");
        writer.Start("today");
        const std::pair<std::uint32_t, std::uint16_t> rows[] = {
            {0, 3000}, {500, 3000}, {1000, 9000}, {1100, 9000}};
        for (const auto& [ms, rpm] : rows) {
            RideLogRow row;
            row.TimeMs = ms;
            row.Channels.Rpm = rpm;
            row.Channels.LambdaMv = 800;
            writer.AddRow(row);
        }
        writer.Finish();
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(sink.text.data(), static_cast<qint64>(sink.text.size()));
        return f.fileName();
    }
    bool Replay(const QString& path) {
        fileDialog = [path](QFileDialog&) { return path; };
        Log().ReplayItem()->trigger();
        return Log().IsReplaying();
    }

    QTemporaryDir dir;
};

TEST_F(RideLogTest, F6RecordsARowPerLiveFrameWithMarksAndKeepsTheMonitorRhythm) {
    Open();
    const QString path = Path("ride.msl");
    QString suggested;
    fileDialog = [&](QFileDialog& dialog) {
        suggested = dialog.selectedFiles().value(0);
        return path;
    };
    auto* status = Find<QLabel>("LabelRideLog");
    EXPECT_TRUE(status->isHidden());
    QTest::keyClick(form.get(), Qt::Key_F6);
    ASSERT_TRUE(Log().IsRecording());
    EXPECT_TRUE(QFileInfo(suggested).fileName().startsWith("Korvan2_")) << suggested.toStdString();
    EXPECT_TRUE(suggested.endsWith(".msl"));
    EXPECT_EQ(Log().RecordItem()->text(), "Stop recording");

    // 36 ticks, a frame on every third, M typed into a focused field after the 3rd frame.
    const std::uint16_t rpms[] = {1000, 2000, 3000, 4000, 5000, 6000,
                                  7000, 8000, 9000, 9500, 9800, 9900};
    std::size_t frame = 0;
    for (int tick = 1; tick <= 36; ++tick) {
        if (tick % 3 == 0) port.Queue(Monitor(rpms[frame++], 0));
        form->OnTick();
        if (frame == 3 && tick == 9) {
            TypeInto("Edit142", "");  // the focus in a numeric field
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_M);
        }
    }
    EXPECT_FALSE(status->isHidden());
    EXPECT_TRUE(status->text().startsWith("REC 00:00:")) << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith(" 12")) << status->text().toStdString();
    // Recording only listens: a monitor request every 6th tick, nothing else.
    EXPECT_EQ(port.SentCommands(), std::vector<std::uint8_t>(6, kCmdMonitor));

    QTest::keyClick(form.get(), Qt::Key_F6);
    EXPECT_FALSE(Log().IsRecording());
    EXPECT_TRUE(status->isHidden());
    EXPECT_EQ(Log().RecordItem()->text(), "Record ride log");
    const RideLogReadResult log = ReadRideLogFile(path.toStdString());
    ASSERT_TRUE(log.Ok());
    ASSERT_EQ(log.rows.size(), 12u);
    for (std::size_t i = 0; i < log.rows.size(); ++i)
        EXPECT_EQ(log.rows[i].Channels.Rpm, rpms[i]) << i;
    EXPECT_EQ(log.marks, std::vector<std::size_t>{3});
    EXPECT_EQ(log.badRowCount, 0u);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RideLogTest, AFileThatCannotBeWrittenStopsRecordingWithAMessageAndKeepsTheRows) {
    Open();
    // Cannot be created: a message naming the file, nothing recorded, the window goes on.
    const QString missing = Path("no/such/folder/ride.msl");
    EXPECT_FALSE(Log().StartRecording(missing));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(missing)))
        << messages[0].toStdString();
    EXPECT_TRUE(Find<QLabel>("LabelRideLog")->isHidden());

    // The disk fills while recording: the file may grow by a little more than its header.
    const QString path = Path("full.msl");
    ASSERT_TRUE(Log().StartRecording(path));
    qint64 now = 0;
    Log().Recorder()->SetClock([&now] { return now; });
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(QFileInfo(path).size() + 600);
    setrlimit(RLIMIT_FSIZE, &small);
    for (int i = 0; i < 100 && Log().IsRecording(); ++i) {
        now += 110;
        EngineAt(static_cast<std::uint16_t>(2000 + i));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(Log().IsRecording());
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QDir::toNativeSeparators(path))) << messages[1].toStdString();
    EXPECT_TRUE(Find<QLabel>("LabelRideLog")->isHidden());
    EXPECT_EQ(Log().RecordItem()->text(), "Record ride log");
    const RideLogReadResult log = ReadRideLogFile(path.toStdString());
    ASSERT_TRUE(log.Ok());
    EXPECT_GT(log.rows.size(), 0u);
    EXPECT_EQ(log.badRowCount, 0u) << "the file ends after the last whole row";
    EngineAt(4000);  // the window goes on
    EXPECT_EQ(Find<QLabel>("LabelRpm")->text(), "RPM = 4000 ");
}

TEST_F(RideLogTest, AReplayDrivesTheMonitorAndTheCursorAndSendsNothing) {
    Open();
    for (int tick = 0; tick < 6; ++tick) form->OnTick();
    ASSERT_EQ(port.SentCommands().size(), 1u);  // live monitoring runs

    ASSERT_TRUE(Replay(WriteRide("ride.msl")));
    ASSERT_NE(Log().Panel(), nullptr);
    EXPECT_TRUE(Log().Panel()->isVisible());
    const std::size_t sentBefore = port.written.size();
    for (int tick = 0; tick < 30; ++tick) form->OnTick();
    EXPECT_EQ(Find<QLabel>("LabelRpm")->text(), "RPM = 3000 ");
    const QColor lime = ToQColor(Colour::Lime);
    EXPECT_EQ(CellColour(kCell3000), lime);

    // F5 acts on the replayed cell.
    const std::uint8_t before = Byte(field::Advance + kCell3000);
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_EQ(Byte(field::Advance + kCell3000), before + 1);

    Log().Replay()->Seek(2);
    form->OnTick();
    EXPECT_EQ(Find<QLabel>("LabelRpm")->text(), "RPM = 9000 ");
    EXPECT_EQ(CellColour(kCell9000), lime);
    EXPECT_EQ(CellColour(kCell3000), ToQColor(Colour::Window));
    EXPECT_EQ(port.written.size(), sentBefore) << "nothing reaches the unit during a replay";

    // Closing the panel ends the replay; monitoring resumes within its 6 ticks.
    Log().Panel()->close();
    EXPECT_FALSE(Log().IsReplaying());
    for (int tick = 0; tick < 6; ++tick) form->OnTick();
    EXPECT_EQ(port.SentCommands().size(), 2u);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RideLogTest, ARefusedOrDamagedLogIsNamedInTheUsersLanguage) {
    struct Case {
        const char* file;
        QByteArray content;
        bool replays;
        const char* says;  // in German
    } cases[] = {
        {"notes.txt", "\"x\"\r\nTime\tRPM\r\ns\trpm\r\n0\t1000\r\n", false, "notes.txt"},
        {"norpm.msl", "\"x\"\r\nTime\tTPS\r\ns\t%\r\n0\t10\r\n", false, "RPM"},
        {"bad.msl", "\"x\"\r\nTime\tRPM\r\ns\trpm\r\n0\t1000\r\n0.1\tzz\r\n0.2\r\n0.3\t3000\r\n",
         true, "Ausgelassene fehlerhafte Zeilen (2)"},
    };
    Open({"DEUTSCH"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        messages.clear();
        QFile f(Path(c.file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        EXPECT_EQ(Replay(f.fileName()), c.replays);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(c.says)) << messages[0].toStdString();
        // Exactly the reader's words, in the window's language.
        const RideLogReadResult read = ReadRideLogFile(f.fileName().toStdString());
        const std::string expected =
            c.replays ? read.BadRowsText(kLanguageGerman)
                      : read.RefusalText(QDir::toNativeSeparators(f.fileName()).toStdString(),
                                         kLanguageGerman);
        EXPECT_EQ(messages[0].toStdString(), expected);
        const ReplayController& replay = *Log().Replay();
        EXPECT_EQ(form->Link().MonitorPaused(), c.replays);
        EXPECT_EQ(Log().HeatBox()->isEnabled(), c.replays);
        if (c.replays) {
            EXPECT_EQ(replay.RowCount(), 2);
            Log().EndReplay();
        }
    }
}

TEST_F(RideLogTest, TheHeatMapColoursVisitedCellsUnderTheLiveCursor) {
    Open();
    QCheckBox* heat = Log().HeatBox();
    EXPECT_FALSE(heat->isEnabled()) << "no log loaded yet";
    ASSERT_TRUE(Replay(WriteRide("ride.msl")));
    form->OnTick();  // the cursor on the first row: 3000 rpm

    const HeatMap expected = BuildHeatMap(
        ComputeTimeInCells(Log().Replay()->Log().rows, form->Image(), false), kLanguageEnglish);
    ASSERT_TRUE(expected.colours[kCell9000].isValid());
    heat->click();
    const QColor lime = ToQColor(Colour::Lime);
    const QColor normal = ToQColor(Colour::Window);
    EXPECT_EQ(CellColour(kCell3000), lime) << "the live cell stays lime";
    EXPECT_EQ(CellColour(kCell9000), expected.colours[kCell9000]);
    EXPECT_EQ(CellColour(95), normal) << "never visited";
    // Beneath the cell's range.
    EXPECT_EQ(Edit(MapCellEditName(kCell9000).c_str())->toolTip(),
              "Range 0..60\n0.1 s, lambda 800 mV");
    EXPECT_EQ(Edit(MapCellEditName(kCell3000).c_str())->toolTip(),
              "Range 0..60\n1.0 s, lambda 800 mV");
    EXPECT_EQ(Edit(MapCellEditName(95).c_str())->toolTip(), "Range 0..60");

    // The cursor moves on: the cell it left shows its time again.
    Log().Replay()->Seek(3);
    form->OnTick();
    EXPECT_EQ(CellColour(kCell9000), lime);
    EXPECT_EQ(CellColour(kCell3000), expected.colours[kCell3000]);

    heat->click();
    EXPECT_EQ(CellColour(kCell3000), normal);
    EXPECT_EQ(Edit(MapCellEditName(kCell3000).c_str())->toolTip(), "Range 0..60");
}

TEST_F(RideLogTest, TheCurveWindowIsMadeOnFirstUseAndFollowsEveryCommit) {
    Open();
    EXPECT_EQ(Log().Curves(), nullptr);
    EXPECT_EQ(form->findChild<CurveView*>(), nullptr);
    ShowPageOf(Log().CurveButton());
    QTest::mouseClick(Log().CurveButton(), Qt::LeftButton);
    ASSERT_NE(Log().Curves(), nullptr);
    EXPECT_TRUE(Log().CurveWindow()->isVisible());
    CurveView& curves = *Log().Curves();
    ASSERT_EQ(curves.CurveCount(), 1);  // no throttle axis: one curve
    EXPECT_EQ(curves.CurvePoints(0)[2].y(), Byte(field::Advance + kCell3000));

    // A tool at the live cell: the curve and its marker follow.
    EngineAt(3000);
    form->activateWindow();
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_EQ(curves.CurvePoints(0)[2].y(), Byte(field::Advance + kCell3000));
    ASSERT_TRUE(curves.MarkedPoint().has_value());
    EXPECT_EQ(curves.MarkedPoint()->y(), Byte(field::Advance + kCell3000));
    // A typed value committed by Enter.
    TypeInto("Edit148", "33");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(curves.CurvePoints(0)[8].y(), 33);
    // The throttle axis switched on: one curve per row.
    QTest::mouseClick(Find<QCheckBox>("CheckBoxTpsMapa"), Qt::LeftButton);
    EXPECT_EQ(curves.CurveCount(), kMapRows);

    // It prints its own picture.
    const QString pdf = Path("curves.pdf");
    printer = [&] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        return p;
    };
    Log().CurveWindow()->findChild<QPushButton*>("ButtonPrintCurves")->click();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
}  // namespace korvan::testing
