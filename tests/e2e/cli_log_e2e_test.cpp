// korvan2-cli's ride log commands as a script runs them: the real executable, a real ride
// recorded from the simulated unit, its files converted and analysed, and bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "cli_process.h"
#include "files/atomic_write.h"
#include "log/ride_log_reader.h"
#include "sim_process.h"

namespace korvan::test {
namespace {

using Cli = CliProcess;

bool SameRows(const RideLogReadResult& a, const RideLogReadResult& b) {
    if (a.rows.size() != b.rows.size() || a.marks != b.marks) return false;
    for (std::size_t i = 0; i < a.rows.size(); ++i) {
        if (!(a.rows[i].Channels == b.rows[i].Channels) ||
            std::llround(a.rows[i].TimeS * 1000) != std::llround(b.rows[i].TimeS * 1000) ||
            a.rows[i].Cell.RpmColumn != b.rows[i].Cell.RpmColumn ||
            a.rows[i].Cell.TpsRow != b.rows[i].Cell.TpsRow)
            return false;
    }
    return true;
}

TEST(CliLogEndToEnd, MonitorWritesMlgThatConvertsAndAnalysesInEveryFormat) {
    SimProcess sim({"--quiet", "--rpm", "4200", "--tps", "30"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    const CliResult read =
        cli.Run({"--port", sim.PtyPath(), "-q", "read", "-o", cli.Path("unit.ign")});
    ASSERT_EQ(read.code, 0) << read.err;
    const CliResult monitor = cli.Run({"--port", sim.PtyPath(), "-q", "monitor", "--seconds", "2",
                                       "--log", cli.Path("ride.mlg")});
    ASSERT_EQ(monitor.code, 0) << monitor.err;
    sim.Stop();

    const RideLogReadResult recorded = ReadRideLogFile(cli.Path("ride.mlg"));
    ASSERT_TRUE(recorded.Ok()) << recorded.RefusalText("ride.mlg", 1);
    EXPECT_EQ(recorded.format, LogFormat::Mlg);
    EXPECT_EQ(recorded.badRowCount, 0u);
    const std::size_t frames =
        static_cast<std::size_t>(std::count(monitor.out.begin(), monitor.out.end(), '\n'));
    EXPECT_EQ(recorded.rows.size(), frames);  // one row per frame the monitor printed
    ASSERT_GE(recorded.rows.size(), 3u);
    EXPECT_EQ(recorded.rows[0].Channels.Rpm, 4200);
    EXPECT_FALSE(recorded.unitVersion.empty());  // the unit was read first, so it is named

    // Through every format and back, each file read by the program's own readers.
    const struct {
        const char* from;
        const char* to;
    } conversions[] = {
        {"ride.mlg", "ride.msl"}, {"ride.msl", "ride.csv"}, {"ride.csv", "back.mlg"}};
    for (const auto& c : conversions) {
        SCOPED_TRACE(c.to);
        const CliResult r = cli.Run({"log", "convert", cli.Path(c.from), cli.Path(c.to)});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.err.find(std::to_string(recorded.rows.size()) + " rows"), std::string::npos)
            << r.err;
        EXPECT_TRUE(SameRows(ReadRideLogFile(cli.Path(c.to)), recorded));
    }

    const CliResult summary = cli.Run({"--language", "de", "log", "summary", cli.Path("back.mlg")});
    EXPECT_EQ(summary.code, 0) << summary.err;
    EXPECT_EQ(summary.out.rfind("Fahrtzusammenfassung: " + cli.Path("back.mlg") + "\n", 0), 0u)
        << summary.out;
    EXPECT_NE(summary.out.find("Höchste Drehzahl: 4200 U/min"), std::string::npos) << summary.out;

    // The unit's tune places the rows; every row in one cell at 4200 rpm.
    const CliResult cells =
        cli.Run({"log", "cells", cli.Path("ride.msl"), "--tune", cli.Path("unit.ign"), "--channel",
                 "rpm", "--value", "mean", "--min-samples", "1"});
    EXPECT_EQ(cells.code, 0) << cells.err;
    EXPECT_EQ(cells.err, "");  // a tune was given: no note about the default map
    EXPECT_EQ(cells.out.rfind("RPM mean (rpm)\t", 0), 0u) << cells.out;
    std::size_t filled = 0;
    for (std::size_t at = cells.out.find("\t4200.0"); at != std::string::npos;
         at = cells.out.find("\t4200.0", at + 1))
        ++filled;
    EXPECT_EQ(filled, 1u) << cells.out;

    const CliResult all = cli.Run({"-q", "log", "cells", cli.Path("ride.csv")});
    EXPECT_EQ(all.code, 0) << all.err;
    for (const char* title : {"Seconds\t", "\nSamples\t", "\nLambda mean (mV)\t",
                              "\nLambda minimum (mV)\t", "\nLambda maximum (mV)\t"})
        EXPECT_NE(all.out.find(title), std::string::npos) << title;
}

struct BadCase {
    const char* name;
    std::vector<std::string> args;  // "@x" is the file x of the test's folder
    int code;
    std::string errPart;
};

TEST(CliLogEndToEnd, BadInputGetsOneLineNamingTheCauseAndItsExitCode) {
    Cli cli;
    ASSERT_TRUE(
        WriteFileAtomically(cli.Path("ride.msl"),
                            "Time\tRPM\tTPS\r\ns\trpm\t%\r\n0\t1000\t10\r\n0.3\t1200\t20\r\n")
            .ok);
    ASSERT_EQ(::mkfifo(cli.Path("pipe.msl").c_str(), 0600), 0);
    std::string v1 = std::string("MLVLG\0\0\x01", 8) + std::string(40, '\0');
    ASSERT_TRUE(WriteFileAtomically(cli.Path("old.mlg"), v1).ok);
    const BadCase cases[] = {
        {"pipe", {"log", "summary", "@pipe.msl"}, 2, "is a pipe (FIFO), not a file"},
        {"missing", {"log", "summary", "@none.mlg"}, 2, "Cannot open the ride log"},
        {"version 1", {"log", "convert", "@old.mlg", "@new.msl"}, 2, "MLG log of version 1"},
        {"output extension",
         {"log", "convert", "@ride.msl", "@ride.txt"},
         1,
         "the extension names the output's format"},
        {"same file", {"log", "convert", "@ride.msl", "@ride.msl"}, 1, "the same file"},
        {"unknown channel",
         {"log", "cells", "@ride.msl", "--channel", "AFR"},
         1,
         "there is no such channel; the channels are: Time, RPM"},
        {"channel not logged",
         {"log", "cells", "@ride.msl", "--channel", "Lambda"},
         2,
         "holds no channel Lambda"},
        {"no such markers",
         {"log", "summary", "@ride.msl", "--between-marks", "1", "2"},
         1,
         "has 0 markers"},
        {"no log command", {"log"}, 1, "a command is required: convert, summary or cells"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(a[0] == '@' ? cli.Path(a.substr(1)) : a);
        const CliResult r = cli.Run(args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // A refused conversion writes nothing.
    struct stat st {};
    EXPECT_NE(::stat(cli.Path("new.msl").c_str(), &st), 0);
    EXPECT_NE(::stat(cli.Path("ride.txt").c_str(), &st), 0);
}

// A disk that is full when the monitor starts its log: the system's reason, and the unit's
// monitor ends at once with the file error.
TEST(CliLogEndToEnd, MonitorLogOnAFullDiskNamesTheReason) {
    SimProcess sim({"--quiet"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    const CliResult r =
        cli.Run({"--port", sim.PtyPath(), "-q", "monitor", "--seconds", "5", "--log", "/dev/full"});
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_NE(r.err.find("/dev/full: No space left on device."), std::string::npos) << r.err;
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
