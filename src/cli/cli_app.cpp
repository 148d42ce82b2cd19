#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <map>
#include <optional>
#include <string>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/doctor_command.h"
#include "cli/exit_codes.h"
#include "files/ini_store.h"
#include "files/qt_settings_folder.h"
#include "files/settings.h"
#include "params/binding.h"

namespace korvan::cli {

namespace {

const std::map<std::string, std::uint8_t> kLanguageCodes = {
    {"cs", kLanguageCzech}, {"en", kLanguageEnglish}, {"de", kLanguageGerman}};

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           SerialPort& port) {
    // The window's settings: its language is the default one here, and its [PORTS] section
    // names the device behind each COM number.
    IniStore store(SettingsFilePath());
    store.Load();
    Settings defaults;
    defaults.language = kLanguageEnglish;
    const Settings settings = ReadSettings(store, defaults);

    CLI::App app{
        "korvan2-cli: read, program, verify and watch the Korvan 2 ignition unit without the "
        "window."};
    app.name("korvan2-cli");
    app.footer(kExitCodeHelp);
    // At most one command; none is reported below in words that name the commands.
    app.require_subcommand(0, 1);
    app.fallthrough();

    std::string portName;
    int comNumber = 0;
    std::string languageCode;
    bool quiet = false;
    auto* portOption =
        app.add_option("--port", portName, "the serial device to open, e.g. /dev/ttyUSB0");
    auto* comOption = app.add_option(
        "--com", comNumber,
        "COM port 1..10, resolved through [PORTS] of the settings file as the window does "
        "(default: the window's port)");
    portOption->excludes(comOption);
    app.add_option("--language", languageCode,
                   "language of the messages (default: the window's, else en)")
        ->check(CLI::IsMember({"en", "cs", "de"}));
    app.add_flag("-q,--quiet", quiet, "no progress on standard error");

    auto* info =
        app.add_subcommand("info",
                           "print the unit's version, date, time, format version, read permission "
                           "and the bike types it accepts");
    auto* read = app.add_subcommand(
        "read", "read the unit (with its verification) into a .ign file or to standard output");
    std::string readOutput;
    read->add_option("-o,--output", readOutput,
                     "the .ign file to write (replaced only once complete)");
    bool acceptIgnored = false;
    std::string tuneFile;
    auto* program =
        app.add_subcommand("program",
                           "program FILE into the unit: the default set with FILE read over it, "
                           "as File > Open takes it; success only on \"Verify OK\"");
    program->add_option("FILE", tuneFile, "the .ign file")->required();
    program->add_flag("--accept-ignored", acceptIgnored,
                      "program a file even when parts of it were ignored");
    auto* verify = app.add_subcommand("verify", "verify the unit against FILE");
    verify->add_option("FILE", tuneFile, "the .ign file")->required();
    verify->add_flag("--accept-ignored", acceptIgnored,
                     "verify against a file even when parts of it were ignored");
    auto* monitor =
        app.add_subcommand("monitor", "print the live values, one line per monitor frame");
    std::optional<double> seconds;
    bool extended = false;
    monitor
        ->add_option("--seconds", seconds, "stop after this many seconds (default: until stopped)")
        ->check(CLI::PositiveNumber);
    monitor->add_flag("--extended", extended,
                      "the extended monitor's read-outs (voltages, counters, test words)");
    std::string logPath;
    monitor->add_option("--log", logPath,
                        "also write the ride log (.msl) as the window's Record does; the unit is "
                        "read first so the log's cells follow its map");
    std::string compareFile, compareFile2;
    bool json = false;
    auto* compare = app.add_subcommand(
        "compare",
        "compare FILE with the unit, or with FILE2 without a unit, cell by cell as the window's "
        "compare view shows it; exit 4 when they differ");
    compare->add_option("FILE", compareFile, "the .ign file (the base)")->required();
    compare->add_option("FILE2", compareFile2, "a second .ign file, compared instead of the unit");
    compare->add_flag("--json", json, "print the comparison as one JSON object");
    compare->add_flag("--accept-ignored", acceptIgnored,
                      "compare a file even when parts of it were ignored");
    bool allPorts = false;
    auto* ports = app.add_subcommand(
        "ports",
        "list the serial ports of this computer as the port dialog does: device, description, "
        "manufacturer, serial number, vendor:product and the stable name, tab-separated");
    ports->add_flag("--all", allPorts, "also list the built-in legacy ports (ttyS)");
    auto* doctor = AddDoctorCommand(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e, out, err);  // --help
        err << "korvan2-cli: " << e.what() << " (korvan2-cli --help)\n";
        return kExitUsage;
    }

    if (app.get_subcommands().empty()) {
        err << "korvan2-cli: a command is required: info, read, program, verify, compare, "
               "monitor, ports or doctor (korvan2-cli --help)\n";
        return kExitUsage;
    }

    std::uint8_t language =
        settings.language <= kLanguageGerman ? settings.language : kLanguageEnglish;
    if (!languageCode.empty()) language = kLanguageCodes.at(languageCode);

    CommandContext c{out, err, quiet, language, {}, port, settings.extendedMonitor.value_or(false)};
    if (ports->parsed()) return CommandPorts(c, allPorts);
    // Without a named port the doctor looks at every adapter, not at the window's port.
    if (doctor->parsed() && portOption->empty() && comOption->empty()) return CommandDoctor(c);
    // Two files need no unit, so no port either.
    if (compare->parsed() && !compareFile2.empty())
        return CommandCompare(c, compareFile, compareFile2, json, acceptIgnored);

    if (!portOption->empty()) {
        c.device = portName;
    } else {
        const int com = comOption->empty() ? settings.comPort : comNumber;
        if (com < 1 || com > kMaxComPort) {
            err << Fill(kComOutOfRange, language, std::to_string(com)) << '\n';
            return kExitUsage;
        }
        c.device = PortDeviceName(store, com);
    }

    if (doctor->parsed()) return CommandDoctor(c);
    if (info->parsed()) return CommandInfo(c);
    if (read->parsed()) return CommandRead(c, readOutput);
    if (program->parsed()) return CommandProgram(c, tuneFile, acceptIgnored);
    if (verify->parsed()) return CommandVerify(c, tuneFile, acceptIgnored);
    if (compare->parsed()) return CommandCompare(c, compareFile, {}, json, acceptIgnored);
    if (monitor->parsed()) {
        c.extendedMonitor = c.extendedMonitor || extended;
        return CommandMonitor(c, seconds, logPath);
    }
    return kExitUsage;
}

}  // namespace korvan::cli
