// Why an open failed, and the line the user reads under "Com opening error".
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include "device/port_failure.h"

namespace korvan {
namespace {

NodeInfo Node(NodeType type, const char* group = "dialout", bool now = false, bool listed = false) {
    NodeInfo n;
    n.type = type;
    n.groupName = group;
    n.inGroupNow = now;
    n.inGroupDatabase = listed;
    return n;
}

struct FailureCase {
    const char* what;
    int error;
    NodeInfo node;
    PortFailureKind kind;
    bool retry;
    const char* english;  // the whole second line
    const char* czechPart;
    const char* germanPart;
};

TEST(PortFailure, EachCauseIsNamedWithTheDeviceInEveryLanguage) {
    const FailureCase cases[] = {
        {"missing device", ENOENT, Node(NodeType::Missing), PortFailureKind::Missing, true,
         "The device /dev/ttyX does not exist (is the adapter plugged in?).", "neexistuje",
         "existiert nicht"},
        // The node's group is named, whatever it is; the fix names it too.
        {"not in the group", EACCES, Node(NodeType::CharDevice, "uucp"),
         PortFailureKind::Permission, true,
         "The device /dev/ttyX belongs to group uucp and you are not in it. Fix: sudo usermod -aG "
         "uucp $USER, "
         "then log out and in again.",
         "sudo usermod -aG uucp $USER", "sudo usermod -aG uucp $USER"},
        {"added to the group after login", EACCES,
         Node(NodeType::CharDevice, "dialout", false, true), PortFailureKind::Permission, true,
         "The device /dev/ttyX belongs to group dialout; your membership takes effect once you log "
         "out and in "
         "again.",
         "skupině dialout", "Gruppe dialout"},
        {"in the group and still refused", EPERM, Node(NodeType::CharDevice, "dialout", true, true),
         PortFailureKind::Permission, true, "You have no permission to open the device /dev/ttyX.",
         "nemáte přístup", "keine Berechtigung"},
        {"busy", EBUSY, Node(NodeType::CharDevice), PortFailureKind::Busy, true,
         "The device /dev/ttyX is in use by another program.", "jiný program", "anderen Programm"},
        {"regular file", ENOTTY, Node(NodeType::RegularFile), PortFailureKind::NotSerialDevice,
         false, "/dev/ttyX is not a serial port (a regular file).", "obyčejný soubor",
         "gewöhnliche Datei"},
        // Whatever error the toolkit reported, the node decides.
        {"directory", EISDIR, Node(NodeType::Directory), PortFailureKind::NotSerialDevice, false,
         "/dev/ttyX is not a serial port (a folder).", "složka", "Ordner"},
        {"fifo", EIO, Node(NodeType::Fifo), PortFailureKind::NotSerialDevice, false,
         "/dev/ttyX is not a serial port (a FIFO).", "FIFO", "FIFO"},
        {"null device", ENOTTY, Node(NodeType::NullDevice), PortFailureKind::NotSerialDevice, false,
         "/dev/ttyX is not a serial port (the null device).", "nulové", "Nullgerät"},
        {"character device that is no terminal", ENOTTY, Node(NodeType::CharDevice),
         PortFailureKind::NotSerialDevice, false,
         "/dev/ttyX is not a serial port (not a terminal).", "terminál", "kein Terminal"},
        {"node without a driver", ENXIO, Node(NodeType::CharDevice), PortFailureKind::Missing, true,
         "The device /dev/ttyX does not exist (is the adapter plugged in?).", "neexistuje",
         "existiert nicht"},
        {"other", EIO, Node(NodeType::CharDevice), PortFailureKind::Other, true,
         "The device /dev/ttyX: Input/output error", "Input/output error", "Input/output error"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        const PortOpenFailure f =
            ClassifyOpenFailure("/dev/ttyX", c.error, c.node, "Input/output error");
        EXPECT_EQ(f.kind, c.kind);
        EXPECT_TRUE(f.Failed());
        EXPECT_EQ(RetryCanHelp(f), c.retry);
        EXPECT_EQ(OpenFailureText(f, 1), c.english);
        const std::string czech = OpenFailureText(f, 0);
        const std::string german = OpenFailureText(f, 2);
        EXPECT_NE(czech.find(c.czechPart), std::string::npos) << czech;
        EXPECT_NE(german.find(c.germanPart), std::string::npos) << german;
        EXPECT_NE(czech.find("/dev/ttyX"), std::string::npos);
        EXPECT_NE(german.find("/dev/ttyX"), std::string::npos);
        EXPECT_EQ(czech.find('{'), std::string::npos) << "an unfilled place";
        EXPECT_EQ(german.find('{'), std::string::npos) << "an unfilled place";
    }
    EXPECT_EQ(OpenFailureText(PortOpenFailure{}, 1), "");
}

// The real nodes of this system, as the open path sees them.
TEST(PortFailure, InspectNodeTellsTheKindsOfNodeApart) {
    char folder[] = "/tmp/korvan_node_XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string base = folder;
    std::ofstream(base + "/file") << "x";
    ASSERT_EQ(::mkfifo((base + "/fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink((base + "/gone").c_str(), (base + "/dangling").c_str()), 0);

    const struct {
        std::string path;
        NodeType type;
    } cases[] = {
        {base + "/file", NodeType::RegularFile}, {base, NodeType::Directory},
        {base + "/fifo", NodeType::Fifo},        {"/dev/null", NodeType::NullDevice},
        {base + "/nothing", NodeType::Missing},  {base + "/dangling", NodeType::Missing},
        {"/dev/tty", NodeType::CharDevice},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(InspectNode(c.path).type, c.type);
    }
    // The owner group of a file we made is our own group.
    const NodeInfo own = InspectNode(base + "/file");
    EXPECT_TRUE(own.inGroupNow);
    EXPECT_TRUE(own.inGroupDatabase);
    EXPECT_FALSE(own.groupName.empty());

    std::remove((base + "/file").c_str());
    std::remove((base + "/fifo").c_str());
    std::remove((base + "/dangling").c_str());
    ::rmdir(folder);
}

}  // namespace
}  // namespace korvan
