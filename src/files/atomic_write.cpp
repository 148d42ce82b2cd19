#include "files/atomic_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvan {

namespace {

std::string ErrnoText(const std::string& what, int err) { return what + ": " + std::strerror(err); }

#ifndef _WIN32
// The folder's entry for the new name must reach the disk too, or a power loss right after
// the rename may bring back neither file.
void SyncFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

WriteResult WriteFileAtomically(const std::string& path, const std::string& content) {
    WriteResult result;
#ifdef _WIN32
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        result.error = ErrnoText(temp, errno);
        return result;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size() &&
                         std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
    const int err = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::remove(temp.c_str());
        result.error = ErrnoText(path, err);
        return result;
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        std::remove(temp.c_str());
        result.error = path + ": cannot replace the file";
        return result;
    }
#else
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        result.error = ErrnoText(path, errno);
        return result;
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const char* p = content.data();
    std::size_t left = content.size();
    int err = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        result.error = ErrnoText(path, err);
        return result;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        result.error = ErrnoText(path, err);
        return result;
    }
    SyncFolderOf(path);
#endif
    result.ok = true;
    return result;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    // A folder opens as a stream on some systems and then reads as empty: that is not a file.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) return false;
    content = s.str();
    return true;
}

}  // namespace korvan
