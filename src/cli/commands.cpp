#include "cli/commands.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "cli/ride_log_file.h"
#include "device/monitor.h"
#include "device/port_choice.h"
#include "device/qt_port_lister.h"
#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "history/compare.h"
#include "history/compare_text.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "params/language_tables.h"

namespace korvan::cli {

namespace {

// The unit's identity bytes are ASCII; an unset text holds NULs, which have no place in a line.
std::string Printable(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// Two sentences on one line. The link's messages end with "!" in one language and with
// nothing in another ("Lesefehler"); those get a colon, so no language runs them together.
std::string Sentences(const std::string& first, const std::string& second) {
    if (first.empty()) return second;
    const char last = first.back();
    const bool ended = last == '!' || last == '.' || last == '?' || last == ':';
    return first + (ended ? " " : ": ") + second;
}

// The failure line of an operation: the link's own message, then why in words a script's
// reader understands, naming the port.
int Report(CommandContext& c, LinkSession& session, Outcome outcome) {
    const auto say = [&](const std::string& line) { c.err << line << '\n'; };
    const std::string linkMessage =
        session.LastMessage() ? session.LastMessage()->In(c.language) : "";
    const auto refused = [&](const LocalizedText& why) {
        say(c.device + ": " + why.In(c.language));
    };
    switch (outcome) {
        case Outcome::Confirmed:
        case Outcome::Stopped:
            return kExitSuccess;
        case Outcome::Differs:
            say(Sentences(linkMessage, korvan::Fill(kAnsweredDiffering, c.language, c.device)));
            return kExitDiffers;
        case Outcome::NoAnswer:
            say(Sentences(linkMessage, korvan::Fill(kNoAnswer, c.language, c.device)));
            return kExitNoAnswer;
        case Outcome::PortLost:
            say(Fill(kPortLost, c.language, c.device));
            return kExitNoAnswer;
        case Outcome::NoReading:
            refused(DeviceLink::kNoReading);
            return kExitRefused;
        case Outcome::VersionMismatch:
            refused(DeviceLink::kVersionMismatch);
            return kExitRefused;
        case Outcome::WrongBikeType:
            refused(DeviceLink::kWrongBikeType);
            return kExitRefused;
    }
    return kExitNoAnswer;
}

// Opens the port for a session; false (after the message) when it cannot be opened.
bool OpenPort(CommandContext& c, LinkSession& session) {
    if (session.Open(c.device)) return true;
    // One line: which port, then why (missing, busy, no permission, not a serial device) as
    // the window's box words it.
    std::string line = Fill(kPortOpenFailed, c.language, c.device);
    const PortOpenFailure failure = c.port.OpenFailure();
    if (failure.Failed() && (failure.kind != PortFailureKind::Other || !failure.systemText.empty()))
        line += ": " + OpenFailureText(failure, c.language);
    c.err << line << '\n';
    return false;
}

std::ostream* Progress(CommandContext& c) {
    return c.quiet ? nullptr : &c.err;
}

// Runs one operation on `image` and reports it. "Verify OK" goes to the results unless they
// are a file on standard output, which must stay the file alone.
int RunConfirmed(CommandContext& c, DeviceImage& image, void (DeviceLink::*start)(),
                 bool announce = true) {
    LinkSession session(c.port, image, c.language, Progress(c));
    if (!OpenPort(c, session)) return kExitPort;
    const Outcome outcome = session.Run([start](DeviceLink& link) { (link.*start)(); });
    session.Close();
    if (outcome == Outcome::Confirmed && announce)
        Emit(c, DeviceLink::kVerifyOk.In(c.language) + std::string("\n"));
    return Report(c, session, outcome);
}

// Set by Ctrl+C or a TERM signal during the monitor: it ends as if its time were up, so the
// ride log gets its last rows instead of losing up to a second of them.
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
    stopRequested = 1;
}

// Catches SIGINT and SIGTERM for its lifetime.
class StopSignals {
  public:
    StopSignals() {
        stopRequested = 0;
        // A shell that starts a command in the background has it ignore Ctrl+C; that stays so.
        oldInt_ = std::signal(SIGINT, RequestStop);
        if (oldInt_ == SIG_IGN) std::signal(SIGINT, SIG_IGN);
        oldTerm_ = std::signal(SIGTERM, RequestStop);
    }
    ~StopSignals() {
        std::signal(SIGINT, oldInt_);
        std::signal(SIGTERM, oldTerm_);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    void (*oldInt_)(int) = SIG_DFL;
    void (*oldTerm_)(int) = SIG_DFL;
};

}  // namespace

bool Emit(CommandContext& c, const std::string& text) {
    if (!c.outputError.empty()) return false;
    errno = 0;
    c.out << text << std::flush;
    if (c.out) return true;
    // The stream keeps no reason; the failed write just set it.
    c.outputError = errno != 0 ? std::strerror(errno) : "write error";
    return false;
}

int FinishOutput(CommandContext& c, int code) {
    if (c.outputError.empty()) {
        errno = 0;
        c.out.flush();
        if (!c.out) c.outputError = errno != 0 ? std::strerror(errno) : "write error";
    }
    if (c.outputError.empty()) return code;
    c.err << korvan::Fill(kOutputFailed, c.language, c.outputError) << '\n';
    // A failure that was already reported keeps its own code; a result that never reached its
    // reader is no success.
    return code == kExitSuccess || code == kExitDiffers ? kExitFile : code;
}

int LoadTuneFile(CommandContext& c, const std::string& path, bool acceptIgnored,
                 DeviceImage& image) {
    // As File > Open on a fresh start: the default set, the file read over it, normalised.
    image = DefaultImage();
    const ParameterFileLoad load = LoadParameterFile(path, image);
    if (!load.file.ok) {
        // The two reasons met most (a typo, a device named by mistake) in the user's language;
        // any other in the words of the file code or the system.
        std::string why = load.file.error;
        if (load.file.missing) why = path + ": " + kNoSuchFile.In(c.language);
        if (load.file.device) why = path + ": " + kDeviceNotFile.In(c.language);
        c.err << Fill(kFileUnreadable, c.language, why) << '\n';
        return kExitFile;
    }
    const ParameterFileResult& result = load.parsed;
    if (!result.accepted) {
        if (!result.headerVersion) {
            c.err << korvan::Fill(kNotParameterFile, c.language, path) << '\n';
        } else {
            c.err << path << ": " << kIgnVersionMessage.In(c.language) << ' '
                  << korvan::Fill(kFileVersionFound, c.language, *result.headerVersion,
                                  static_cast<unsigned>(kFormatVersion))
                  << '\n';
        }
        return kExitFile;
    }
    if (!result.ignored.empty() && !acceptIgnored) {
        c.err << Fill(kFilePartlyRead, c.language, path, std::to_string(result.ignored.size()))
              << '\n';
        for (const IgnoredEntry& e : result.ignored)
            c.err << "  " << IgnoredEntryText(e, c.language) << '\n';
        return kExitFile;
    }
    NormalizeImage(image);
    return kExitSuccess;
}

int CommandInfo(CommandContext& c) {
    DeviceImage image = DefaultImage();
    LinkSession session(c.port, image, c.language, Progress(c));
    if (!OpenPort(c, session)) return kExitPort;
    // The read's first answer is the identity page; nothing after it is needed.
    const Outcome outcome = session.Run([](DeviceLink& link) { link.StartRead(); },
                                        [&] { return session.IdentityReceived(); });
    session.Close();
    if (!session.IdentityReceived()) return Report(c, session, outcome);

    const IdentityTexts& id = session.Identity();
    const auto line = [&](const LocalizedText& label, const std::string& value) {
        Emit(c, label.In(c.language) + std::string(": ") + value + '\n');
    };
    line(kInfoVersion, Printable(id.VersionString));
    line(kInfoDate, Printable(id.DateString));
    line(kInfoTime, Printable(id.TimeString));
    line(kInfoFormatVersion, std::to_string(image[field::FormatVersion]));
    line(kInfoReading,
         (image[field::ReadEnable] == 1 ? kInfoAllowed : kInfoProhibited).In(c.language));
    std::string types;
    for (int t = 0; t < kBikeTypeCount; ++t) {
        if (!BikeTypeSupported(image, static_cast<std::uint8_t>(t))) continue;
        if (!types.empty()) types += ", ";
        types += std::to_string(t) + " " + kBikeTypeNames[static_cast<std::size_t>(t)];
    }
    line(kInfoBikeTypes, types.empty() ? "-" : types);
    return kExitSuccess;
}

int CommandRead(CommandContext& c, const std::string& outputPath) {
    if (!outputPath.empty()) {
        // Found out before the unit is asked, so a read is not thrown away for a typo.
        std::error_code ec;
        const auto target = FilePath(outputPath);
        const auto folder =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
        std::string why;
        if (std::filesystem::is_directory(target, ec)) {
            why = kIsAFolder.In(c.language);
        } else if (!std::filesystem::is_directory(folder, ec)) {
            why = korvan::Fill(kFolderMissing, c.language, folder.u8string());
        }
        if (!why.empty()) {
            c.err << Fill(kFileUnwritable, c.language, outputPath + ": " + why) << '\n';
            return kExitFile;
        }
    }
    DeviceImage image = DefaultImage();
    const int code = RunConfirmed(c, image, &DeviceLink::StartRead, !outputPath.empty());
    if (code != kExitSuccess) return code;
    const std::string text = ParameterFileText(image, c.extendedMonitor);
    if (outputPath.empty()) return Emit(c, text) ? kExitSuccess : kExitFile;
    const WriteResult written = WriteFileAtomically(outputPath, text);
    if (!written.ok) {
        c.err << Fill(kFileUnwritable, c.language, written.error) << '\n';
        return kExitFile;
    }
    return kExitSuccess;
}

int CommandProgram(CommandContext& c, const std::string& file, bool acceptIgnored) {
    DeviceImage image;
    if (const int code = LoadTuneFile(c, file, acceptIgnored, image); code != kExitSuccess)
        return code;
    return RunConfirmed(c, image, &DeviceLink::StartProgram);
}

int CommandVerify(CommandContext& c, const std::string& file, bool acceptIgnored) {
    DeviceImage image;
    if (const int code = LoadTuneFile(c, file, acceptIgnored, image); code != kExitSuccess)
        return code;
    return RunConfirmed(c, image, &DeviceLink::StartVerify);
}

std::string MonitorLine(const std::uint8_t* frame, bool extended) {
    MonitorInputs inputs;
    inputs.extendedMonitor = extended;
    // Without a window nothing hides the N2O and servo read-outs.
    inputs.gasChecked = true;
    inputs.servoGroupVisible = true;
    const MonitorReadout r = BuildMonitorReadout(frame, inputs);
    std::string line;
    for (const ReadoutLabel* label :
         {&r.rpm, &r.tps, &r.lambda, &r.advance, &r.servoDesired, &r.servoMeasured, &r.blok1,
          &r.blok2, &r.clutch, &r.limiter1, &r.tachoLambda, &r.n2oEnable, &r.programCount}) {
        if (label->visible == std::optional<bool>(false)) continue;
        if (!line.empty()) line += " | ";
        line += Trimmed(label->text);
    }
    if (extended) {
        for (const std::string& test : r.test) line += " | " + Trimmed(test);
    }
    return line;
}

int CommandMonitor(CommandContext& c, std::optional<double> seconds, const std::string& logPath) {
    DeviceImage image = DefaultImage();
    LinkSession session(c.port, image, c.language, Progress(c));
    if (!OpenPort(c, session)) return kExitPort;
    // The file once the port is open, so that a wrong port does not empty an earlier log of
    // that name, and before the unit is asked anything, so that a path that cannot be written
    // costs no read.
    std::optional<RideLogFile> log;
    if (!logPath.empty()) {
        log.emplace(c.language);
        if (!log->Start(logPath)) {
            session.Close();
            c.err << log->Error() << '\n';
            return kExitFile;
        }
    }
    if (log) {
        // The log names the map cell of every row, so it needs the unit's own map. A unit that
        // forbids reading keeps it to itself: the cells then follow the default set, and the
        // user is told.
        const Outcome read = session.Run([](DeviceLink& link) { link.StartRead(); });
        if (read == Outcome::NoReading) {
            image = DefaultImage();
            c.err << kLogCellsOfDefaults.In(c.language) << '\n';
        } else if (read != Outcome::Confirmed) {
            session.Close();
            return Report(c, session, read);
        }
    }
    if (log) log->RestartClock();
    const StopSignals stopSignals;
    session.onMonitorFrame = [&](const std::uint8_t* frame) {
        Emit(c, MonitorLine(frame, c.extendedMonitor) + '\n');
        if (log) log->Add(frame, image);
    };
    const auto begin = std::chrono::steady_clock::now();
    const auto done = [&] {
        if (log) {
            log->Tick();
            if (log->Failed()) return true;
        }
        if (stopRequested || !c.outputError.empty()) return true;
        return seconds &&
               std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() >=
                   *seconds;
    };
    const Outcome outcome = session.Monitor(done);
    session.Close();
    if (log && !log->Finish()) {
        c.err << log->Error() << '\n';
        return kExitFile;
    }
    if (!c.outputError.empty()) return kExitFile;  // said by FinishOutput
    if (outcome == Outcome::Stopped && session.MonitorFrames() > 0) return kExitSuccess;
    if (outcome == Outcome::PortLost) return Report(c, session, outcome);
    c.err << korvan::Fill(kNoMonitorFrames, c.language, c.device) << '\n';
    return kExitNoAnswer;
}

int CommandCompare(CommandContext& c, const std::string& file, const std::string& file2, bool json,
                   bool acceptIgnored) {
    DeviceImage base;
    if (const int code = LoadTuneFile(c, file, acceptIgnored, base); code != kExitSuccess)
        return code;
    DeviceImage other = DefaultImage();
    if (!file2.empty()) {
        if (const int code = LoadTuneFile(c, file2, acceptIgnored, other); code != kExitSuccess)
            return code;
    } else {
        // A read into an image of its own, verify phase included: the file stays as it is.
        if (const int code = RunConfirmed(c, other, &DeviceLink::StartRead, false);
            code != kExitSuccess)
            return code;
    }
    const ParameterComparison comparison = CompareParameters(base, other);
    Emit(c, json ? ComparisonJson(comparison) + "\n" : CompareText(comparison, c.language));
    return comparison.Identical() ? kExitSuccess : kExitDiffers;
}

int CommandPorts(CommandContext& c, bool all) {
    // As the port dialog lists them; one port a line, tab-separated so a script can cut it,
    // "-" where the system tells nothing.
    QtPortLister lister("");
    const std::vector<PortDescription> ports = OrderPorts(lister.List(), all);
    if (ports.empty()) c.err << kNoPorts.In(c.language) << '\n';
    const auto field = [](const std::string& value) { return value.empty() ? "-" : value; };
    for (const PortDescription& p : ports) {
        if (!Emit(c, p.device + '\t' + field(p.description) + '\t' + field(p.manufacturer) + '\t' +
                         field(p.serialNumber) + '\t' + field(VendorProduct(p)) + '\t' +
                         StableDeviceName(p.device) + '\n'))
            break;
    }
    return kExitSuccess;
}

}  // namespace korvan::cli
