#include "files/atomic_write.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

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
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
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

}  // namespace
}  // namespace korvan
