#include "files/atomic_write.h"

#include "null_device.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

namespace korvan {
namespace {

class AtomicWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/korvan-atomic-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::size_t FilesInDir() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir_), {}));
    }
    std::string dir_;
};

TEST_F(AtomicWrite, ReplacesTheFileWhole) {
    const std::string path = dir_ + "/a.ign";
    ASSERT_TRUE(WriteFileAtomically(path, "old").ok);
    ASSERT_TRUE(WriteFileAtomically(path, "new content").ok);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok);
    EXPECT_EQ(text, "new content");
    EXPECT_EQ(FilesInDir(), 1u);
}

// A disk that fills up half-way: the file size limit makes the write fail even for root.
TEST_F(AtomicWrite, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::string path = dir_ + "/a.ign";
    ASSERT_TRUE(WriteFileAtomically(path, "the old tune").ok);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult r = WriteFileAtomically(path, std::string(5000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok);
    EXPECT_EQ(text, "the old tune");
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicWrite, AMissingFolderIsReportedAndNothingIsCreated) {
    const WriteResult r = WriteFileAtomically(dir_ + "/no/such/folder/a.ign", "x");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("a.ign"), std::string::npos);
    EXPECT_EQ(FilesInDir(), 0u);
}

TEST_F(AtomicWrite, AFolderInTheWayIsNotReplaced) {
    std::filesystem::create_directory(dir_ + "/taken");
    EXPECT_FALSE(WriteFileAtomically(dir_ + "/taken", "x").ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ + "/taken"));
    std::string text;
    EXPECT_FALSE(ReadWholeFile(dir_ + "/taken", text).ok);
}

TEST_F(AtomicWrite, ASymbolicLinkKeepsPointingAtTheUpdatedFile) {
    const std::string target = dir_ + "/real.ini";
    const std::string link = dir_ + "/link.ini";
    ASSERT_TRUE(WriteFileAtomically(target, "old").ok);
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link, "new").ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    std::string text;
    ASSERT_TRUE(ReadWholeFile(target, text).ok);
    EXPECT_EQ(text, "new");
}

TEST_F(AtomicWrite, ReadingRefusesWhatIsNotASmallRegularFile) {
    const std::string fifo = dir_ + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string text = "kept";
    ReadResult r = ReadWholeFile(fifo, text);  // must not block waiting for a writer
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.missing);
    EXPECT_EQ(text, "kept");

    ASSERT_TRUE(WriteFileAtomically(dir_ + "/big", std::string(kMaxReadSize + 1, 'x')).ok);
    r = ReadWholeFile(dir_ + "/big", text);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.missing);
    EXPECT_EQ(text, "kept");

    r = ReadWholeFile(dir_ + "/none", text);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.missing);
}

TEST_F(AtomicWrite, WhatIsNotARegularFileIsNeverReplacedByOne) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
        bool viaLink;
        std::filesystem::file_type type;
    } cases[] = {
        {"a pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, false,
         std::filesystem::file_type::fifo},
        {"a link to a pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         true, std::filesystem::file_type::fifo},
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }, false,
         std::filesystem::file_type::directory},
        {"a link to a folder", [](const std::string& p) { std::filesystem::create_directory(p); },
         true, std::filesystem::file_type::directory},
        {"a socket",
         [](const std::string& p) {
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::strncpy(address.sun_path, p.c_str(), sizeof address.sun_path - 1);
             ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             close(fd);
         },
         true, std::filesystem::file_type::socket},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = dir_ + "/target";
        const std::string path = c.viaLink ? dir_ + "/link" : target;
        c.make(target);
        if (c.viaLink) std::filesystem::create_symlink(target, path);
        const WriteResult r = WriteFileAtomically(path, "state");
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find("not a regular file"), std::string::npos) << r.error;
        EXPECT_EQ(std::filesystem::status(target).type(), c.type);
        EXPECT_EQ(std::filesystem::is_symlink(path), c.viaLink);
        EXPECT_EQ(FilesInDir(), c.viaLink ? 2u : 1u);  // no temporary file left behind
        std::filesystem::remove_all(target);
        std::filesystem::remove(path);
    }
}

