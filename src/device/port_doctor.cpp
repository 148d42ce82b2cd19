#include "device/port_doctor.h"

#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "device/frame.h"
#include "device/monitor.h"
#include "device/udev_rules.h"

namespace korvan {

namespace fs = std::filesystem;

namespace {

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    return text.str();
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ' || s.back() == '\r')) s.pop_back();
    return s;
}

std::optional<std::uint16_t> ReadHexId(const std::string& path) {
    const std::string text = Trim(ReadSmallFile(path));
    if (text.empty() || text.size() > 4) return std::nullopt;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (end == nullptr || *end != '\0') return std::nullopt;
    return static_cast<std::uint16_t>(v);
}

// ttyUSB2 before ttyUSB10.
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        std::size_t i = s.size();
        while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
        const long n = i < s.size() ? std::strtol(s.c_str() + i, nullptr, 10) : -1;
        return std::make_pair(s.substr(0, i), n);
    };
    return split(a) < split(b);
}

// The path with the root's prefix taken off again: what the running system calls it.
std::string WithoutRoot(const std::string& root, const std::string& path) {
    if (root.empty() || root == "/") return path;
    std::string r = root;
    while (r.size() > 1 && r.back() == '/') r.pop_back();
    if (path.compare(0, r.size(), r) == 0 && (path.size() == r.size() || path[r.size()] == '/'))
        return path.size() == r.size() ? "/" : path.substr(r.size());
    return path;
}

// A file a process holds open: the name /proc shows, and which file it is. Names alone
// mislead: two pseudo-terminal file systems (a container's and the host's) both have a
// /dev/pts/0, so the file's identity decides wherever it can be had.
struct OpenFile {
    std::string name;
    bool identified = false;
    std::uint64_t device = 0, inode = 0;
};

// A process as /proc shows it: its name and the devices it holds open.
struct ProcessFacts {
    long pid = 0;
    std::string name;
    std::vector<OpenFile> openDevices;
};

struct ProcScan {
    bool readable = false;
    std::string error;
    std::vector<ProcessFacts> processes;
};

ProcScan ScanProc(const std::string& root) {
    ProcScan scan;
    const std::string proc = UnderRoot(root, "/proc");
    DIR* dir = ::opendir(proc.c_str());
    if (dir == nullptr) {
        scan.error = std::strerror(errno);
        return scan;
    }
    scan.readable = true;
    while (const dirent* e = ::readdir(dir)) {
        char* end = nullptr;
        const long pid = std::strtol(e->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        ProcessFacts p;
        p.pid = pid;
        const std::string base = proc + "/" + e->d_name;
        p.name = Trim(ReadSmallFile(base + "/comm"));
        // Other users' descriptors are closed to us; what cannot be read is skipped.
        std::error_code ec;
        for (fs::directory_iterator it(base + "/fd", ec), stop; !ec && it != stop;
             it.increment(ec)) {
            std::error_code linkError;
            const fs::path target = fs::read_symlink(it->path(), linkError);
            if (linkError) continue;
            OpenFile file;
            file.name = WithoutRoot(root, target.string());
            if (file.name.compare(0, 5, "/dev/") != 0) continue;
            struct stat st = {};
            if (::stat(it->path().c_str(), &st) == 0) {
                file.identified = true;
                file.device = st.st_dev;
                file.inode = st.st_ino;
            }
            p.openDevices.push_back(std::move(file));
        }
        scan.processes.push_back(std::move(p));
    }
    ::closedir(dir);
    return scan;
}

// The group database: name and listed members of each group id.
struct GroupEntry {
    std::string name;
    std::vector<std::string> members;
};

bool ReadGroups(const std::string& root, std::map<unsigned, GroupEntry>& groups,
                std::string& error) {
    std::ifstream in(UnderRoot(root, "/etc/group"));
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream s(line);
        std::string field;
        while (std::getline(s, field, ':')) fields.push_back(field);
        if (line.size() > 0 && line.back() == ':') fields.emplace_back();
        if (fields.size() < 3) continue;
        char* end = nullptr;
        const unsigned long gid = std::strtoul(fields[2].c_str(), &end, 10);
        if (end == nullptr || *end != '\0' || fields[2].empty()) continue;
        GroupEntry g;
        g.name = fields[0];
        if (fields.size() > 3) {
            std::stringstream m(fields[3]);
            std::string member;
            while (std::getline(m, member, ',')) {
                if (!member.empty()) g.members.push_back(member);
            }
        }
        groups.emplace(static_cast<unsigned>(gid), std::move(g));
    }
    return true;
}

