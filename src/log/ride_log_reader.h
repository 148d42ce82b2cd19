// Reads a ride log: ours, or any .msl text log with at least Time and RPM columns. Bounded:
// never more than ReadLimits of text or rows, whatever the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/monitor.h"

namespace korvan {

struct ReadLimits {
    // A one-hour log is well under 2 MB and 11,000 rows; these allow days of recording while
    // keeping a stray 1 GB file from filling memory.
    std::size_t maxBytes = std::size_t{32} << 20;
    std::size_t maxRows = 400000;
};

enum class LogRefusal { None, NotMsl, CannotOpen, NoHeader, NoTimeColumn, NoRpmColumn, NoRows };

enum class BadRowKind { Short, NotANumber };

struct BadRow {
    std::size_t line = 0;  // 1-based line of the file
    BadRowKind kind = BadRowKind::Short;
    std::string column;  // the column that did not hold a number
};

struct LogSample {
    double TimeS = 0;
    MonitorChannels Channels;  // channels the file lacks stay 0
};

struct RideLogReadResult {
    LogRefusal refusal = LogRefusal::None;
    std::string systemReason;  // for CannotOpen
    std::string title;         // the first quoted line, without quotes
    std::string captureDate;
    std::vector<std::string> columns;
    bool hasTps = false;
    bool hasLambda = false;  // a Lambda column in mV
    std::vector<LogSample> rows;
    std::vector<std::size_t> marks;  // index of the row each marker line precedes
    std::size_t badRowCount = 0;
    std::vector<BadRow> badRows;  // the first kNamedBadRows of them
    bool truncated = false;       // the limits cut the file short
    std::size_t bytesRead = 0;

    static constexpr std::size_t kNamedBadRows = 5;

    bool Ok() const { return refusal == LogRefusal::None; }
    // Why the file was refused, naming it; empty when it was not.
    std::string RefusalText(const std::string& fileName, std::uint8_t language) const;
    // The bad rows left out, in one line; empty when there were none.
    std::string BadRowsText(std::uint8_t language) const;
    // What the limits left out; empty when nothing was.
    std::string TruncatedText(std::uint8_t language) const;
};

// The log in `text`. The caller sets `truncated` when it cut the text short; the last,
// possibly partial line is then dropped.
RideLogReadResult ParseRideLog(std::string_view text, const ReadLimits& limits = {},
                               bool truncated = false);

// Reads at most limits.maxBytes of the file. Refuses names that do not end in .msl.
RideLogReadResult ReadRideLogFile(const std::string& path, const ReadLimits& limits = {});

}  // namespace korvan
