// The port doctor on fake system trees: one clean system, then one change per finding.
#include "device/port_doctor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>

#include "device/monitor.h"
#include "device/udev_rules.h"
#include "fake_port.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kDialout = 20;
constexpr long kOwnPid = 4242;

// A system tree in a temporary folder: one CH340 adapter on ttyUSB0 that the user may open, no
// ModemManager, no brltty, and a unit on the line that answers.
class FakeSystem {
  public:
    FakeSystem() {
        char tmpl[] = "/tmp/korvan-doctor-XXXXXX";
        root = ::mkdtemp(tmpl);
        Write("/etc/group", "root:x:0:\ndialout:x:20:tuner\ntuner:x:1000:\n");
        Process(1, "systemd", {});
        Adapter("ttyUSB0", "1a86", "7523", "ch341-uart", "188:0", "usb-1a86_USB_Serial-if00-port0");
        user.uid = 1000;
        user.gid = 1000;
        user.groups = {kDialout};
        user.name = "tuner";
        user.pid = kOwnPid;
        port.open = false;
        port.unit = [](const DeviceFrame& f) {
            std::vector<std::uint8_t> answer;
            if (f[0] == kCmdMonitor) {
                const DeviceFrame m = EncodeMonitorFrame(MonitorChannels{});
                answer.assign(m.begin(), m.end());
            }
            return answer;
        };
    }
    ~FakeSystem() { fs::remove_all(root); }

    std::string Path(const std::string& absolute) const { return root + absolute; }
    void Write(const std::string& absolute, const std::string& text) {
        fs::create_directories(fs::path(Path(absolute)).parent_path());
        std::ofstream(Path(absolute), std::ios::binary) << text;
    }
    void Link(const std::string& absolute, const std::string& target) {
        fs::create_directories(fs::path(Path(absolute)).parent_path());
        fs::create_symlink(target, Path(absolute));
    }
    // A character device node: a placeholder file the stat seam describes.
    void Node(const std::string& absolute, unsigned mode, unsigned gid) {
        Write(absolute, "");
        nodes[Path(absolute)] = NodeStat{S_IFCHR | mode, 0, gid, 188, 0};
    }
    void Adapter(const std::string& name, const std::string& vendor, const std::string& product,
                 const std::string& driver, const std::string& numbers, const std::string& byId) {
        const std::string usb = "/sys/devices/pci0/usb1/1-1";
        const std::string iface = usb + "/1-1:1.0/" + name;
        Write(usb + "/idVendor", vendor + "\n");
        Write(usb + "/idProduct", product + "\n");
        Write("/sys/bus/usb-serial/drivers/" + driver + "/bind", "");
        Write(iface + "/uevent", "");
        Link(iface + "/driver", "../../../../../../bus/usb-serial/drivers/" + driver);
        Link("/sys/class/tty/" + name + "/device",
             "../../../devices/pci0/usb1/1-1/1-1:1.0/" + name);
        Write("/sys/class/tty/" + name + "/dev", numbers + "\n");
        Write("/run/udev/data/c" + numbers, "E:ID_BUS=usb\n");
        Node("/dev/" + name, 0660, kDialout);
        Link("/dev/serial/by-id/" + byId, "../../" + name);
    }
    void Process(long pid, const std::string& name, const std::vector<std::string>& fds) {
        const std::string base = "/proc/" + std::to_string(pid);
        Write(base + "/comm", name + "\n");
        fs::create_directories(Path(base + "/fd"));
        int n = 3;
        // As /proc shows them: links to the files, here the fake tree's.
        for (const std::string& fd : fds) Link(base + "/fd/" + std::to_string(n++), Path(fd));
    }

    DoctorOptions Options() {
        DoctorOptions o;
        o.root = root;
        o.user = user;
        o.device = device;
        o.port = &port;
        o.statNode = [this](const std::string& path, NodeStat& node) {
            std::error_code ec;
            const std::string real = fs::canonical(path, ec).string();
            if (ec) return false;
            if (const auto it = nodes.find(real); it != nodes.end()) {
                node = it->second;
                return true;
            }
            struct stat st = {};
            if (::stat(real.c_str(), &st) != 0) return false;
            node.mode = st.st_mode;
            return true;
        };
        return o;
    }
    DoctorReport Run() { return RunPortDoctor(Options()); }

