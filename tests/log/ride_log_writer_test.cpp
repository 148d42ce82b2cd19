#include "log/ride_log_writer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "log/ride_log_reader.h"
#include "params/defaults.h"

namespace korvan {
namespace {

// Keeps everything written; can be told to fail from a given write on, like a full disk.
class MemorySink : public LogSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        if (writes_++ >= failFromWrite) return false;
        written.append(data, size);
        return true;
    }
    bool Flush() override {
        ++flushes;
        return true;
    }
    std::string Error() const override { return "No space left on device"; }

    std::string written;
    std::size_t failFromWrite = SIZE_MAX;
    int flushes = 0;

  private:
    std::size_t writes_ = 0;
};

// A numeric punctuation that writes a comma and groups thousands, to catch any number that
// goes through the global C++ locale.
struct CommaNumpunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Puts a comma locale in place for the test (the C one where installed, a C++ facet always).
class CommaLocale {
  public:
    CommaLocale()
        : old_(std::locale::global(std::locale(std::locale::classic(), new CommaNumpunct))) {
        for (const char* name : {"de_DE.UTF-8", "cs_CZ.UTF-8", "de_DE", "cs_CZ"}) {
            if (std::setlocale(LC_ALL, name)) {
                cLocale = name;
                break;
            }
        }
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        std::locale::global(old_);
    }
    std::string cLocale;  // empty when neither locale is installed

  private:
    std::locale old_;
};

RideLogRow Row(std::uint32_t ms, std::uint16_t rpm, std::uint8_t tps, int column, int row) {
    RideLogRow r;
    r.TimeMs = ms;
    r.Channels.Rpm = rpm;
    r.Channels.TpsPercent = tps;
    r.Channels.TpsMv = 1234;
    r.Channels.LambdaMv = 875;
    r.Channels.Advance = 32;
    r.Channels.ServoDesiredMv = 2500;
    r.Channels.ServoMeasuredMv = 2488;
    r.Channels.Clutch = true;
    r.Channels.N2o = true;
    r.Cell = {column, row};
    return r;
}

TEST(RideLogWriter, ByteExactHeaderRowsAndMarkerInACommaLocale) {
    CommaLocale locale;
    if (locale.cLocale.empty()) {
        std::printf(
            "note: no de_DE/cs_CZ C locale installed; the comma C++ locale is still in place\n");
    }
    MemorySink sink;
    RideLogWriter writer(sink, "Korvan2 2.0");
    ASSERT_TRUE(writer.Start("Tue Dec 08 07:57:25 2026"));
    ASSERT_TRUE(writer.AddRow(Row(0, 12345, 45, 7, 5)));
    ASSERT_TRUE(writer.Mark(330));
    ASSERT_TRUE(writer.AddRow(Row(1005, 900, 0, -1, -1)));
    ASSERT_TRUE(writer.AddRow(Row(3723456, 65535, 255, 9, 9)));
    ASSERT_TRUE(writer.Finish());

    const std::string expected =
        "\"Korvan2 2.0\"\r\n"
        "\"Capture Date: Tue Dec 08 07:57:25 2026\"\r\n"
        "Time\tRPM\tTPS\tTPS mV\tLambda\tAdvance\tServo desired\tServo "
        "measured\tBlocking1\tBlocking2\t"
        "Clutch\tLimiter1\tTachoLambda\tN2O\tMap RPM column\tMap TPS row\r\n"
        "s\trpm\t%\tmV\tmV\tdeg\tmV\tmV\ton\ton\ton\ton\ton\ton\tcell\tcell\r\n"
        "0.000\t12345\t45\t1234\t875\t32\t2500\t2488\t0\t0\t1\t0\t0\t1\t7\t5\r\n"
        "MARK 001\r\n"
        "1.005\t900\t0\t1234\t875\t32\t2500\t2488\t0\t0\t1\t0\t0\t1\t-1\t-1\r\n"
        "3723.456\t65535\t255\t1234\t875\t32\t2500\t2488\t0\t0\t1\t0\t0\t1\t9\t9\r\n";
    EXPECT_EQ(sink.written, expected);
    EXPECT_EQ(writer.Rows(), 3u);
    EXPECT_EQ(writer.RowsFlushed(), 3u);
}

TEST(RideLogWriter, FlushesOncePerSecondAndOnTick) {
    MemorySink sink;
    RideLogWriter writer(sink, "T");
    writer.Start("d");
    const std::size_t header = sink.written.size();
    struct Step {
        std::uint32_t ms;
        bool tickOnly;
        std::size_t flushedRows;
    } steps[] = {
        {330, false, 0},  {660, false, 0}, {990, false, 0},  // under a second: kept
        {1000, false, 4},                                    // a second since the header
        {1330, false, 4}, {1999, true, 4},                   // a tick within the second
        {2000, true, 5},                                     // a tick with no new row flushes
        {2330, false, 5}, {100, false, 7},                   // a clock that ran back flushes
    };
    for (const Step& s : steps) {
        if (s.tickOnly) {
            writer.Tick(s.ms);
        } else {
            writer.AddRow(Row(s.ms, 1000, 0, 0, 0));
        }
        EXPECT_EQ(writer.RowsFlushed(), s.flushedRows) << s.ms;
    }
    EXPECT_GT(sink.written.size(), header);
}

