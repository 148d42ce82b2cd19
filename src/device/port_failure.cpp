#include "device/port_failure.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "params/localized_text.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace korvan {

namespace {

// The texts are filled after the language is chosen: %1 the device, %2 its group, %3 what the
// node is instead of a serial port, %4 what the system said.
const LocalizedText kMissingText{"Zařízení %1 neexistuje (je převodník připojen?).",
                                 "The device %1 does not exist (is the adapter plugged in?).",
                                 "Das Gerät %1 existiert nicht (ist der Adapter eingesteckt?)."};
const LocalizedText kNotInGroupText{
    "Zařízení %1 patří skupině %2 a vy v ní nejste. Náprava: sudo usermod -aG %2 "
    "$USER, "
    "potom se odhlaste a znovu přihlaste.",
    "The device %1 belongs to group %2 and you are not in it. Fix: sudo usermod -aG "
    "%2 $USER, "
    "then log out and in again.",
    "Das Gerät %1 gehört der Gruppe %2, und Sie sind nicht darin. Abhilfe: sudo usermod "
    "-aG %2 "
    "$USER, danach ab- und wieder anmelden."};
const LocalizedText kGroupAfterLoginText{
    "Zařízení %1 patří skupině %2; členství ve skupině platí až po odhlášení a novém "
    "přihlášení.",
    "The device %1 belongs to group %2; your membership takes effect once you log out "
    "and in again.",
    "Das Gerät %1 gehört der Gruppe %2; die Mitgliedschaft gilt erst nach Ab- und "
    "wieder Anmelden."};
const LocalizedText kNoPermissionText{"K zařízení %1 nemáte přístup.",
                                      "You have no permission to open the device %1.",
                                      "Sie haben keine Berechtigung, das Gerät %1 zu öffnen."};
const LocalizedText kBusyText{"Zařízení %1 používá jiný program.",
                              "The device %1 is in use by another program.",
                              "Das Gerät %1 wird von einem anderen Programm benutzt."};
const LocalizedText kNotSerialText{"%1 není sériový port (%3).", "%1 is not a serial port (%3).",
                                   "%1 ist keine serielle Schnittstelle (%3)."};
const LocalizedText kRegularFileWhat{"obyčejný soubor", "a regular file", "eine gewöhnliche Datei"};
const LocalizedText kDirectoryWhat{"složka", "a folder", "ein Ordner"};
const LocalizedText kFifoWhat{"roura FIFO", "a FIFO", "eine FIFO"};
const LocalizedText kNullWhat{"nulové zařízení", "the null device", "das Nullgerät"};
const LocalizedText kOtherNodeWhat{"není to terminál", "not a terminal", "kein Terminal"};
const LocalizedText kOtherText{"Zařízení %1: %4", "The device %1: %4", "Das Gerät %1: %4"};

const LocalizedText& NodeWhat(NodeType type) {
    switch (type) {
        case NodeType::RegularFile:
            return kRegularFileWhat;
        case NodeType::Directory:
            return kDirectoryWhat;
        case NodeType::Fifo:
            return kFifoWhat;
        case NodeType::NullDevice:
            return kNullWhat;
        default:
            return kOtherNodeWhat;
    }
}

}  // namespace

PortOpenFailure ClassifyOpenFailure(const std::string& device, int error, const NodeInfo& node,
                                    const std::string& systemText) {
    PortOpenFailure f;
    f.device = device;
    f.node = node;
    f.systemText = systemText;
    // The node says more than the error number: opening a FIFO or /dev/null succeeds and only
    // the terminal settings fail, with whatever error the toolkit chose to report.
    switch (node.type) {
        case NodeType::Missing:
            f.kind = PortFailureKind::Missing;
            return f;
        case NodeType::RegularFile:
        case NodeType::Directory:
        case NodeType::Fifo:
        case NodeType::NullDevice:
        case NodeType::Other:
            f.kind = PortFailureKind::NotSerialDevice;
            return f;
        case NodeType::CharDevice:
            break;
    }
    switch (error) {
        case EACCES:
        case EPERM:
            f.kind = PortFailureKind::Permission;
            break;
        case EBUSY:
        case EAGAIN:
            f.kind = PortFailureKind::Busy;
            break;
        case ENOTTY:
            f.kind = PortFailureKind::NotSerialDevice;
            f.node.type = NodeType::Other;
            break;
        // A node without a driver behind it: the adapter went away after the node was seen.
        case ENOENT:
        case ENODEV:
        case ENXIO:
            f.kind = PortFailureKind::Missing;
            break;
        default:
            f.kind = PortFailureKind::Other;
            break;
    }
    return f;
}