    std::string root;
    DoctorUser user;
    std::string device;
    test::FakePort port;
    std::map<std::string, NodeStat> nodes;
};

struct DoctorCase {
    const char* name;
    std::function<void(FakeSystem&)> change;
    std::vector<FindingKind> findings;  // in order
    const char* textPart;               // in the first finding's English text
    bool answers;
};

void PrintTo(const DoctorCase& c, std::ostream* os) {
    *os << c.name;
}

class PortDoctorFinds : public ::testing::TestWithParam<DoctorCase> {};

TEST_P(PortDoctorFinds, EachProblemWithItsFix) {
    const DoctorCase& c = GetParam();
    FakeSystem sys;
    c.change(sys);
    const DoctorReport r = sys.Run();
    std::vector<FindingKind> kinds;
    for (const Finding& f : r.findings) kinds.push_back(f.kind);
    EXPECT_EQ(kinds, c.findings);
    if (!r.findings.empty()) {
        const std::string text = FindingText(r.findings.front(), 1);
        EXPECT_NE(text.find(c.textPart), std::string::npos) << text;
        // Every language says it, and none leaves a placeholder unfilled.
        for (std::uint8_t language : {0, 1, 2}) {
            const std::string t = FindingText(r.findings.front(), language);
            EXPECT_EQ(t.find('%'), std::string::npos) << t;
            EXPECT_GT(t.size(), 20u);
        }
    }
    EXPECT_EQ(r.UnitAnswered(), c.answers);
}

const FindingKind kMissing = FindingKind::DeviceMissing;

