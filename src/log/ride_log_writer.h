// Writes a ride log: the .msl text log, the MLG binary log or CSV, row by row as frames arrive
// or all at once from a log read earlier. Numbers are written with a dot as decimal separator
// whatever the locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "log/ride_log.h"
#include "log/ride_log_reader.h"

namespace korvan {

// Where the bytes go. A failing call returns false and leaves its reason in Error(); what an
// earlier Flush() returned true for must stay readable.
class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Flush() = 0;
    virtual std::string Error() const = 0;
};

// Turns the header, rows and markers into the bytes of one format.
class LogEncoder {
  public:
    virtual ~LogEncoder() = default;
    virtual void Header(std::string& out, const std::string& programTitle,
                        const LogHeader& header) = 0;
    virtual void Row(std::string& out, const RideLogRow& row) = 0;
    // Marker `number` (from 1) at `timeMs`, before the next row.
    virtual void Mark(std::string& out, unsigned number, std::uint32_t timeMs) = 0;
};

// One per format.
std::unique_ptr<LogEncoder> MakeLogEncoder(LogFormat format);
std::unique_ptr<LogEncoder> MakeMslEncoder();
std::unique_ptr<LogEncoder> MakeMlgEncoder();
std::unique_ptr<LogEncoder> MakeCsvEncoder();

class RideLogWriter {
  public:
    // The writer hands its bytes to the sink at least this often.
    static constexpr std::uint32_t kFlushIntervalMs = 1000;

    RideLogWriter(LogSink& sink, std::string programTitle, LogFormat format = LogFormat::Msl);

    // The header, written and flushed at once so an empty recording is a valid log.
    bool Start(const LogHeader& header);
    bool Start(const std::string& captureDate);
    // One row; the bytes reach the sink once kFlushIntervalMs have passed since the last flush.
    bool AddRow(const RideLogRow& row);
    // "MARK nnn", numbered from 1, flushed at once.
    bool Mark(std::uint32_t nowMs);
    // Flushes when the interval has passed, rows or not (call it from a timer).
    bool Tick(std::uint32_t nowMs);
    // Flushes whatever is pending.
    bool Finish();

    bool Failed() const { return failed_; }
    // The sink's reason for the first failure.
    const std::string& Error() const { return error_; }
    // Rows handed to the sink and flushed: what a reader finds in the file now.
    std::size_t RowsFlushed() const { return rowsFlushed_; }
    std::size_t Rows() const { return rows_; }
    unsigned Marks() const { return marks_; }

    // The .msl text of one row without the line break, for tests and the benchmark.
    static void AppendRow(std::string& out, const RideLogRow& row);

  private:
    bool FlushPending(std::uint32_t nowMs);

    LogSink& sink_;
    std::string programTitle_;
    std::unique_ptr<LogEncoder> encoder_;
    std::string pending_;
    std::size_t rows_ = 0;
    std::size_t rowsPending_ = 0;
    std::size_t rowsFlushed_ = 0;
    unsigned marks_ = 0;
    std::uint32_t lastFlushMs_ = 0;
    bool failed_ = false;
    std::string error_;
};

// A row of a log read earlier, to be written again: the time in whole milliseconds, the cell
// the file named, or where it named none the cell by the live cursor's rule on `image`.
RideLogRow RowOfSample(const LogSample& sample, bool logHasCells, const DeviceImage& image,
                       bool tpsAxisInUse);

// The header of a log read earlier, for writing it again: its date (as text and as a time,
// each made from the other where the file had only one), unit and tune.
LogHeader LogHeaderOf(const RideLogReadResult& log);

// The whole log in `format`: its rows and its markers where they stood. `image` places rows
// in cells when the log names none.
std::string EncodeRideLog(const RideLogReadResult& log, LogFormat format, const LogHeader& header,
                          const DeviceImage& image, bool tpsAxisInUse);

}  // namespace korvan
