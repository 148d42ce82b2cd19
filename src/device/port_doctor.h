// The port doctor: why a USB serial adapter does not reach the unit, and how to fix it.
//
// It looks at what stands between a tuner and a first answer: the device node and who may open
// it, ModemManager and brltty (both grab USB serial adapters), another program holding the
// port, this program's udev rule, and finally a monitor request on the line. Plain C++: every
// path it reads (/sys, /dev, /proc, /etc/group, /run/udev, udev's rule folders) is looked up
// under a root folder that tests point at a fake tree, and the port is the link's SerialPort.
// It writes nothing anywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/serial_port.h"

namespace korvan {

// What stat() tells of a device node.
struct NodeStat {
    unsigned mode = 0;  // type and permission bits (S_IFCHR | 0660)
    unsigned uid = 0;
    unsigned gid = 0;
    unsigned major = 0, minor = 0;
};

// Who is asking: the permission checks compare the node with these.
struct DoctorUser {
    unsigned uid = 0;
    unsigned gid = 0;
    std::vector<unsigned> groups;  // the process's supplementary groups
    std::string name;              // login name, looked up in the group database
    long pid = 0;                  // this process, which may hold the port itself
};

// The running process's user.
DoctorUser CurrentDoctorUser();

// A USB serial adapter as /sys tells it.
struct AdapterFacts {
    std::string device;  // "/dev/ttyUSB0"
    std::string driver;  // "ftdi_sio", "" when unknown
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    std::vector<std::string> stableNames;  // /dev/serial/by-id/... links to it
    std::string udevData;                  // the udev database entry ("" when none)

    std::string UsbId() const;  // "1a86:7523", "" without ids
};

// The USB serial adapters (ttyUSB*, ttyACM*) present under `root`, in natural name order.
std::vector<AdapterFacts> ListAdapters(const std::string& root);

enum class FindingKind : std::uint8_t {
    DeviceMissing,    // the named device (or any adapter) is not there
    NotSerialDevice,  // a folder, a FIFO, a regular file, a dangling link ...
    NoPermission,     // the user may not open the node
    NewLoginNeeded,   // the group is granted in /etc/group, but not yet to this login
    ModemManager,     // ModemManager runs and may probe the adapter
    Brltty,           // brltty's udev rules claim this adapter
    HeldByOther,      // another process has the port open
    RuleNotApplied,   // this program's udev rule is installed but not yet applied
    OpenFailed,       // the open failed for another reason
    NoAnswer,         // the port opens and nothing answers
};

struct Finding {
    FindingKind kind;
    std::string device;
    // What goes into the text, by kind: DeviceMissing {dangling link's target, adapters
    // present}; NotSerialDevice {"folder" | "fifo" | "file" | "null" | "other"}; NoPermission and
    // NewLoginNeeded {group, mode}; HeldByOther {"name (PID n)"...}; RuleNotApplied {rule
    // file}; Brltty {rule file, vendor:product}.
    std::vector<std::string> details;
    PortOpenFailure openFailure;  // OpenFailed: why, as the window's box says it
};

// Something that could not be looked at, and why; the doctor goes on without it.
struct DoctorNote {
    enum Kind : std::uint8_t { ProcUnreadable, GroupFileUnreadable, OwnProcessHolds } kind;
    std::string detail;
};

struct DoctorReport {
    std::vector<std::string> devices;  // what was checked
    std::vector<AdapterFacts> adapters;
    std::vector<Finding> findings;
    std::vector<DoctorNote> notes;
    std::vector<std::string> answered;  // devices on which a unit answered

    bool UnitAnswered() const { return !answered.empty(); }
};

struct DoctorOptions {
    std::string root = "/";
    DoctorUser user;
    // The device to check; empty checks every adapter present.
    std::string device;
    // Opens a port for the answer check (the real one in the program, a fake in tests); null
    // skips the check.
    SerialPort* port = nullptr;
    // Waits between looks at the port (sleeps in the program, nothing in tests).
    std::function<void(int ms)> wait;
    // Type, mode, owner and group of a device node (following links), as stat() fills them;
    // false when there is none. Null asks the system. A fake tree cannot hold a character
    // device without privileges, so tests describe their nodes here.
    std::function<bool(const std::string& path, NodeStat& node)> statNode;
};

// How long the doctor waits for an answer to each monitor request, and how often it asks.
// A frame takes 18 ms at 57600 baud and a unit answers within a tick; three requests a quarter
// second apart ride out one lost answer and keep the whole check well under two seconds.
constexpr int kDoctorAnswerWaitMs = 250;
constexpr int kDoctorPollMs = 10;
constexpr int kDoctorRequests = 3;

DoctorReport RunPortDoctor(const DoctorOptions& options);

// The finding's text and its fix in the language (0 Czech, 1 English, 2 German).
std::string FindingText(const Finding& finding, std::uint8_t language);
std::string NoteText(const DoctorNote& note, std::uint8_t language);
// "The unit answers on DEVICE." / "No USB serial adapter ..." style summary lines.
std::string AnsweredText(const std::string& device, std::uint8_t language);
std::string AdapterLine(const AdapterFacts& adapter, std::uint8_t language);
std::string NoFindingsText(std::uint8_t language);

// The whole report as lines, as korvan2-cli prints it and the port dialog shows it.
std::vector<std::string> ReportLines(const DoctorReport& report, std::uint8_t language);

}  // namespace korvan
