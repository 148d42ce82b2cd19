#include "log/ride_log.h"

#ifndef KORVAN_VERSION
#define KORVAN_VERSION "2.0"
#endif

namespace korvan {

const LogChannel kLogChannels[kLogChannelCount] = {
    {kTimeChannel, "s"},        {kRpmChannel, "rpm"},
    {kTpsChannel, "%"},         {"TPS mV", "mV"},
    {kLambdaChannel, "mV"},     {"Advance", "deg"},
    {"Servo desired", "mV"},    {"Servo measured", "mV"},
    {"Blocking1", "on"},        {"Blocking2", "on"},
    {"Clutch", "on"},           {"Limiter1", "on"},
    {"TachoLambda", "on"},      {"N2O", "on"},
    {"Map RPM column", "cell"}, {"Map TPS row", "cell"},
};

LogCell CellOf(const DeviceImage& image, const LiveValues& live, bool tpsAxisInUse) {
    const MapCursor cursor = ComputeMapCursor(image, live, tpsAxisInUse);
    LogCell cell;
    cell.RpmColumn = cursor.BelowRpmAxis ? -1 : cursor.RpmIndex;
    cell.TpsRow = cursor.BelowRpmAxis ? -1 : cursor.TpsIndex;
    return cell;
}

RideLogRow RowFromFrame(const std::uint8_t* frame, const DeviceImage& image, bool tpsAxisInUse,
                        std::uint32_t timeMs) {
    RideLogRow row;
    row.TimeMs = timeMs;
    row.Channels = DecodeMonitorChannels(frame);
    row.Cell = CellOf(image, LiveValuesOf(row.Channels), tpsAxisInUse);
    return row;
}

std::string ProgramTitle() {
    return std::string("Korvan2 ") + KORVAN_VERSION;
}

}  // namespace korvan
