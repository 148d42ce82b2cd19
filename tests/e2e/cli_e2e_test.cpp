// korvan2-cli as a script runs it: the real executable against the simulated unit over a
// pseudo-terminal, with its own settings folder. Every command and every exit code.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <sstream>

#include "cli_process.h"
#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "history/compare.h"
#include "history/compare_text.h"
#include "log/ride_log.h"
#include "log/ride_log_reader.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "sim_process.h"

namespace korvan::test {
namespace {

using Cli = CliProcess;

std::string TuneText(const std::function<void(DeviceImage&)>& change) {
    DeviceImage image = DefaultImage();
    change(image);
    NormalizeImage(image);
    return ParameterFileText(image, false);
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliEndToEnd, ProgramThenReadBackIsByteEqualThroughComAndTheWindowsLanguage) {
    SimProcess sim({"--quiet"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    // COM3 comes from [PORTS]; the window's language (Czech) is the default of the messages.
    cli.WriteSettings("[FORM_HLAV]\r\nLanguage=0\r\nComPort=7\r\n[PORTS]\r\nCOM3=" + sim.PtyPath() +
                      "\r\n");
    const std::string tune = TuneText([](DeviceImage& i) {
        i[field::Limiter1] = 66;
        i[field::BikeType] = 3;
        i[AdvanceIndex(5, 5)] = 55;
    });
    ASSERT_TRUE(WriteFileAtomically(cli.Path("tune.ign"), tune).ok);

    const CliResult program = cli.Run({"--com", "3", "program", cli.Path("tune.ign")});
    EXPECT_EQ(program.code, 0) << program.err;
    EXPECT_EQ(program.out, "Verifikace OK\n");
    // Progress as the window shows it: the message and the gauge's step.
    EXPECT_NE(program.err.find("Programování: 2/5\n"), std::string::npos) << program.err;

    const CliResult read =
        cli.Run({"--com", "3", "-q", "--language", "en", "read", "-o", cli.Path("back.ign")});
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(read.out, "Verify OK\n");
    EXPECT_EQ(read.err, "");  // quiet
    std::string back;
    ASSERT_TRUE(ReadWholeFile(cli.Path("back.ign"), back).ok);
    EXPECT_EQ(back, tune);

    // On standard output the file alone: a script redirects it into a .ign.
    const CliResult toStdout = cli.Run({"--port", sim.PtyPath(), "read"});
    EXPECT_EQ(toStdout.code, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, tune);
    EXPECT_NE(toStdout.err.find("Verifikace OK\n"), std::string::npos) << toStdout.err;

    const CliResult verify =
        cli.Run({"--com", "3", "--language", "de", "verify", cli.Path("tune.ign")});
    EXPECT_EQ(verify.code, 0) << verify.err;
    EXPECT_EQ(verify.out, "Vergleich OK\n");
}

struct UnitCase {
    const char* what;
    std::vector<std::string> simArgs;
    // "FILE" stands for a tune file, "OTHER" for one the unit does not hold, "NEW" for a file
    // that does not exist yet (it must exist afterwards exactly when the command succeeded).
    std::vector<std::string> command;
    int code;
    const char* out;  // a piece of standard output, or ""
    const char* err;  // a piece of standard error, or ""; "SIM" stands for the unit's port
};

TEST(CliEndToEnd, EveryOutcomeOfTheUnitHasItsExitCode) {
    const UnitCase cases[] = {
        {"info",
         {},
         {"info"},
         0,
         "Format version: 15\nReading: allowed\nBike types: 0 Yamaha R6, 1 Kawasaki ZX",
         ""},
        {"info of a unit that forbids reading",
         {"--read-enable", "0"},
         {"info"},
         0,
         "Reading: prohibited",
         ""},
        {"monitor",
         {"--rpm", "4200", "--tps", "30"},
         {"monitor", "--seconds", "1"},
         0,
         "RPM = 4200 | TP= 30 [%] |",
         ""},
        {"verify against a unit holding other values",
         {},
         {"verify", "OTHER"},
         4,
         "",
         "Verify error! The unit on SIM answered but holds other values"},
        {"silent unit: verify",
         {"--drop-every", "1"},
         {"verify", "FILE"},
         5,
         "",
         "Verify error! The unit on SIM does not answer"},
        {"silent unit: program",
         {"--drop-every", "1"},
         {"program", "FILE"},
         5,
         "",
         "Program error! The unit on SIM does not answer"},
        {"silent unit: read",
         {"--drop-every", "1"},
         {"read"},
         5,
         "",
         "Read error! The unit on SIM does not answer"},
        {"silent unit: info",
         {"--drop-every", "1"},
         {"info"},
         5,
         "",
         "The unit on SIM does not answer"},
        // Shorter than the wait for a first frame: the time is up, but nothing came.
        {"silent unit: a short monitor",
         {"--drop-every", "1"},
         {"monitor", "--seconds", "1"},
         5,
         "",
         "The unit on SIM sends no live values"},
        {"a read whose verification differs, into a file",
         {"--drift-map"},
         {"read", "-o", "NEW"},
         4,
         "",
         "Verify error! The unit on SIM answered but holds other values"},
        {"a read whose verification differs, to standard output",
         {"--drift-map"},
         {"read"},
         4,
         "",
         "Verify error!"},
        {"a read into a new file", {}, {"read", "-o", "NEW"}, 0, "Verify OK", ""},
        // Every answer was in and checked when the line went.
        {"the unit vanishes right after its last answer",
         {"--hangup-after", "5"},
         {"program", "FILE"},
         0,
         "Verify OK",
         ""},
        {"silent unit: monitor",
         {"--drop-every", "1"},
         {"monitor", "--seconds", "5"},
         5,
         "",
         "no live values"},
        {"broken check bytes only",
         {"--corrupt-every", "1"},
         {"verify", "FILE"},
         5,
         "",
         "does not answer"},
        {"the unit vanishes mid-operation",
         {"--hangup-after", "2"},
         {"program", "FILE"},
         5,
         "",
         "was lost"},
        {"another format version: program",
         {"--format-version", "14"},
         {"program", "FILE"},
         6,
         "",
         "Unmatched version of PC and Ignition programs!"},
        {"another format version: read",
         {"--format-version", "14"},
         {"read"},
         6,
         "",
         "Unmatched version"},
        {"reading forbidden", {"--read-enable", "0"}, {"read"}, 6, "", "No Reading!"},
        {"bike type not accepted",
         {"--bike-mask", "0x000001"},
         {"program", "FILE"},
         6,
         "",
         "These Ignition is not for this type of motorbikes!"},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> simArgs = c.simArgs;
        simArgs.push_back("--quiet");
        SimProcess sim(simArgs);
        ASSERT_TRUE(sim.Started());
        Cli cli;
        ASSERT_TRUE(WriteFileAtomically(cli.Path("file.ign"),
                                        TuneText([](DeviceImage& i) { i[field::BikeType] = 2; }))
                        .ok);
        ASSERT_TRUE(WriteFileAtomically(cli.Path("other.ign"),
                                        TuneText([](DeviceImage& i) { i[field::Limiter1] = 77; }))
                        .ok);
        std::vector<std::string> args = {"--port", sim.PtyPath(), "--language", "en"};
        const std::string newFile = cli.Path("new.ign");
        for (const std::string& a : c.command) {
            args.push_back(a == "FILE"    ? cli.Path("file.ign")
                           : a == "OTHER" ? cli.Path("other.ign")
                           : a == "NEW"   ? newFile
                                          : a);
        }
        std::string err = c.err;
        if (const std::size_t at = err.find("SIM"); at != std::string::npos)
            err.replace(at, 3, sim.PtyPath());
        const CliResult r = cli.Run(args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
        if (c.code != 0) {
            EXPECT_EQ(r.out.find("Verify OK"), std::string::npos);
            EXPECT_EQ(r.out.find("MAVELTIK_KEY"), std::string::npos);  // no file on stdout
        }
        if (std::find(c.command.begin(), c.command.end(), "NEW") != c.command.end()) {
            EXPECT_EQ(std::filesystem::exists(newFile), c.code == 0);
        }
    }
}

struct BadInputCase {
    const char* what;
    std::vector<std::string> args;  // "DIR" is the test's folder, "SIM" the simulated unit's pty
    int code;
    const char* err;  // a piece of the one-line message
};

TEST(CliEndToEnd, BadInputGetsOneLineNamingTheCauseAndItsExitCode) {
    SimProcess sim({"--quiet"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    const std::string dir = cli.Folder();
    ASSERT_EQ(::mkfifo((dir + "/fifo.ign").c_str(), 0600), 0);
    {
        // A gigabyte without writing one: a sparse file.
        std::ofstream huge(dir + "/huge.ign", std::ios::binary);
        huge.seekp((1LL << 30) - 1);
        huge.put('\n');
    }
    ASSERT_TRUE(WriteFileAtomically(dir + "/v14.ign", "MAVELTIK_KEY 14\r\nBIKE 1\r\n").ok);
    const std::string earlierLog = "an earlier ride\r\n";
    ASSERT_TRUE(WriteFileAtomically(dir + "/keep.msl", earlierLog).ok);
    ASSERT_TRUE(WriteFileAtomically(dir + "/partly.ign", TuneText([](DeviceImage&) {}) +
                                                             "LIMITER1 +60\r\nNAP_PRIV 2000 210")
                    .ok);
    const BadInputCase cases[] = {
        {"no command", {}, 1, "a command is required"},
        {"a wrong command", {"flash"}, 1, "flash"},
        {"a wrong command after a right one", {"info", "flash"}, 1, "flash"},
        {"a wrong option", {"read", "--fast"}, 1, "--fast"},
        {"program without a file", {"program"}, 1, "FILE"},
        {"--com 0", {"--com", "0", "info"}, 1, "--com 0: the port number must be 1 to 10"},
        {"--com 11", {"--com", "11", "info"}, 1, "--com 11: the port number must be 1 to 10"},
        {"--com not a number", {"--com", "x", "info"}, 1, "--com"},
        {"--port and --com together",
         {"--port", "SIM", "--com", "2", "info"},
         1,
         "--port and --com cannot be given together"},
        {"an empty port", {"--port", "", "info"}, 1, "--port: the device name is empty"},
        {"--port without its value", {"info", "--port"}, 1, "--port needs a value"},
        {"a negative time",
         {"--port", "SIM", "monitor", "--seconds", "-1"},
         1,
         "--seconds -1: the time must be more than 0 and at most 86400 seconds"},
        {"no time", {"--port", "SIM", "monitor", "--seconds", "0"}, 1, "more than 0"},
        {"more than a day", {"--port", "SIM", "monitor", "--seconds", "90000"}, 1, "at most 86400"},
        {"a time that is no number", {"--port", "SIM", "monitor", "--seconds", "1e3"}, 1, "1e3"},
        {"not a parameter file",
         {"--port", "SIM", "verify", "/etc/passwd"},
         2,
         "/etc/passwd: not a parameter file (no MAVELTIK_KEY header)"},
        {"an unknown language", {"--language", "fr", "info"}, 1, "fr"},
        {"a missing file",
         {"--port", "SIM", "program", "DIR/none.ign"},
         2,
         "Cannot read DIR/none.ign: no such file"},
        {"a directory", {"--port", "SIM", "program", "DIR"}, 2, "not a file"},
        {"a FIFO", {"--port", "SIM", "verify", "DIR/fifo.ign"}, 2, "not a file"},
        {"a 1 GB file", {"--port", "SIM", "program", "DIR/huge.ign"}, 2, "far too large"},
        {"another file version",
         {"--port", "SIM", "program", "DIR/v14.ign"},
         2,
         "DIR/v14.ign: Unmatched version of *.ign file! (version 14; this program reads version "
         "15)"},
        {"read into a missing folder",
         {"--port", "SIM", "read", "-o", "DIR/no/such.ign"},
         2,
         "Cannot write DIR/no/such.ign: the folder DIR/no does not exist"},
        {"read over a folder",
         {"--port", "SIM", "read", "-o", "DIR"},
         2,
         "Cannot write DIR: it is a folder"},
        {"a missing device",
         {"--port", "DIR/ttyNone", "info"},
         3,
         "Cannot open the port DIR/ttyNone"},
        {"a regular file as the port",
         {"--port", "DIR/v14.ign", "info"},
         3,
         "Cannot open the port DIR/v14.ign: DIR/v14.ign is not a serial port (a regular file)."},
        {"a ride log that cannot be created",
         {"--port", "SIM", "monitor", "--log", "DIR/no/such.msl"},
         2,
         "Cannot create the ride log DIR/no/such.msl"},
        {"a ride log on a full disk",
         {"--port", "SIM", "monitor", "--log", "/dev/full"},
         2,
         "No space left on device"},
        {"compare a refused file, no unit needed",
         {"compare", "DIR/v14.ign", "DIR/none.ign"},
         2,
         "Unmatched version of *.ign file!"},
        {"a wrong port leaves an earlier ride log alone",
         {"--port", "DIR/ttyNone", "monitor", "--log", "DIR/keep.msl"},
         3,
         "Cannot open the port DIR/ttyNone"},
        {"a COM number without a device",
         {"--com", "9", "info"},
         3,
         "Cannot open the port /dev/ttyS8"},
    };
    for (const BadInputCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"--language", "en"};
        const auto fill = [&](std::string s) {
            for (const auto& [mark, value] :
                 {std::pair<std::string, std::string>{"DIR", dir}, {"SIM", sim.PtyPath()}}) {
                for (std::size_t at = s.find(mark); at != std::string::npos;
                     at = s.find(mark, at + value.size())) {
                    s.replace(at, mark.size(), value);
                }
            }
            return s;
        };
        for (const std::string& a : c.args) args.push_back(fill(a));
        const CliResult r = cli.Run(args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(fill(c.err)), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }

    std::string kept;
    ASSERT_TRUE(ReadWholeFile(dir + "/keep.msl", kept).ok);
    EXPECT_EQ(kept, earlierLog);

    // A partly understood file is refused with every ignored entry listed, and nothing is sent;
    // --accept-ignored programs it.
    const CliResult refused = cli.Run({"--port", sim.PtyPath(), "program", dir + "/partly.ign"});
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("(2 entries ignored)"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("  Line 42, LIMITER1: not a number (+60)\n"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("  Line 43, NAP_PRIV: too few numbers (2 of 10)\n"),
              std::string::npos);
    EXPECT_EQ(refused.err.find("Program device:"), std::string::npos);
    const CliResult accepted = cli.Run(
        {"--port", sim.PtyPath(), "-q", "program", "--accept-ignored", dir + "/partly.ign"});
    EXPECT_EQ(accepted.code, 0) << accepted.err;

    // A number its field cannot hold is read by the unit's rule, and said so, with what it
    // became; without the option nothing is sent.
    ASSERT_TRUE(WriteFileAtomically(dir + "/wraps.ign",
                                    TuneText([](DeviceImage&) {}) + "LIMITER2 30000\r\n")
                    .ok);
    const CliResult wraps = cli.Run({"--port", sim.PtyPath(), "program", dir + "/wraps.ign"});
    EXPECT_EQ(wraps.code, 2);
    EXPECT_NE(wraps.err.find("  Line 42, LIMITER2: 30000 does not fit the field, read as 48\n"),
              std::string::npos)
        << wraps.err;
    EXPECT_EQ(wraps.err.find("Program device:"), std::string::npos);
    const CliResult verifyWraps =
        cli.Run({"--port", sim.PtyPath(), "-q", "verify", dir + "/wraps.ign"});
    EXPECT_EQ(verifyWraps.code, 2);
}

// A script's "is this unit what the file says?": compare against the unit and between two files
// in the compare view's words, its JSON, and the ride log of the monitor.
TEST(CliEndToEnd, CompareTellsEveryDifferingCellAndMonitorWritesTheRideLog) {
    SimProcess sim({"--quiet", "--rpm", "4200", "--tps", "30"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    const std::vector<std::string> unit = {"--port", sim.PtyPath(), "--language", "en", "-q"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.begin(), unit.begin(), unit.end());
        return cli.Run(args);
    };
    const CliResult read = with({"read", "-o", cli.Path("unit.ign")});
    ASSERT_EQ(read.code, 0) << read.err;
    DeviceImage changed;
    {
        std::string text;
        ASSERT_TRUE(ReadWholeFile(cli.Path("unit.ign"), text).ok);
        std::istringstream in(text);
        changed = DefaultImage();
        ASSERT_TRUE(ReadParameterFile(in, changed).accepted);
        NormalizeImage(changed);
    }
    const DeviceImage held = changed;
    changed[field::Limiter1] = static_cast<std::uint8_t>(held[field::Limiter1] + 7);
    changed[AdvanceIndex(5, 5)] = static_cast<std::uint8_t>(held[AdvanceIndex(5, 5)] + 2);
    ASSERT_TRUE(WriteFileAtomically(cli.Path("changed.ign"), ParameterFileText(changed, false)).ok);
    // The very lines the window's compare view shows for these two sets.
    const std::string expected = CompareText(CompareParameters(held, changed), kLanguageEnglish);
    ASSERT_NE(expected.find("Limiter"), std::string::npos) << expected;

    struct Step {
        const char* what;
        std::vector<std::string> args;  // run against the unit unless "compare FILE FILE2"
        bool needsUnit;
        int code;
        std::string out;  // all of standard output, or "" for no check
    };
    const Step steps[] = {
        {"the unit holds the file",
         {"compare", cli.Path("unit.ign")},
         true,
         0,
         IdenticalText(kLanguageEnglish) + "\n"},
        {"two files, no unit",
         {"--port", "/nonexistent", "--language", "en", "compare", cli.Path("unit.ign"),
          cli.Path("changed.ign")},
         false,
         4,
         expected},
        {"program the changed file", {"program", cli.Path("changed.ign")}, true, 0, ""},
        // base = the file, other = the unit: the same two sets in the same order.
        {"the unit holds another program", {"compare", cli.Path("unit.ign")}, true, 4, expected},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const CliResult r = step.needsUnit ? with(step.args) : cli.Run(step.args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.code, step.code) << r.err;
        if (!step.out.empty()) {
            EXPECT_EQ(r.out, step.out);
        }
    }

    const CliResult json = with({"compare", "--json", cli.Path("unit.ign")});
    EXPECT_EQ(json.code, 4) << json.err;
    QJsonParseError error{};
    const QJsonObject root =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out;
    EXPECT_FALSE(root.value("identical").toBool());
    EXPECT_EQ(root.value("changes").toInt(), 2);
    EXPECT_EQ(root.value("fields").toArray().at(0).toObject().value("key").toString(), "LIMITER1");

    // The ride log: the header at once, then a row per frame, whole rows only.
    const CliResult monitor = with({"monitor", "--seconds", "1.5", "--log", cli.Path("ride.msl")});
    EXPECT_EQ(monitor.code, 0) << monitor.err;
    std::string log;
    ASSERT_TRUE(ReadWholeFile(cli.Path("ride.msl"), log).ok);
    EXPECT_EQ(log.rfind("\"" + ProgramTitle() + "\"\r\n", 0), 0u) << log.substr(0, 80);
    EXPECT_NE(log.find("\r\nTime\tRPM\tTPS\t"), std::string::npos);
    EXPECT_NE(log.find("\t4200\t30\t"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    EXPECT_EQ(Lines(log), 5 + Lines(monitor.out));  // the header names the unit; a row a frame

    const CliResult ports = cli.Run({"ports", "--all"});
    EXPECT_EQ(ports.code, 0) << ports.err;
}

TEST(CliEndToEnd, TwoFilesCompareWithTheirOptionsAndWithoutAUnit) {
    Cli cli;
    const std::string base = cli.Path("base.ign"), race = cli.Path("race.ign"),
                      partly = cli.Path("partly.ign");
    ASSERT_TRUE(WriteFileAtomically(base, TuneText([](DeviceImage&) {})).ok);
    ASSERT_TRUE(
        WriteFileAtomically(race, TuneText([](DeviceImage& i) { i[field::BaseAdv] = 14; })).ok);
    ASSERT_TRUE(WriteFileAtomically(partly, TuneText([](DeviceImage&) {}) + "TURBO 1\r\n").ok);
    const struct {
        const char* what;
        std::vector<std::string> args;
        int code;
        const char* err;  // a piece of standard error, or ""
    } cases[] = {
        {"identical", {"compare", base, base}, 0, ""},
        {"different", {"compare", base, race}, 4, ""},
        {"a partly understood second file", {"compare", base, partly}, 2, "partly.ign was only"},
        {"... accepted", {"compare", "--accept-ignored", base, partly}, 0, ""},
        {"a partly understood first file", {"compare", partly, race}, 2, "partly.ign was only"},
        {"... accepted", {"compare", partly, race, "--accept-ignored"}, 4, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"--language", "en", "--port", "/nonexistent"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = cli.Run(args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }

    // JSON for a script, named by the file's keys.
    const CliResult json = cli.Run({"compare", "--json", base, race});
    EXPECT_EQ(json.code, 4) << json.err;
    QJsonParseError error{};
    const QJsonObject root =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out;
    EXPECT_EQ(root.value("changes").toInt(), 1);
    const QJsonObject field = root.value("fields").toArray().at(0).toObject();
    EXPECT_EQ(field.value("key").toString(), "BASE_ADV");
    EXPECT_EQ(field.value("other").toInt() - field.value("base").toInt(), 4);
}

TEST(CliEndToEnd, TheTenthComPortIsTheOneNamedCom10) {
    SimProcess sim({"--quiet"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    // COM1 is a prefix of COM10 and names nothing that exists.
    cli.WriteSettings("[PORTS]\r\nCOM1=/nonexistent/tty1\r\nCOM10=" + sim.PtyPath() + "\r\n");
    const CliResult info = cli.Run({"--com", "10", "-q", "info"});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("Format version: 15"), std::string::npos) << info.out;
    const CliResult first = cli.Run({"--com", "1", "-q", "info"});
    EXPECT_EQ(first.code, 3) << first.err;
    EXPECT_NE(first.err.find("/nonexistent/tty1"), std::string::npos) << first.err;
}

// A result the shell could not store is no success: `read > /dev/full` must not exit 0.
TEST(CliEndToEnd, AResultThatCannotBeWrittenIsExitTwoWithTheReason) {
    SimProcess sim({"--quiet", "--rpm", "3000"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    const std::string tune = cli.Path("tune.ign");
    ASSERT_TRUE(WriteFileAtomically(tune, TuneText([](DeviceImage&) {})).ok);
    const struct {
        const char* what;
        std::vector<std::string> args;
    } cases[] = {
        {"read", {"--port", sim.PtyPath(), "read"}},
        {"info", {"--port", sim.PtyPath(), "info"}},
        {"verify", {"--port", sim.PtyPath(), "verify", tune}},
        {"monitor", {"--port", sim.PtyPath(), "monitor", "--seconds", "5"}},
        {"compare of two files", {"compare", "--json", tune, tune}},
        {"help", {"--help"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"--language", "en", "-q"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto begin = std::chrono::steady_clock::now();
        const CliResult r = cli.Run(args, {"", "/dev/full", -1});
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_NE(r.err.find("Cannot write to standard output: No space left on device\n"),
                  std::string::npos)
            << r.err;
        // The monitor stops at its first lost line instead of running on for its time.
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(4));
    }
}

// A disk that fills up under `monitor --log`: the file-size limit of the child makes a write
// stop half-way through a row, as a full disk does.
TEST(CliEndToEnd, ARideLogCutShortByAFullDiskEndsWithAWholeRow) {
    SimProcess sim({"--quiet", "--rpm", "4200", "--tps", "30"});
    ASSERT_TRUE(sim.Started());
    Cli cli;
    const std::string log = cli.Path("ride.msl");
    constexpr long kLimit = 1000;  // the header and a few rows
    const CliResult r = cli.Run({"--port", sim.PtyPath(), "--language", "en", "-q", "monitor",
                                 "--seconds", "8", "--log", log},
                                {"", "", kLimit});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_NE(r.err.find("cannot write to " + log), std::string::npos) << r.err;
    std::string text;
    ASSERT_TRUE(ReadWholeFile(log, text).ok);
    ASSERT_LT(text.size(), static_cast<std::size_t>(kLimit));
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    // Every row after the names has as many fields as there are names.
    const RideLogReadResult read = ParseRideLog(text);
    ASSERT_TRUE(read.Ok()) << read.RefusalText("ride.msl", kLanguageEnglish);
    EXPECT_EQ(read.badRowCount, 0u);
    EXPECT_GE(read.rows.size(), 1u);
    std::size_t names = 0;
    for (std::size_t at = 0, line = 0; at < text.size(); ++line) {
        const std::size_t end = text.find("\r\n", at);
        const std::string row = text.substr(at, end - at);
        const std::size_t fields = 1 + std::count(row.begin(), row.end(), '\t');
        if (row.rfind("Time\t", 0) == 0) names = fields;
        if (names != 0 && !row.empty() && row[0] >= '0' && row[0] <= '9') {
            EXPECT_EQ(fields, names) << "line " << line + 1 << ": " << row;
        }
        at = end + 2;
    }
    EXPECT_NE(names, 0u);
}

TEST(CliEndToEnd, EveryCommandsHelpListsThePortOptions) {
    Cli cli;
    for (const char* command :
         {"info", "read", "program", "verify", "compare", "monitor", "ports"}) {
        SCOPED_TRACE(command);
        const CliResult r = cli.Run({command, "--help"});
        EXPECT_EQ(r.code, 0) << r.err;
        for (const char* option : {"--port DEVICE", "--com N", "--language", "--quiet"})
            EXPECT_NE(r.out.find(option), std::string::npos) << option << "\n" << r.out;
    }
}

// Every line in the chosen language, punctuation kept where the link's own message has none.
TEST(CliEndToEnd, MessagesComeInTheChosenLanguage) {
    SimProcess silent({"--quiet", "--drop-every", "1"});
    ASSERT_TRUE(silent.Started());
    Cli cli;
    const std::string port = silent.PtyPath();
    const struct {
        const char* language;
        std::vector<std::string> args;
        int code;
        std::string line;  // the whole last line of standard error
    } cases[] = {
        {"de",
         {"--port", port, "read"},
         5,
         "Lesefehler: Die Zündung an " + port + " antwortet nicht (Anfrage fünfmal gesendet)"},
        {"cs",
         {"--port", port, "read"},
         5,
         "Chyba čtení! Zapalování na " + port + " neodpovídá (požadavek odeslán pětkrát)"},
        {"de",
         {"--com", "0", "info"},
         1,
         "korvan2-cli: --com 0: die Portnummer muss 1 bis 10 sein (korvan2-cli --help)"},
        {"cs", {"flash"}, 1, "korvan2-cli: neznámý argument: flash (korvan2-cli --help)"},
        {"de",
         {},
         1,
         "korvan2-cli: ein Befehl ist nötig: info, read, program, verify, monitor, compare, ports, "
         "log, doctor, map "
         "(korvan2-cli --help)"},
        {"cs",
         {"program"},
         1,
         "korvan2-cli: program: chybí soubor .ign (FILE) (korvan2-cli --help)"},
        {"de",
         {"--port", port, "monitor", "--seconds", "-1"},
         1,
         "korvan2-cli: --seconds -1: die Zeit muss größer als 0 und höchstens 86400 Sekunden "
         "sein (korvan2-cli --help)"},
        {"cs",
         {"--port", "", "info"},
         1,
         "korvan2-cli: --port: chybí název zařízení (např. /dev/ttyUSB0) (korvan2-cli --help)"},
        {"de",
         {"--port", port, "verify", "/nonexistent/tune.ign"},
         2,
         "Lesen nicht möglich: /nonexistent/tune.ign: die Datei gibt es nicht"},
        {"cs",
         {"--port", port, "program", "/dev/null"},
         2,
         "Nelze číst /dev/null: zařízení, ne soubor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> args = {"-q", "--language", c.language};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = cli.Run(args);
        EXPECT_EQ(r.code, c.code) << r.err;
        ASSERT_FALSE(r.err.empty());
        const std::size_t start = r.err.rfind('\n', r.err.size() - 2);
        EXPECT_EQ(r.err.substr(start == std::string::npos ? 0 : start + 1), c.line + "\n");
    }
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
