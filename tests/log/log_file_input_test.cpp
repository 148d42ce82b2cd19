// Ride log files as the system hands them over: pipes, devices, folders, huge files, and rows
// whose times cannot be right, in every format.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "log/csv_log.h"
#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;
using std::chrono::milliseconds;

class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/korvan_log_inputXXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    std::string File(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

  private:
    std::string path_;
};

// A read that does not come back within the time is a reader that blocks; the pipe is then
// opened for writing so that the test can end.
RideLogReadResult ReadWithin(const std::string& path, milliseconds limit) {
    auto read = std::async(std::launch::async, [path] { return ReadRideLogFile(path); });
    if (read.wait_for(limit) == std::future_status::ready) return read.get();
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    ADD_FAILURE() << path << " blocked the reader";
    return read.get();
}

TEST(LogFileInput, WhatIsNotAFileIsRefusedAtOnceInEveryFormat) {
    TempFolder folder;
    for (const char* extension : {".msl", ".mlg", ".csv"}) {
        SCOPED_TRACE(extension);
        const std::string fifo = folder.Path(std::string("pipe") + extension);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const std::string zero = folder.Path(std::string("zero") + extension);
        std::filesystem::create_symlink("/dev/zero", zero);
        const std::string dir = folder.Path(std::string("dir") + extension);
        std::filesystem::create_directory(dir);
        struct Case {
            std::string path;
            LogRefusal refusal;
            const char* ending;
        } cases[] = {
            {fifo, LogRefusal::NotAFile, " is a pipe (FIFO), not a file; it is not read."},
            {zero, LogRefusal::NotAFile, " is a device, not a file; it is not read."},
            {dir, LogRefusal::NotAFile, " is a folder, not a file."},
            {folder.Path(std::string("missing") + extension), LogRefusal::CannotOpen,
             ": No such file or directory."},
        };
        for (const Case& c : cases) {
            const RideLogReadResult r = ReadWithin(c.path, milliseconds(5000));
            EXPECT_EQ(r.refusal, c.refusal) << c.path;
            EXPECT_EQ(r.RefusalText(c.path, kEnglish).rfind(c.ending),
                      r.RefusalText(c.path, kEnglish).size() - std::string(c.ending).size())
                << r.RefusalText(c.path, kEnglish);
            // /dev/zero is refused before a byte is read, not after the size limit.
            EXPECT_EQ(r.bytesRead, 0u);
        }
    }
}

TEST(LogFileInput, ATwoGigabyteFileIsReadOnlyUpToTheLimit) {
    TempFolder folder;
    // A valid MLG head, then 2 GB of zeros (a sparse file): each zero block is a valid empty
    // record, so only the limits stop the reader.
    std::string head;
    {
        struct Sink : LogSink {
            std::string* out;
            bool Write(const char* d, std::size_t n) override {
                out->append(d, n);
                return true;
            }
            bool Flush() override { return true; }
            std::string Error() const override { return {}; }
        } sink;
        sink.out = &head;
        RideLogWriter writer(sink, "t", LogFormat::Mlg);
        writer.Start("x");
        writer.Finish();
    }
    const std::string path = folder.File("huge.mlg", head);
    std::filesystem::resize_file(path, std::uintmax_t{2} << 30);
    const ReadLimits limits;  // the program's own
    const RideLogReadResult r = ReadRideLogFile(path);
    ASSERT_TRUE(r.Ok()) << r.RefusalText(path, kEnglish);
    EXPECT_TRUE(r.truncated);
    EXPECT_LE(r.bytesRead, limits.maxBytes);
    EXPECT_LE(r.rows.size(), limits.maxRows);
    EXPECT_FALSE(r.TruncatedText(kEnglish).empty());
}

struct TimeCase {
    const char* name;
    double time;
    BadRowKind kind;
};

TEST(LogFileInput, TimesThatCannotBeRightAreBadRowsInEveryFormat) {
    // After a row at 10 s: each of these as the next row, then a good row at 10.5 s.
    const TimeCase cases[] = {
        {"huge", 1e308, BadRowKind::TimeTooLarge},
        {"beyond the clock", kMaxLogTimeS + 1, BadRowKind::TimeTooLarge},
        {"negative", -0.001, BadRowKind::TimeNegative},
        {"five seconds back", 5.0, BadRowKind::TimeBack},
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.name);
        char time[64];
        std::snprintf(time, sizeof time, "%.17g", c.time);
        const std::string msl =
            std::string("Time\tRPM\r\ns\trpm\r\n10\t1000\r\n") + time + "\t2000\r\n10.5\t3000\r\n";
        const std::string csv =
            std::string("Time;RPM\r\n10;1000\r\n") + time + ";2000\r\n10.5;3000\r\n";
        for (const RideLogReadResult& r : {ParseRideLog(msl), ParseCsvLog(csv)}) {
            ASSERT_TRUE(r.Ok());
            ASSERT_EQ(r.rows.size(), 2u);
            EXPECT_EQ(r.rows[1].Channels.Rpm, 3000);
            ASSERT_EQ(r.badRowCount, 1u);
            EXPECT_EQ(r.badRows[0].kind, c.kind);
        }
    }
}

// Times are compared in whole milliseconds, as every writer keeps them: a row kept once is kept
// again when the log is read back from what this program wrote.
TEST(LogFileInput, TimeGoingBackIsJudgedInWholeMilliseconds) {
    const RideLogReadResult r =
        ParseRideLog("Time\tRPM\r\n1.002\t1\r\n0.002345\t2\r\n0.0014\t3\r\n1.5\t4\r\n");
    ASSERT_TRUE(r.Ok());
    ASSERT_EQ(r.rows.size(), 3u);  // 2 ms is 1000 ms before 1002 ms; 1 ms is more
    EXPECT_EQ(r.rows[1].Channels.Rpm, 2);
    ASSERT_EQ(r.badRowCount, 1u);
    EXPECT_EQ(r.badRows[0].line, 4u);
    const RideLogReadResult again = ParseRideLog(EncodeRideLog(r, LogFormat::Msl, {}, {}, true));
    EXPECT_EQ(again.rows.size(), 3u);
    EXPECT_EQ(again.badRowCount, 0u);
}

}  // namespace
}  // namespace korvan