// Whether the node's access ACL grants reading and writing to the user: udev's "uaccess" tag
// puts an entry for the person at the seat there.
bool AclAllows(const std::string& path, const DoctorUser& user) {
    std::uint8_t buffer[1024];
    const ssize_t size = ::getxattr(path.c_str(), "system.posix_acl_access", buffer, sizeof buffer);
    constexpr std::size_t kHeader = 4, kEntry = 8;
    if (size < static_cast<ssize_t>(kHeader)) return false;
    constexpr unsigned kUserEntry = 0x02, kGroupEntry = 0x08, kMaskEntry = 0x10;
    constexpr unsigned kReadWrite = 0x06;
    unsigned granted = 0, mask = 7;
    bool found = false;
    for (std::size_t at = kHeader; at + kEntry <= static_cast<std::size_t>(size); at += kEntry) {
        const unsigned tag = buffer[at] | (buffer[at + 1] << 8);
        const unsigned perm = buffer[at + 2] | (buffer[at + 3] << 8);
        const unsigned id = buffer[at + 4] | (buffer[at + 5] << 8) | (buffer[at + 6] << 16) |
                            (static_cast<unsigned>(buffer[at + 7]) << 24);
        if (tag == kMaskEntry) mask = perm;
        const bool mine = (tag == kUserEntry && id == user.uid) ||
                          (tag == kGroupEntry &&
                           (id == user.gid || std::find(user.groups.begin(), user.groups.end(),
                                                        id) != user.groups.end()));
        if (mine) {
            granted |= perm;
            found = true;
        }
    }
    return found && (granted & mask & kReadWrite) == kReadWrite;
}

std::string ModeText(unsigned mode) {
    std::string s = "crw-rw-rw-";
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit) {
        s[static_cast<std::size_t>(1 + bit)] = (mode & (0400 >> bit)) ? letters[bit] : '-';
    }
    return s;
}

AdapterFacts AdapterOf(const std::string& root, const std::string& name) {
    AdapterFacts a;
    a.device = "/dev/" + name;
    const std::string cls = UnderRoot(root, "/sys/class/tty/" + name);
    std::error_code ec;
    const fs::path device = fs::canonical(cls + "/device", ec);
    if (!ec) {
        const fs::path driver = fs::canonical(device / "driver", ec);
        if (!ec) a.driver = driver.filename().string();
        const std::string sys = UnderRoot(root, "/sys");
        // The USB device is the first folder above the interface that has the ids.
        for (fs::path p = device; p.string().size() > sys.size() && p.has_parent_path();
             p = p.parent_path()) {
            if (fs::exists(p / "idVendor", ec)) {
                a.vendorId = ReadHexId((p / "idVendor").string());
                a.productId = ReadHexId((p / "idProduct").string());
                break;
            }
            if (p == p.parent_path()) break;
        }
    }
    const std::string numbers = Trim(ReadSmallFile(cls + "/dev"));
    if (!numbers.empty()) a.udevData = ReadSmallFile(UnderRoot(root, "/run/udev/data/c" + numbers));
    std::vector<std::string> stable;
    for (fs::directory_iterator it(UnderRoot(root, "/dev/serial/by-id"), ec), stop;
         !ec && it != stop; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError && target.filename() == name)
            stable.push_back("/dev/serial/by-id/" + it->path().filename().string());
    }
    std::sort(stable.begin(), stable.end());
    a.stableNames = stable;
    return a;
}

bool IsAdapterName(const std::string& name) {
    return name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0;
}

bool HasUdevProperty(const std::string& data, const std::string& property) {
    std::istringstream in(data);
    std::string line;
    while (std::getline(in, line)) {
        if (Trim(line) == "E:" + property) return true;
    }
    return false;
}

