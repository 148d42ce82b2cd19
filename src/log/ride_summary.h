// The summary of a ride: how long, how fast, how long above the gear-shift light, at the
// limiter, at full throttle and with N2O on, and where the markers were; as numbers and as
// text in the user's language for printing and copying.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "log/ride_analysis.h"

namespace korvan {

// Full throttle from here up; a sensor rarely reaches exactly 100 %, and above 100 it reports
// an error, not more throttle.
constexpr int kFullThrottlePercent = 95;

struct SummaryMark {
    unsigned number = 0;  // from 1, in the log's order
    double timeS = 0;
};

struct RideSummary {
    std::size_t rows = 0;         // rows the filter took
    std::size_t rowsLeftOut = 0;  // by the filter
    double startS = 0;            // the first and last of those rows
    double endS = 0;
    double loggedS = 0;  // time the rows account for: pauses of the link are not in it
    unsigned maxRpm = 0;
    double maxRpmAtS = 0;  // the first time it was reached
    unsigned shiftLightRpm = 0;
    double aboveShiftLightS = 0;  // at or above the gear-shift light speed
    unsigned limiterRpm = 0;
    double atLimiterS = 0;  // at or above Limiter2
    double fullThrottleS = 0;
    double n2oOnS = 0;
    std::vector<SummaryMark> marks;  // every marker of the log, filter or not

    double DurationS() const { return endS - startS; }
};

RideSummary ComputeRideSummary(const RideLogReadResult& log, const DeviceImage& image,
                               const LogFilter& filter = {});

// The summary as lines of text, headed by `name` (the log's file name), in `language`.
std::string RideSummaryText(const RideSummary& summary, const std::string& name,
                            std::uint8_t language);

// "1:02:03" for a duration in seconds (minutes and seconds below an hour: "2:03").
std::string ClockText(double seconds);

}  // namespace korvan
