// What korvan2-cli tells a script through its exit status.
#pragma once

namespace korvan::cli {

enum ExitCode : int {
    kExitSuccess = 0,   // the unit confirmed ("Verify OK"), or the command needed no unit
    kExitUsage = 1,     // a wrong command, option or value
    kExitFile = 2,      // a file that cannot be read or written, or is refused
    kExitPort = 3,      // the port cannot be opened
    kExitDiffers = 4,   // the unit answered but holds something else
    kExitNoAnswer = 5,  // no answer: the request was sent five times (or the port was lost)
    kExitRefused = 6,   // the unit refused: format version, read prohibition, bike type
};

// The exit codes as --help and the README list them.
constexpr const char* kExitCodeHelp =
    "Exit codes:\n"
    "  0  success (the unit confirmed: \"Verify OK\"; compare: identical)\n"
    "  1  usage: a wrong command, option or value\n"
    "  2  a file that cannot be read or written (the ride log and standard output too), or is\n"
    "     refused\n"
    "  3  the port cannot be opened (the reason follows)\n"
    "  4  the unit answered but differs (verify mismatch), or compare found differences\n"
    "  5  no answer (the request was sent five times, or the port was lost)\n"
    "  6  the unit refused (format version, read prohibition, bike type not accepted)\n";

}  // namespace korvan::cli
