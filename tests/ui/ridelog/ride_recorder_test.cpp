#include "ui/ridelog/ride_recorder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>

#include <sys/resource.h>

#include "log/ride_log_reader.h"
#include "params/defaults.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

DeviceFrame Frame(std::uint16_t rpm, std::uint8_t tps) {
    MonitorChannels c;
    c.Rpm = rpm;
    c.TpsPercent = tps;
    c.LambdaMv = 850;
    return EncodeMonitorFrame(c);
}

TEST(RideRecorder, RecordsFramesMarksAndStatusOnAHandDrivenClock) {
    QTemporaryDir dir;
    qint64 now = 5000;
    RideRecorder recorder;
    recorder.SetClock([&] { return now; });
    const QString path =
        RideRecorder::DefaultFileName(dir.path(), QDateTime(QDate(2026, 12, 8), QTime(7, 57, 25)));
    EXPECT_EQ(QFileInfo(path).fileName(), "Korvan2_2026-12-08_07-57-25.msl");
    EXPECT_TRUE(recorder.StatusText().isEmpty());
    ASSERT_TRUE(recorder.Start(path)) << recorder.LastError().toStdString();
    const DeviceImage image = DefaultImage();
    for (int i = 0; i < 12; ++i) {
        recorder.AddFrame(Frame(static_cast<std::uint16_t>(1000 + 500 * i), 40).data(), image,
                          true);
        if (i == 3) recorder.Mark();
        now += 330;
    }
    now = 5000 + 3723 * 1000;
    EXPECT_EQ(recorder.StatusText(), "REC 01:02:03  12");

    // A second has passed: Tick() puts every row in the file while recording goes on.
    recorder.Tick();
    RideLogReadResult read = ReadRideLogFile(path.toStdString());
    ASSERT_TRUE(read.Ok()) << read.RefusalText("", kEnglish);
    EXPECT_EQ(read.rows.size(), 12u);
    recorder.Stop();
    EXPECT_FALSE(recorder.IsRecording());

    read = ReadRideLogFile(path.toStdString());
    ASSERT_EQ(read.rows.size(), 12u);
    EXPECT_EQ(read.title, ProgramTitle());
    EXPECT_FALSE(read.captureDate.empty());
    EXPECT_EQ(read.marks, std::vector<std::size_t>{4});
    EXPECT_DOUBLE_EQ(read.rows[1].TimeS, 0.33);
    EXPECT_EQ(read.rows[11].Channels.Rpm, 6500);
}

TEST(RideRecorder, RefusesFilesItCannotWriteAndSaysWhy) {
    QTemporaryDir dir;
    struct Case {
        QString path;
        const char* reasonPart;
        const char* ending;  // the system's reason, as a sentence
    } cases[] = {
        {dir.path() + "/missing/folder/ride.msl", "Cannot create the ride log", "."},
        // The header cannot be flushed: the disk is full.
        {"/dev/full", "Cannot create the ride log", ": No space left on device."},
    };
    for (const Case& c : cases) {
        if (c.path == "/dev/full" && !QFile::exists(c.path)) continue;
        RideRecorder recorder;
        EXPECT_FALSE(recorder.Start(c.path)) << c.path.toStdString();
        EXPECT_FALSE(recorder.IsRecording());
        EXPECT_TRUE(recorder.LastError().startsWith(c.reasonPart))
            << recorder.LastError().toStdString();
        EXPECT_TRUE(recorder.LastError().endsWith(c.ending)) << recorder.LastError().toStdString();
        EXPECT_GT(recorder.LastError().size(), QString(c.reasonPart).size() + c.path.size() + 2);
        recorder.AddFrame(Frame(1000, 0).data(), DefaultImage(), true);  // ignored, no crash
        EXPECT_EQ(recorder.Rows(), 0u);
    }
}

