#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ui/ridelog/replay_controller.h"
#include "ui/ridelog/replay_panel.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

QString WriteLog(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.path() + "/" + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

// Ten rows a third of a second apart, speeds 1000..10000, then a 5-minute pause.
QByteArray TenRows() {
    QByteArray text =
        "\"Korvan2 2.0\"\r\nTime\tRPM\tTPS\tLambda\tAdvance\tClutch\r\ns\trpm\t%\tmV\tdeg\ton\r\n";
    for (int i = 0; i < 10; ++i) {
        text += QByteArray::number(i * 0.33, 'f', 3) + "\t" + QByteArray::number(1000 * (i + 1)) +
                "\t" + QByteArray::number(i * 10) + "\t" + QByteArray::number(800 + i) + "\t" +
                QByteArray::number(20 + i) + "\t" + QByteArray::number(i % 2) + "\r\n";
    }
    text += "300.000\t500\t0\t900\t5\t0\r\n";
    return text;
}

TEST(ReplayController, EmitsMonitorFramesOfTheLoggedRows) {
    QTemporaryDir dir;
    ReplayController replay;
    QSignalSpy frames(&replay, &ReplayController::FrameReady);
    ASSERT_TRUE(replay.Load(WriteLog(dir, "a.msl", TenRows()), kEnglish));
    EXPECT_TRUE(replay.Message().isEmpty());
    EXPECT_EQ(replay.RowCount(), 11);
    ASSERT_EQ(frames.count(), 1);
    for (int row : {0, 3, 9}) {
        replay.Seek(row);
        const QByteArray frame = frames.last().at(0).toByteArray();
        ASSERT_EQ(frame.size(), static_cast<int>(kFrameSize));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.constData());
        ASSERT_TRUE(MonitorFrameValid(bytes));
        const MonitorChannels c = DecodeMonitorChannels(bytes);
        EXPECT_EQ(c.Rpm, 1000 * (row + 1));
        EXPECT_EQ(c.TpsPercent, row * 10);
        EXPECT_EQ(c.LambdaMv, 800 + row);
        EXPECT_EQ(c.Advance, 20 + row);
        EXPECT_EQ(c.Clutch, row % 2 == 1);
    }
}

TEST(ReplayController, PlaysAtEachSpeedOnHandDrivenTicks) {
    QTemporaryDir dir;
    const QString path = WriteLog(dir, "a.msl", TenRows());
    struct Case {
        int speed;
        int ticks;  // of 55 ms
        int row;
    } cases[] = {
        // Tick counts stay clear of a row's exact time.
        {1, 1, 0},  {1, 7, 1},  {1, 13, 2}, {4, 4, 2},    {4, 7, 4},
        {16, 1, 2}, {16, 2, 5}, {16, 4, 9}, {16, 40, 10},  // the 5-minute pause lasts a second of
                                                           // log time, then the last row
    };
    for (const Case& c : cases) {
        ReplayController replay;
        ASSERT_TRUE(replay.Load(path, kEnglish));
        replay.SetSpeed(c.speed);
        replay.Play();
        EXPECT_TRUE(replay.IsPlaying());
        for (int t = 0; t < c.ticks; ++t) replay.Advance(ReplayController::kTimerIntervalMs);
        EXPECT_EQ(replay.Position(), c.row) << c.speed << "x " << c.ticks;
        EXPECT_EQ(replay.IsPlaying(), c.row < 10)
            << c.speed << "x " << c.ticks;  // stops at the end
    }
}

TEST(ReplayController, StepAndSeekStayInsideTheLog) {
    QTemporaryDir dir;
    ReplayController replay;
    ASSERT_TRUE(replay.Load(WriteLog(dir, "a.msl", TenRows()), kEnglish));
    replay.SetSpeed(3);  // not offered: stays 1x
    EXPECT_EQ(replay.Speed(), 1);
    struct Case {
        int step;
        int row;
    } steps[] = {{1, 1}, {1, 2}, {-1, 1}, {-5, 0}, {100, 10}, {1, 10}};
    replay.Play();
    for (const Case& c : steps) {
        replay.Step(c.step);
        EXPECT_FALSE(replay.IsPlaying());
        EXPECT_EQ(replay.Position(), c.row) << c.step;
    }
    replay.Play();  // from the end: starts again
    EXPECT_EQ(replay.Position(), 0);
}

