// Reading and replacing the program's files. A file is replaced only once its new content is
// completely on disk, so that a failed save (disk full, no permission, a crash half-way) never
// destroys the old file. Paths are UTF-8 on every platform.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace korvan {

struct WriteResult {
    bool ok = false;
    std::string error;  // what went wrong, for the message shown to the user
};

// The file system path of a UTF-8 path (on Windows the wide form, so names such as
// "C:\Users\Jiří" work).
std::filesystem::path FilePath(const std::string& utf8);

// Writes `content` byte for byte to a temporary file in the same folder as `path`, flushes it
// to the disk and renames it over `path` (over the file a symbolic link names, the link
// itself is kept). On any failure the temporary file is removed and the old file at `path`
// is left untouched.
WriteResult WriteFileAtomically(const std::string& path, const std::string& content);

// Every file the program reads is small; anything far larger is not one of them.
constexpr std::size_t kMaxReadSize = 1 << 20;

struct ReadResult {
    bool ok = false;
    bool missing = false;  // there is no file at all (as opposed to one that cannot be read)
    std::string error;
};

// Reads a whole regular file of at most `maxBytes`. A folder, a device or a pipe is refused
// without being opened, so nothing can block or swallow memory.
ReadResult ReadWholeFile(const std::string& path, std::string& content, std::size_t maxBytes = kMaxReadSize);

}  // namespace korvan
