// A ride log written again in another format, and back: the values to the digits the text log
// shows, every marker where it stood, the header's date, unit and tune.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "log/csv_log.h"
#include "log/mlg_log.h"
#include "log/ride_log_writer.h"
#include "params/defaults.h"

namespace korvan {
namespace {

// A log as the recorder writes it: a marker before the first row, two together, one at the
// end, times that need all three decimals, the cells of the tune it was recorded with.
const char* const kOurLog =
    "\"Korvan2 2.0\"\r\n"
    "\"Capture Date: Tue Dec 08 07:57:25 2026\"\r\n"
    "\"Unit: K2 1.07\"\r\n"
    "\"Tune: track.ign\"\r\n"
    "Time\tRPM\tTPS\tTPS mV\tLambda\tAdvance\tServo desired\tServo measured\tBlocking1\t"
    "Blocking2\tClutch\tLimiter1\tTachoLambda\tN2O\tMap RPM column\tMap TPS row\r\n"
    "s\trpm\t%\tmV\tmV\tdeg\tmV\tmV\ton\ton\ton\ton\ton\ton\tcell\tcell\r\n"
    "MARK 001\r\n"
    "0.000\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t-1\t-1\r\n"
    "0.331\t5400\t37\t1980\t845\t31\t2500\t2488\t1\t0\t1\t0\t1\t0\t4\t6\r\n"
    "MARK 002\r\n"
    "MARK 003\r\n"
    "3600.007\t65535\t255\t65535\t65535\t255\t65535\t65535\t1\t1\t1\t1\t1\t1\t9\t9\r\n"
    "43200.999\t12000\t101\t4600\t1000\t60\t0\t5000\t0\t1\t0\t1\t0\t1\t9\t0\r\n"
    "MARK 004\r\n";

// The rows and marker lines of a text log: everything after the units line.
std::string Body(const std::string& msl) {
    const std::size_t units = msl.find("\r\ns\t");
    return msl.substr(msl.find("\r\n", units + 2) + 2);
}

RideLogReadResult ReadAs(LogFormat format, const std::string& bytes) {
    switch (format) {
        case LogFormat::Mlg:
            return ParseMlgLog(bytes);
        case LogFormat::Csv:
            return ParseCsvLog(bytes);
        case LogFormat::Msl:
            break;
    }
    return ParseRideLog(bytes);
}

TEST(LogConvert, ThroughEveryFormatAndBackKeepsEveryValueAndMarker) {
    const DeviceImage image = DefaultImage();
    const std::vector<std::vector<LogFormat>> chains = {
        {LogFormat::Mlg},
        {LogFormat::Csv},
        {LogFormat::Mlg, LogFormat::Csv, LogFormat::Mlg},
        {LogFormat::Csv, LogFormat::Msl, LogFormat::Mlg},
    };
    for (const std::vector<LogFormat>& chain : chains) {
        RideLogReadResult log = ParseRideLog(kOurLog);
        ASSERT_TRUE(log.Ok());
        for (LogFormat format : chain) {
            const std::string bytes = EncodeRideLog(log, format, LogHeaderOf(log), image, true);
            log = ReadAs(format, bytes);
            ASSERT_TRUE(log.Ok()) << log.RefusalText("x", 1);
            EXPECT_EQ(log.badRowCount, 0u);
        }
        const std::string back = EncodeRideLog(log, LogFormat::Msl, LogHeaderOf(log), image, true);
        EXPECT_EQ(Body(back), Body(kOurLog)) << static_cast<int>(chain[0]) << chain.size();
        // CSV holds the channels alone; the other formats keep the date, unit and tune.
        if (std::find(chain.begin(), chain.end(), LogFormat::Csv) == chain.end()) {
            EXPECT_EQ(back.substr(0, back.find("Time\t")),
                      std::string(kOurLog).substr(0, std::string(kOurLog).find("Time\t")));
        }
    }
}

TEST(LogConvert, CellsComeFromTheTuneOnlyWhereTheLogNamesNone) {
    // Another logger's log: no cells. 4200 rpm at 50 % lies in column 3, row 6 of the default
    // map; with a shifted axis in column 1.
    const RideLogReadResult foreign = ParseRideLog("Time\tRPM\tTPS\r\n0.5\t4200\t50\r\n");
    ASSERT_TRUE(foreign.Ok());
    EXPECT_FALSE(foreign.HasCells());
    DeviceImage shifted = DefaultImage();
    for (int i = 0; i < kAxisPoints; ++i)
        shifted[field::RpmAdv + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(30 + 5 * i);
    const struct {
        const DeviceImage image;
        bool tpsAxis;
        const char* row;
    } cases[] = {
        {DefaultImage(), true, "0.500\t4200\t50\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t3\t6\r\n"},
        {DefaultImage(), false, "0.500\t4200\t50\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t3\t9\r\n"},
        {shifted, true, "0.500\t4200\t50\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t2\t6\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Body(EncodeRideLog(foreign, LogFormat::Msl, {}, c.image, c.tpsAxis)), c.row);

    // Our own log keeps the cells it was recorded in, whatever the tune now.
    const RideLogReadResult ours = ParseRideLog(kOurLog);
    EXPECT_EQ(Body(EncodeRideLog(ours, LogFormat::Msl, {}, shifted, true)), Body(kOurLog));
}

TEST(LogConvert, HeaderDateTravelsAsTextAndAsTime) {
    RideLogReadResult log = ParseRideLog(kOurLog);
    const LogHeader fromText = LogHeaderOf(log);
    EXPECT_EQ(fromText.unitVersion, "K2 1.07");
    EXPECT_EQ(fromText.tuneFile, "track.ign");
    EXPECT_NE(fromText.unixTime, 0);
    // An MLG log whose info has no date: the header's time gives it back as text.
    log.captureDate.clear();
    log.captureTime = fromText.unixTime;
    EXPECT_EQ(LogHeaderOf(log).captureDate, "Tue Dec 08 07:57:25 2026");
    log.captureTime = 0;
    log.captureDate = "whenever";
    EXPECT_EQ(LogHeaderOf(log).unixTime, 0);
}

}  // namespace
}  // namespace korvan
