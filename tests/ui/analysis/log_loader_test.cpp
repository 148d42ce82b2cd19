// Reading a log off the window's thread: the result arrives through the event loop, a FIFO
// is refused without anyone waiting for a writer, and a later read replaces an earlier one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/analysis/synthetic_ride.h"
#include "ui/analysis/log_loader.h"

namespace korvan::testing {
namespace {

constexpr int kWaitMs = 10000;

QString Write(const QTemporaryDir& dir, const char* name, const std::string& text) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
    return f.fileName();
}

TEST(LogLoader, HandsOverTheLogThroughTheEventLoop) {
    QTemporaryDir dir;
    const SyntheticRide ride(500);
    const QString path = Write(dir, "ride.msl", ride.MslText());
    LogLoader loader;
    QSignalSpy loaded(&loader, &LogLoader::Loaded);
    loader.Load(path);
    EXPECT_TRUE(loader.Busy());
    EXPECT_EQ(loaded.count(), 0) << "never within the call: the window's thread goes on";
    ASSERT_TRUE(loaded.wait(kWaitMs));
    EXPECT_FALSE(loader.Busy());
    const auto log = loaded.at(0).at(1).value<SharedLog>();
    ASSERT_TRUE(log != nullptr && log->Ok());
    EXPECT_EQ(log->rows.size(), 500u);
    EXPECT_EQ(loaded.at(0).at(0).toString(), path);
}

TEST(LogLoader, RefusesAFifoWithoutWaitingForAWriter) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("stuck.msl");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    LogLoader loader;
    QSignalSpy loaded(&loader, &LogLoader::Loaded);
    loader.Load(fifo);
    ASSERT_TRUE(loaded.wait(kWaitMs));
    const auto log = loaded.at(0).at(1).value<SharedLog>();
    EXPECT_EQ(log->refusal, LogRefusal::NotAFile);
    EXPECT_EQ(log->fileKind, FileKind::Fifo);
}

TEST(LogLoader, ALaterReadReplacesAnEarlierOne) {
    QTemporaryDir dir;
    const QString first = Write(dir, "first.msl", SyntheticRide(3000).MslText());
    const QString second = Write(dir, "second.msl", SyntheticRide(40).MslText());
    LogLoader loader;
    QSignalSpy loaded(&loader, &LogLoader::Loaded);
    loader.Load(first);
    loader.Load(second);
    ASSERT_TRUE(loaded.wait(kWaitMs));
    QTest::qWait(200);  // the first read's end, if it were still handed over
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(loaded.at(0).at(0).toString(), second);
    EXPECT_EQ(loaded.at(0).at(1).value<SharedLog>()->rows.size(), 40u);
}

}  // namespace
}  // namespace korvan::testing
