// Why a serial device could not be opened, told to the user in a second line under
// "Com opening error". Plain C++: the classification takes the system's error number and what a
// stat of the device node found, so every case can be checked without the device.
#pragma once

#include <cstdint>
#include <string>

namespace korvan {

enum class PortFailureKind : std::uint8_t {
    None,             // the open succeeded
    Missing,          // no such device (adapter unplugged, typo)
    Permission,       // the user may not open it, usually for want of the device's group
    Busy,             // another program holds it
    NotSerialDevice,  // a regular file, a folder, a FIFO, /dev/null or another non-terminal
    Other,            // anything else: the system's own text is shown
};

// What a non-serial node is, for the message.
enum class NodeType : std::uint8_t {
    Missing,
    CharDevice,
    RegularFile,
    Directory,
    Fifo,
    NullDevice,
    Other
};

// What a stat of the device node (following links) found, and the user's relation to the
// node's group.
struct NodeInfo {
    NodeType type = NodeType::Missing;
    std::string groupName;         // the group owning the node ("" when unknown)
    bool inGroupNow = false;       // the running program has the group
    bool inGroupDatabase = false;  // the group database lists the user (maybe since the login)
};

struct PortOpenFailure {
    PortFailureKind kind = PortFailureKind::None;
    std::string device;
    NodeInfo node;
    std::string systemText;  // the system's text for the error, shown for Other

    bool Failed() const { return kind != PortFailureKind::None; }
};

// Classifies a failed open of `device` from the error number the open left and the node.
PortOpenFailure ClassifyOpenFailure(const std::string& device, int error, const NodeInfo& node,
                                    const std::string& systemText);

// Looks at the node on this system: stat, group name, the user's groups.
NodeInfo InspectNode(const std::string& device);

// The second line of the box in the language (0 Czech, 1 English, 2 German).
std::string OpenFailureText(const PortOpenFailure& failure, std::uint8_t language);

// Whether trying the same device again later can succeed. A path that names no serial device
// is reported once and left alone instead of being retried for ever.
bool RetryCanHelp(const PortOpenFailure& failure);

// The first line of the box, the same in every language.
constexpr const char* kComOpeningError = "Com opening error";

}  // namespace korvan
