// Fuzzes the MLG reader. The input is the file's bytes. The reader must stay within its limits,
// refuse with a message or give rows with times it allows, name no more bad records than it
// counts, and what it read must come back unchanged through the MLG writer and reader.
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "log/mlg_log.h"
#include "log/ride_log_writer.h"
#include "log/ride_summary.h"

namespace {

// Small limits, so inputs of fuzzer size reach the truncation paths.
constexpr std::size_t kFuzzMaxBytes = 16384;
constexpr std::size_t kFuzzMaxRows = 200;
constexpr std::uint8_t kLanguages = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ReadLimits limits{kFuzzMaxBytes, kFuzzMaxRows};
    const RideLogReadResult r = ParseMlgLog(bytes, limits);

    FUZZ_CHECK(r.format == LogFormat::Mlg, "an MLG result");
    FUZZ_CHECK(r.rows.size() <= limits.maxRows, "never more rows than the limit");
    FUZZ_CHECK(r.bytesRead <= limits.maxBytes && r.bytesRead <= size, "never more bytes");
    FUZZ_CHECK(r.badRows.size() <= std::min(r.badRowCount, RideLogReadResult::kNamedBadRows),
               "no more bad records named than counted");
    for (const std::size_t mark : r.marks)
        FUZZ_CHECK(mark <= r.rows.size(), "a marker points at a row");
    for (std::uint8_t language = 0; language < kLanguages; ++language) {
        const std::string refusal = r.RefusalText("f.mlg", language);
        FUZZ_CHECK(refusal.empty() == r.Ok(), "a refusal says why");
        FUZZ_CHECK(r.BadRowsText(language).empty() == (r.badRowCount == 0), "bad records are said");
    }
    if (!r.Ok()) {
        FUZZ_CHECK(r.rows.empty(), "a refused log gives no rows");
        return 0;
    }
    double latest = 0;
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        const double t = r.rows[i].TimeS;
        FUZZ_CHECK(std::isfinite(t) && t >= 0 && t <= kMaxLogTimeS, "times are in range");
        FUZZ_CHECK(i == 0 || t >= latest - kMaxTimeBackS - 1e-9, "no time goes far back");
        latest = i == 0 ? t : std::max(latest, t);
        FUZZ_CHECK(r.rows[i].Cell.RpmColumn >= -1 && r.rows[i].Cell.RpmColumn < kMapColumns,
                   "cells are on the map");
        FUZZ_CHECK(r.rows[i].Cell.TpsRow >= -1 && r.rows[i].Cell.TpsRow < kMapRows,
                   "cells are on the map");
    }

    // Our own MLG of what was read reads back the same.
    const DeviceImage image = fuzz::StartImage(false);
    const std::string again = EncodeRideLog(r, LogFormat::Mlg, LogHeaderOf(r), image, true);
    const RideLogReadResult back = ParseMlgLog(again, {std::size_t{1} << 24, kFuzzMaxRows});
    FUZZ_CHECK(back.Ok() && back.badRowCount == 0 && !back.truncated, "our own log reads cleanly");
    FUZZ_CHECK(back.rows.size() == r.rows.size() && back.marks == r.marks,
               "our own log keeps every row and marker");
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        FUZZ_CHECK(back.rows[i].Channels == r.rows[i].Channels, "channels survive a round trip");
        FUZZ_CHECK(std::llround(back.rows[i].TimeS * 1000) == std::llround(r.rows[i].TimeS * 1000),
                   "times survive to the millisecond");
    }

    // The analysis takes whatever was read.
    const RideSummary summary = ComputeRideSummary(r, image);
    FUZZ_CHECK(summary.rows == r.rows.size() && summary.loggedS >= 0,
               "the summary counts every row");
    FUZZ_CHECK(!RideSummaryText(summary, "f.mlg", 1).empty(), "the summary has text");
    const CellTable table = ComputeCellTable(r.rows, image, true, kChannelLambda);
    FUZZ_CHECK(table.rowsUsed == r.rows.size(), "every row has its place");
    return 0;
}
