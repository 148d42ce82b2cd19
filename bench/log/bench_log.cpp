#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "log/ride_analysis.h"
#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"
#include "log/ride_summary.h"
#include "log/time_in_cell.h"
#include "params/defaults.h"

namespace korvan {
namespace {

// The monitor asks every 6 ticks of 55 ms.
constexpr std::uint32_t kFrameIntervalMs = 6 * 55;
constexpr std::uint32_t kOneHourMs = 3600 * 1000;

// Counts what it is given, like a file whose writes cost nothing.
class CountingSink : public LogSink {
  public:
    bool Write(const char*, std::size_t size) override {
        bytes += size;
        return true;
    }
    bool Flush() override { return true; }
    std::string Error() const override { return {}; }
    std::size_t bytes = 0;
};

class StringSink : public CountingSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        text.append(data, size);
        return CountingSink::Write(data, size);
    }
    std::string text;
};

// A ride that sweeps the map: speed and throttle change every frame.
MonitorChannels RideChannels(std::uint32_t i) {
    MonitorChannels c;
    c.Rpm = static_cast<std::uint16_t>(1000 + i * 37 % 11000);
    c.TpsPercent = static_cast<std::uint8_t>(i * 7 % 101);
    c.TpsMv = static_cast<std::uint16_t>(500 + c.TpsPercent * 40);
    c.LambdaMv = static_cast<std::uint16_t>(100 + i * 13 % 900);
    c.Advance = static_cast<std::uint8_t>(10 + i % 30);
    c.ServoDesiredMv = static_cast<std::uint16_t>(i * 11 % 5000);
    c.ServoMeasuredMv = static_cast<std::uint16_t>(i * 11 % 5000);
    c.Clutch = i % 50 == 0;
    return c;
}

// What recording costs per monitor frame: decoding the frame, the map cell, the row's text.
void BM_RecordFrame(benchmark::State& state) {
    const DeviceImage image = DefaultImage();
    const DeviceFrame frame = EncodeMonitorFrame(RideChannels(1234));
    CountingSink sink;
    RideLogWriter writer(sink, ProgramTitle());
    writer.Start("bench");
    std::uint32_t ms = 0;
    for (auto _ : state) {
        writer.AddRow(RowFromFrame(frame.data(), image, true, ms));
        ms += kFrameIntervalMs;
    }
    benchmark::DoNotOptimize(sink.bytes);
    state.counters["bytes_per_row"] = benchmark::Counter(static_cast<double>(sink.bytes) /
                                                         static_cast<double>(state.iterations()));
}
BENCHMARK(BM_RecordFrame);

std::string OneHourLog() {
    const DeviceImage image = DefaultImage();
    StringSink sink;
    RideLogWriter writer(sink, ProgramTitle());
    writer.Start("Tue Dec 08 07:57:25 2026");
    std::uint32_t i = 0;
    for (std::uint32_t ms = 0; ms < kOneHourMs; ms += kFrameIntervalMs, ++i) {
        const DeviceFrame frame = EncodeMonitorFrame(RideChannels(i));
        writer.AddRow(RowFromFrame(frame.data(), image, true, ms));
    }
    writer.Finish();
    return sink.text;
}

// Opening a one-hour log from disk and colouring the map by the time spent in each cell.
void BM_LoadOneHourLogWithTimeInCell(benchmark::State& state) {
    const std::string text = OneHourLog();
    const std::string path =
        (std::filesystem::temp_directory_path() / "korvan_bench_one_hour.msl").string();
    std::ofstream(path, std::ios::binary) << text;
    const DeviceImage image = DefaultImage();
    std::size_t rows = 0;
    for (auto _ : state) {
        const RideLogReadResult log = ReadRideLogFile(path);
        // Not const: Google Benchmark 1.9 deprecates DoNotOptimize of a const value.
        TimeInCells cells = ComputeTimeInCells(log.rows, image, true);
        rows = log.rows.size();
        benchmark::DoNotOptimize(cells.TotalSeconds);
    }
    std::filesystem::remove(path);
    state.counters["rows"] = benchmark::Counter(static_cast<double>(rows));
    state.counters["file_bytes"] = benchmark::Counter(static_cast<double>(text.size()));
}
BENCHMARK(BM_LoadOneHourLogWithTimeInCell)->Unit(benchmark::kMillisecond);

