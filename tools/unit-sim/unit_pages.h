// The three pages the simulated unit starts with: its identity page and the parameter set.
#pragma once

#include <cstdint>
#include <string>

#include "params/device_image.h"
#include "unit-sim/command_line.h"

namespace korvan::sim {

// The firmware the simulated unit claims to run. Fixed, so tests can expect its texts
// ("SIM01", "14. 3.2024", "09:05").
constexpr char kSimVersionName[] = "SIM";
constexpr std::uint8_t kSimVersionNumber = 1;
constexpr std::uint8_t kSimBuildDay = 14;
constexpr char kSimBuildMonth[] = "Mar";
constexpr std::uint8_t kSimBuildYear = 24;
constexpr std::uint8_t kSimBuildHour = 9;
constexpr std::uint8_t kSimBuildMinute = 5;

// The unit's month code: the low byte of the sum of the character codes of the English
// three-letter month abbreviation ("Jan" -> 25).
std::uint8_t MonthCode(const char* abbreviation);

// A valid identity page (reading allowed, format 15, all 24 bike types) and the default
// parameter set for bike type 0 in pages 1 and 2.
DeviceImage DefaultUnitPages();

// Reads a dump in the state-file format. Unlike the tool's own state file, a dump that holds
// fewer than 300 numbers is refused: a unit started from half a file would quietly mix it
// with defaults. Returns an empty string on success, else what went wrong.
std::string LoadPagesFile(const std::string& path, DeviceImage& pages);

// Puts the identity options of `config` into page 0.
void ApplyIdentityOptions(const UnitConfig& config, DeviceImage& pages);

// The pages the unit starts with: defaults or the dump, then the identity options.
std::string StartPages(const UnitConfig& config, DeviceImage& pages);

}  // namespace korvan::sim