INSTANTIATE_TEST_SUITE_P(
    FakeTree, PortDoctorFinds,
    ::testing::Values(
        DoctorCase{"Clean", [](FakeSystem&) {}, {}, "", true},
        DoctorCase{"NamedDeviceMissing",
                   [](FakeSystem& s) { s.device = "/dev/ttyUSB7"; },
                   {kMissing},
                   "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0 (1a86:7523)",
                   false},
        DoctorCase{"NoAdapterAtAll",
                   [](FakeSystem& s) { fs::remove_all(s.Path("/sys/class/tty")); },
                   {kMissing},
                   "No USB serial adapter is plugged in",
                   false},
        DoctorCase{"NotInGroup",
                   [](FakeSystem& s) {
                       s.user.groups.clear();
                       s.Write("/etc/group", "dialout:x:20:\n");
                   },
                   {FindingKind::NoPermission},
                   "sudo usermod -aG dialout $USER",
                   false},
        DoctorCase{"GroupGrantedSinceLogin",
                   [](FakeSystem& s) { s.user.groups.clear(); },
                   {FindingKind::NewLoginNeeded},
                   "log out and in again",
                   false},
        DoctorCase{"OpenForEveryone",
                   [](FakeSystem& s) {
                       s.user.groups.clear();
                       s.Node("/dev/ttyUSB0", 0666, kDialout);
                   },
                   {},
                   "",
                   true},
        DoctorCase{"ModemManagerRuns",
                   [](FakeSystem& s) { s.Process(600, "ModemManager", {}); },
                   {FindingKind::ModemManager},
                   "ID_MM_DEVICE_IGNORE",
                   true},
        DoctorCase{"ModemManagerToldToIgnore",
                   [](FakeSystem& s) {
                       s.Process(600, "ModemManager", {});
                       s.Write("/run/udev/data/c188:0", "E:ID_MM_DEVICE_IGNORE=1\n");
                   },
                   {},
                   "",
                   true},
        DoctorCase{"BrlttyClaimsTheAdapter",
                   [](FakeSystem& s) {
                       s.Write("/usr/lib/udev/rules.d/85-brltty.rules",
                               "# Device: 1A86:7523\nENV{PRODUCT}==\"1a86/7523/*\", "
                               "ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\"\n");
                   },
                   {FindingKind::Brltty},
                   "sudo apt-get remove brltty",
                   true},
        DoctorCase{"BrlttyMaskedInEtc",
                   [](FakeSystem& s) {
                       s.Write("/usr/lib/udev/rules.d/85-brltty.rules",
                               "ENV{PRODUCT}==\"1a86/7523/*\", GOTO=\"run\"\n");
                       s.Link("/etc/udev/rules.d/85-brltty.rules", "/dev/null");
                   },
                   {},
                   "",
                   true},
        DoctorCase{"BrlttyForOtherAdapters",
                   [](FakeSystem& s) {
                       s.Write("/usr/lib/udev/rules.d/85-brltty.rules",
                               "ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\"\n");
                   },
                   {},
                   "",
                   true},
        DoctorCase{"AnotherProgramHoldsIt",
                   [](FakeSystem& s) {
                       s.Process(77, "minicom", {"/dev/null", "/dev/ttyUSB0"});
                       s.port.openSucceeds = false;
                       s.port.openFailure.kind = PortFailureKind::Busy;
                   },
                   {FindingKind::HeldByOther},
                   "minicom (PID 77)",
                   false},
        DoctorCase{"PtyMakerIsTheFarEndNotAHolder",
                   [](FakeSystem& s) {
                       s.Node("/dev/pts/7", 0660, 5);
                       s.Write("/etc/group", "tty:x:5:tuner\n");
                       s.user.groups = {5};
                       s.device = "/dev/pts/7";
                       s.Process(90, "korvan2-unit-sim", {"/dev/ptmx", "/dev/pts/7"});
                       s.Process(91, "minicom", {"/dev/pts/7"});
                   },
                   {FindingKind::HeldByOther},
                   "another program: minicom (PID 91).",
                   true},
        DoctorCase{"ThisProgramHoldsIt",
                   [](FakeSystem& s) {
                       s.Process(kOwnPid, "korvan2", {"/dev/ttyUSB0"});
                       s.port.openSucceeds = false;
                   },
                   {},
                   "",
                   false},
        DoctorCase{"OwnRuleNotYetApplied",
                   [](FakeSystem& s) {
                       s.Write("/usr/lib/udev/rules.d/60-korvan2.rules",
                               "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", "
                               "ATTRS{idProduct}==\"7523\", TAG+=\"uaccess\"\n");
                   },
                   {FindingKind::RuleNotApplied},
                   "udevadm trigger",
                   true},
        DoctorCase{"OwnRuleApplied",
                   [](FakeSystem& s) {
                       s.Write("/usr/lib/udev/rules.d/60-korvan2.rules",
                               "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", "
                               "ATTRS{idProduct}==\"7523\", TAG+=\"uaccess\"\n");
                       s.Link("/dev/korvan2-1a86-7523-if00", "ttyUSB0");
                   },
                   {},
                   "",
                   true},
        DoctorCase{"UnitSilent",
                   [](FakeSystem& s) { s.port.unit = nullptr; },
                   {FindingKind::NoAnswer},
                   "ignition",
                   false},
        DoctorCase{"AnswerWithABadCheckByte",
                   [](FakeSystem& s) {
                       s.port.unit = [](const DeviceFrame&) {
                           DeviceFrame m = EncodeMonitorFrame(MonitorChannels{});
                           m[kFrameCheckOffset] ^= 0x01;
                           return std::vector<std::uint8_t>(m.begin(), m.end());
                       };
                   },
                   {FindingKind::NoAnswer},
                   "no unit answers",
                   false},
        DoctorCase{
            "OpenRefusedWithoutAHolder",
            [](FakeSystem& s) {
                s.port.openSucceeds = false;
                s.port.openFailure = {PortFailureKind::Other, "/dev/ttyUSB0", {}, "I/O error"};
            },
            {FindingKind::OpenFailed},
            "I/O error",
            false}),
    [](const ::testing::TestParamInfo<DoctorCase>& info) { return std::string(info.param.name); });

