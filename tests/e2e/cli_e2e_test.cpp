// korvan2-cli as a script runs it: the real executable against the simulated unit over a
// pseudo-terminal, with its own settings folder. Every command and every exit code.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "history/compare.h"
#include "history/compare_text.h"
#include "log/ride_log.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "sim_process.h"

namespace korvan::test {
namespace {

// Far beyond any operation (a silent unit gives up after about a second): a command that
// takes this long hangs.
constexpr int kHangMs = 15000;

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
    bool finished = false;
};

class Cli {
  public:
    Cli() { EXPECT_TRUE(config_.isValid()); }

    std::string Folder() const { return config_.path().toStdString(); }
    std::string Path(const char* name) const { return Folder() + "/" + name; }

    // The window's settings file, in the window's own folder under XDG_CONFIG_HOME.
    void WriteSettings(const std::string& text) const {
        const std::string folder = Folder() + "/Korvan2";
        ::mkdir(folder.c_str(), 0700);
        ASSERT_TRUE(WriteFileAtomically(folder + "/Korvan2.ini", text).ok);
    }

    CliResult Run(const std::vector<std::string>& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config_.path());
        p.setProcessEnvironment(env);
        QStringList list;
        for (const std::string& a : args) list << QString::fromStdString(a);
        p.start(KORVAN_CLI_PATH, list);
        CliResult r;
        r.finished = p.waitForFinished(kHangMs);
        if (!r.finished) p.kill();
        p.waitForFinished(1000);
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }

  private:
    QTemporaryDir config_;
};

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
    std::vector<std::string>
        command;  // "FILE" stands for a tune file, "OTHER" for one the unit does not hold
    int code;
    const char* out;  // a piece of standard output, or ""
    const char* err;  // a piece of standard error, or ""
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
         "Verify error! The unit answered but holds other values"},
        {"silent unit: verify",
         {"--drop-every", "1"},
         {"verify", "FILE"},
         5,
         "",
         "Verify error! The unit does not answer"},
        {"silent unit: program",
         {"--drop-every", "1"},
         {"program", "FILE"},
         5,
         "",
         "Program error! The unit does not answer"},
        {"silent unit: read",
         {"--drop-every", "1"},
         {"read"},
         5,
         "",
         "Read error! The unit does not answer"},
        {"silent unit: info", {"--drop-every", "1"}, {"info"}, 5, "", "The unit does not answer"},
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
        for (const std::string& a : c.command) {
            args.push_back(a == "FILE"    ? cli.Path("file.ign")
                           : a == "OTHER" ? cli.Path("other.ign")
                                          : a);
        }
        const CliResult r = cli.Run(args);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.code != 0) {
            EXPECT_EQ(r.out.find("Verify OK"), std::string::npos);
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
        {"--port and --com together", {"--port", "SIM", "--com", "2", "info"}, 1, "excludes"},
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
         "Unmatched version of *.ign file!"},
        {"read into a missing folder",
         {"--port", "SIM", "read", "-o", "DIR/no/such.ign"},
         2,
         "Cannot write DIR/no/such.ign"},
        {"read over a folder", {"--port", "SIM", "read", "-o", "DIR"}, 2, "Cannot write"},
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
    EXPECT_EQ(root.value("fields").toArray().at(0).toObject().value("control").toString(),
              "EditOmez1");

    // The ride log: the header at once, then a row per frame, whole rows only.
    const CliResult monitor = with({"monitor", "--seconds", "1.5", "--log", cli.Path("ride.msl")});
    EXPECT_EQ(monitor.code, 0) << monitor.err;
    std::string log;
    ASSERT_TRUE(ReadWholeFile(cli.Path("ride.msl"), log).ok);
    EXPECT_EQ(log.rfind("\"" + ProgramTitle() + "\"\r\n", 0), 0u) << log.substr(0, 80);
    EXPECT_NE(log.find("\r\nTime\tRPM\tTPS\t"), std::string::npos);
    EXPECT_NE(log.find("\t4200\t30\t"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    EXPECT_EQ(Lines(log), 4 + Lines(monitor.out));  // one row per printed frame

    const CliResult ports = cli.Run({"ports", "--all"});
    EXPECT_EQ(ports.code, 0) << ports.err;
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
