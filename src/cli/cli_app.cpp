#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/doctor_command.h"
#include "cli/exit_codes.h"
#include "cli/log_commands.h"
#include "cli/map_command.h"
#include "files/ini_store.h"
#include "files/qt_settings_folder.h"
#include "files/settings.h"
#include "params/binding.h"

namespace korvan::cli {

namespace {

const std::map<std::string, std::uint8_t> kLanguageCodes = {
    {"cs", kLanguageCzech}, {"en", kLanguageEnglish}, {"de", kLanguageGerman}};

// The longest monitor a time can be given for: a day.
constexpr double kMaxMonitorSeconds = 86400;

// The value of --language, found before the parser runs so that its own errors already come in
// the chosen language. Empty when the option is not there.
std::string LanguageArgument(int argc, const char* const* argv) {
    const std::string option = "--language";
    std::string code;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == option && i + 1 < argc) code = argv[i + 1];
        if (a.rfind(option + "=", 0) == 0) code = a.substr(option.size() + 1);
    }
    return code;
}

// The parser's own complaints in the user's language: the option it is about where it names
// one, else its words after ours.
std::string UsageErrorText(const CLI::ParseError& e, std::uint8_t language) {
    const std::string what = e.what();
    const std::size_t colon = what.find(':');
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr && what.rfind("-", 0) == 0 &&
        colon != std::string::npos) {
        return korvan::Fill(kOptionNeedsValue, language, what.substr(0, colon));
    }
    return korvan::Fill(kWrongUsage, language, what);
}

// A whole number 1..10 in plain digits, else nothing.
std::optional<int> ComNumber(const std::string& text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    if (text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const int n = std::stoi(text);
    if (n < 1 || n > kMaxComPort) return std::nullopt;
    return n;
}

// A number of seconds more than 0 and at most a day, written as a plain decimal number.
std::optional<double> MonitorSeconds(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(v > 0) || v > kMaxMonitorSeconds)
        return std::nullopt;
    return v;
}