TEST_F(AtomicWrite, ACharacterDeviceIsWrittenInto) {
    const std::string device = test::PrivateNullDevice(dir_);
    if (device.empty()) GTEST_SKIP() << "cannot make a null device safely";
    const std::string link = dir_ + "/_Korvan2.ini";
    std::filesystem::create_symlink(device, link);
    EXPECT_TRUE(WriteFileAtomically(link, "nothing kept").ok);
    EXPECT_TRUE(WriteFileAtomically(device, "nothing kept").ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_character_file(device));
    EXPECT_EQ(FilesInDir(), device == "/dev/null" ? 1u : 2u);
    std::string text = "kept";
    const ReadResult r = ReadWholeFile(link, text);  // nothing is read from a device
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.device);
    EXPECT_EQ(text, "kept");
}

// Root may write any file, so the protection is tried as an ordinary user in a child process.
TEST_F(AtomicWrite, AWriteProtectedFileIsNotReplacedForAUserWhoMayNotWriteIt) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) GTEST_SKIP() << "no user 'nobody'";
    ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);  // the folder is writable: only the file is protected
    const std::string path = dir_ + "/tune.ign";
    ASSERT_TRUE(WriteFileAtomically(path, "protected").ok);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    const std::string writable = dir_ + "/free.ign";
    ASSERT_TRUE(WriteFileAtomically(writable, "free").ok);
    ASSERT_EQ(chown(writable.c_str(), nobody->pw_uid, nobody->pw_gid), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(10);
        const WriteResult refused = WriteFileAtomically(path, "replaced");
        if (refused.ok) _exit(11);
        if (refused.error.find("Permission denied") == std::string::npos) _exit(12);
        if (!WriteFileAtomically(writable, "written").ok) _exit(13);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok);
    EXPECT_EQ(text, "protected");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    ASSERT_TRUE(ReadWholeFile(writable, text).ok);
    EXPECT_EQ(text, "written");
    EXPECT_EQ(FilesInDir(), 2u);
}

// A program started from a root shell with only its effective user changed (a setuid helper,
// a service manager's User=) must be refused what that user may not write, whatever the real
// user could.
TEST_F(AtomicWrite, TheEffectiveUserDecidesWhetherAFileMayBeReplaced) {
    if (geteuid() != 0 || getuid() != 0) GTEST_SKIP() << "needs root to change the effective user";
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) GTEST_SKIP() << "no user 'nobody'";
    ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);  // the folder would let the rename through
    const std::string path = dir_ + "/root.ign";
    ASSERT_TRUE(WriteFileAtomically(path, "root's").ok);
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The real user stays root: only the effective one is dropped.
        if (setegid(nobody->pw_gid) != 0 || seteuid(nobody->pw_uid) != 0) _exit(10);
        if (getuid() != 0) _exit(11);
        const WriteResult refused = WriteFileAtomically(path, "replaced");
        if (refused.ok) _exit(12);
        if (refused.error.find("Permission denied") == std::string::npos) _exit(13);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text).ok);
    EXPECT_EQ(text, "root's");
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicWrite, ARewrittenFileKeepsItsModeAndANewOneFollowsTheUmask) {
    struct Case {
        const char* what;
        int existingMode;  // -1: no file yet
        mode_t umask;
        unsigned expected;
    } cases[] = {
        {"group-readable file", 0640, 022, 0640}, {"private file", 0600, 022, 0600},
        {"executable file", 0755, 077, 0755},     {"new file, usual umask", -1, 022, 0644},
        {"new file, group umask", -1, 027, 0640}, {"new file, open umask", -1, 0, 0666},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir_ + "/mode.ign";
        std::filesystem::remove(path);
        if (c.existingMode >= 0) {
            ASSERT_TRUE(WriteFileAtomically(path, "old").ok);
            ASSERT_EQ(chmod(path.c_str(), static_cast<mode_t>(c.existingMode)), 0);
        }
        const mode_t previous = umask(c.umask);
        const WriteResult r = WriteFileAtomically(path, "new");
        umask(previous);
        ASSERT_TRUE(r.ok) << r.error;
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.expected);
    }
}

