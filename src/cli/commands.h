// The commands of korvan2-cli. Each returns its exit code; results go to `out`, progress and
// messages to `err`, in the chosen language.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "device/serial_port.h"
#include "params/device_image.h"

namespace korvan::cli {

struct CommandContext {
    std::ostream& out;
    std::ostream& err;
    bool quiet = false;
    std::uint8_t language = 1;
    std::string device;  // the port to open
    SerialPort& port;
    bool extendedMonitor = false;  // the window's "Extended Monitor" box, as the settings keep it
    // Why a write to `out` failed (the system's words); empty while every write went through.
    std::string outputError;
};

// Writes `text` to the results and hands it on at once; false (with outputError set) when the
// output cannot take it (a full disk, a closed pipe). Every result goes through here.
bool Emit(CommandContext& c, const std::string& text);
// The exit code once a command returned `code`: a result that could not be written (now or
// earlier) is a failed write, exit 2 with the reason, not a success.
int FinishOutput(CommandContext& c, int code);

// A .ign file as File > Open takes it, read over the default set and normalised. Refuses
// (exit 2, with the reason on `err`) a file that cannot be read, one of another format, and
// unless `acceptIgnored` one that was only partly understood (each ignored entry listed).
// Returns kExitSuccess with the image filled.
int LoadTuneFile(CommandContext& c, const std::string& path, bool acceptIgnored,
                 DeviceImage& image);

int CommandInfo(CommandContext& c);
// `outputPath` empty: the .ign text goes to `out`.
int CommandRead(CommandContext& c, const std::string& outputPath);
int CommandProgram(CommandContext& c, const std::string& file, bool acceptIgnored);
int CommandVerify(CommandContext& c, const std::string& file, bool acceptIgnored);
// Without `seconds` it runs until the unit falls silent or the process is stopped.
// With `logPath`, the unit is read first (the log's cells follow its map) and every frame becomes
// a row of the ride log; a write error ends the monitor with exit 2.
int CommandMonitor(CommandContext& c, std::optional<double> seconds,
                   const std::string& logPath = {});
// `file` against the unit, or against `file2` when it is given (no unit needed): exit 0 when
// identical, 4 when they differ. `json` prints the comparison for scripts.
int CommandCompare(CommandContext& c, const std::string& file, const std::string& file2, bool json,
                   bool acceptIgnored);
// `all` also lists the built-in legacy ports.
int CommandPorts(CommandContext& c, bool all);

// One monitor frame as one line: the monitor column's read-outs that are shown, in its order.
std::string MonitorLine(const std::uint8_t* frame, bool extended);

}  // namespace korvan::cli
