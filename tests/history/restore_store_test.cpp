#include "history/restore_store.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/binding.h"
#include "params/defaults.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t k20261208T064503 = 1796712303;  // 2026-12-08 06:45:03 UTC

class Store : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/korvan-history-XXXXXX";
        root_ = mkdtemp(tmpl);
        folder_ = root_ + "/Korvan2/history";  // not there yet: the first Add creates it
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_);
    }
    RestoreStore MakeStore() {
        return RestoreStore(folder_, [this] { return now_; });
    }
    static DeviceImage Tune(std::uint8_t cell) {
        DeviceImage image = DefaultImage();
        image[AdvanceIndex(2, 3)] = cell;
        return image;
    }
    static bool SameParams(const DeviceImage& a, const DeviceImage& b) {
        return std::equal(a.bytes.begin() + kParamImageBegin, a.bytes.end(),
                          b.bytes.begin() + kParamImageBegin);
    }
    std::string Read(const std::string& name) {
        std::string text;
        ReadWholeFile(folder_ + "/" + name, text, 1 << 26);
        return text;
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << text;
    }
    std::vector<std::string> Names(const std::vector<RestorePoint>& points) {
        std::vector<std::string> names;
        for (const RestorePoint& p : points) names.push_back(p.fileName);
        return names;
    }

    std::string root_;
    std::string folder_;
    std::int64_t now_ = k20261208T064503;
};

TEST(StoreNames, StampsAndNames) {
    EXPECT_EQ(UtcStamp(0), "19700101T000000Z");
    EXPECT_EQ(UtcStamp(k20261208T064503), "20261208T064503Z");
    EXPECT_EQ(UtcStamp(951782400), "20000229T000000Z");  // a leap day
    EXPECT_EQ(PointFileName("20261208T064503Z", RestoreKind::Programmed, 1),
              "20261208T064503Z-programmed.ign");
    EXPECT_EQ(PointFileName("20261208T064503Z", RestoreKind::Saved, 3),
              "20261208T064503Z-saved-3.ign");

    const struct {
        const char* name;
        bool ok;
        int sequence;
    } cases[] = {
        {"20261208T064503Z-read.ign", true, 1},    {"20261208T064503Z-opened-12.ign", true, 12},
        {"20261208T064503Z-read-1.ign", false, 0}, {"20261208T064503Z-read-02.ign", false, 0},
        {"20261208T064503Z-burnt.ign", false, 0},  {"20261208T064503-read.ign", false, 0},
        {"20261208T064503Z-read.txt", false, 0},   {"../20261208T064503Z-read.ign", false, 0},
        {"2026120xT064503Z-read.ign", false, 0},   {"index.txt", false, 0},
    };
    for (const auto& c : cases) {
        RestorePoint p;
        EXPECT_EQ(ParsePointFileName(c.name, p), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(p.sequence, c.sequence) << c.name;
        }
    }
}

