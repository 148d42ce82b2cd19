#include "unit-sim/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>

namespace korvan::sim {

namespace {

// Whole numbers only: "12abc", "-3", "" and values past `max` are refused rather than being
// taken in part, so a typo never silently starts a unit that behaves differently.
bool ParseNumber(const std::string& text, int base, unsigned long max, unsigned long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || v > max) return false;
    value = v;
    return true;
}

std::string ParseHexMask(std::string text, std::uint32_t& mask) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
    unsigned long v = 0;
    if (!ParseNumber(text, 16, kAllBikeTypesMask, v)) {
        return "--bike-mask wants up to 24 bits in hex (e.g. 0x000008), got '" + text + "'";
    }
    mask = static_cast<std::uint32_t>(v);
    return {};
}

}  // namespace

std::string ParseCommandLine(const std::vector<std::string>& args, UnitConfig& config) {
    using Setter = std::function<std::string(const std::string&)>;

    auto number = [](const char* name, unsigned long min, unsigned long max, auto apply) {
        return Setter([=](const std::string& text) -> std::string {
            unsigned long v = 0;
            if (!ParseNumber(text, 10, max, v) || v < min) {
                return std::string(name) + " wants a whole number from " + std::to_string(min) +
                       " to " + std::to_string(max) + ", got '" + text + "'";
            }
            apply(v);
            return {};
        });
    };

    const std::map<std::string, Setter> withValue = {
        {"--link",
         [&](const std::string& v) -> std::string {
             if (v.empty()) return "--link wants a path";
             config.linkPath = v;
             return {};
         }},
        {"--pages",
         [&](const std::string& v) -> std::string {
             if (v.empty()) return "--pages wants a file";
             config.pagesFile = v;
             return {};
         }},
        {"--read-enable",
         number("--read-enable", 0, 255,
                [&](unsigned long v) { config.readEnable = static_cast<std::uint8_t>(v); })},
        {"--format-version",
         number("--format-version", 0, 255,
                [&](unsigned long v) { config.formatVersion = static_cast<std::uint8_t>(v); })},
        {"--bike-mask",
         [&](const std::string& v) -> std::string {
             std::uint32_t mask = 0;
             std::string error = ParseHexMask(v, mask);
             if (error.empty()) config.bikeMask = mask;
             return error;
         }},
        {"--version-text",
         [&](const std::string& v) -> std::string {
             if (v.size() > kMaxVersionTextLength) {
                 return "--version-text holds at most 30 characters, got " +
                        std::to_string(v.size());
             }
             config.versionText = v;
             return {};
         }},
        {"--drop-every", number("--drop-every", 0, 1000000,
                                [&](unsigned long v) { config.dropEvery = unsigned(v); })},
        {"--corrupt-every", number("--corrupt-every", 0, 1000000,
                                   [&](unsigned long v) { config.corruptEvery = unsigned(v); })},
        {"--delay-ms", number("--delay-ms", 0, kMaxDelayMs,
                              [&](unsigned long v) { config.delayMs = unsigned(v); })},
        {"--hangup-after", number("--hangup-after", 1, 1000000000,
                                  [&](unsigned long v) { config.hangupAfter = unsigned(v); })},
        {"--seed", number("--seed", 0, 0xFFFFFFFFul,
                          [&](unsigned long v) { config.noiseSeed = std::uint32_t(v); })},
        {"--rpm",
         number("--rpm", 0, 65535, [&](unsigned long v) { config.rpm = std::uint16_t(v); })},
        {"--tps",
         number("--tps", 0, 255, [&](unsigned long v) { config.tpsPercent = std::uint8_t(v); })},
        {"--tps-mv", number("--tps-mv", 0, kMaxSensorMv,
                            [&](unsigned long v) { config.tpsMv = std::uint16_t(v); })},
    };
    const std::map<std::string, std::function<void()>> flags = {
        {"--noise", [&] { config.noise = true; }},
        {"--drift-map", [&] { config.driftMap = true; }},
        {"--quiet", [&] { config.verbosity = Verbosity::Quiet; }},
        {"--verbose", [&] { config.verbosity = Verbosity::Verbose; }},
        {"--help", [&] { config.help = true; }},
        {"-h", [&] { config.help = true; }},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        if (const auto flag = flags.find(name); flag != flags.end()) {
            if (value) return name + " takes no value";
            flag->second();
            continue;
        }
        const auto option = withValue.find(name);
        if (option == withValue.end()) return "unknown option '" + args[i] + "'";
        if (!value) {
            if (i + 1 >= args.size()) return name + " wants a value";
            value = args[++i];
        }
        if (std::string error = option->second(*value); !error.empty()) return error;
    }
    return {};
}

std::string UsageText(const std::string& programName) {
    return "Usage: " + programName + R"( [options]
A simulated ignition unit on a pseudo-terminal. The first line on stdout is the
path of the slave side; connect the programming tool to it. Runs until SIGINT or
SIGTERM.

  --link PATH          also make PATH a symbolic link to the slave (replaces an
                       existing link, removed at exit)
  --pages FILE         start from a 300-number dump (identity, page 1, page 2)
  --read-enable N      identity byte 9 (1 = reading allowed)
  --format-version N   identity byte 10 (the tool wants 15)
  --bike-mask HEX      identity bytes 11..13, bit t = bike type t (0xFFFFFF = all)
  --version-text TEXT  identity bytes 16..45, at most 30 characters
  --rpm N              hold the engine at N rpm instead of sweeping
  --tps N              hold the throttle at N percent (above 100 = sensor error)
  --tps-mv N           hold the throttle sensor at N mV (0..5000)
  --drop-every N       every Nth request (counted from start) gets no answer
  --corrupt-every N    every Nth answer (counted from start) has a wrong check byte
  --delay-ms N         answer N ms after the request
  --noise              now and then a few random bytes between answers
  --seed N             seed of the noise (default 1)
  --hangup-after N     vanish after N answers: hang up the line and exit 0
  --drift-map          a failing memory: the first map cell reads one higher at
                       every read of the map, so a read's verification differs
  --quiet              no messages on stderr except errors
  --verbose            log every request and answer on stderr
  --help               this text
)";
}

}  // namespace korvan::sim