std::string Joined(const std::vector<std::string>& words, const char* between) {
    std::string text;
    for (const std::string& w : words) text += (text.empty() ? "" : between) + w;
    return text;
}

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

    std::uint8_t language =
        settings.language <= kLanguageGerman ? settings.language : kLanguageEnglish;
    const std::string languageArgument = LanguageArgument(argc, argv);
    if (const auto code = kLanguageCodes.find(languageArgument); code != kLanguageCodes.end())
        language = code->second;
    const auto usageError = [&](const std::string& message) {
        err << "korvan2-cli: " << message << " (korvan2-cli --help)\n";
        return kExitUsage;
    };

    CLI::App app{
        "korvan2-cli: read, program, verify and watch the Korvan 2 ignition unit without the "
        "window."};
    app.name("korvan2-cli");
    app.footer(kExitCodeHelp);
    // At most one command; none is reported below in words that name the commands.
    app.require_subcommand(0, 1);
    app.fallthrough();
    // Arguments nobody knows are collected and reported below, in the user's language.
    app.allow_extras();

    // Values are checked here rather than by the parser, so that what is wrong is said in the
    // user's language with the allowed values in plain words.
    std::string portName;
    std::string comText;
    std::string languageCode;
    bool quiet = false;
    auto* portOption =
        app.add_option("--port", portName, "the serial device to open, e.g. /dev/ttyUSB0");
    auto* comOption = app.add_option(
        "--com", comText,
        "COM port 1..10, resolved through [PORTS] of the settings file as the window does "
        "(default: the window's port)");
    app.add_option("--language", languageCode,
                   "language of the messages: en, cs or de (default: the window's, else en)");
    app.add_flag("-q,--quiet", quiet, "no progress on standard error");
    // Given twice, as a script that adds to a base command line does: the last one counts.
    for (CLI::Option* option : app.get_options())
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

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
    program->add_option("FILE", tuneFile, "the .ign file (required)");
    program->add_flag("--accept-ignored", acceptIgnored,
                      "program a file even when parts of it were not taken as written");
    auto* verify = app.add_subcommand("verify", "verify the unit against FILE");
    verify->add_option("FILE", tuneFile, "the .ign file (required)");
    verify->add_flag("--accept-ignored", acceptIgnored,
                     "verify against a file even when parts of it were not taken as written");
    auto* monitor =
        app.add_subcommand("monitor", "print the live values, one line per monitor frame");
    std::string secondsText;
    bool extended = false;
    auto* secondsOption = monitor->add_option(
        "--seconds", secondsText,
        "stop after this many seconds, more than 0 and at most 86400 (default: until stopped)");
    monitor->add_flag("--extended", extended,
                      "the extended monitor's read-outs (voltages, counters, test words)");
    std::string logPath;
    monitor->add_option("--log", logPath,
                        "also write the ride log as the window's Record does, in the format of "
                        "its extension (.msl, .mlg, .csv); the unit is read first so the log's "
                        "cells follow its map");
    std::string compareFile, compareFile2;
    bool json = false;
    auto* compare = app.add_subcommand(
        "compare",
        "compare FILE with the unit, or with FILE2 without a unit, cell by cell as the window's "
        "compare view shows it; exit 4 when they differ");
    compare->add_option("FILE", compareFile, "the .ign file, the base (required)");
    compare->add_option("FILE2", compareFile2, "a second .ign file, compared instead of the unit");
    compare->add_flag("--json", json,
                      "print the comparison as one JSON object, each difference named by the "
                      ".ign file's key");
    compare->add_flag("--accept-ignored", acceptIgnored,
                      "compare files even when parts of them were not taken as written");
    bool allPorts = false;
    auto* ports = app.add_subcommand(
        "ports",
        "list the serial ports of this computer as the port dialog does: device, description, "
        "manufacturer, serial number, vendor:product and the stable name, tab-separated");
    ports->add_flag("--all", allPorts, "also list the built-in legacy ports (ttyS)");
    const LogCommands logCommands(app);
    auto* doctor = AddDoctorCommand(app);

    MapOptions mapOptions;
    mapOptions.in = &std::cin;
    auto* mapCommand = app.add_subcommand(
        "map",
        "print the advance map of FILE with its axes as tab-separated text (the rows in use), "
        "or with --set-from write a new .ign with the map taken from such a text; no unit needed");
    mapCommand->add_option("FILE", mapOptions.file, "the .ign file")->required();
    auto* setFrom = mapCommand->add_option(
        "--set-from", mapOptions.setFrom,
        "the map text, - for standard input: cells separated by tabs, semicolons or commas, "
        "decimals with , or . (rounded to whole degrees); with the axis header row and column it "
        "lands on the points they name, without them on the first cell; one number fills the "
        "map. Anything that is not a number within 0..60, does not fit or names other axis "
        "points is refused with the cell and changes nothing");
    mapCommand
        ->add_option("-o,--output", mapOptions.output,
                     "the .ign file to write (replaced only once complete; default: standard "
                     "output)")
        ->needs(setFrom);
    mapCommand->add_flag("--accept-ignored", mapOptions.acceptIgnored,
                         "take a file even when parts of it were ignored");

    // The options above belong to korvan2-cli itself; each command's --help lists them too.
    std::vector<std::string> commands;
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        sub->footer(kCommonOptionsHelp);
        sub->allow_extras();
        commands.push_back(sub->get_name());
    }

    CommandContext c{out, err, quiet, language, {}, port, settings.extendedMonitor.value_or(false),
                     {}};
    const auto finish = [&](int code) { return FinishOutput(c, code); };
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return finish(app.exit(e, out, err));  // --help
        return usageError(UsageErrorText(e, language));
    }
    c.quiet = quiet;

    if (!languageCode.empty() && kLanguageCodes.count(languageCode) == 0)
        return usageError(korvan::Fill(kLanguageUnknown, language, languageCode));
    if (const std::vector<std::string> extras = app.remaining(true); !extras.empty())
        return usageError(korvan::Fill(kUnknownArgument, language, Joined(extras, " ")));
    if (app.get_subcommands().empty())
        return usageError(korvan::Fill(kCommandRequired, language, Joined(commands, ", ")));
    if (!portOption->empty() && !comOption->empty()) return usageError(kPortAndCom.In(language));
    if (!portOption->empty() && portName.empty()) return usageError(kPortEmpty.In(language));
    std::optional<int> comNumber;
    if (!comOption->empty()) {
        comNumber = ComNumber(comText);
        if (!comNumber) return usageError(Fill(kComOutOfRange, language, comText));
    }
    for (CLI::App* fileCommand : {program, verify, compare}) {
        const std::string& file = fileCommand == compare ? compareFile : tuneFile;
        if (fileCommand->parsed() && file.empty())
            return usageError(korvan::Fill(kFileRequired, language, fileCommand->get_name()));
    }
    std::optional<double> seconds;
    if (!secondsOption->empty()) {
        seconds = MonitorSeconds(secondsText);
        if (!seconds) {
            return usageError(korvan::Fill(kSecondsRange, language, secondsText,
                                           static_cast<int>(kMaxMonitorSeconds)));
        }
    }

    if (ports->parsed()) return finish(CommandPorts(c, allPorts));
    if (mapCommand->parsed()) return finish(CommandMap(c, mapOptions));
    if (logCommands.Parsed()) return finish(logCommands.Run(c));
    // Without a named port the doctor looks at every adapter, not at the window's port.
    if (doctor->parsed() && portOption->empty() && comOption->empty())
        return finish(CommandDoctor(c));
    // Two files need no unit, so no port either.
    if (compare->parsed() && !compareFile2.empty())
        return finish(CommandCompare(c, compareFile, compareFile2, json, acceptIgnored));

    if (!portOption->empty()) {
        c.device = portName;
    } else {
        const int com = comNumber.value_or(settings.comPort);
        if (com < 1 || com > kMaxComPort)
            return usageError(Fill(kComOutOfRange, language, std::to_string(com)));
        c.device = PortDeviceName(store, com);
    }

    if (doctor->parsed()) return finish(CommandDoctor(c));
    if (info->parsed()) return finish(CommandInfo(c));
    if (read->parsed()) return finish(CommandRead(c, readOutput));
    if (program->parsed()) return finish(CommandProgram(c, tuneFile, acceptIgnored));
    if (verify->parsed()) return finish(CommandVerify(c, tuneFile, acceptIgnored));
    if (compare->parsed()) return finish(CommandCompare(c, compareFile, {}, json, acceptIgnored));
    if (monitor->parsed()) {
        c.extendedMonitor = c.extendedMonitor || extended;
        return finish(CommandMonitor(c, seconds, logPath));
    }
    return kExitUsage;
}

}  // namespace korvan::cli
