#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"
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

}  // namespace
}  // namespace korvan
