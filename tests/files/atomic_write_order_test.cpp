// The order in which a replacement reaches the disk, seen from the system calls themselves:
// this test binary is linked with fsync and rename wrapped (-Wl,--wrap), so the write code runs
// unchanged and every call it makes is recorded.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/atomic_write.h"

namespace {

struct SyncEvent {
    enum Kind { FileSync, FolderSync, Rename } kind;
    ino_t inode = 0;        // the file synced, or the one renamed
    off_t size = 0;         // of a synced file at the moment of the sync
    std::string renamedTo;  // Rename
};

std::vector<SyncEvent> events;
bool recording = false;

}  // namespace

extern "C" {
int __real_fsync(int fd);
int __real_rename(const char* from, const char* to);

int __wrap_fsync(int fd) {
    if (recording) {
        struct stat st {};
        ::fstat(fd, &st);
        events.push_back({S_ISDIR(st.st_mode) ? SyncEvent::FolderSync : SyncEvent::FileSync,
                          st.st_ino,
                          st.st_size,
                          {}});
    }
    return __real_fsync(fd);
}

int __wrap_rename(const char* from, const char* to) {
    if (recording) {
        struct stat st {};
        ::stat(from, &st);
        events.push_back({SyncEvent::Rename, st.st_ino, st.st_size, to});
    }
    return __real_rename(from, to);
}
}

namespace korvan {
namespace {

TEST(AtomicWriteOrder, WriteThenSyncThenRenameThenSyncTheFolder) {
    char tmpl[] = "/tmp/korvan-order-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string path = dir + "/a.ign";
    const std::string content = "the whole new tune";
    for (const bool replacing : {false, true}) {
        SCOPED_TRACE(replacing ? "replacing a file" : "a new file");
        events.clear();
        recording = true;
        const WriteResult r = WriteFileAtomically(path, content);
        recording = false;
        ASSERT_TRUE(r.ok) << r.error;
        ASSERT_EQ(events.size(), 3u);
        // The temporary file holds every byte when it is synced ...
        EXPECT_EQ(events[0].kind, SyncEvent::FileSync);
        EXPECT_EQ(events[0].size, static_cast<off_t>(content.size()));
        // ... it is that file which is renamed over the old one ...
        EXPECT_EQ(events[1].kind, SyncEvent::Rename);
        EXPECT_EQ(events[1].inode, events[0].inode);
        EXPECT_EQ(events[1].renamedTo, path);
        // ... and then the folder's entry is made lasting.
        EXPECT_EQ(events[2].kind, SyncEvent::FolderSync);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_ino, events[0].inode);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvan
