// Reads a ride log: ours or another logger's, as .msl text, MLG binary or CSV, with at least
// Time and RPM channels. Bounded: never more than ReadLimits of bytes or rows, whatever the
// file's size, and a path that is not a regular file is refused without being opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/monitor.h"
#include "log/ride_log.h"

namespace korvan {

struct ReadLimits {
    // A one-hour log is well under 2 MB and 11,000 rows; these allow days of recording while
    // keeping a stray 1 GB file from filling memory.
    std::size_t maxBytes = std::size_t{32} << 20;
    std::size_t maxRows = 400000;
};

// Times a row may carry. The upper end is what a log's millisecond clock can count (49 days);
// a clock may step back a little (two loggers' clocks merged, rounding), but a row more than
// this before the last one kept is not where it claims to be.
constexpr double kMaxLogTimeS = 4294967.295;
constexpr double kMaxTimeBackS = 1.0;

enum class LogRefusal {
    None,
    NotALog,     // the extension names none of the formats
    CannotOpen,  // systemReason says why
    NotAFile,    // a folder, FIFO, device or socket (fileKind), refused without opening it
    NoHeader,
    NoTimeColumn,
    NoRpmColumn,
    NoRows,
    // MLG only; detail and detail2 carry the numbers named in the message.
    NotMlg,           // no "MLVLG" at the start
    MlgVersion,       // detail: the version
    MlgFieldCount,    // detail: the count
    MlgFieldType,     // detailName: the field, detail: its type
    MlgRecordLength,  // detail: the header's record length, detail2: what the fields need
    MlgDamaged,       // the header's offsets point outside the file
};

enum class FileKind { Regular, Folder, Fifo, Device, Other };

enum class BadRowKind {
    Short,
    NotANumber,    // column: the channel
    TimeNegative,  // a time before the start of the log
    TimeTooLarge,  // beyond kMaxLogTimeS
    TimeBack,      // more than kMaxTimeBackS before the last row kept
    BadChecksum,   // MLG: the record's check byte does not match
    CutShort,      // MLG: the file ends inside the record
    UnknownBlock,  // MLG: a block of unknown type; nothing after it can be placed
};

struct BadRow {
    std::size_t line = 0;  // 1-based line of the text, or record of the MLG file
    BadRowKind kind = BadRowKind::Short;
    std::string column;  // the column that did not hold a number
};

struct LogSample {
    double TimeS = 0;
    MonitorChannels Channels;  // channels the file lacks stay 0
    LogCell Cell;              // the map cell the file names; -1 where it names none
};

// A channel's value in a sample, by its place in kLogChannels.
double ChannelValue(const LogSample& sample, std::size_t channel);

struct RideLogReadResult {
    LogFormat format = LogFormat::Msl;
    LogRefusal refusal = LogRefusal::None;
    std::string systemReason;               // for CannotOpen
    FileKind fileKind = FileKind::Regular;  // for NotAFile
    long long detail = 0;                   // for the MLG refusals
    long long detail2 = 0;
    std::string detailName;
    std::string title;  // the first quoted line (MLG: the first line of the info text)
    std::string captureDate;
    std::int64_t captureTime = 0;  // MLG: the header's time in seconds since 1970; 0 unknown
    std::string unitVersion;       // "Unit: ..." of the header, when there is one
    std::string tuneFile;          // "Tune: ..." of the header, when there is one
    std::vector<std::string> columns;
    bool hasTps = false;
    bool hasLambda = false;      // a Lambda column in mV
    std::uint32_t channels = 0;  // bit i: channel i of kLogChannels is in the file
    std::vector<LogSample> rows;
    std::vector<std::size_t> marks;  // index of the row each marker precedes
    std::size_t badRowCount = 0;
    std::vector<BadRow> badRows;  // the first kNamedBadRows of them
    bool truncated = false;       // the limits cut the file short
    std::size_t bytesRead = 0;

    static constexpr std::size_t kNamedBadRows = 5;

    bool Ok() const { return refusal == LogRefusal::None; }
    bool HasChannel(std::size_t channel) const {
        return channel < kLogChannelCount && (channels >> channel & 1u) != 0;
    }
    // Both map cell columns: every row names the cell it was recorded in.
    bool HasCells() const {
        return HasChannel(kChannelMapRpmColumn) && HasChannel(kChannelMapTpsRow);
    }
    // Why the file was refused, naming it; empty when it was not.
    std::string RefusalText(const std::string& fileName, std::uint8_t language) const;
    // The bad rows left out, in one line; empty when there were none.
    std::string BadRowsText(std::uint8_t language) const;
    // What the limits left out; empty when nothing was.
    std::string TruncatedText(std::uint8_t language) const;
};

// The .msl log in `text`. The caller sets `truncated` when it cut the text short; the last,
// possibly partial line is then dropped.
RideLogReadResult ParseRideLog(std::string_view text, const ReadLimits& limits = {},
                               bool truncated = false);

// Reads at most limits.maxBytes of the file, in the format its extension names (.msl, .mlg,
// .csv); refuses other names. A path that is not a regular file (a FIFO that would block the
// caller, a device that never ends, a folder) is refused before it is opened.
RideLogReadResult ReadRideLogFile(const std::string& path, const ReadLimits& limits = {});

}  // namespace korvan
