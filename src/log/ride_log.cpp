#include "log/ride_log.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

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

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::size_t FindLogChannel(std::string_view name) {
    for (std::size_t i = 0; i < kLogChannelCount; ++i) {
        if (SameText(name, kLogChannels[i].name)) return i;
    }
    return kNoChannel;
}

std::optional<LogFormat> LogFormatOfPath(const std::string& path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    if (SameText(extension, kLogExtension)) return LogFormat::Msl;
    if (SameText(extension, kMlgExtension)) return LogFormat::Mlg;
    if (SameText(extension, kCsvExtension)) return LogFormat::Csv;
    return std::nullopt;
}

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

std::string MarkText(unsigned number) {
    char text[16];
    std::snprintf(text, sizeof text, "%s %03u", kMarkPrefix, number);
    return text;
}

std::string UnitVersionOf(const DeviceImage& image) {
    // A unit that forbids reading never sends its identity page: the bytes stay zero.
    if (image[field::FormatVersion] == 0) return {};
    std::string version = DecodeIdentity(image).VersionString;
    version.erase(std::remove(version.begin(), version.end(), '\0'), version.end());
    while (!version.empty() && version.back() == ' ') version.pop_back();
    return version;
}

}  // namespace korvan