NodeInfo InspectNode(const std::string& device) {
    NodeInfo info;
#ifndef _WIN32
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) return info;
    // /dev/null is the character device 1:3 on Linux.
    constexpr unsigned kMemMajor = 1;
    constexpr unsigned kNullMinor = 3;
    if (S_ISCHR(st.st_mode)) {
        info.type = (major(st.st_rdev) == kMemMajor && minor(st.st_rdev) == kNullMinor)
                        ? NodeType::NullDevice
                        : NodeType::CharDevice;
    } else if (S_ISREG(st.st_mode)) {
        info.type = NodeType::RegularFile;
    } else if (S_ISDIR(st.st_mode)) {
        info.type = NodeType::Directory;
    } else if (S_ISFIFO(st.st_mode)) {
        info.type = NodeType::Fifo;
    } else {
        info.type = NodeType::Other;
    }
    if (const struct group* g = ::getgrgid(st.st_gid)) info.groupName = g->gr_name;

    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> now(static_cast<std::size_t>(count > 0 ? count : 0));
    if (count > 0 && ::getgroups(count, now.data()) == count) {
        for (gid_t g : now) info.inGroupNow = info.inGroupNow || g == st.st_gid;
    }
    info.inGroupNow = info.inGroupNow || ::getegid() == st.st_gid;

    // The database may already list the user when the session started before the change.
    const char* user = ::getlogin();
    std::string name = user ? user : "";
    if (const char* env = std::getenv("USER"); name.empty() && env) name = env;
    if (!name.empty()) {
        int n = 64;
        std::vector<gid_t> listed(static_cast<std::size_t>(n));
        if (::getgrouplist(name.c_str(), ::getgid(), listed.data(), &n) < 0 && n > 0) {
            listed.resize(static_cast<std::size_t>(n));
            ::getgrouplist(name.c_str(), ::getgid(), listed.data(), &n);
        }
        listed.resize(static_cast<std::size_t>(n > 0 ? n : 0));
        for (gid_t g : listed) info.inGroupDatabase = info.inGroupDatabase || g == st.st_gid;
    }
    info.inGroupDatabase = info.inGroupDatabase || info.inGroupNow;
#else
    (void)device;
    info.type = NodeType::CharDevice;
#endif
    return info;
}

std::string OpenFailureText(const PortOpenFailure& f, std::uint8_t language) {
    const LocalizedText* text = &kOtherText;
    switch (f.kind) {
        case PortFailureKind::None:
            return "";
        case PortFailureKind::Missing:
            text = &kMissingText;
            break;
        case PortFailureKind::Busy:
            text = &kBusyText;
            break;
        case PortFailureKind::NotSerialDevice:
            text = &kNotSerialText;
            break;
        case PortFailureKind::Other:
            text = &kOtherText;
            break;
        case PortFailureKind::Permission:
            if (f.node.groupName.empty() || f.node.inGroupNow) {
                text = &kNoPermissionText;
            } else if (f.node.inGroupDatabase) {
                text = &kGroupAfterLoginText;
            } else {
                text = &kNotInGroupText;
            }
            break;
    }
    return Fill(*text, language, f.device, f.node.groupName, NodeWhat(f.node.type).In(language),
                f.systemText);
}

bool RetryCanHelp(const PortOpenFailure& f) {
    return f.kind != PortFailureKind::NotSerialDevice;
}

}  // namespace korvan