// A one-hour ride at `samplesPerSecond`, as the reader gives it back.
RideLogReadResult OneHourRide(int samplesPerSecond) {
    const DeviceImage image = DefaultImage();
    RideLogReadResult log;
    const std::uint32_t stepMs = 1000u / static_cast<std::uint32_t>(samplesPerSecond);
    std::uint32_t i = 0;
    for (std::uint32_t ms = 0; ms < kOneHourMs; ms += stepMs, ++i) {
        LogSample s;
        s.TimeS = ms / 1000.0;
        s.Channels = RideChannels(i);
        s.Channels.N2o = i % 97 < 5;
        s.Channels.Limiter1 = i % 131 == 0;
        s.Cell = CellOf(image, LiveValuesOf(s.Channels), true);
        log.rows.push_back(s);
        if (i % 1000 == 0) log.marks.push_back(log.rows.size());
    }
    log.channels = (1u << kLogChannelCount) - 1;
    return log;
}

// Everything the analysis window shows for one log: the per-cell table of the chosen channel
// (seconds, samples, mean, minimum, maximum) and its five grids as text, the scatter data
// with a filter, and the summary with its text.
void BM_AllTablesAndSummary(benchmark::State& state) {
    const RideLogReadResult log = OneHourRide(static_cast<int>(state.range(0)));
    const DeviceImage image = DefaultImage();
    LogFilter filter;
    filter.withoutClutch = true;
    for (auto _ : state) {
        const CellTable table = ComputeCellTable(log.rows, image, true, kChannelLambda, filter);
        std::size_t text = 0;
        for (CellQuantity q : {CellQuantity::Seconds, CellQuantity::Samples, CellQuantity::Mean,
                               CellQuantity::Min, CellQuantity::Max})
            text += CellTableText(table, q).size();
        const ScatterData scatter = ComputeScatter(log.rows, image, kChannelRpm, kChannelLambda,
                                                   kChannelTps, filter, 20000);
        const RideSummary summary = ComputeRideSummary(log, image, filter);
        text += RideSummaryText(summary, "ride.mlg", 1).size();
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(scatter.points.data());
    }
    state.counters["rows"] = benchmark::Counter(static_cast<double>(log.rows.size()));
}
BENCHMARK(BM_AllTablesAndSummary)->Arg(3)->Arg(20)->Unit(benchmark::kMillisecond);

// Opening a one-hour log from disk in each format, then everything of the benchmark above:
// what the analysis window waits for before it shows.
void BM_OpenAndAnalyseOneHourLog(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    const LogFormat format = static_cast<LogFormat>(state.range(1));
    const char* extension = format == LogFormat::Mlg   ? ".mlg"
                            : format == LogFormat::Csv ? ".csv"
                                                       : ".msl";
    const RideLogReadResult ride = OneHourRide(rate);
    const DeviceImage image = DefaultImage();
    const std::string bytes = EncodeRideLog(ride, format, {}, image, true);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("korvan_bench_analysis" + std::string(extension)))
                                 .string();
    std::ofstream(path, std::ios::binary) << bytes;
    for (auto _ : state) {
        const RideLogReadResult log = ReadRideLogFile(path);
        // Not const: Google Benchmark 1.9 deprecates DoNotOptimize of a const value.
        CellTable table = ComputeCellTable(log.rows, image, true, kChannelLambda);
        RideSummary summary = ComputeRideSummary(log, image);
        benchmark::DoNotOptimize(table.totalSeconds);
        benchmark::DoNotOptimize(summary.loggedS);
    }
    std::filesystem::remove(path);
    state.counters["rows"] = benchmark::Counter(static_cast<double>(ride.rows.size()));
    state.counters["file_bytes"] = benchmark::Counter(static_cast<double>(bytes.size()));
}
BENCHMARK(BM_OpenAndAnalyseOneHourLog)
    ->Args({3, static_cast<int>(LogFormat::Msl)})
    ->Args({20, static_cast<int>(LogFormat::Msl)})
    ->Args({20, static_cast<int>(LogFormat::Mlg)})
    ->Args({20, static_cast<int>(LogFormat::Csv)})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvan
