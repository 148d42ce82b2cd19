// What the simulated unit is told on its command line: where to appear, how it starts, and
// which faults it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvan::sim {

enum class Verbosity { Quiet, Normal, Verbose };

struct UnitConfig {
    std::string linkPath;   // --link: a symbolic link to the slave side of the pty
    std::string pagesFile;  // --pages: a 300-number dump to start from

    // Identity page overrides, applied on top of the defaults or the dump.
    std::optional<std::uint8_t> readEnable;
    std::optional<std::uint8_t> formatVersion;
    std::optional<std::uint32_t> bikeMask;  // 24 bits, bit t = bike type t
    std::optional<std::string> versionText;

    // Line faults. Counts start at 1 with the first request or answer after start; 0 = off.
    unsigned dropEvery = 0;     // every Nth request is lost and gets no answer
    unsigned corruptEvery = 0;  // every Nth answer leaves with a wrong check byte
    unsigned delayMs = 0;       // answers leave this long after their request
    bool noise = false;         // random bytes now and then between answers
    unsigned hangupAfter = 0;   // the unit vanishes after this many answers
    bool driftMap = false;      // the first map cell creeps up by one after each read of it
    std::uint32_t noiseSeed = 1;

    // Engine: held at a fixed point instead of sweeping.
    std::optional<std::uint16_t> rpm;
    std::optional<std::uint8_t> tpsPercent;  // above 100 is what a broken sensor reports
    std::optional<std::uint16_t> tpsMv;

    Verbosity verbosity = Verbosity::Normal;
    bool help = false;
};

constexpr std::size_t kMaxVersionTextLength = 30;
constexpr std::uint32_t kAllBikeTypesMask = 0xFFFFFF;
constexpr unsigned kMaxDelayMs = 60000;
constexpr std::uint16_t kMaxSensorMv = 5000;

// Parses the arguments after the program name into `config`. Returns an empty string on
// success, else a one-line description of what is wrong.
std::string ParseCommandLine(const std::vector<std::string>& args, UnitConfig& config);

std::string UsageText(const std::string& programName);

}  // namespace korvan::sim
