#include "log/ride_log_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace korvan {
namespace {

constexpr std::uint8_t kEnglish = 1;

TEST(RideLogReader, ForeignLogWithExtraColumnsOtherOrderAndFractions) {
    // A log from another logger: more header lines, LF line breaks, columns in its own order,
    // names in other case, fractions, and a Lambda that is a ratio, not millivolts.
    const std::string text =
        "\"Other Logger 3.1\"\n"
        "\"Capture Date: Sun Jun 01 10:00:00 CEST 2025\"\n"
        "\"Extra: something\"\n"
        "Time\tAFR\tLambda\tEGT\ttps\trpm\tMAP\n"
        "sec\t:1\tlambda\tC\t%\tRPM\tkPa\n"
        "0.000\t14.7\t0.99\t500\t12.4\t2500.6\t95\n"
        "MARK 000 - launch\n"
        "0.100\t14.2\t0.97\t510\t100\t7000\tn/a\n"
        "0.200\t14.0\t0.96\t520\t99.5\t-3\t95\n";
    const RideLogReadResult r = ParseRideLog(text);
    ASSERT_TRUE(r.Ok()) << r.RefusalText("f.msl", kEnglish);
    EXPECT_EQ(r.title, "Other Logger 3.1");
    EXPECT_EQ(r.captureDate, "Sun Jun 01 10:00:00 CEST 2025");
    EXPECT_TRUE(r.hasTps);
    EXPECT_FALSE(r.hasLambda);  // not in mV
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].Channels.Rpm, 2501);
    EXPECT_EQ(r.rows[0].Channels.TpsPercent, 12);
    EXPECT_EQ(r.rows[0].Channels.LambdaMv, 0);
    EXPECT_EQ(r.rows[1].Channels.TpsPercent, 100);
    EXPECT_EQ(r.rows[2].Channels.Rpm, 0);  // a negative speed is no speed
    EXPECT_DOUBLE_EQ(r.rows[2].TimeS, 0.2);
    EXPECT_EQ(r.marks, std::vector<std::size_t>{1});
    EXPECT_EQ(r.badRowCount, 0u);  // MAP is not read, so "n/a" there harms nothing
}

TEST(RideLogReader, LogWithoutUnitsLineOrTps) {
    const RideLogReadResult r = ParseRideLog("Time\tRPM\r\n1\t1000\r\n2\t2000\r\n");
    ASSERT_TRUE(r.Ok());
    EXPECT_FALSE(r.hasTps);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].Channels.Rpm, 1000);
}

TEST(RideLogReader, OfTwoColumnsOfOneNameTheFirstCounts) {
    // Loggers that add a computed channel sometimes repeat a name; the first is the raw one.
    const RideLogReadResult r =
        ParseRideLog("Time\tRPM\tTPS\tRPM\tTime\ttps\r\n1.5\t1000\t5\t7000\t9\t60\r\n");
    ASSERT_TRUE(r.Ok());
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(r.rows[0].TimeS, 1.5);
    EXPECT_EQ(r.rows[0].Channels.Rpm, 1000);
    EXPECT_EQ(r.rows[0].Channels.TpsPercent, 5);
}

TEST(RideLogReader, BadRowsAreCountedAndNamedInOneLine) {
    const std::string head = "\"x\"\r\nTime\tRPM\tTPS\r\ns\trpm\t%\r\n";
    struct Case {
        const char* name;
        std::string body;
        std::size_t rows;
        std::size_t bad;
        std::string text;
    } cases[] = {
        {"short", "0\t1000\t5\r\n0.3\t1000\r\n0.6\t1100\t6\r\n", 2, 1,
         "Bad rows left out (1): line 5 is short"},
        {"letters", "0\t1000\t5\r\n0.3\tabc\t5\r\n0,6\t1100\t6\r\n", 1, 2,
         "Bad rows left out (2): line 5: RPM is not a number, line 6: Time is not a number"},
        {"trailing junk", "0\t1000x\t5\r\n0.3\t1000\t5\r\n", 1, 1,
         "Bad rows left out (1): line 4: RPM is not a number"},
        {"infinity", "0\tinf\t5\r\n0.3\t1000\tnan\r\n1\t1\t1\r\n", 1, 2,
         "Bad rows left out (2): line 4: RPM is not a number, line 5: TPS is not a number"},
        {"many",
         std::string("x\r\n").append(std::string("y\r\n").append("\t\r\n")) +
             "a\tb\tc\r\nd\r\ne\r\nf\r\n1\t2\t3\r\n",
         1, 6,  // a line of only a tab is a blank line
         "Bad rows left out (6): line 4 is short, line 5 is short, line 7: Time is not a number, "
         "line 8 is "
         "short, line 9 is short, and 1 more"},
        {"none", "0\t1\t2\r\n\r\n1\t2\t3\r\n", 2, 0, ""},
    };
    for (const Case& c : cases) {
        const RideLogReadResult r = ParseRideLog(head + c.body);
        ASSERT_TRUE(r.Ok()) << c.name;
        EXPECT_EQ(r.rows.size(), c.rows) << c.name;
        EXPECT_EQ(r.badRowCount, c.bad) << c.name;
        EXPECT_EQ(r.BadRowsText(kEnglish), c.text) << c.name;
        EXPECT_EQ(r.BadRowsText(0).empty(), c.text.empty()) << c.name;
    }
}

