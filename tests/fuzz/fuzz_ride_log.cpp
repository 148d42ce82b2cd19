// Fuzzes the ride log reader. The input is the file's text. The reader must stay within its
// limits, refuse with a message or give rows, name no more bad rows than it counts, and what it
// read must come back unchanged through the writer and the reader again. Time in cell must add
// up to the log's time.
#include <algorithm>
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"
#include "log/time_in_cell.h"

namespace korvan::fuzz {
namespace {

// Small limits, so inputs of fuzzer size reach the truncation paths.
constexpr std::size_t kFuzzMaxBytes = 16384;
constexpr std::size_t kFuzzMaxRows = 200;
constexpr std::uint8_t kLanguages = 3;

class StringSink : public LogSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        text.append(data, size);
        return true;
    }
    bool Flush() override { return true; }
    std::string Error() const override { return {}; }
    std::string text;
};

std::uint32_t Milliseconds(double seconds) {
    const double ms = std::round(seconds * 1000.0);
    return static_cast<std::uint32_t>(std::clamp(ms, 0.0, 4294967295.0));
}

}  // namespace
}  // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    using namespace korvan::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ReadLimits limits{kFuzzMaxBytes, kFuzzMaxRows};
    const RideLogReadResult r = ParseRideLog(text, limits);

    FUZZ_CHECK(r.rows.size() <= limits.maxRows, "never more rows than the limit");
    FUZZ_CHECK(r.bytesRead <= limits.maxBytes && r.bytesRead <= size,
               "never more text than the limit");
    FUZZ_CHECK(r.truncated || r.bytesRead == size || size > limits.maxBytes,
               "all text read unless cut");
    FUZZ_CHECK(r.badRows.size() <= std::min(r.badRowCount, RideLogReadResult::kNamedBadRows),
               "no more bad rows named than counted");
    FUZZ_CHECK(r.BadRowsText(1).empty() == (r.badRowCount == 0), "bad rows are reported");
    for (const std::size_t mark : r.marks)
        FUZZ_CHECK(mark <= r.rows.size(), "a marker points at a row");
    for (std::uint8_t language = 0; language < kLanguages; ++language) {
        FUZZ_CHECK(r.RefusalText("f.msl", language).empty() == r.Ok(), "a refusal says why");
    }
    if (!r.Ok()) {
        FUZZ_CHECK(r.rows.empty(), "a refused log gives no rows");
        return 0;
    }
    for (const LogSample& s : r.rows) FUZZ_CHECK(std::isfinite(s.TimeS), "times are numbers");

    // What was read comes back through our own format unchanged.
    StringSink sink;
    RideLogWriter writer(sink, ProgramTitle());
    writer.Start("fuzz");
    std::vector<RideLogRow> written;
    for (const LogSample& s : r.rows) {
        RideLogRow row;
        row.TimeMs = Milliseconds(s.TimeS);
        row.Channels = s.Channels;
        writer.AddRow(row);
        written.push_back(row);
    }
    FUZZ_CHECK(writer.Finish() && writer.RowsFlushed() == r.rows.size(), "every row is written");
    const RideLogReadResult again = ParseRideLog(sink.text, {std::size_t{1} << 24, kFuzzMaxRows});
    FUZZ_CHECK(again.Ok() && again.badRowCount == 0 && !again.truncated,
               "our own log reads cleanly");
    FUZZ_CHECK(again.rows.size() == written.size(), "our own log keeps every row");
    for (std::size_t i = 0; i < written.size(); ++i) {
        FUZZ_CHECK(again.rows[i].Channels == written[i].Channels, "channels survive a round trip");
        FUZZ_CHECK(Milliseconds(again.rows[i].TimeS) == written[i].TimeMs,
                   "times survive a round trip");
    }

    const TimeInCells t = ComputeTimeInCells(r.rows, StartImage(false), true);
    double sum = t.SecondsBelowAxis;
    for (const CellTime& c : t.Cells) {
        FUZZ_CHECK(c.Seconds >= 0 && (c.Visited() || c.Seconds == 0), "cell times are sound");
        sum += c.Seconds;
    }
    FUZZ_CHECK(std::fabs(sum - t.TotalSeconds) < 1e-6 * (1 + t.TotalSeconds), "cell times add up");
    FUZZ_CHECK(t.TotalSeconds <= kMaxRowSeconds * static_cast<double>(r.rows.size()) + 1e-9,
               "no row lasts longer than the gap limit");
    return 0;
}