// Bad input: the doctor says what it could not check and why, and changes nothing in the tree.
struct BadInputCase {
    const char* name;
    std::function<std::string(FakeSystem&)> make;  // returns the device to name
    FindingKind kind;
    const char* textPart;
};

void PrintTo(const BadInputCase& c, std::ostream* os) {
    *os << c.name;
}

class PortDoctorBadInput : public ::testing::TestWithParam<BadInputCase> {};

// Every file under the root with its size and contents: nothing may change.
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> all;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        std::string what = it->is_symlink() ? "link" : (it->is_directory() ? "dir" : "file");
        if (it->is_regular_file() && !it->is_symlink()) {
            std::ifstream in(it->path(), std::ios::binary);
            what += std::string(std::istreambuf_iterator<char>(in), {});
        }
        all[it->path().string()] = what;
    }
    return all;
}

TEST_P(PortDoctorBadInput, SaysWhatTheNodeIsAndWritesNothing) {
    const BadInputCase& c = GetParam();
    FakeSystem sys;
    sys.device = c.make(sys);
    const auto before = Snapshot(sys.root);
    const DoctorReport r = sys.Run();
    ASSERT_FALSE(r.findings.empty());
    EXPECT_EQ(r.findings.front().kind, c.kind);
    const std::string text = FindingText(r.findings.front(), 1);
    EXPECT_NE(text.find(c.textPart), std::string::npos) << text;
    EXPECT_EQ(sys.port.opens, 0) << "a node that is no serial port is never opened";
    EXPECT_EQ(Snapshot(sys.root), before);
}

INSTANTIATE_TEST_SUITE_P(
    FakeTree, PortDoctorBadInput,
    ::testing::Values(BadInputCase{"Folder",
                                   [](FakeSystem& s) {
                                       fs::create_directories(s.Path("/dev/folder"));
                                       return std::string("/dev/folder");
                                   },
                                   FindingKind::NotSerialDevice, "a folder"},
                      BadInputCase{"Fifo",
                                   [](FakeSystem& s) {
                                       ::mkfifo(s.Path("/dev/pipe").c_str(), 0600);
                                       return std::string("/dev/pipe");
                                   },
                                   FindingKind::NotSerialDevice, "a FIFO"},
                      BadInputCase{"RegularFile",
                                   [](FakeSystem& s) {
                                       s.Write("/home/tuner/tune.ign", "MAVELTIK_KEY 15\n");
                                       return std::string("/home/tuner/tune.ign");
                                   },
                                   FindingKind::NotSerialDevice, "a regular file"},
                      BadInputCase{"DanglingLink",
                                   [](FakeSystem& s) {
                                       s.Link("/dev/serial/by-id/usb-gone-if00", "../../ttyUSB9");
                                       return std::string("/dev/serial/by-id/usb-gone-if00");
                                   },
                                   FindingKind::DeviceMissing, "points at ../../ttyUSB9"},
                      BadInputCase{
                          "SpacesAndNonAscii",
                          [](FakeSystem&) {
                              return std::string("/dev/serial/by-id/usb-Škoda adaptér if00");
                          },
                          FindingKind::DeviceMissing, "usb-Škoda adaptér if00 does not exist"}),
    [](const ::testing::TestParamInfo<BadInputCase>& info) {
        return std::string(info.param.name);
    });

TEST(PortDoctor, NonAsciiNameWithSpacesReachesTheUnit) {
    FakeSystem sys;
    sys.Link("/dev/serial/by-id/usb-Škoda adaptér if00", "../../ttyUSB0");
    sys.device = "/dev/serial/by-id/usb-Škoda adaptér if00";
    const DoctorReport r = sys.Run();
    EXPECT_TRUE(r.findings.empty()) << FindingText(r.findings.front(), 1);
    EXPECT_EQ(r.answered, std::vector<std::string>{sys.device});
    EXPECT_EQ(sys.port.openedName, sys.device);
}

TEST(PortDoctor, UnreadableProcIsNotedAndTheRestStillChecked) {
    FakeSystem sys;
    fs::remove_all(sys.Path("/proc"));
    const DoctorReport r = sys.Run();
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0].kind, DoctorNote::ProcUnreadable);
    EXPECT_NE(NoteText(r.notes[0], 1).find("/proc"), std::string::npos);
    EXPECT_TRUE(r.UnitAnswered());
}

