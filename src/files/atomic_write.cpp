#include "files/atomic_write.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvan {

namespace fs = std::filesystem;

namespace {

std::string ErrorText(const std::string& what, int err) {
    return what + ": " + std::strerror(err);
}

// A failure the system gave a reason for.
template <class Result>
void SetSystemError(Result& result, const std::string& what, int err) {
    result.error = ErrorText(what, err);
    result.problem = FileProblem::System;
    result.errorNumber = err;
}

template <class Result>
void SetProblem(Result& result, const std::string& what, FileProblem problem, const char* text) {
    result.error = what + ": " + text;
    result.problem = problem;
}

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

constexpr const char* kNotRegularFile = "not a regular file, so it is not replaced";

#ifdef _WIN32
constexpr int kCreateAttempts = 100;
constexpr std::size_t kWriteChunk = 1 << 20;

std::string WindowsErrorText(DWORD err) {
    return std::system_category().message(static_cast<int>(err));
}

// Six letters or digits, as mkstemp makes them on POSIX.
std::wstring TemporarySuffix() {
    thread_local std::mt19937 random(static_cast<unsigned>(GetTickCount64()) ^
                                     (static_cast<unsigned>(GetCurrentProcessId()) << 16));
    static const wchar_t kLetters[] =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<int> pick(0, 61);
    std::wstring suffix;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i) suffix += kLetters[pick(random)];
    return suffix;
}
#endif

#ifndef _WIN32

// Writes every byte, going on after a signal; 0 or the error number of the failed write.
int WriteAll(int fd, const std::string& content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Writes into a character device as into any open file: it cannot be replaced, and renaming
// a file over it (as root) would turn /dev/null into a regular file. A device that would make
// the write wait (a terminal) fails instead of hanging the exit.
WriteResult WriteIntoDevice(const fs::path& path, const std::string& pathText,
                            const std::string& content) {
    WriteResult result;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetSystemError(result, pathText, errno);
        return result;
    }
    int err = WriteAll(fd, content);
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        SetSystemError(result, pathText, err);
        return result;
    }
    result.ok = true;
    return result;
}

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
    // What is already there decides first, as on POSIX: a folder or a device is never
    // replaced, and a read-only file is refused before anything is written.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
            SetProblem(
                result, pathText,
                attributes & FILE_ATTRIBUTE_DIRECTORY ? FileProblem::Folder : FileProblem::Device,
                kNotRegularFile);
            return result;
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            SetProblem(result, pathText, FileProblem::NotReplaced, "the file is read-only");
            return result;
        }
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    fs::path temp;
    DWORD err = 0;
    // Named as on POSIX ("<file>.XXXXXX"), so RemoveStaleTemporaryFiles finds what a kill left.
    for (int attempt = 0; attempt < kCreateAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = path;
        temp += L"." + TemporarySuffix();
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        err = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (err != 0 && err != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        SetProblem(result, pathText, FileProblem::NotReplaced, WindowsErrorText(err).c_str());
        return result;
    }
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0 && err == 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, kWriteChunk));
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr)) {
            err = GetLastError();
        } else {
            p += written;
            left -= written;
        }
    }
    // On the disk before the rename, so the new name never stands for half a file.
    if (err == 0 && !FlushFileBuffers(file)) err = GetLastError();
    if (!CloseHandle(file) && err == 0) err = GetLastError();
    if (err == 0 && !MoveFileExW(temp.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        err = GetLastError();
    }
    if (err != 0) {
        DeleteFileW(temp.c_str());
        SetProblem(result, pathText, FileProblem::NotReplaced, WindowsErrorText(err).c_str());
        return result;
    }
#else
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISCHR(existing.st_mode)) return WriteIntoDevice(path, pathText, content);
        if (!S_ISREG(existing.st_mode)) {
            SetProblem(result, pathText,
                       S_ISDIR(existing.st_mode) ? FileProblem::Folder : FileProblem::NotAFile,
                       kNotRegularFile);
            return result;
        }
        // The effective user's permission, the one an open for writing would be checked with.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            SetSystemError(result, pathText, errno);
            return result;
        }
    }
    std::string temp = path.string() + "." + std::string(kTemporarySuffixLength, 'X');
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        SetSystemError(result, pathText, errno);
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
    int err = WriteAll(fd, content);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        SetSystemError(result, pathText, err);
        return result;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        SetSystemError(result, pathText, err);
        return result;
    }
    SyncFolderOf(path);
