#include "cli/doctor_command.h"

#include <chrono>
#include <thread>

namespace korvan::cli {

int DoctorExitCodeOf(const DoctorReport& report) {
    if (report.UnitAnswered()) return kDoctorUnitAnswers;
    if (report.findings.empty()) return kDoctorNoAnswer;
    switch (report.findings.front().kind) {
        case FindingKind::DeviceMissing:
            return kDoctorMissing;
        case FindingKind::NotSerialDevice:
            return kDoctorNotSerial;
        case FindingKind::NoPermission:
            return kDoctorNoPermission;
        case FindingKind::NewLoginNeeded:
            return kDoctorNewLogin;
        case FindingKind::ModemManager:
            return kDoctorModemManager;
        case FindingKind::Brltty:
            return kDoctorBrltty;
        case FindingKind::HeldByOther:
            return kDoctorHeld;
        case FindingKind::RuleNotApplied:
            return kDoctorRuleNotApplied;
        case FindingKind::OpenFailed:
            return kDoctorOpenFailed;
        case FindingKind::NoAnswer:
            return kDoctorNoAnswer;
    }
    return kDoctorNoAnswer;
}

CLI::App* AddDoctorCommand(CLI::App& app) {
    CLI::App* doctor = app.add_subcommand(
        "doctor",
        "check why the adapter does not reach the unit (the device, its permissions, "
        "ModemManager, brltty, other programs, the udev rule, a monitor request), with the fix "
        "for each finding; without --port or --com every USB serial adapter is checked");
    doctor->footer(kDoctorExitCodeHelp);
    return doctor;
}

int CommandDoctor(CommandContext& c, const std::string& root) {
    DoctorOptions o;
    o.root = root;
    o.user = CurrentDoctorUser();
    o.device = c.device;
    o.port = &c.port;
    o.wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    const DoctorReport report = RunPortDoctor(o);
    for (const std::string& line : ReportLines(report, c.language)) c.out << line << '\n';
    return DoctorExitCodeOf(report);
}

}  // namespace korvan::cli