TEST_F(Store, AddListLoadAndNoteRoundTrip) {
    RestoreStore store = MakeStore();
    const IdentityTexts unit{"K2 v1.5", "8.12.2026", "06:40"};
    // Texts that would break a line-and-column format if written as they are.
    const std::string source = "/home/jiří/tunes/a\tb\\c\nd.ign";
    ASSERT_TRUE(store.Add(RestoreKind::Read, Tune(20), false, unit, "", "").ok);
    now_ += 60;
    ASSERT_TRUE(store.Add(RestoreKind::Opened, Tune(21), true, {}, source, "").ok);
    now_ += 60;
    const AddResult saved =
        store.Add(RestoreKind::Saved, Tune(22), false, {}, source, "před závodem\r\n2. den");
    ASSERT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(saved.fileName, "20261208T064703Z-saved.ign");

    // A store opened afresh, as the next start of the program does, sees the same points.
    RestoreStore again = MakeStore();
    const std::vector<RestorePoint> points = again.List();
    EXPECT_TRUE(again.Problems().empty());
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(Names(points),
              (std::vector<std::string>{"20261208T064703Z-saved.ign", "20261208T064603Z-opened.ign",
                                        "20261208T064503Z-read.ign"}));
    EXPECT_EQ(points[2].unit.VersionString, "K2 v1.5");
    EXPECT_EQ(points[2].unit.DateString, "8.12.2026");
    EXPECT_EQ(points[2].unit.TimeString, "06:40");
    EXPECT_EQ(points[2].kind, RestoreKind::Read);
    EXPECT_EQ(points[1].sourcePath, source);
    EXPECT_EQ(points[0].note, "před závodem\r\n2. den");

    // Each file is what File > Save writes, byte for byte, and reads back to the same tune.
    EXPECT_EQ(Read(points[1].fileName), ParameterFileText(Tune(21), true));
    for (std::uint8_t i = 0; i < 3; ++i) {
        const LoadedPoint loaded = again.Load(points[2 - i].fileName, DefaultImage());
        ASSERT_TRUE(loaded.ok) << loaded.error;
        EXPECT_EQ(loaded.image, Tune(static_cast<std::uint8_t>(20 + i)));
        EXPECT_EQ(loaded.extendedMonitor, i == 1);
    }

    ASSERT_TRUE(again.SetNote(points[2].fileName, "good\tone").ok);
    EXPECT_FALSE(again.SetNote("20261208T064503Z-saved.ign", "x").ok);  // no such point
    EXPECT_EQ(MakeStore().List()[2].note, "good\tone");
    // The index holds one line per point.
    const std::string index = Read(RestoreStore::kIndexName);
    EXPECT_EQ(std::count(index.begin(), index.end(), '\n'), 4);
}

TEST_F(Store, PointsOfOneSecondGetTheirOwnNames) {
    RestoreStore store = MakeStore();
    std::vector<std::string> names;
    for (std::uint8_t i = 0; i < 3; ++i)
        names.push_back(store.Add(RestoreKind::Saved, Tune(i), false, {}, "", "").fileName);
    names.push_back(store.Add(RestoreKind::Read, Tune(9), false, {}, "", "").fileName);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "20261208T064503Z-saved.ign", "20261208T064503Z-saved-2.ign",
                         "20261208T064503Z-saved-3.ign", "20261208T064503Z-read.ign"}));
    const std::vector<RestorePoint> points = MakeStore().List();
    // The last added first, also within one second.
    EXPECT_EQ(Names(points), (std::vector<std::string>{
                                 "20261208T064503Z-read.ign", "20261208T064503Z-saved-3.ign",
                                 "20261208T064503Z-saved-2.ign", "20261208T064503Z-saved.ign"}));
    EXPECT_EQ(Names(store.List()), Names(points));
    EXPECT_EQ(points.size(), 4u);
    // A file the index has forgotten still holds its name.
    fs::remove(folder_ + "/" + RestoreStore::kIndexName);
    RestoreStore fresh = MakeStore();
    EXPECT_EQ(fresh.Add(RestoreKind::Saved, Tune(5), false, {}, "", "").fileName,
              "20261208T064503Z-saved-4.ign");
}

struct DamageCase {
    const char* name;
    std::function<std::string(const std::string&)> damage;  // the index text, damaged
    std::size_t listed;                                     // of 3 points
    StoreProblem::Kind problem;
};

// The case's name, not its bytes: a function and pointers would make the test's name long and
// different in every build.
void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedIndex : public Store, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedIndex, IsSkippedWithAReasonAndRebuiltOnNextWrite) {
    const DamageCase& c = GetParam();
    {
        RestoreStore store = MakeStore();
        for (std::uint8_t i = 0; i < 3; ++i) {
            ASSERT_TRUE(
                store.Add(RestoreKind::Read, Tune(i), false, {"v", "d", "t"}, "", "note").ok);
            ++now_;
        }
    }
    Write(RestoreStore::kIndexName, c.damage(Read(RestoreStore::kIndexName)));
    RestoreStore store = MakeStore();
    EXPECT_EQ(store.List().size(), c.listed);
    ASSERT_FALSE(store.Problems().empty());
    EXPECT_TRUE(std::any_of(store.Problems().begin(), store.Problems().end(),
                            [&](const StoreProblem& p) { return p.kind == c.problem; }));
    for (const StoreProblem& p : store.Problems())
        EXPECT_FALSE(StoreProblemText(p, kLanguageGerman).empty());

    ASSERT_TRUE(store.Add(RestoreKind::Saved, Tune(7), false, {}, "", "").ok);
    RestoreStore after = MakeStore();
    EXPECT_EQ(after.List().size(), 4u);
    EXPECT_TRUE(after.Problems().empty());
    // The damaged index is kept for a person to read, never thrown away.
    bool kept = false;
    for (const auto& e : fs::directory_iterator(folder_))
        kept |= e.path().extension() == ".damaged";
    EXPECT_TRUE(kept);
}

std::string ReplaceLine(const std::string& text, int line, const std::string& with) {
    std::size_t start = 0;
    for (int i = 0; i < line; ++i) start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\n', start);
    return text.substr(0, start) + with + text.substr(end);
}

// The line as it is, with `extra` added at its end.
std::string AppendToLine(const std::string& text, int line, const std::string& extra) {
    std::size_t start = 0;
    for (int i = 0; i < line; ++i) start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\n', start);
    return ReplaceLine(text, line, text.substr(start, end - start) + extra);
}

INSTANTIATE_TEST_SUITE_P(
    Store, DamagedIndex,
    ::testing::Values(
        DamageCase{"Garbage",
                   [](const std::string&) {
                       return std::string(
                           "\x7f"
                           "ELF\0\1\2",
                           7);
                   },
                   3, StoreProblem::IndexUnreadable},
        DamageCase{"Empty", [](const std::string&) { return std::string(); }, 3,
                   StoreProblem::IndexUnreadable},
        DamageCase{"TruncatedLine", [](const std::string& t) { return t.substr(0, t.size() - 12); },
                   3, StoreProblem::IndexLine},
        DamageCase{
            "TooManyColumns",
            [](const std::string& t) { return ReplaceLine(t, 2, "a\tb\tc\td\te\tf\tg\th\ti"); }, 3,
            StoreProblem::IndexLine},
        // Otherwise a valid line: only the count of columns is wrong.
        DamageCase{"OneColumnTooMany",
                   [](const std::string& t) { return AppendToLine(t, 1, "\tmore"); }, 3,
                   StoreProblem::IndexLine},
        DamageCase{"BadEscape",
                   [](const std::string& t) {
                       return ReplaceLine(
                           t, 1,
                           "20261208T064503Z\tread\t20261208T064503Z-read.ign\tv\\q\td\tt\t\tn");
                   },
                   3, StoreProblem::IndexLine},
        DamageCase{"KindAndNameDisagree",
                   [](const std::string& t) {
                       return ReplaceLine(
                           t, 1,
                           "20261208T064503Z\tsaved\t20261208T064503Z-read.ign\tv\td\tt\t\tn");
                   },
                   3, StoreProblem::IndexLine},
        DamageCase{"NamedTwice",
                   [](const std::string& t) {
                       return ReplaceLine(
                           t, 2, "20261208T064503Z\tread\t20261208T064503Z-read.ign\tv\td\tt\t\tn");
                   },
                   3, StoreProblem::IndexLine},
        DamageCase{"PathOutsideTheFolder",
                   [](const std::string& t) {
                       return ReplaceLine(t, 1,
                                          "20261208T064503Z\tread\t../../etc/passwd\tv\td\tt\t\tn");
                   },
                   3, StoreProblem::IndexLine}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Store, AMissingFileIsSkippedAndAnUnreadableOneIsMarked) {
    RestoreStore store = MakeStore();
    std::vector<std::string> names;
    for (std::uint8_t i = 0; i < 3; ++i) {
        names.push_back(
            store.Add(RestoreKind::Programmed, Tune(i), false, {}, "", "n" + std::to_string(i))
                .fileName);
        ++now_;
    }
    fs::remove(folder_ + "/" + names[0]);
    Write(names[1], "hand edited\r\nLIMITER1 60\r\n");  // no header any more

    RestoreStore reopened = MakeStore();
    EXPECT_EQ(Names(reopened.List()), (std::vector<std::string>{names[2], names[1]}));
    ASSERT_EQ(reopened.Problems().size(), 1u);
    EXPECT_EQ(reopened.Problems()[0].kind, StoreProblem::MissingFile);
    EXPECT_EQ(StoreProblemText(reopened.Problems()[0], kLanguageEnglish),
              names[0] + ": the file is missing; the point is skipped");

    const LoadedPoint bad = reopened.Load(names[1]);
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(bad.error.empty());
    EXPECT_TRUE(reopened.Load(names[2]).ok);
    // Marked from now on, also in a fresh listing; everything else works.
    std::vector<RestorePoint> points = reopened.List();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_FALSE(points[0].unreadable);
    EXPECT_TRUE(points[1].unreadable);
    EXPECT_EQ(reopened.Problems().back().kind, StoreProblem::UnreadableFile);

    // CheckFiles finds it without a Load by hand.
    RestoreStore direct = MakeStore();
    direct.CheckFiles();
    points = direct.List();
    EXPECT_FALSE(points[0].unreadable);
    EXPECT_TRUE(points[1].unreadable);

    // The missing point's note survives in the index: the file may come back from a backup.
    ASSERT_TRUE(direct.SetNote(names[2], "kept").ok);
    const std::string index = Read(RestoreStore::kIndexName);
    EXPECT_NE(index.find(names[0]), std::string::npos);
    // Nothing was deleted: the unreadable file is still there.
    EXPECT_TRUE(fs::exists(folder_ + "/" + names[1]));
}

TEST_F(Store, LoadNeverReadsAFileOutsideTheFolder) {
    RestoreStore store = MakeStore();
    ASSERT_TRUE(store.Add(RestoreKind::Read, Tune(3), false, {}, "", "").ok);
    // Valid parameter files right beside the folder and elsewhere, named like points.
    const std::string name = "20261208T064503Z-saved.ign";
    const std::string above = fs::path(folder_).parent_path().string();
    ASSERT_TRUE(WriteFileAtomically(above + "/" + name, ParameterFileText(Tune(9), false)).ok);
    ASSERT_TRUE(WriteFileAtomically(root_ + "/" + name, ParameterFileText(Tune(9), false)).ok);
    for (const std::string& outside : {"../" + name, "../../" + name, root_ + "/" + name}) {
        const LoadedPoint loaded = store.Load(outside, DefaultImage());
        EXPECT_FALSE(loaded.ok) << outside;
        EXPECT_NE(loaded.error.find("not a restore point"), std::string::npos) << loaded.error;
        EXPECT_EQ(loaded.image, DefaultImage()) << outside;
    }
}

TEST_F(Store, AFailedIndexWriteIsReportedButKeepsThePoint) {
    RestoreStore store = MakeStore();
    ASSERT_TRUE(store.Add(RestoreKind::Read, Tune(1), false, {}, "", "").ok);
    // Even root cannot replace a folder by the new index.
    fs::remove(folder_ + "/" + RestoreStore::kIndexName);
    fs::create_directory(folder_ + "/" + RestoreStore::kIndexName);
    ++now_;
    const AddResult r = store.Add(RestoreKind::Saved, Tune(2), false, {}, "", "");
    EXPECT_TRUE(r.ok);
    EXPECT_NE(r.error.find(RestoreStore::kIndexName), std::string::npos) << r.error;
    EXPECT_TRUE(fs::exists(folder_ + "/" + r.fileName));
    // The file is found again by the next listing.
    EXPECT_EQ(MakeStore().List().size(), 2u);
}

TEST_F(Store, AFolderThatCannotBeWrittenGivesAReasonAndNoPoint) {
    struct Case {
        const char* name;
        std::function<void()> spoil;
        bool skipAsRoot;
    };
    const Case cases[] = {
        // A file where the folder should be: even root cannot create the folder.
        {"FileInTheWay",
         [this] {
             fs::create_directories(fs::path(folder_).parent_path());
             std::ofstream(folder_) << "x";
         },
         false},
        {"ReadOnlyFolder",
         [this] {
             fs::create_directories(folder_);
             fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
         },
         true},
    };
    for (const Case& c : cases) {
        if (c.skipAsRoot && geteuid() == 0) continue;
        fs::remove_all(root_ + "/Korvan2");
        c.spoil();
        RestoreStore store = MakeStore();
        const AddResult r = store.Add(RestoreKind::Read, Tune(1), false, {}, "", "");
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_FALSE(r.error.empty()) << c.name;
        EXPECT_TRUE(store.List().empty()) << c.name;
        EXPECT_FALSE(store.SetNote("20261208T064503Z-read.ign", "x").ok) << c.name;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    }
}

// A full disk: the file size limit makes the write fail even for root.
TEST_F(Store, AFullDiskGivesAReasonAndLeavesTheStoreAsItWas) {
    RestoreStore store = MakeStore();
    ASSERT_TRUE(store.Add(RestoreKind::Read, Tune(1), false, {}, "", "").ok);
    const std::string indexBefore = Read(RestoreStore::kIndexName);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const AddResult r = store.Add(RestoreKind::Saved, Tune(2), false, {}, "", "");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(Read(RestoreStore::kIndexName), indexBefore);
    RestoreStore again = MakeStore();
    EXPECT_EQ(again.List().size(), 1u);
    EXPECT_TRUE(again.Problems().empty());
}

TEST_F(Store, StaleTemporaryFilesOfAKilledWriteAreRemoved) {
    using namespace std::chrono_literals;
    RestoreStore store = MakeStore();
    ASSERT_TRUE(store.Add(RestoreKind::Read, Tune(1), false, {}, "", "").ok);
    const struct {
        const char* name;
        bool old;
        bool removed;
    } cases[] = {
        {"20261208T064503Z-read.ign.a1B2c3", true, true},
        {"20261208T070000Z-programmed-2.ign.Zz9y8X", true, true},  // its point never came
        {"index.txt.q7W8e9", true, true},
        {"index-20261208T064503Z.damaged.r4T5y6", true, true},
        {"index.txt.u1I2o3", false, false},  // may be another copy's write in progress
        {"20261208T064503Z-read.ign", true, false},
        {"20261208T064503Z-read.ign.a1B2c", true, false},
        {"index.txt.a1-2c3", true, false},
        {"notes.txt.a1B2c3", true, false},  // a person's own file
        {"tune.ign.a1B2c3", true, false},
    };
    const auto now = fs::file_time_type::clock::now();
    for (const auto& c : cases) {
        const std::string path = folder_ + "/" + c.name;
        if (!fs::exists(path)) Write(c.name, "x");
        if (c.old) fs::last_write_time(path, now - 1h);
    }
    EXPECT_EQ(MakeStore().RemoveStaleTemporaryFiles(10), 4u);
    for (const auto& c : cases) EXPECT_EQ(fs::exists(folder_ + "/" + c.name), !c.removed) << c.name;
    // A folder that is not there yet has nothing to clean.
    EXPECT_EQ(RestoreStore(root_ + "/none").RemoveStaleTemporaryFiles(10), 0u);
}

TEST_F(Store, TenThousandPoints) {
    constexpr int kPoints = 10000;
    fs::create_directories(folder_);
    const std::string file = ParameterFileText(Tune(1), false);
    std::vector<RestorePoint> points;
    for (int i = 0; i < kPoints; ++i) {
        RestorePoint p;
        p.time = UtcStamp(k20261208T064503 + i * 60);
        p.kind = static_cast<RestoreKind>(i % 4);
        p.fileName = PointFileName(p.time, p.kind, 1);
        p.note = "point " + std::to_string(i);
        std::ofstream(folder_ + "/" + p.fileName, std::ios::binary) << file;
        points.push_back(p);
    }
    ASSERT_TRUE(
        WriteFileAtomically(folder_ + "/" + RestoreStore::kIndexName, IndexText(points)).ok);

    now_ = k20261208T064503 + kPoints * 60;
    RestoreStore store = MakeStore();
    const std::vector<RestorePoint>& listed = store.List();
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(kPoints));
    EXPECT_TRUE(store.Problems().empty());
    EXPECT_EQ(listed.front().note, "point 9999");
    EXPECT_EQ(listed.back().note, "point 0");
    ASSERT_TRUE(store.Add(RestoreKind::Read, Tune(2), false, {}, "", "newest").ok);
    RestoreStore again = MakeStore();
    EXPECT_EQ(again.List().size(), static_cast<std::size_t>(kPoints + 1));
    EXPECT_EQ(again.List().front().note, "newest");
}

}  // namespace
}  // namespace korvan