TEST(PortDoctor, ChecksEveryAdapterAndListsThemWithTheirIds) {
    FakeSystem sys;
    sys.Adapter("ttyUSB1", "0403", "6001", "ftdi_sio", "188:1", "usb-FTDI_FT232R-if00-port0");
    sys.Write("/sys/class/tty/ttyS0/dev", "4:64\n");  // a built-in port is no adapter
    const DoctorReport r = sys.Run();
    EXPECT_EQ(r.devices, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
    ASSERT_EQ(r.adapters.size(), 2u);
    EXPECT_EQ(AdapterLine(r.adapters[1], 1),
              "Adapter /dev/ttyUSB1: USB 0403:6001, driver ftdi_sio, "
              "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(r.answered.size(), 2u);
}

TEST(PortDoctor, FindsNothingOnACleanSystemInEveryLanguage) {
    FakeSystem sys;
    const DoctorReport r = sys.Run();
    for (std::uint8_t language : {0, 1, 2}) {
        const std::vector<std::string> lines = ReportLines(r, language);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], AnsweredText("/dev/ttyUSB0", language));
    }
    // One monitor request was enough, and it is the monitor's own frame.
    ASSERT_EQ(sys.port.written.size(), 1u);
    EXPECT_EQ(sys.port.written[0].frame, BuildFrame(kCmdMonitor, nullptr));
    EXPECT_FALSE(sys.port.IsOpen());
}

// The doctor reads the packaged rule as udev does: every adapter family it promises.
TEST(PortDoctor, KnowsEveryAdapterOfThePackagedRule) {
    std::ifstream in(KORVAN_UDEV_RULE);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::vector<UsbIdPattern> ids = RuleUsbIds(text);
    for (const auto& [vendor, product] : std::vector<std::pair<std::uint16_t, std::uint16_t>>{
             {0x0403, 0x6001}, {0x1a86, 0x7523}, {0x10c4, 0xea60}, {0x067b, 0x2303}}) {
        EXPECT_TRUE(
            std::any_of(ids.begin(), ids.end(),
                        [&](const UsbIdPattern& id) { return id.Matches(vendor, product); }))
            << std::hex << vendor << ":" << product;
    }
    // Installed but not applied to this CH340, the doctor says so.
    FakeSystem sys;
    sys.Write("/usr/lib/udev/rules.d/60-korvan2.rules", text);
    const DoctorReport r = sys.Run();
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].kind, FindingKind::RuleNotApplied);
}

struct RuleCase {
    const char* name;
    const char* text;
    std::vector<UsbIdPattern> ids;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class UdevRuleIds : public ::testing::TestWithParam<RuleCase> {};

TEST_P(UdevRuleIds, NamesTheComparedUsbIds) {
    EXPECT_EQ(RuleUsbIds(GetParam().text), GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UdevRuleIds,
    ::testing::Values(
        RuleCase{"Attributes",
                 "ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", X=\"y\"",
                 {{0x0403, 0x6001}}},
        RuleCase{"ProductEnv", "ENV{PRODUCT}==\"1a86/7523/*\", GOTO=\"x\"", {{0x1a86, 0x7523}}},
        RuleCase{"VendorOnly", "ATTRS{idVendor}==\"067b\", TAG+=\"uaccess\"", {{0x067b, {}}}},
        RuleCase{"CommentIgnored", "# ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\"", {}},
        RuleCase{"AssignmentIgnored", "ATTRS{idVendor}=\"0403\"", {}},
        RuleCase{"NotHex", "ATTRS{idVendor}==\"04g3\"", {}},
        RuleCase{"TwoLines",
                 "ATTRS{idVendor}==\"10c4\", ATTRS{idProduct}==\"ea60\"\n"
                 "ENV{PRODUCT}==\"403/6015/*\"\n",
                 {{0x10c4, 0xea60}, {0x0403, 0x6015}}}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvan
