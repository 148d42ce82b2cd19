#include "log/ride_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "params/defaults.h"

namespace korvan {
namespace {

LogSample Row(double t, std::uint16_t rpm, std::uint8_t tps, bool n2o = false) {
    LogSample s;
    s.TimeS = t;
    s.Channels.Rpm = rpm;
    s.Channels.TpsPercent = tps;
    s.Channels.N2o = n2o;
    return s;
}

// The default tune: gear-shift light at 9000 rpm, limiter at 11000 rpm.
RideLogReadResult CraftedRide() {
    RideLogReadResult log;
    log.rows = {
        Row(0.0, 3000, 50),          // nothing
        Row(0.5, 9000, 95),          // shift light, full throttle
        Row(1.0, 11000, 100),        // shift light, limiter, full throttle
        Row(1.5, 11500, 101),        // shift light, limiter; 101 % is a sensor error
        Row(2.0, 8999, 94, true),    // N2O; a 3 s pause after it counts as 1 s
        Row(5.0, 11500, 100, true),  // everything; the highest speed again, later
        Row(5.5, 2000, 0),           // the last row lasts no time
    };
    log.marks = {1, 7};
    return log;
}

TEST(RideSummary, CraftedRideGivesEveryNumber) {
    const RideSummary s = ComputeRideSummary(CraftedRide(), DefaultImage());
    EXPECT_EQ(s.rows, 7u);
    EXPECT_DOUBLE_EQ(s.DurationS(), 5.5);
    EXPECT_DOUBLE_EQ(s.loggedS, 3.5);
    EXPECT_EQ(s.maxRpm, 11500u);
    EXPECT_DOUBLE_EQ(s.maxRpmAtS, 1.5);  // the first time
    EXPECT_EQ(s.shiftLightRpm, 9000u);
    EXPECT_DOUBLE_EQ(s.aboveShiftLightS, 2.0);
    EXPECT_EQ(s.limiterRpm, 11000u);
    EXPECT_DOUBLE_EQ(s.atLimiterS, 1.5);
    EXPECT_DOUBLE_EQ(s.fullThrottleS, 1.5);
    EXPECT_DOUBLE_EQ(s.n2oOnS, 1.5);
    ASSERT_EQ(s.marks.size(), 2u);
    EXPECT_EQ(s.marks[0].number, 1u);
    EXPECT_DOUBLE_EQ(s.marks[0].timeS, 0.5);
    EXPECT_DOUBLE_EQ(s.marks[1].timeS, 5.5);  // after the last row: that row's time

    EXPECT_EQ(RideSummaryText(s, "ride.msl", 1),
              "Ride summary: ride.msl\n"
              "Duration: 5.5 s (0:06), logged 3.5 s, 7 rows\n"
              "Highest speed: 11500 rpm at 1.5 s\n"
              "Above the gear-shift light speed (9000 rpm): 2.0 s (57.1 %)\n"
              "At the limiter (11000 rpm and more): 1.5 s (42.9 %)\n"
              "Full throttle (95 % and more): 1.5 s (42.9 %)\n"
              "N2O on: 1.5 s (42.9 %)\n"
              "Markers: MARK 001 at 0.5 s, MARK 002 at 5.5 s\n");
    for (std::uint8_t language : {0, 2}) {
        const std::string text = RideSummaryText(s, "ride.msl", language);
        EXPECT_NE(text.find("11500"), std::string::npos) << text;
        EXPECT_NE(text.find("57.1 %"), std::string::npos) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << text;
    }
}

TEST(RideSummary, FollowsTheTuneAndTheFilter) {
    DeviceImage image = DefaultImage();
    image[field::LedRazeni] = 50;  // 5000 rpm
    image[field::Limiter2] = 115;  // 11500 rpm
    LogFilter filter;
    filter.withoutN2o = true;
    const RideSummary s = ComputeRideSummary(CraftedRide(), image, filter);
    EXPECT_EQ(s.rows, 5u);
    EXPECT_EQ(s.rowsLeftOut, 2u);
    EXPECT_DOUBLE_EQ(s.DurationS(), 5.5);  // the last row is not N2O
    EXPECT_DOUBLE_EQ(s.loggedS, 2.0);
    EXPECT_DOUBLE_EQ(s.aboveShiftLightS, 1.5);
    EXPECT_DOUBLE_EQ(s.atLimiterS, 0.5);
    EXPECT_DOUBLE_EQ(s.n2oOnS, 0);
    EXPECT_EQ(s.marks.size(), 2u);  // markers are the log's, whatever the filter
    EXPECT_NE(RideSummaryText(s, "r", 1).find("\nRows left out by the filter: 2\n"),
              std::string::npos);

    const RideSummary none = ComputeRideSummary(RideLogReadResult{}, image);
    EXPECT_EQ(none.rows, 0u);
    EXPECT_NE(RideSummaryText(none, "r", 1).find("Markers: none"), std::string::npos);
}

TEST(RideSummary, ClockTextOfDurations) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{0, "0:00"},         {59.4, "0:59"}, {59.6, "1:00"},
                 {3723.4, "1:02:03"}, {-3, "0:00"},   {360000, "100:00:00"}};
    for (const auto& c : cases) EXPECT_EQ(ClockText(c.seconds), c.text) << c.seconds;
}

}  // namespace
}  // namespace korvan