// A disk that fills up while recording: the file size limit makes a write fail part-way,
// even for root.
TEST(RideRecorder, StopsWithAMessageWhenTheDiskFillsAndKeepsWholeRows) {
    QTemporaryDir dir;
    qint64 now = 0;
    RideRecorder recorder;
    recorder.SetClock([&] { return now; });
    const QString path = dir.path() + "/ride.msl";
    QSignalSpy failed(&recorder, &RideRecorder::Failed);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;  // the header and a few seconds of rows
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool started = recorder.Start(path);
    for (int i = 0; i < 100 && recorder.IsRecording(); ++i, now += 330) {
        recorder.AddFrame(Frame(static_cast<std::uint16_t>(3000 + i), 10).data(), DefaultImage(),
                          true);
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    ASSERT_TRUE(started);
    EXPECT_FALSE(recorder.IsRecording());
    ASSERT_EQ(failed.count(), 1);
    const QString message = failed.at(0).at(0).toString();
    EXPECT_TRUE(message.startsWith("Recording stopped, cannot write to")) << message.toStdString();
    // The system's reason, not Qt's "Unknown error" for a write it took only part of.
    EXPECT_TRUE(message.contains(": File too large. The ")) << message.toStdString();
    const RideLogReadResult read = ReadRideLogFile(path.toStdString());
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.badRowCount, 0u);  // no row cut in half
    EXPECT_GT(read.rows.size(), 3u);
    EXPECT_TRUE(message.endsWith(
        QString("The %1 rows written so far stay in the file.").arg(read.rows.size())))
        << message.toStdString();
    for (std::size_t i = 0; i < read.rows.size(); ++i)
        EXPECT_EQ(read.rows[i].Channels.Rpm, 3000 + i);
}

// The file size limit stands in for a full disk: the header itself cannot be written.
TEST(RideRecorder, ALogThatCouldNotStartLeavesNoFileInAnyFormat) {
    QTemporaryDir dir;
    for (const char* name : {"ride.msl", "ride.mlg", "ride.csv"}) {
        SCOPED_TRACE(name);
        const QString path = dir.path() + "/" + name;
        RideRecorder recorder;
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = old;
        tiny.rlim_cur = 8;  // part of the header, never all of it
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const bool started = recorder.Start(path);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);

        EXPECT_FALSE(started);
        EXPECT_FALSE(recorder.IsRecording());
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(
            recorder.LastError().toStdString(),
            QString("Cannot create the ride log %1: File too large.").arg(path).toStdString());
    }
}

TEST(RideRecorder, WritesTheFormatItsNameAsksFor) {
    QTemporaryDir dir;
    qint64 now = 0;
    for (const char* name : {"ride.msl", "ride.mlg", "ride.csv", "RIDE.MLG"}) {
        SCOPED_TRACE(name);
        const QString path = dir.path() + "/" + name;
        RideRecorder recorder;
        recorder.SetClock([&] { return now; });
        LogHeader names;
        names.unitVersion = "K2 1.07";
        names.tuneFile = "track.ign";
        ASSERT_TRUE(recorder.Start(path, names));
        for (int i = 0; i < 5; ++i, now += 330)
            recorder.AddFrame(Frame(static_cast<std::uint16_t>(2000 + i), 30).data(),
                              DefaultImage(), true);
        recorder.Mark();
        recorder.Stop();
        const RideLogReadResult read = ReadRideLogFile(path.toStdString());
        ASSERT_TRUE(read.Ok()) << read.RefusalText(name, kEnglish);
        EXPECT_EQ(read.format, *LogFormatOfPath(name));
        EXPECT_EQ(read.rows.size(), 5u);
        EXPECT_EQ(read.rows[4].Channels.Rpm, 2004);
        EXPECT_EQ(read.marks, std::vector<std::size_t>{5});
        // The header names the unit and the tune where the format has a place for them.
        const bool named = read.format != LogFormat::Csv;
        EXPECT_EQ(read.unitVersion, named ? "K2 1.07" : "");
        EXPECT_EQ(read.tuneFile, named ? "track.ign" : "");
        EXPECT_EQ(read.captureDate.empty(), !named);
    }
}

}  // namespace
}  // namespace korvan
