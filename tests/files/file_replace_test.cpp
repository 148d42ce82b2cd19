// The atomic write and the file reads through the portable file system interface alone, so the
// same cases run on Linux and, cross-built, on Windows under Wine (where the write takes its
// Windows path: MoveFileExW, FlushFileBuffers, file attributes).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

#include "files/atomic_write.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

class Folder {
  public:
    Folder() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path = fs::temp_directory_path() / ("korvan-replace-" + std::to_string(stamp));
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        fs::permissions(path / "locked.ign", fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return (path / fs::u8path(name)).u8string(); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path))
            names.push_back(e.path().filename().u8string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path path;
};

std::string Read(const std::string& path) {
    std::ifstream in(FilePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& text) {
    std::ofstream(FilePath(path), std::ios::binary) << text;
}

// Bytes a text mode would change: CR LF, a lone LF, a NUL and a byte above 127.
const std::string kContent = std::string("MAVELTIK_KEY 15\r\nBIKE 0\n\0end\xE9", 30);

struct ReplaceCase {
    const char* name;
    std::function<std::string(Folder&)> prepare;  // returns the path to write
    bool ok;
    std::vector<std::string> after;  // the folder's names afterwards
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.name;
}

class FileReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(FileReplace, WholeOrNothingAndNoTemporaryFileLeft) {
    const ReplaceCase& c = GetParam();
    Folder folder;
    const std::string path = c.prepare(folder);
    const std::string before = fs::is_regular_file(FilePath(path)) ? Read(path) : "";
    const WriteResult r = WriteFileAtomically(path, kContent);
    EXPECT_EQ(r.ok, c.ok) << r.error;
    if (r.ok) {
        EXPECT_EQ(Read(path), kContent);
    } else {
        EXPECT_FALSE(r.error.empty());
        if (fs::is_regular_file(FilePath(path))) {
            EXPECT_EQ(Read(path), before);
        }
    }
    EXPECT_EQ(folder.Names(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Portable, FileReplace,
    ::testing::Values(
        ReplaceCase{"NewFile", [](Folder& f) { return f.File("tune.ign"); }, true, {"tune.ign"}},
        ReplaceCase{"ReplacesLongerFile",
                    [](Folder& f) {
                        Put(f.File("tune.ign"), std::string(5000, 'x'));
                        return f.File("tune.ign");
                    },
                    true,
                    {"tune.ign"}},
        ReplaceCase{"NonAsciiName",
                    [](Folder& f) { return f.File("Jiří ladění.ign"); },
                    true,
                    {"Jiří ladění.ign"}},
        ReplaceCase{"FolderRefused",
                    [](Folder& f) {
                        fs::create_directory(f.path / "tune.ign");
                        return f.File("tune.ign");
                    },
                    false,
                    {"tune.ign"}},
        ReplaceCase{"MissingFolderRefused",
                    [](Folder& f) { return f.File("no such folder/tune.ign"); },
                    false,
                    {}}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(FileReplace, ReadOnlyFileIsRefusedAndKept) {
    Folder folder;
    const std::string path = folder.File("locked.ign");
    Put(path, "old");
    fs::permissions(FilePath(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#ifndef _WIN32
    // Root may write anything on POSIX; the protection is then not ours to test. (Windows
    // keeps a read-only file read-only for everybody, and the write refuses it itself.)
    if (std::ofstream(FilePath(path), std::ios::app))
        GTEST_SKIP() << "running with rights to write a read-only file";
#endif
    const WriteResult r = WriteFileAtomically(path, kContent);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"locked.ign"});
}

TEST(FileReplace, ReadsSayWhatIsMissingAndRefuseAFolder) {
    Folder folder;
    std::string content = "kept";
    const ReadResult missing = ReadWholeFile(folder.File("none.ign"), content);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.missing);
    const ReadResult dir = ReadWholeFile(folder.path.u8string(), content);
    EXPECT_FALSE(dir.ok);
    EXPECT_FALSE(dir.missing);
    EXPECT_EQ(content, "kept");
    ASSERT_TRUE(WriteFileAtomically(folder.File("a.ign"), kContent).ok);
    EXPECT_TRUE(ReadWholeFile(folder.File("a.ign"), content).ok);
    EXPECT_EQ(content, kContent);
}

TEST(FileReplace, TemporaryFilesLeftByAKillAreRecognisedAndRemoved) {
    Folder folder;
    const std::string path = folder.File("tune.ign");
    ASSERT_TRUE(WriteFileAtomically(path, "x").ok);
    Put(folder.File("tune.ign.a1B2c3"), "half");  // what a kill during a write leaves
    Put(folder.File("tune.ign.bak"), "the user's");
    fs::last_write_time(FilePath(folder.File("tune.ign.a1B2c3")),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(RemoveStaleTemporaryFiles(path, 60), 1u);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"tune.ign", "tune.ign.bak"}));
}

}  // namespace
}  // namespace korvan
