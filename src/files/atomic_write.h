// Reading and replacing the program's files. A file is replaced only once its new content is
// completely on disk, so that a failed save (disk full, no permission, a crash half-way) never
// destroys the old file. Paths are UTF-8 on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace korvan {

// Why a file could not be read or written, so the window can say it in the user's language
// (`error` says it in English, with the path).
enum class FileProblem : std::uint8_t {
    None,
    Missing,     // there is no such file
    Device,      // a character device
    Folder,      // a folder
    NotAFile,    // a pipe, socket or block device
    TooLarge,    // far larger than any file of its kind
    ReadError,   // the read itself failed
    System,      // the system's reason: `errorNumber`
    NotReplaced  // something else is in the way of replacing it (only `error` tells)
};

struct WriteResult {
    bool ok = false;
    std::string error;  // what went wrong, for the message shown to the user
    FileProblem problem = FileProblem::None;
    int errorNumber = 0;  // with FileProblem::System
};

// The file system path of a UTF-8 path (on Windows the wide form, so names such as
// "C:\Users\Jiří" work).
std::filesystem::path FilePath(const std::string& utf8);

// Writes `content` byte for byte to a temporary file in the same folder as `path`, flushes it
// to the disk and renames it over `path` (over the file a symbolic link names, the link
// itself is kept). On any failure the temporary file is removed and the old file at `path`
// is left untouched.
// What is already at `path` decides first: a file the user may not write is refused (the
// rename would not need the permission, so the protection would be bypassed); a character
// device (a state file linked to /dev/null to keep nothing) is written into as it is; a
// folder, pipe, socket or block device is refused. Nothing that is not a regular file is
// ever replaced by one.
WriteResult WriteFileAtomically(const std::string& path, const std::string& content);

// The temporary files of WriteFileAtomically are named "<file>.XXXXXX" (six letters or
// digits); a kill during a write leaves one behind.
constexpr std::size_t kTemporarySuffixLength = 6;
// Whether `name` (a bare file name) is one of `fileName`'s temporary files.
bool IsTemporaryFileName(const std::string& name, const std::string& fileName);
// Removes the temporary files beside `path` that are older than `minAgeSeconds` (a younger
// one may belong to a write of another running copy). Returns how many were removed.
std::size_t RemoveStaleTemporaryFiles(const std::string& path, long long minAgeSeconds);

// Every file the program reads is small; anything far larger is not one of them.
constexpr std::size_t kMaxReadSize = 1 << 20;

struct ReadResult {
    bool ok = false;
    bool missing = false;    // there is no file at all (as opposed to one that cannot be read)
    bool device = false;     // a character device: nothing is read from it
    bool truncated = false;  // ReadFileStart: the file goes on beyond what was read
    std::string error;
    FileProblem problem = FileProblem::None;
    int errorNumber = 0;  // with FileProblem::System
};

// The reason of a failed read or write in `language`, without the path ("a device, not a
// file", "no permission"): what the window puts after the file's name.
std::string FileProblemText(FileProblem problem, int errorNumber, std::uint8_t language);
template <class Result>
std::string FileProblemText(const Result& result, std::uint8_t language) {
    return FileProblemText(result.problem, result.errorNumber, language);
}

// Reads a whole regular file of at most `maxBytes`. A folder, a device or a pipe is refused
// without being opened, so nothing can block or swallow memory.
ReadResult ReadWholeFile(const std::string& path, std::string& content,
                         std::size_t maxBytes = kMaxReadSize);
// Reads the first `maxBytes` of a regular file of any size; a larger file sets `truncated`.
ReadResult ReadFileStart(const std::string& path, std::string& content,
                         std::size_t maxBytes = kMaxReadSize);

}  // namespace korvan
