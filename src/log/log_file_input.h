// The bytes of a log file, read so that nothing can hold up the caller: the path's type is
// checked before it is opened (a FIFO would block the open until a writer comes, a device such
// as /dev/zero never ends), the open itself does not wait, and no more than the limit is read.
#pragma once

#include <cstddef>
#include <string>

#include "log/ride_log_reader.h"

namespace korvan {

struct LogFileBytes {
    LogRefusal refusal = LogRefusal::None;  // None, CannotOpen or NotAFile
    std::string systemReason;               // for CannotOpen
    FileKind kind = FileKind::Regular;      // for NotAFile
    std::string bytes;
    bool truncated = false;  // the file goes on beyond maxBytes

    bool Ok() const { return refusal == LogRefusal::None; }
};

LogFileBytes ReadLogFileBytes(const std::string& path, std::size_t maxBytes);

}  // namespace korvan
