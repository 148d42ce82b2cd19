#include "files/atomic_write.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvan {

namespace fs = std::filesystem;

namespace {

std::string ErrorText(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// The file a path names: a symbolic link is followed, so that a settings file linked from
// elsewhere is updated where it lives instead of being replaced by a copy.
fs::path Target(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        const fs::path resolved = fs::canonical(path, ec);
        if (!ec) return resolved;
    }
    return path;
}

#ifndef _WIN32
// The folder's entry for the new name must reach the disk too, or a power loss right after
// the rename may bring back neither file.
void SyncFolderOf(const fs::path& path) {
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

}  // namespace

fs::path FilePath(const std::string& utf8) {
#ifdef _WIN32
    return fs::u8path(utf8);
#else
    return fs::path(utf8);
#endif
}

WriteResult WriteFileAtomically(const std::string& pathText, const std::string& content) {
    WriteResult result;
    const fs::path path = Target(FilePath(pathText));
#ifdef _WIN32
    // A name of our own beside the file: nothing the user keeps there is overwritten.
    static std::atomic<unsigned> counter{0};
    fs::path temp = path;
    temp += L".tmp" + std::to_wstring(_getpid()) + L"-" + std::to_wstring(++counter);
    std::FILE* f = _wfopen(temp.c_str(), L"wb");
    if (!f) {
        result.error = ErrorText(pathText, errno);
        return result;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size() &&
                         std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
    const int err = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        _wremove(temp.c_str());
        result.error = ErrorText(pathText, err);
        return result;
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        _wremove(temp.c_str());
        result.error = pathText + ": cannot replace the file";
        return result;
    }
#else
    std::string temp = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        result.error = ErrorText(pathText, errno);
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
        result.error = ErrorText(pathText, err);
        return result;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        result.error = ErrorText(pathText, err);
        return result;
    }
    SyncFolderOf(path);
#endif
    result.ok = true;
    return result;
}

ReadResult ReadWholeFile(const std::string& pathText, std::string& content, std::size_t maxBytes) {
    ReadResult result;
    const fs::path path = FilePath(pathText);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        result.missing = true;
        result.error = pathText + ": no such file";
        return result;
    }
    if (ec || status.type() != fs::file_type::regular) {
        result.error = pathText + ": not a file";
        return result;
    }
    const auto size = fs::file_size(path, ec);
    if (ec || size > maxBytes) {
        result.error = pathText + ": far too large for this kind of file";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = ErrorText(pathText, errno);
        return result;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        result.error = pathText + ": read error";
        return result;
    }
    content = s.str();
    result.ok = true;
    return result;
}

}  // namespace korvan