// A link under /dev made by this program's rule that points at the tty `name`.
bool OwnLinkPresent(const std::string& root, const std::string& name) {
    std::error_code ec;
    for (fs::directory_iterator it(UnderRoot(root, "/dev"), ec), stop; !ec && it != stop;
         it.increment(ec)) {
        const std::string link = it->path().filename().string();
        if (link.rfind(kOwnLinkPrefix, 0) != 0) continue;
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError && target.filename() == name) return true;
    }
    return false;
}

bool Blocks(FindingKind kind) {
    return kind == FindingKind::DeviceMissing || kind == FindingKind::NotSerialDevice ||
           kind == FindingKind::NoPermission || kind == FindingKind::NewLoginNeeded;
}

std::string AdapterList(const std::vector<AdapterFacts>& adapters) {
    std::string list;
    for (const AdapterFacts& a : adapters) {
        if (!list.empty()) list += ", ";
        list += a.stableNames.empty() ? a.device : a.stableNames.front();
        if (!a.UsbId().empty()) list += " (" + a.UsbId() + ")";
    }
    return list;
}

class DeviceCheck {
  public:
    DeviceCheck(const DoctorOptions& o, DoctorReport& r, const ProcScan& proc,
                const std::map<unsigned, GroupEntry>& groups)
        : o_(o), r_(r), proc_(proc), groups_(groups) {}

    void Run(const std::string& device) {
        tty_.clear();
        realPath_.clear();
        r_.devices.push_back(device);
        const std::size_t before = r_.findings.size();
        CheckNode(device);
        const bool blocked =
            std::any_of(r_.findings.begin() + static_cast<long>(before), r_.findings.end(),
                        [](const Finding& f) { return Blocks(f.kind); });
        if (blocked) return;
        CheckUsb(device);
        const bool ownHold = CheckHolders(device);
        if (!ownHold) CheckAnswer(device);
    }

  private:
    void Add(FindingKind kind, const std::string& device, std::vector<std::string> details = {}) {
        r_.findings.push_back({kind, device, std::move(details), {}});
    }

    void CheckNode(const std::string& device) {
        const std::string path = UnderRoot(o_.root, device);
        struct stat link = {};
        if (::lstat(path.c_str(), &link) != 0) {
            Add(FindingKind::DeviceMissing, device, {"", AdapterList(r_.adapters)});
            return;
        }
        NodeStat st;
        if (!StatNode(path, st)) {
            std::error_code ec;
            const std::string target = fs::read_symlink(path, ec).string();
            Add(FindingKind::DeviceMissing, device, {target, AdapterList(r_.adapters)});
            return;
        }
        std::error_code ec;
        tty_ = fs::canonical(path, ec).filename().string();
        realPath_ = WithoutRoot(o_.root, fs::canonical(path, ec).string());
        constexpr unsigned kMemMajor = 1, kNullMinor = 3;
        std::string what;
        if (S_ISDIR(st.mode)) {
            what = "folder";
        } else if (S_ISFIFO(st.mode)) {
            what = "fifo";
        } else if (S_ISREG(st.mode)) {
            what = "file";
        } else if (!S_ISCHR(st.mode)) {
            what = "other";
        } else if (st.major == kMemMajor && st.minor == kNullMinor) {
            what = "null";
        }
        if (!what.empty()) {
            Add(FindingKind::NotSerialDevice, device, {what});
            return;
        }
        CheckPermission(device, path, st);
    }

    bool StatNode(const std::string& path, NodeStat& node) const {
        if (o_.statNode) return o_.statNode(path, node);
        struct stat st = {};
        if (::stat(path.c_str(), &st) != 0) return false;
        node.mode = st.st_mode;
        node.uid = st.st_uid;
        node.gid = st.st_gid;
        node.major = major(st.st_rdev);
        node.minor = minor(st.st_rdev);
        return true;
    }

