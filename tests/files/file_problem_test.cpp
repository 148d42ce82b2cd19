// Why a file could not be read or written, in the words the window shows after the file's name.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "files/atomic_write.h"

namespace korvan {
namespace {

class FileProblemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/korvan-problem-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string dir_;
};

struct ReadCase {
    const char* what;
    std::function<std::string(const std::string& dir)> make;  // returns the path to read
    FileProblem problem;
    const char* english;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.what;
}

TEST_F(FileProblemTest, EachRefusedReadNamesItsReasonInThreeLanguages) {
    const ReadCase cases[] = {
        {"missing", [](const std::string& d) { return d + "/none.ign"; }, FileProblem::Missing,
         "no such file"},
        {"pipe",
         [](const std::string& d) {
             const std::string p = d + "/x.ign";
             mkfifo(p.c_str(), 0600);
             return p;
         },
         FileProblem::NotAFile, "not a plain file (a pipe, socket or block device)"},
        {"folder",
         [](const std::string& d) {
             std::filesystem::create_directory(d + "/f.ign");
             return d + "/f.ign";
         },
         FileProblem::Folder, "a folder, not a file"},
        {"device", [](const std::string&) { return std::string("/dev/zero"); }, FileProblem::Device,
         "a device, not a file"},
        {"too large",
         [](const std::string& d) {
             std::ofstream(d + "/big.ign") << std::string(kMaxReadSize + 1, ' ');
             return d + "/big.ign";
         },
         FileProblem::TooLarge, "far too large for this kind of file"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        const std::string path = c.make(dir_);
        std::string content = "kept";
        const ReadResult r = ReadWholeFile(path, content);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(content, "kept");
        EXPECT_EQ(r.problem, c.problem);
        EXPECT_EQ(FileProblemText(r, 1), c.english);
        // Czech and German have words of their own, never the English ones.
        EXPECT_NE(FileProblemText(r, 0), c.english);
        EXPECT_NE(FileProblemText(r, 2), c.english);
        EXPECT_FALSE(FileProblemText(r, 0).empty());
    }
}

TEST_F(FileProblemTest, ARefusedWriteNamesItsReason) {
    const WriteResult noFolder = WriteFileAtomically(dir_ + "/no/such/a.ign", "x");
    EXPECT_EQ(noFolder.problem, FileProblem::System);
    EXPECT_EQ(noFolder.errorNumber, ENOENT);
    EXPECT_EQ(FileProblemText(noFolder, 1), "the folder does not exist");
    EXPECT_EQ(FileProblemText(noFolder, 2), "der Ordner existiert nicht");

    std::filesystem::create_directory(dir_ + "/taken.ign");
    const WriteResult folder = WriteFileAtomically(dir_ + "/taken.ign", "x");
    EXPECT_EQ(folder.problem, FileProblem::Folder);
    EXPECT_EQ(FileProblemText(folder, 0), "je to složka, ne soubor");
}

TEST(FileProblemText, SystemReasonsHaveTheirOwnWordsElseTheSystemsText) {
    EXPECT_EQ(FileProblemText(FileProblem::System, ENOSPC, 1), "the disk is full");
    EXPECT_EQ(FileProblemText(FileProblem::System, EACCES, 2), "keine Berechtigung");
    EXPECT_EQ(FileProblemText(FileProblem::System, EROFS, 0), "disk je jen pro čtení");
    EXPECT_EQ(FileProblemText(FileProblem::System, EIO, 1), std::string(std::strerror(EIO)));
    EXPECT_EQ(FileProblemText(FileProblem::None, 0, 1), "");
}

}  // namespace
}  // namespace korvan