#endif
    result.ok = true;
    return result;
}

namespace {

ReadResult ReadFile(const std::string& pathText, std::string& content, std::size_t maxBytes,
                    bool wholeOnly) {
    ReadResult result;
    const fs::path path = FilePath(pathText);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        result.missing = true;
        SetProblem(result, pathText, FileProblem::Missing, "no such file");
        return result;
    }
    if (!ec && status.type() == fs::file_type::character) {
        result.device = true;
        SetProblem(result, pathText, FileProblem::Device, "a device, not a file");
        return result;
    }
    if (!ec && status.type() == fs::file_type::directory) {
        SetProblem(result, pathText, FileProblem::Folder, "not a file");
        return result;
    }
    if (ec) {
        SetSystemError(result, pathText, ec.value());
        return result;
    }
    if (status.type() != fs::file_type::regular) {
        SetProblem(result, pathText, FileProblem::NotAFile, "not a file");
        return result;
    }
    const auto size = fs::file_size(path, ec);
    if (ec || (wholeOnly && size > maxBytes)) {
        SetProblem(result, pathText, FileProblem::TooLarge, "far too large for this kind of file");
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetSystemError(result, pathText, errno);
        return result;
    }
    // Never more than maxBytes, even from a file that grew since its size was taken.
    constexpr std::size_t kChunkSize = 64 * 1024;
    std::string text;
    text.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(size, maxBytes)));
    std::string chunk(kChunkSize, '\0');
    while (text.size() < maxBytes) {
        const std::size_t want = std::min(kChunkSize, maxBytes - text.size());
        in.read(chunk.data(), static_cast<std::streamsize>(want));
        const auto got = static_cast<std::size_t>(in.gcount());
        text.append(chunk, 0, got);
        if (got < want) break;
    }
    if (in.bad()) {
        SetProblem(result, pathText, FileProblem::ReadError, "read error");
        return result;
    }
    if (text.size() == maxBytes && in.peek() != std::char_traits<char>::eof()) {
        if (wholeOnly) {
            SetProblem(result, pathText, FileProblem::TooLarge,
                       "far too large for this kind of file");
            return result;
        }
        result.truncated = true;
    }
    content = std::move(text);
    result.ok = true;
    return result;
}

}  // namespace

ReadResult ReadWholeFile(const std::string& pathText, std::string& content, std::size_t maxBytes) {
    return ReadFile(pathText, content, maxBytes, true);
}

ReadResult ReadFileStart(const std::string& pathText, std::string& content, std::size_t maxBytes) {
    return ReadFile(pathText, content, maxBytes, false);
}

bool IsTemporaryFileName(const std::string& name, const std::string& fileName) {
    if (name.size() != fileName.size() + 1 + kTemporarySuffixLength) return false;
    if (name.compare(0, fileName.size(), fileName) != 0 || name[fileName.size()] != '.')
        return false;
    for (std::size_t i = fileName.size() + 1; i < name.size(); ++i) {
        const char c = name[i];
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) return false;
    }
    return true;
}

std::size_t RemoveStaleTemporaryFiles(const std::string& pathText, long long minAgeSeconds) {
    const fs::path path = Target(FilePath(pathText));
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const std::string fileName = path.filename().string();
    const auto now = fs::file_time_type::clock::now();
    std::size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& entry = it->path();
        if (!IsTemporaryFileName(entry.filename().string(), fileName)) continue;
        std::error_code entryError;
        if (!fs::is_regular_file(fs::symlink_status(entry, entryError))) continue;
        const auto written = fs::last_write_time(entry, entryError);
        if (entryError || now - written < std::chrono::seconds(minAgeSeconds)) continue;
        if (fs::remove(entry, entryError)) ++removed;
    }
    return removed;
}

}  // namespace korvan