TEST(ReplayController, RefusalsAndBadRowsAreSaid) {
    QTemporaryDir dir;
    struct Case {
        QString name;
        QByteArray text;
        bool loads;
        const char* message;
    } cases[] = {
        {"a.txt", TenRows(), false, "is not a ride log (.msl, .mlg or .csv)."},
        {"b.msl", "Time\tSpeed\r\n1\t2\r\n", false, "has no RPM column."},
        {"c.msl", "Time\tRPM\r\n0\t1000\r\n0.3\tx\r\n0.6\t2000\r\n", true,
         "Bad rows left out (1): line 3: RPM is not a number"},
    };
    for (const Case& c : cases) {
        ReplayController replay;
        EXPECT_EQ(replay.Load(WriteLog(dir, c.name, c.text), kEnglish), c.loads)
            << c.name.toStdString();
        EXPECT_TRUE(replay.Message().endsWith(c.message)) << replay.Message().toStdString();
        EXPECT_EQ(replay.IsLoaded(), c.loads);
    }
}

// A FIFO named like a log would block the window thread in open() until a writer came.
TEST(ReplayController, APipeNamedLikeALogIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/x.msl";
    ASSERT_EQ(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    // Should the open block after all, a writer from another thread ends the wait, and the
    // test fails instead of hanging.
    std::atomic<bool> done{false};
    std::atomic<bool> hadToUnblock{false};
    std::thread unblock([&] {
        for (int i = 0; i < 50 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (done) return;
        hadToUnblock = true;
        const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    ReplayController replay;
    const bool loaded = replay.Load(path, kEnglish);
    done = true;
    unblock.join();
    EXPECT_FALSE(hadToUnblock);
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(replay.Message().endsWith("is a pipe (FIFO), not a file; it is not read."))
        << replay.Message().toStdString();
}

TEST(ReplayPanel, WidthNeverDependsOnTheLoggedValues) {
    QTemporaryDir dir;
    const QByteArray head = "Time\tRPM\r\ns\trpm\r\n";
    // Rows that claim 1e308 s or a negative time are refused; the rest is replayed.
    const QString small =
        WriteLog(dir, "small.msl", head + "0\t1000\r\n1e308\t1\r\n-5\t1\r\n0.3\t2000\r\n");
    QByteArray bigText = head;
    for (int i = 0; i < 2000; ++i)
        bigText += QByteArray::number(4000000.0 + i * 0.5, 'f', 3) + "\t65535\r\n";
    const QString big = WriteLog(dir, "big.msl", bigText);

    ReplayController replay;
    ReplayPanel panel(replay, kEnglish);
    ASSERT_TRUE(replay.Load(small, kEnglish));
    EXPECT_EQ(replay.RowCount(), 2);
    EXPECT_TRUE(replay.Message().contains("line 4: Time is too large, line 5: Time is negative"))
        << replay.Message().toStdString();
    panel.Refresh();
    const int width = panel.sizeHint().width();
    ASSERT_TRUE(replay.Load(big, kEnglish));
    panel.Refresh();
    replay.Seek(replay.RowCount() - 1);
    EXPECT_EQ(panel.sizeHint().width(), width);
    EXPECT_EQ(panel.PositionLabel()->minimumWidth(), panel.PositionLabel()->maximumWidth());
}

TEST(ReplayPanel, ControlsDriveTheReplay) {
    QTemporaryDir dir;
    ReplayController replay;
    ReplayPanel panel(replay, kEnglish);
    EXPECT_FALSE(panel.PlayButton()->isEnabled());  // nothing loaded yet
    ASSERT_TRUE(replay.Load(WriteLog(dir, "a.msl", TenRows()), kEnglish));
    panel.Refresh();
    EXPECT_TRUE(panel.PlayButton()->isEnabled());
    EXPECT_EQ(panel.Slider()->maximum(), 10);

    panel.Slider()->setValue(4);
    EXPECT_EQ(replay.Position(), 4);
    EXPECT_EQ(panel.PositionLabel()->text(), "1.3 / 300.0 s   5 / 11");
    replay.Step(2);
    EXPECT_EQ(panel.Slider()->value(), 6);

    panel.SpeedBox()->setCurrentIndex(2);
    EXPECT_EQ(replay.Speed(), 16);
    EXPECT_EQ(panel.PlayButton()->text(), "Play");
    panel.PlayButton()->click();
    EXPECT_TRUE(replay.IsPlaying());
    EXPECT_EQ(panel.PlayButton()->text(), "Pause");
    panel.SetLanguage(2);
    EXPECT_EQ(panel.PlayButton()->text(), "Pause");
    panel.PlayButton()->click();
    EXPECT_FALSE(replay.IsPlaying());
    EXPECT_EQ(panel.PlayButton()->text(), "Abspielen");
}

}  // namespace
}  // namespace korvan