    void CheckPermission(const std::string& device, const std::string& path, const NodeStat& st) {
        const DoctorUser& u = o_.user;
        const bool inGroupNow = st.gid == u.gid || std::find(u.groups.begin(), u.groups.end(),
                                                             st.gid) != u.groups.end();
        const auto rw = [&](unsigned shift) { return ((st.mode >> shift) & 06) == 06; };
        const bool allowed = u.uid == 0 || (st.uid == u.uid && rw(6)) || (inGroupNow && rw(3)) ||
                             rw(0) || AclAllows(path, u);
        if (allowed) return;
        std::string group = std::to_string(st.gid);
        bool listed = false;
        if (const auto g = groups_.find(st.gid); g != groups_.end()) {
            group = g->second.name;
            listed = std::find(g->second.members.begin(), g->second.members.end(), u.name) !=
                     g->second.members.end();
        }
        const bool groupMayOpen = rw(3);
        if (listed && !inGroupNow && groupMayOpen) {
            Add(FindingKind::NewLoginNeeded, device, {group, ModeText(st.mode)});
        } else {
            Add(FindingKind::NoPermission, device, {group, ModeText(st.mode)});
        }
    }

    void CheckUsb(const std::string& device) {
        if (tty_.empty()) return;
        const AdapterFacts a = AdapterOf(o_.root, tty_);
        if (!a.vendorId || !a.productId) return;  // not a USB adapter: nothing of udev applies
        const std::uint16_t v = *a.vendorId, p = *a.productId;
        const auto names = [&](const RuleFile& f) {
            const std::vector<UsbIdPattern> ids = RuleUsbIds(f.text);
            return std::any_of(ids.begin(), ids.end(),
                               [&](const UsbIdPattern& id) { return id.Matches(v, p); });
        };
        const bool ignored = HasUdevProperty(a.udevData, "ID_MM_DEVICE_IGNORE=1");
        for (const RuleFile& f : RuleFilesInForce(o_.root, "korvan2")) {
            if (names(f) && !ignored && !OwnLinkPresent(o_.root, tty_))
                Add(FindingKind::RuleNotApplied, device, {f.path});
        }
        const bool modemManager =
            std::any_of(proc_.processes.begin(), proc_.processes.end(),
                        [](const ProcessFacts& q) { return q.name == "ModemManager"; });
        if (modemManager && !ignored) Add(FindingKind::ModemManager, device);
        for (const RuleFile& f : RuleFilesInForce(o_.root, "brltty")) {
            if (names(f)) {
                Add(FindingKind::Brltty, device, {WithoutRoot(o_.root, f.path), a.UsbId()});
                break;
            }
        }
    }

    // True when this process itself holds the port.
    bool CheckHolders(const std::string& device) {
        std::vector<std::string> holders;
        bool own = false;
        struct stat node = {};
        const bool nodeKnown = ::stat(UnderRoot(o_.root, device).c_str(), &node) == 0;
        for (const ProcessFacts& q : proc_.processes) {
            const bool holds =
                std::any_of(q.openDevices.begin(), q.openDevices.end(), [&](const OpenFile& f) {
                    if (f.identified && nodeKnown)
                        return f.device == static_cast<std::uint64_t>(node.st_dev) &&
                               f.inode == static_cast<std::uint64_t>(node.st_ino);
                    return f.name == device || f.name == realPath_;
                });
            if (!holds) continue;
            // The program that made a pseudo-terminal keeps its slave open too: it is the far
            // end of the line (a simulated unit), not a competitor for it.
            const bool ptyMaker =
                realPath_.rfind("/dev/pts/", 0) == 0 &&
                std::any_of(q.openDevices.begin(), q.openDevices.end(), [](const OpenFile& f) {
                    return f.name == "/dev/ptmx" || f.name == "/dev/pts/ptmx";
                });
            if (ptyMaker) continue;
            if (q.pid == o_.user.pid) {
                own = true;
            } else {
                holders.push_back(q.name + " (PID " + std::to_string(q.pid) + ")");
            }
        }
        if (!holders.empty()) Add(FindingKind::HeldByOther, device, holders);
        if (own) r_.notes.push_back({DoctorNote::OwnProcessHolds, device});
        return own;
    }

    void CheckAnswer(const std::string& device) {
        if (o_.port == nullptr) return;
        SerialPort& port = *o_.port;
        if (!port.Open(device)) {
            const PortOpenFailure failure = port.OpenFailure();
            // Held by another program: already said, with the holder's name, when /proc told.
            const bool told =
                failure.kind == PortFailureKind::Busy &&
                std::any_of(r_.findings.begin(), r_.findings.end(), [&](const Finding& f) {
                    return f.kind == FindingKind::HeldByOther && f.device == device;
                });
            if (!told) {
                Add(FindingKind::OpenFailed, device);
                r_.findings.back().openFailure = failure;
            }
            return;
        }
        const DeviceFrame request = BuildFrame(kCmdMonitor, nullptr);
        std::uint8_t buffer[1024];
        bool answered = false;
        for (int send = 0; send < kDoctorRequests && !answered && port.IsOpen(); ++send) {
            // Whatever came before this request (line noise, an old answer) is not its answer.
            if (port.BytesQueued() > 0) port.Read(buffer, sizeof buffer);
            if (!port.Write(request.data(), request.size()) || !port.WaitUntilSent()) break;
            for (int waited = 0; waited <= kDoctorAnswerWaitMs; waited += kDoctorPollMs) {
                const long n = port.BytesQueued();
                if (n < 0) break;
                if (n >= static_cast<long>(kFrameSize)) {
                    const long got = port.Read(buffer, sizeof buffer);
                    answered = got >= static_cast<long>(kFrameSize) && MonitorFrameValid(buffer);
                    break;
                }
                if (o_.wait) o_.wait(kDoctorPollMs);
            }
        }
        port.Close();
        if (answered) {
            r_.answered.push_back(device);
        } else {
            Add(FindingKind::NoAnswer, device);
        }
    }

    const DoctorOptions& o_;
    DoctorReport& r_;
    const ProcScan& proc_;
    const std::map<unsigned, GroupEntry>& groups_;
    std::string tty_;       // the kernel's name of the device ("ttyUSB0")
    std::string realPath_;  // the device with every link resolved
};

}  // namespace

std::string AdapterFacts::UsbId() const {
    if (!vendorId || !productId) return "";
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", *vendorId, *productId);
    return text;
}

DoctorUser CurrentDoctorUser() {
    DoctorUser u;
    u.uid = ::getuid();
    u.gid = ::getgid();
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(count > 0 ? count : 0));
    if (count > 0 && ::getgroups(count, groups.data()) == count) {
        for (gid_t g : groups) u.groups.push_back(g);
    }
    if (const passwd* pw = ::getpwuid(u.uid)) u.name = pw->pw_name;
    u.pid = ::getpid();
    return u;
}

std::vector<AdapterFacts> ListAdapters(const std::string& root) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(UnderRoot(root, "/sys/class/tty"), ec), stop; !ec && it != stop;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsAdapterName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    std::vector<AdapterFacts> adapters;
    for (const std::string& name : names) adapters.push_back(AdapterOf(root, name));
    return adapters;
}

DoctorReport RunPortDoctor(const DoctorOptions& o) {
    DoctorReport r;
    r.adapters = ListAdapters(o.root);
    const ProcScan proc = ScanProc(o.root);
    if (!proc.readable)
        r.notes.push_back(
            {DoctorNote::ProcUnreadable, UnderRoot(o.root, "/proc") + ": " + proc.error});
    std::map<unsigned, GroupEntry> groups;
    std::string groupError;
    if (!ReadGroups(o.root, groups, groupError))
        r.notes.push_back(
            {DoctorNote::GroupFileUnreadable, UnderRoot(o.root, "/etc/group") + ": " + groupError});

    DeviceCheck check(o, r, proc, groups);
    if (!o.device.empty()) {
        check.Run(o.device);
    } else if (r.adapters.empty()) {
        r.findings.push_back({FindingKind::DeviceMissing, "", {"", ""}, {}});
    } else {
        for (const AdapterFacts& a : r.adapters) check.Run(a.device);
    }
    return r;
}

}  // namespace korvan