TEST(RideLogWriter, WriteErrorStopsAndKeepsEarlierRowsReadable) {
    MemorySink sink;
    sink.failFromWrite = 3;  // header, two flushes of rows, then the disk is full
    RideLogWriter writer(sink, "Korvan2 2.0");
    ASSERT_TRUE(writer.Start("now"));
    std::uint32_t ms = 0;
    for (; ms <= 2000; ms += 500) ASSERT_TRUE(writer.AddRow(Row(ms, 3000, 10, 2, 3))) << ms;
    EXPECT_FALSE(writer.AddRow(Row(3000, 3000, 10, 2, 3)));
    EXPECT_TRUE(writer.Failed());
    EXPECT_EQ(writer.Error(), "No space left on device");
    EXPECT_FALSE(writer.AddRow(Row(3500, 3000, 10, 2, 3)));
    EXPECT_FALSE(writer.Mark(3600));
    EXPECT_FALSE(writer.Finish());

    const RideLogReadResult read = ParseRideLog(sink.written);
    ASSERT_TRUE(read.Ok()) << read.RefusalText("x", 1);
    EXPECT_EQ(read.rows.size(), writer.RowsFlushed());
    EXPECT_EQ(read.rows.size(), 5u);
    EXPECT_EQ(read.badRowCount, 0u);
}

TEST(RideLogWriter, RoundTripThroughTheReader) {
    const DeviceImage image = DefaultImage();
    MemorySink sink;
    RideLogWriter writer(sink, ProgramTitle());
    writer.Start("2026-12-08 07:57:25");
    std::vector<MonitorChannels> logged;
    for (std::uint32_t i = 0; i < 200; ++i) {
        MonitorChannels c;
        c.Rpm = static_cast<std::uint16_t>(i * 97 % 14000);
        c.TpsPercent = static_cast<std::uint8_t>(i % 101);
        c.TpsMv = static_cast<std::uint16_t>(i * 31 % 5000);
        c.LambdaMv = static_cast<std::uint16_t>(i * 7 % 1100);
        c.Advance = static_cast<std::uint8_t>(i % 60);
        c.ServoDesiredMv = static_cast<std::uint16_t>(i * 13 % 5000);
        c.ServoMeasuredMv = static_cast<std::uint16_t>(i * 17 % 5000);
        c.Blocking1 = i % 2;
        c.Blocking2 = i % 3 == 0;
        c.Clutch = i % 5 == 0;
        c.Limiter1 = i % 7 == 0;
        c.TachoLambda = i % 11 == 0;
        c.N2o = i % 13 == 0;
        // The frame path the monitor column takes.
        const DeviceFrame frame = EncodeMonitorFrame(c);
        ASSERT_TRUE(MonitorFrameValid(frame.data()));
        const RideLogRow row = RowFromFrame(frame.data(), image, i % 2 == 0, i * 330);
        ASSERT_EQ(row.Channels, c) << i;
        writer.AddRow(row);
        if (i == 50) writer.Mark(i * 330);
        logged.push_back(c);
    }
    writer.Finish();
    const RideLogReadResult read = ParseRideLog(sink.written);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.title, ProgramTitle());
    EXPECT_EQ(read.captureDate, "2026-12-08 07:57:25");
    EXPECT_TRUE(read.hasTps);
    EXPECT_TRUE(read.hasLambda);
    ASSERT_EQ(read.rows.size(), logged.size());
    for (std::size_t i = 0; i < logged.size(); ++i) {
        EXPECT_EQ(read.rows[i].Channels, logged[i]) << i;
        EXPECT_DOUBLE_EQ(read.rows[i].TimeS, static_cast<double>(i * 330) / 1000.0);
    }
    EXPECT_EQ(read.marks, std::vector<std::size_t>{51});
}

TEST(RideLogWriter, OneHourLogFitsInTwoMegabytes) {
    std::string text;
    // The busiest row: every field at its widest.
    RideLogRow wide = Row(3599999, 65535, 100, -1, -1);
    wide.Channels.TpsMv = wide.Channels.LambdaMv = wide.Channels.ServoDesiredMv = 40038;
    RideLogWriter::AppendRow(text, wide);
    constexpr std::size_t kRowsPerHour = 3600 * 1000 / 330 + 1;
    EXPECT_LT((text.size() + 2) * kRowsPerHour, std::size_t{2} << 20);
}

}  // namespace
}  // namespace korvan
