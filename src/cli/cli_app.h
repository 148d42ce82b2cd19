// korvan2-cli's command line: options, commands, help, and the settings it shares with the
// window (language, COM port, [PORTS], "Extended Monitor").
#pragma once

#include <ostream>

#include "device/serial_port.h"

namespace korvan::cli {

// Parses the arguments, runs the command on `port` and returns the exit code. Needs a
// QCoreApplication.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           SerialPort& port);

}  // namespace korvan::cli
