// Writes a ride log: the .msl text log that log viewers open. Plain text, tab-separated, a dot
// as decimal separator whatever the locale, CR LF line breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "log/ride_log.h"

namespace korvan {

// Where the text goes. A failing call returns false and leaves its reason in Error(); what an
// earlier Flush() returned true for must stay readable.
class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Flush() = 0;
    virtual std::string Error() const = 0;
};

class RideLogWriter {
  public:
    // The writer hands its text to the sink at least this often.
    static constexpr std::uint32_t kFlushIntervalMs = 1000;

    RideLogWriter(LogSink& sink, std::string programTitle);

    // The four header lines, written and flushed at once so an empty recording is a valid log.
    bool Start(const std::string& captureDate);
    // One row; the text reaches the sink once kFlushIntervalMs have passed since the last flush.
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

    // The text of one row without the line break, for tests and the benchmark.
    static void AppendRow(std::string& out, const RideLogRow& row);

  private:
    bool FlushPending(std::uint32_t nowMs);

    LogSink& sink_;
    std::string programTitle_;
    std::string pending_;
    std::size_t rows_ = 0;
    std::size_t rowsPending_ = 0;
    std::size_t rowsFlushed_ = 0;
    unsigned marks_ = 0;
    std::uint32_t lastFlushMs_ = 0;
    bool failed_ = false;
    std::string error_;
};

}  // namespace korvan
