// korvan2-cli doctor: why the adapter does not reach the unit, with the fix for each finding.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "device/port_doctor.h"

namespace korvan::cli {

// The doctor's exit status: 0 when a unit answers, else one code for the first finding.
enum DoctorExitCode : int {
    kDoctorUnitAnswers = 0,
    kDoctorMissing = 10,
    kDoctorNotSerial = 11,
    kDoctorNoPermission = 12,
    kDoctorNewLogin = 13,
    kDoctorModemManager = 14,
    kDoctorBrltty = 15,
    kDoctorHeld = 16,
    kDoctorRuleNotApplied = 17,
    kDoctorOpenFailed = 18,
    kDoctorNoAnswer = 19,
};

constexpr const char* kDoctorExitCodeHelp =
    "Exit codes of doctor (the first finding decides):\n"
    "  0   a unit answers a monitor request\n"
    "  1   usage: a wrong option or value\n"
    "  10  the device is missing (or no USB serial adapter is plugged in)\n"
    "  11  the path is no serial port (a folder, a FIFO, a regular file ...)\n"
    "  12  no permission to open the device (not in its group)\n"
    "  13  the group is granted, but only from the next login\n"
    "  14  ModemManager runs and does not ignore the adapter\n"
    "  15  brltty's udev rules claim the adapter\n"
    "  16  another program holds the port open\n"
    "  17  korvan2's udev rule is installed but not yet applied\n"
    "  18  the port cannot be opened for another reason\n"
    "  19  the port opens, but no unit answers\n";

// The exit code for a report: 0 when a unit answered, else the first finding's code.
int DoctorExitCodeOf(const DoctorReport& report);

// Adds the command to the application; the caller runs CommandDoctor when it was given.
CLI::App* AddDoctorCommand(CLI::App& app);

// Checks c.device, or every USB serial adapter when c.device is empty. Lines go to c.out.
int CommandDoctor(CommandContext& c, const std::string& root = "/");

}  // namespace korvan::cli