TEST(RideLogReader, RefusesWhatIsNotARideLog) {
    struct Case {
        const char* name;
        std::string text;
        LogRefusal refusal;
        const char* message;
    } cases[] = {
        {"empty", "", LogRefusal::NoHeader,
         "f.msl has no line of channel names; it is not a ride log."},
        {"only quotes", "\"a\"\r\n\"b\"\r\n", LogRefusal::NoHeader,
         "f.msl has no line of channel names; it is not a ride log."},
        {"binary",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         LogRefusal::NoHeader, "f.msl has no line of channel names; it is not a ride log."},
        {"an ign file", "KORVAN 15\r\nRPM_ADV 10 20\r\n", LogRefusal::NoHeader,
         "f.msl has no line of channel names; it is not a ride log."},
        {"no time", "\"x\"\r\nSeconds\tRPM\r\n1\t2\r\n", LogRefusal::NoTimeColumn,
         "f.msl has no Time column."},
        {"no rpm", "\"x\"\r\nTime\tSpeed\r\n1\t2\r\n", LogRefusal::NoRpmColumn,
         "f.msl has no RPM column."},
        {"header only", "\"x\"\r\nTime\tRPM\r\ns\trpm\r\n", LogRefusal::NoRows,
         "f.msl holds no readable row."},
        {"all rows bad", "Time\tRPM\r\ns\trpm\r\n1\r\n", LogRefusal::NoRows,
         "f.msl holds no readable row. Bad rows left out (1): line 3 is short"},
        {"fifty blank lines", std::string(60, '\n') + "Time\tRPM\n1\t2\n", LogRefusal::NoHeader,
         "f.msl has no line of channel names; it is not a ride log."},
    };
    for (const Case& c : cases) {
        const RideLogReadResult r = ParseRideLog(c.text);
        EXPECT_EQ(r.refusal, c.refusal) << c.name;
        EXPECT_EQ(r.RefusalText("f.msl", kEnglish), c.message) << c.name;
        for (std::uint8_t language : {0, 2})
            EXPECT_FALSE(r.RefusalText("f.msl", language).empty()) << c.name;
    }
}

class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/korvan_log_testXXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name, const std::string& text) const {
        const std::string p = path_ + "/" + name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

TEST(RideLogReader, FilesRefusedByNameOrAccess) {
    TempFolder folder;
    const std::string good = "Time\tRPM\r\n1\t2\r\n";
    struct Case {
        std::string path;
        LogRefusal refusal;
    } cases[] = {
        {folder.File("ride.msl", good), LogRefusal::None},
        {folder.File("RIDE.MSL", good), LogRefusal::None},
        {folder.File("ride.ign", good), LogRefusal::NotALog},
        {folder.File("ride", good), LogRefusal::NotALog},
        {folder.Path() + "/missing.msl", LogRefusal::CannotOpen},
        {folder.Path() + "/dir.msl", LogRefusal::NotAFile},
    };
    std::filesystem::create_directory(folder.Path() + "/dir.msl");
    for (const Case& c : cases) {
        const RideLogReadResult r = ReadRideLogFile(c.path);
        EXPECT_EQ(r.refusal, c.refusal) << c.path;
        if (c.refusal == LogRefusal::CannotOpen) {
            EXPECT_FALSE(r.systemReason.empty()) << c.path;
            EXPECT_NE(r.RefusalText(c.path, kEnglish).find(r.systemReason), std::string::npos);
        }
    }
}

TEST(RideLogReader, LimitsCutLargeFilesShortAndSaySo) {
    TempFolder folder;
    std::string text = "Time\tRPM\r\ns\trpm\r\n";
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i) + "\t" + std::to_string(1000 + i) + "\r\n";
    const std::string path = folder.File("big.msl", text);
    struct Case {
        const char* name;
        ReadLimits limits;
        std::size_t rows;
        bool truncated;
    } cases[] = {
        {"within", {1 << 20, 5000}, 1000, false},
        {"row cap", {1 << 20, 250}, 250, true},
        // 17 bytes of header, ten rows of 8 bytes, then rows of 9: the cut falls inside a row,
        // which is dropped rather than read as a short or wrong number.
        {"byte cap", {100, 5000}, 10, true},
    };
    for (const Case& c : cases) {
        const RideLogReadResult r = ReadRideLogFile(path, c.limits);
        ASSERT_TRUE(r.Ok()) << c.name;
        EXPECT_EQ(r.rows.size(), c.rows) << c.name;
        EXPECT_EQ(r.truncated, c.truncated) << c.name;
        EXPECT_EQ(r.badRowCount, 0u) << c.name;
        EXPECT_EQ(r.TruncatedText(kEnglish).empty(), !c.truncated) << c.name;
        EXPECT_LE(r.bytesRead, c.limits.maxBytes) << c.name;
        if (!r.rows.empty()) {
            EXPECT_EQ(r.rows.back().Channels.Rpm, 1000 + c.rows - 1) << c.name;
        }
    }
    EXPECT_EQ(ReadRideLogFile(path, {1 << 20, 250}).TruncatedText(kEnglish),
              "Only the first 250 rows (1 MB) were read; the rest of the file is left out.");
}

}  // namespace
}  // namespace korvan
