#include "log/log_file_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "files/atomic_write.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvan {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

LogFileBytes Refused(LogRefusal refusal, int err, FileKind kind = FileKind::Regular) {
    LogFileBytes f;
    f.refusal = refusal;
    f.kind = kind;
    if (refusal == LogRefusal::CannotOpen) f.systemReason = std::strerror(err);
    return f;
}

#ifndef _WIN32
FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Folder;
    if (S_ISFIFO(mode)) return FileKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
    return FileKind::Other;
}
#endif

}  // namespace

LogFileBytes ReadLogFileBytes(const std::string& path, std::size_t maxBytes) {
#ifndef _WIN32
    // The node first: opening a FIFO for reading waits for a writer, however the open is
    // made afterwards.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Refused(LogRefusal::CannotOpen, errno);
    if (const FileKind kind = KindOf(st.st_mode); kind != FileKind::Regular)
        return Refused(LogRefusal::NotAFile, 0, kind);
    // Not waiting, in case the name was replaced by a FIFO since; the open file is checked
    // again, and that one cannot change.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Refused(LogRefusal::CannotOpen, errno);
    LogFileBytes f;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Refused(LogRefusal::NotAFile, 0, KindOf(st.st_mode));
    }
    // Read in chunks, so a small file costs no more than its size and a huge one no more than
    // the limit.
    while (f.bytes.size() < maxBytes) {
        const std::size_t old = f.bytes.size();
        f.bytes.resize(old + std::min(kChunk, maxBytes - old));
        const ssize_t n = ::read(fd, f.bytes.data() + old, f.bytes.size() - old);
        if (n < 0 && errno == EINTR) {
            f.bytes.resize(old);
            continue;
        }
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return Refused(LogRefusal::CannotOpen, err);
        }
        f.bytes.resize(old + static_cast<std::size_t>(n));
        if (n == 0) break;
    }
    if (f.bytes.size() == maxBytes) {
        char more;
        ssize_t n;
        do {
            n = ::read(fd, &more, 1);
        } while (n < 0 && errno == EINTR);
        f.truncated = n > 0;
    }
    ::close(fd);
    return f;
#else
    namespace fs = std::filesystem;
    const fs::path p = FilePath(path);
    std::error_code ec;
    const fs::file_status status = fs::status(p, ec);
    if (ec) return Refused(LogRefusal::CannotOpen, ENOENT);
    if (status.type() != fs::file_type::regular) {
        const FileKind kind = status.type() == fs::file_type::directory   ? FileKind::Folder
                              : status.type() == fs::file_type::character ? FileKind::Device
                                                                          : FileKind::Other;
        return Refused(LogRefusal::NotAFile, 0, kind);
    }
    std::ifstream in(p, std::ios::binary);
    if (!in) return Refused(LogRefusal::CannotOpen, errno);
    LogFileBytes f;
    while (f.bytes.size() < maxBytes && in) {
        const std::size_t old = f.bytes.size();
        f.bytes.resize(old + std::min(kChunk, maxBytes - old));
        in.read(f.bytes.data() + old, static_cast<std::streamsize>(f.bytes.size() - old));
        f.bytes.resize(old + static_cast<std::size_t>(in.gcount()));
    }
    f.truncated = f.bytes.size() == maxBytes && in.peek() != std::char_traits<char>::eof();
    return f;
#endif
}

}  // namespace korvan
