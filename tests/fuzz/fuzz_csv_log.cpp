// Fuzzes the CSV reader. The input is the file's text. The reader must stay within its limits,
// refuse with a message or give rows with times it allows, and what it read must come back
// unchanged through the CSV writer and reader.
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "log/csv_log.h"
#include "log/ride_analysis.h"
#include "log/ride_log_writer.h"

namespace {

constexpr std::size_t kFuzzMaxBytes = 16384;
constexpr std::size_t kFuzzMaxRows = 200;
constexpr std::uint8_t kLanguages = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ReadLimits limits{kFuzzMaxBytes, kFuzzMaxRows};
    const RideLogReadResult r = ParseCsvLog(text, limits);

    FUZZ_CHECK(r.format == LogFormat::Csv, "a CSV result");
    FUZZ_CHECK(r.rows.size() <= limits.maxRows, "never more rows than the limit");
    FUZZ_CHECK(r.bytesRead <= limits.maxBytes && r.bytesRead <= size, "never more text");
    FUZZ_CHECK(r.truncated || r.bytesRead == size || size > limits.maxBytes,
               "all text read unless cut");
    FUZZ_CHECK(r.badRows.size() <= std::min(r.badRowCount, RideLogReadResult::kNamedBadRows),
               "no more bad rows named than counted");
    for (const std::size_t mark : r.marks)
        FUZZ_CHECK(mark <= r.rows.size(), "a marker points at a row");
    for (std::uint8_t language = 0; language < kLanguages; ++language)
        FUZZ_CHECK(r.RefusalText("f.csv", language).empty() == r.Ok(), "a refusal says why");
    if (!r.Ok()) {
        FUZZ_CHECK(r.rows.empty(), "a refused log gives no rows");
        return 0;
    }
    for (const LogSample& s : r.rows)
        FUZZ_CHECK(std::isfinite(s.TimeS) && s.TimeS >= 0 && s.TimeS <= kMaxLogTimeS,
                   "times are in range");

    const DeviceImage image = fuzz::StartImage(true);
    const std::string again = EncodeRideLog(r, LogFormat::Csv, LogHeaderOf(r), image, false);
    const RideLogReadResult back = ParseCsvLog(again, {std::size_t{1} << 24, kFuzzMaxRows});
    FUZZ_CHECK(back.Ok() && back.badRowCount == 0 && !back.truncated, "our own CSV reads cleanly");
    FUZZ_CHECK(back.rows.size() == r.rows.size() && back.marks == r.marks,
               "our own CSV keeps every row and marker");
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        FUZZ_CHECK(back.rows[i].Channels == r.rows[i].Channels, "channels survive a round trip");
        FUZZ_CHECK(std::llround(back.rows[i].TimeS * 1000) == std::llround(r.rows[i].TimeS * 1000),
                   "times survive to the millisecond");
    }
    const std::string grid =
        CellTableText(ComputeCellTable(r.rows, image, false, kChannelTps), CellQuantity::Mean);
    FUZZ_CHECK(!grid.empty(), "the grid has text");
    return 0;
}