TEST_F(AtomicWrite, AnAgedLinkNamedLikeATemporaryFileIsKept) {
    using namespace std::chrono_literals;
    // Old enough to be removed if it were a temporary file; the link is not one, and neither
    // is the file it names.
    const std::string target = dir_ + "/elsewhere.ign";
    ASSERT_TRUE(WriteFileAtomically(target, "keep me").ok);
    std::filesystem::last_write_time(target, std::filesystem::file_time_type::clock::now() - 1h);
    const std::string link = dir_ + "/Korvan2.ini.a1B2c3";
    std::filesystem::create_symlink(target, link);
    const std::string folderLink = dir_ + "/Korvan2.ini.d4E5f6";
    std::filesystem::create_directory_symlink(dir_, folderLink);

    EXPECT_EQ(RemoveStaleTemporaryFiles(dir_ + "/Korvan2.ini", 10), 0u);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_symlink(folderLink));
    std::string text;
    ASSERT_TRUE(ReadWholeFile(target, text).ok);
    EXPECT_EQ(text, "keep me");
}

TEST_F(AtomicWrite, StaleTemporaryFilesAreRemovedAndNothingElse) {
    using namespace std::chrono_literals;
    const auto now = std::filesystem::file_time_type::clock::now();
    struct Case {
        const char* name;
        bool old;
        bool removed;
    } cases[] = {
        {"Korvan2.ini.a1B2c3", true, true},
        {"Korvan2.ini.ZZZZZZ", true, true},
        {"Korvan2.ini.a1B2c4", false, false},  // may be another copy's write in progress
        {"Korvan2.ini", true, false},
        {"Korvan2.ini.a1B2c", true, false},
        {"Korvan2.ini.a1B2c3d", true, false},
        {"Korvan2.ini.a1-2c3", true, false},
        {"Korvan2.ini.unreadable-20260101-120000", true, false},
        {"_Korvan2.ini.a1B2c3", true, false},  // another file's
        {"Korvan2.inI.a1B2c3", true, false},
    };
    for (const Case& c : cases) {
        const std::string p = dir_ + "/" + c.name;
        ASSERT_TRUE(WriteFileAtomically(p, "x").ok);
        if (c.old) std::filesystem::last_write_time(p, now - 1h);
    }
    EXPECT_EQ(RemoveStaleTemporaryFiles(dir_ + "/Korvan2.ini", 10), 2u);
    for (const Case& c : cases) {
        EXPECT_EQ(std::filesystem::exists(dir_ + "/" + c.name), !c.removed) << c.name;
    }
    // A kill during a write leaves exactly such a name.
    EXPECT_TRUE(IsTemporaryFileName("_Korvan2.ini.Xy9Zab", "_Korvan2.ini"));
}

TEST_F(AtomicWrite, TheStartOfALargeFileCanBeRead) {
    const std::string path = dir_ + "/big";
    ASSERT_TRUE(WriteFileAtomically(path, "12 34" + std::string(kMaxReadSize, ' ')).ok);
    std::string text;
    ReadResult r = ReadFileStart(path, text, 8);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(text, "12 34   ");
    ASSERT_TRUE(WriteFileAtomically(path, "12 34").ok);
    r = ReadFileStart(path, text, 8);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(text, "12 34");
    r = ReadFileStart(path, text, 5);  // exactly the limit is the whole file
    EXPECT_FALSE(r.truncated);
}

}  // namespace
}  // namespace korvan
