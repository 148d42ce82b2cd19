// One row of a ride log and the channels of the .msl text log that holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "device/map_cursor.h"
#include "device/monitor.h"
#include "params/device_image.h"

namespace korvan {

// The map cell a row was recorded in: -1 where the speed lies below the RPM axis.
struct LogCell {
    int RpmColumn = -1;
    int TpsRow = -1;
};

struct RideLogRow {
    std::uint32_t TimeMs = 0;  // since the start of the recording
    MonitorChannels Channels;
    LogCell Cell;
};

// The cell of the live cursor for these values: the one place that decides it.
LogCell CellOf(const DeviceImage& image, const LiveValues& live, bool tpsAxisInUse);

// A row from a valid monitor frame, as the monitor column decodes it.
RideLogRow RowFromFrame(const std::uint8_t* frame, const DeviceImage& image, bool tpsAxisInUse,
                        std::uint32_t timeMs);

// The channels in file order: name and unit as the header lines carry them.
struct LogChannel {
    const char* name;
    const char* unit;
};
constexpr std::size_t kLogChannelCount = 16;
extern const LogChannel kLogChannels[kLogChannelCount];

// A channel's place in kLogChannels: the same in every format this program writes.
enum LogChannelIndex : std::size_t {
    kChannelTime,
    kChannelRpm,
    kChannelTps,
    kChannelTpsMv,
    kChannelLambda,
    kChannelAdvance,
    kChannelServoDesired,
    kChannelServoMeasured,
    kChannelBlocking1,
    kChannelBlocking2,
    kChannelClutch,
    kChannelLimiter1,
    kChannelTachoLambda,
    kChannelN2o,
    kChannelMapRpmColumn,
    kChannelMapTpsRow,
};
constexpr std::size_t kNoChannel = kLogChannelCount;

// The channel of that name (any case), or kNoChannel.
std::size_t FindLogChannel(std::string_view name);

// The formats a ride log is read from and written to, told apart by the file's extension.
enum class LogFormat { Msl, Mlg, Csv };
constexpr const char* kMlgExtension = ".mlg";
constexpr const char* kCsvExtension = ".csv";
// The format the path's extension names (any case); nothing for another extension.
std::optional<LogFormat> LogFormatOfPath(const std::string& path);

// What a log's header says besides its channels. Every field may be empty.
struct LogHeader {
    std::string captureDate;    // as log viewers show it: "Tue Dec 08 07:57:25 2026"
    std::int64_t unixTime = 0;  // the same moment in seconds since 1970 (the MLG header's)
    std::string unitVersion;    // the unit's version text
    std::string tuneFile;       // the parameter file the map came from
};

// Names the reader looks for.
constexpr const char* kTimeChannel = "Time";
constexpr const char* kRpmChannel = "RPM";
constexpr const char* kTpsChannel = "TPS";
constexpr const char* kLambdaChannel = "Lambda";
constexpr const char* kMarkPrefix = "MARK";
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kLogExtension = ".msl";

// A marker's text in every format: "MARK 001", numbered from 1.
std::string MarkText(unsigned number);
// The unit's version text for a log's header, as the identity page in `image` gives it
// without padding; empty when no identity page has arrived (all zeros).
std::string UnitVersionOf(const DeviceImage& image);

// "<program> <version>", the first line of every log this program writes.
std::string ProgramTitle();

}  // namespace korvan
