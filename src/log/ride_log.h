// One row of a ride log and the channels of the .msl text log that holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// Names the reader looks for.
constexpr const char* kTimeChannel = "Time";
constexpr const char* kRpmChannel = "RPM";
constexpr const char* kTpsChannel = "TPS";
constexpr const char* kLambdaChannel = "Lambda";
constexpr const char* kMarkPrefix = "MARK";
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kLogExtension = ".msl";

// "<program> <version>", the first line of every log this program writes.
std::string ProgramTitle();

}  // namespace korvan
