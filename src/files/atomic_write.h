// Replacing a file only once its new content is completely on disk, so that a failed save
// (disk full, no permission, a crash half-way) never destroys the old file.
#pragma once

#include <string>

namespace korvan {

struct WriteResult {
    bool ok = false;
    std::string error;  // what went wrong, for the message shown to the user
};

// Writes `content` byte for byte to a temporary file in the same folder as `path`, flushes it
// to the disk and renames it over `path`. On any failure the temporary file is removed and
// the old file at `path` is left untouched.
WriteResult WriteFileAtomically(const std::string& path, const std::string& content);

// Reads the whole file; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& content);

}  // namespace korvan
